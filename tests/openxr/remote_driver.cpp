#include "remote_driver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

using namespace std::chrono_literals;

// struct r_remote_data of Monado's src/xrt/drivers/remote/r_interface.h, in
// the machine's own byte order: a header, the head (two views the driver
// ignores unless told, then the centre pose), then each controller. A pose
// is a quaternion (x, y, z, w) and a position, seven floats.
constexpr std::size_t packetSize = 376;
constexpr std::size_t headCentre = 104;
constexpr std::size_t controllers[] = {136, 256};
// Within a controller: after pose, velocities and curls come the trigger's
// value, the squeeze, the thumbstick (x, y) and the trackpad, then
// hand_tracking_active, active and the buttons' clicks and touches.
constexpr std::size_t triggerValue = 72;
constexpr std::size_t controllerActive = 104, bClick = 110, triggerClick = 112;
constexpr char header[8] = "mndrmt3";

void putPose(unsigned char* packet, std::size_t offset, const XrPosef& pose) {
    const float values[7] = {pose.orientation.x, pose.orientation.y, pose.orientation.z, pose.orientation.w,
                             pose.position.x,    pose.position.y,    pose.position.z};
    std::memcpy(packet + offset, values, sizeof values);
}

bool readAll(int socket, std::size_t size) {
    unsigned char buffer[packetSize];
    while (size > 0) {
        const ssize_t got = recv(socket, buffer, std::min(size, sizeof buffer), 0);
        if (got <= 0) return false;
        size -= std::size_t(got);
    }
    return true;
}

}  // namespace

RemoteDriver::RemoteDriver(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(std::uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (auto waited = 0ms; waited < 10s; waited += 100ms) {
        const int candidate = socket(AF_INET, SOCK_STREAM, 0);
        timeval timeout{5, 0};
        setsockopt(candidate, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        // On connecting the driver sends its reset and its latest packets.
        if (connect(candidate, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            readAll(candidate, 2 * packetSize)) {
            socket_ = candidate;
            return;
        }
        close(candidate);
        std::this_thread::sleep_for(100ms);
    }
}

RemoteDriver::~RemoteDriver() {
    if (socket_ >= 0) close(socket_);
}

bool RemoteDriver::send(const XrPosef& head, const XrPosef& left, const XrPosef& right,
                        const ControllerInput& leftInput, const ControllerInput& rightInput) {
    unsigned char packet[packetSize] = {};
    std::memcpy(packet, header, sizeof header);
    putPose(packet, headCentre, head);
    for (int hand = 0; hand < 2; ++hand) {
        putPose(packet, controllers[hand], hand == 0 ? left : right);
        packet[controllers[hand] + controllerActive] = 1;      // hand_tracking_active
        packet[controllers[hand] + controllerActive + 1] = 1;  // active
        const ControllerInput& input = hand == 0 ? leftInput : rightInput;
        std::memcpy(packet + controllers[hand] + triggerValue, &input.trigger, sizeof(float));
        packet[controllers[hand] + bClick] = input.b;
        packet[controllers[hand] + triggerClick] = input.trigger >= 1;
    }
    return socket_ >= 0 && ::send(socket_, packet, sizeof packet, MSG_NOSIGNAL) == ssize_t(packetSize);
}
