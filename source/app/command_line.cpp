#include "app/command_line.h"

#include <cctype>

#include "config/settings.h"
#include "platform/log.h"

std::vector<std::string> splitLaunchTokens(const std::string& commandLine) {
    std::vector<std::string> tokens;
    std::string token;
    for (char c : commandLine) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!token.empty()) tokens.push_back(std::move(token));
            token.clear();
        } else {
            token += c;
        }
    }
    if (!token.empty()) tokens.push_back(std::move(token));
    return tokens;
}

LaunchAction applyLaunchTokens(const std::vector<std::string>& tokens, Settings& settings) {
    bool help = false, version = false;
    for (const std::string& token : tokens) {
        if (token == "--offline")
            settings.offline = true;
        else if (token == "--wait")
            settings.waitForRuntime = true;
        else if (token == "--help")
            help = true;
        else if (token == "--version")
            version = true;
        else
            logMessage("Invalid launch parameter: %s", token.c_str());
    }
    return help ? LaunchAction::ShowHelp : version ? LaunchAction::ShowVersion : LaunchAction::Run;
}

std::string helpText() {
    return "Usage: horlox [--offline] [--wait]\n"
           "A wrist watch for virtual reality: the watch sits on a hand controller as a VR\n"
           "overlay, with its menu in the VR dashboard.\n"
           "\n"
           "  --offline   show the watch in a desktop window instead, without VR\n"
           "  --wait      start before the VR runtime: wait for it (without starting it),\n"
           "              and wait again when it quits instead of ending\n"
           "  --help      show this help and end\n"
           "  --version   show the version and end\n"
           "\n"
           "Environment:\n"
           "  HORLOX_VR_RUNTIME   the VR runtime: openxr (Monado, WiVRn), openvr (SteamVR) or\n"
           "                      simulated; unset, openxr where the active OpenXR runtime\n"
           "                      offers overlays, otherwise openvr\n"
           "\n"
           "Horlox works in its run directory, the working directory: it reads the watches\n"
           "in watches/ there and keeps its settings in settings.conf there. One Horlox\n"
           "runs per run directory; a second one ends at once.\n";
}

std::string versionText() { return "Horlox " HORLOX_VERSION "\n"; }
