// Who holds a port, for the log line of a port we could not bind: the
// socket's inode from /proc/net, then the process with that socket open.
// Another user's processes cannot be looked into; they stay unnamed.
#include <cctype>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <set>
#include <sstream>
#include <unistd.h>

#include "notifications/loopback_port.h"

namespace {

constexpr const char* tcpListenState = "0A";

void collectInodes(const char* table, PortProtocol protocol, int port, std::set<std::string>& inodes) {
    std::ifstream file(table);
    std::string line;
    std::getline(file, line);  // the column names
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout, inode;
        if (!(fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >> timeout >> inode))
            continue;
        const std::size_t colon = local.rfind(':');
        if (colon == std::string::npos || std::strtol(local.c_str() + colon + 1, nullptr, 16) != port) continue;
        if (protocol == PortProtocol::Tcp && state != tcpListenState) continue;
        if (inode != "0") inodes.insert("socket:[" + inode + "]");
    }
}

bool isNumber(const char* name) {
    if (!*name) return false;
    for (; *name; ++name)
        if (!std::isdigit(static_cast<unsigned char>(*name))) return false;
    return true;
}

bool processHolds(const std::string& pid, const std::set<std::string>& inodes) {
    const std::string folder = "/proc/" + pid + "/fd";
    DIR* fds = opendir(folder.c_str());
    if (!fds) return false;
    bool found = false;
    while (const dirent* entry = readdir(fds)) {
        char target[64];
        const std::string link = folder + "/" + entry->d_name;
        const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
        if (length <= 0) continue;
        if (inodes.count(std::string(target, static_cast<std::size_t>(length)))) {
            found = true;
            break;
        }
    }
    closedir(fds);
    return found;
}

}  // namespace

std::string loopbackPortOwner(PortProtocol protocol, int port) {
    std::set<std::string> inodes;
    const bool udp = protocol == PortProtocol::Udp;
    collectInodes(udp ? "/proc/net/udp" : "/proc/net/tcp", protocol, port, inodes);
    collectInodes(udp ? "/proc/net/udp6" : "/proc/net/tcp6", protocol, port, inodes);
    if (inodes.empty()) return {};
    DIR* processes = opendir("/proc");
    if (!processes) return {};
    std::string owner;
    while (const dirent* entry = readdir(processes)) {
        if (!isNumber(entry->d_name) || !processHolds(entry->d_name, inodes)) continue;
        std::ifstream comm(std::string("/proc/") + entry->d_name + "/comm");
        std::string name;
        std::getline(comm, name);
        owner = name + " (pid " + entry->d_name + ")";
        break;
    }
    closedir(processes);
    return owner;
}
