#include "vr/simulated/scenario.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double maxSeconds = 1e7;
constexpr std::uint64_t maxPass = 1'000'000'000'000ULL;

std::vector<std::string> splitWords(std::string_view line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r')) ++at;
        std::size_t start = at;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t' && line[at] != '\r') ++at;
        if (at > start) words.emplace_back(line.substr(start, at - start));
    }
    return words;
}

// At most a screen line of the faulty text goes into the message.
std::string joinWords(const std::vector<std::string>& words) {
    std::string joined;
    for (const std::string& word : words) joined += (joined.empty() ? "" : " ") + word;
    return joined.size() > 80 ? joined.substr(0, 77) + "..." : joined;
}

bool readWhole(const std::string& word, std::uint64_t& value) {
    if (word.empty() || word.size() > 19 || word.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::strtoull(word.c_str(), nullptr, 10);
    return true;
}

bool readFinite(const std::string& word, double& value) {
    if (word.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(word.c_str(), &end);
    return errno == 0 && *end == '\0' && std::isfinite(value) &&
           word.find_first_of("xXnN") == std::string::npos;  // no hex, no nan or inf
}

bool readFloat(const std::string& word, float& value) {
    double wide = 0;
    if (!readFinite(word, wide) || std::fabs(wide) > 1e30) return false;
    value = static_cast<float>(wide);
    return true;
}

bool readWhen(const std::string& word, ScenarioAction& action) {
    if (!word.empty() && word.back() == 's') {
        double seconds = 0;
        if (!readFinite(word.substr(0, word.size() - 1), seconds) || seconds < 0 ||
            seconds > maxSeconds)
            return false;
        action.keyedToTime = true;
        action.seconds = seconds;
        return true;
    }
    return readWhole(word, action.pass) && action.pass >= 1 && action.pass <= maxPass;
}

bool readRole(const std::string& word, ETrackedControllerRole& role) {
    if (word == "left") role = TrackedControllerRole_LeftHand;
    else if (word == "right") role = TrackedControllerRole_RightHand;
    else if (word == "none") role = TrackedControllerRole_Invalid;
    else return false;
    return true;
}

bool readButton(const std::string& word, std::uint32_t& button) {
    std::uint64_t number = 0;
    if (word == "left") button = VRMouseButton_Left;
    else if (word == "right") button = VRMouseButton_Right;
    else if (word == "middle") button = VRMouseButton_Middle;
    else if (readWhole(word, number) && number <= UINT32_MAX) button = static_cast<std::uint32_t>(number);
    else return false;
    return true;
}

// Turned by yaw about y, then pitch about the turned x, then roll about the
// turned z: R = Ry · Rx · Rz.
HmdMatrix34_t poseMatrix(const float (&position)[3], const float (&degrees)[3]) {
    const double toRadians = 3.14159265358979323846 / 180;
    const double cy = std::cos(degrees[0] * toRadians), sy = std::sin(degrees[0] * toRadians);
    const double cp = std::cos(degrees[1] * toRadians), sp = std::sin(degrees[1] * toRadians);
    const double cr = std::cos(degrees[2] * toRadians), sr = std::sin(degrees[2] * toRadians);
    const double turn[3][3] = {{cy * cr + sy * sp * sr, -cy * sr + sy * sp * cr, sy * cp},
                               {cp * sr, cp * cr, -sp},
                               {-sy * cr + cy * sp * sr, sy * sr + cy * sp * cr, cy * cp}};
    HmdMatrix34_t pose;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column)
            pose.m[row][column] = static_cast<float>(turn[row][column]);
        pose.m[row][3] = position[row];
    }
    return pose;
}

// "at <x> <y> <z>" and any of "yaw", "pitch" and "roll" with their degrees,
// each at most once; or "lost".
bool readPose(const std::vector<std::string>& words, std::size_t from, ScenarioAction& action) {
    if (words.size() == from + 1 && words[from] == "lost") {
        action.kind = ScenarioAction::Kind::Lose;
        return true;
    }
    float position[3] = {}, degrees[3] = {};
    if (words.size() < from + 4 || words[from] != "at") return false;
    for (int i = 0; i < 3; ++i)
        if (!readFloat(words[from + 1 + i], position[i])) return false;
    const char* const angleNames[3] = {"yaw", "pitch", "roll"};
    bool given[3] = {};
    for (std::size_t at = from + 4; at < words.size(); at += 2) {
        int angle = 0;
        while (angle < 3 && words[at] != angleNames[angle]) ++angle;
        if (angle == 3 || given[angle] || at + 1 == words.size() ||
            !readFloat(words[at + 1], degrees[angle]))
            return false;
        given[angle] = true;
    }
    action.kind = ScenarioAction::Kind::Place;
    action.pose = poseMatrix(position, degrees);
    return true;
}

