#include "support/private_desktop.h"

#include <chrono>
#include <filesystem>

namespace {

using namespace std::chrono_literals;

std::string busConfig(const std::string& socket) {
    return R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=)" + socket + R"(</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";
}

}  // namespace

bool PrivateDesktop::start() {
    for (const char* name : {"bus", "display", "daemon", "sender"}) writeFile(root.path() + "/" + name + "/.keep", "");
    writeFile(root.path() + "/bus.conf", busConfig(root.path() + "/bus/socket"));
    bus = std::make_unique<ChildProcess>(
        "/usr/bin/dbus-daemon", std::vector<std::string>{"--config-file=" + root.path() + "/bus.conf", "--nofork"},
        root.path() + "/bus");
    // Xvfb writes its display number to its standard output.
    display = std::make_unique<ChildProcess>(
        "/usr/bin/Xvfb", std::vector<std::string>{"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "320x240x24"},
        root.path() + "/display");
    const auto up = [&] {
        return display->standardOutput().find('\n') != std::string::npos &&
               std::filesystem::exists(root.path() + "/bus/socket");
    };
    if (!eventually(up, 10s)) return false;
    const std::string number = display->standardOutput().substr(0, display->standardOutput().find('\n'));
    writeFile(root.path() + "/dunstrc", "");
    daemon = std::make_unique<ChildProcess>(
        "/usr/bin/dunst", std::vector<std::string>{"-config", root.path() + "/dunstrc"}, root.path() + "/daemon",
        ChildProcess::Environment{{"DISPLAY", ":" + number}, {"DBUS_SESSION_BUS_ADDRESS", busAddress}});
    return true;
}

bool PrivateDesktop::notifySend(const std::vector<std::string>& arguments) {
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (std::chrono::steady_clock::now() < deadline) {
        ChildProcess sender("/usr/bin/notify-send", arguments, root.path() + "/sender",
                            {{"DBUS_SESSION_BUS_ADDRESS", busAddress}});
        if (sender.waitForExit(std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now())) == 0)
            return true;
    }
    return false;
}