bool readController(const std::vector<std::string>& words, ScenarioAction& action) {
    std::uint64_t device = 0;
    if (words.size() < 4 || !readWhole(words[2], device) || device < 1 ||
        device >= k_unMaxTrackedDeviceCount)
        return false;
    action.device = static_cast<TrackedDeviceIndex_t>(device);
    if (words[3] == "off") {
        action.kind = ScenarioAction::Kind::ControllerOff;
        return words.size() == 4;
    }
    if (words[3] == "at" || words[3] == "lost") return readPose(words, 3, action);
    if (words[3] == "on") action.kind = ScenarioAction::Kind::ControllerOn;
    else if (words[3] == "role") action.kind = ScenarioAction::Kind::ControllerRole;
    else return false;
    return words.size() == 5 && readRole(words[4], action.role);
}

bool readBattery(const std::vector<std::string>& words, ScenarioAction& action) {
    std::uint64_t device = 0;
    if (words.size() < 4 || words.size() > 5) return false;
    if (words[2] == "hmd") device = k_unTrackedDeviceIndex_Hmd;
    else if (!readWhole(words[2], device) || device < 1 || device >= k_unMaxTrackedDeviceCount)
        return false;
    action.kind = ScenarioAction::Kind::Battery;
    action.device = static_cast<TrackedDeviceIndex_t>(device);
    if (words[3] == "none") {
        action.noBattery = true;
        return words.size() == 4;
    }
    action.charging = words.size() == 5;
    return readFloat(words[3], action.x) && action.x >= 0 && action.x <= 1 &&
           (!action.charging || words[4] == "charging");
}

bool readMouse(const std::vector<std::string>& words, ScenarioAction& action) {
    using Kind = ScenarioAction::Kind;
    if (words.size() < 3) return false;
    const std::string& verb = words[2];
    if (verb == "down" || verb == "up") {
        action.kind = verb == "down" ? Kind::MouseDown : Kind::MouseUp;
        return words.size() == 4 && readButton(words[3], action.button);
    }
    if (verb == "click" || verb == "drag") {
        const bool drag = verb == "drag";
        action.kind = drag ? Kind::MouseDrag : Kind::MouseClick;
        const std::size_t labelEnd = words.size() - (drag ? 2 : 0);
        for (std::size_t i = 3; i < labelEnd; ++i) action.label += (i > 3 ? " " : "") + words[i];
        return labelEnd > 3 && (!drag || (readFloat(words[labelEnd], action.x) &&
                                          readFloat(words[labelEnd + 1], action.y)));
    }
    if (verb == "move") action.kind = Kind::MouseMove;
    else if (verb == "scroll") action.kind = Kind::MouseScroll;
    else if (verb == "smoothscroll") action.kind = Kind::MouseSmoothScroll;
    else return false;
    return words.size() == 5 && readFloat(words[3], action.x) && readFloat(words[4], action.y);
}

bool readAction(const std::vector<std::string>& words, ScenarioAction& action) {
    using Kind = ScenarioAction::Kind;
    if (words.size() < 2 || !readWhen(words[0], action)) return false;
    const std::string& noun = words[1];
    if (noun == "quit") {
        action.kind = Kind::Quit;
        return words.size() == 2;
    }
    if (noun == "dashboard" && words.size() == 3) {
        if (words[2] == "open") action.kind = Kind::DashboardOpen;
        else if (words[2] == "close") action.kind = Kind::DashboardClose;
        else return false;
        return true;
    }
    if (noun == "controller") return readController(words, action);
    if (noun == "battery") return readBattery(words, action);
    if (noun == "headset") {
        action.device = k_unTrackedDeviceIndex_Hmd;
        return readPose(words, 2, action);
    }
    if (noun == "mouse") return readMouse(words, action);
    return false;
}

}  // namespace

bool parseScenario(std::string_view text, Scenario& scenario, std::string& error) {
    scenario.actions.clear();
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        line = line.substr(0, line.find('#'));

        std::vector<std::string> words = splitWords(line);
        if (words.empty()) continue;
        ScenarioAction action;
        if (!readAction(words, action)) {
            error = "line " + std::to_string(lineNumber) + ": cannot read \"" +
                    joinWords(words) + "\"";
            scenario.actions.clear();
            return false;
        }
        scenario.actions.push_back(action);
    }
    return true;
}
