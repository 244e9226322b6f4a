// The Linux package on a bare Debian system (scripts/bare-system: a minimal
// bookworm with Mesa, the X client libraries and Xvfb, nothing of the build),
// unpacked where users unpack it: every library it needs is found, the
// shipped watches pass horlox-watch's check, and offline the program shows
// the first watch on the bare system's own Xvfb.
//
// Each session runs in a mount and PID namespace of its own (unshare): an
// overlay keeps the cached system unchanged, and when the session ends or is
// killed, its processes end with it and its mounts are gone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <sys/socket.h>
#include <thread>

#include "support/child_process.h"
#include "support/loopback_datagram.h"
#include "support/test_files.h"
#include "support/x11_window_probe.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Unpacked twice, as users do: for everyone, and into a home folder whose
// path holds blanks.
const std::string systemWide = "/opt";
const std::string homeFolder = "/home/watch fan/VR things";

// Lays the overlay over the system, mounts /proc and /dev, and runs the
// script there with the system's own shell.
const char* const enterSystem = R"(set -e
mount -t overlay overlay -o "lowerdir=$1,upperdir=$2,workdir=$3" "$4"
mount -t proc proc "$4/proc"
mount --rbind /dev "$4/dev"
exec chroot "$4" /bin/sh -c "$5")";

// The first shipped watch by name, which the program shows when no settings
// choose one, and its picture (scripts/render-pictures).
const std::string firstWatch = "Classic";

// The share of a picture's opaque pixels that the window shows within 8 of
// each channel. Its hands point elsewhere and its date differs: they cover
// less than a tenth of the dial.
double shareShownAsPictured(const std::vector<std::uint32_t>& shown, const Image& picture) {
    std::size_t opaque = 0, alike = 0;
    for (int row = 0; row < picture.height; ++row)
        for (int x = 0; x < picture.width; ++x) {
            const Rgba pictured = picture.at(x, row);
            if (pictured[3] != 255) continue;
            ++opaque;
            const std::uint32_t rgb = shown[std::size_t(row) * std::size_t(picture.width) + std::size_t(x)];
            const Rgba pixel = {std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb), 255};
            alike += nearlyEqual(pixel, pictured, 8);
        }
    return opaque ? double(alike) / double(opaque) : 0;
}

class BareSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* folder : {"changes", "work", "root"}) fs::create_directory(path(folder));
        // The package lies at the system's root.
        fs::copy_file(HORLOX_LINUX_PACKAGE, path("changes/Horlox-linux-x64.tar.gz"));
        auto unpack = start("set -e; for place in " + systemWide + " '" + homeFolder +
                            "'; do mkdir -p \"$place\"; tar -xzf /Horlox-linux-x64.tar.gz -C \"$place\"; done");
        ASSERT_EQ(unpack->waitForExit(60s), 0) << unpack->standardError();
    }

    // A session running the script on the bare system, without the build's
    // display or library settings; its output lands in a folder of its own.
    std::unique_ptr<ChildProcess> start(const std::string& script) {
        const std::string logs = path("session-" + std::to_string(++sessions));
        fs::create_directory(logs);
        return std::make_unique<ChildProcess>(
            "/usr/bin/unshare",
            std::vector<std::string>{"--mount", "--propagation", "private", "--pid", "--fork", "--kill-child", "--",
                                     "/bin/sh", "-c", enterSystem, "sh", HORLOX_BARE_SYSTEM, path("changes"),
                                     path("work"), path("root"), script},
            logs,
            ChildProcess::Environment{{"DISPLAY", ""}, {"XAUTHORITY", ""}, {"LD_LIBRARY_PATH", ""}, {"LD_PRELOAD", ""}});
    }

    // Where the file the system wrote at its path lies (in the overlay's upper folder).
    std::string written(const std::string& systemPath) const { return path("changes" + systemPath); }
    std::string path(const std::string& name) const { return directory.path() + "/" + name; }

    TemporaryDirectory directory;
    int sessions = 0;
};

// The system is bare indeed: neither the library the package brings (date's
// tz library) nor those it links in statically (GLEW, libarchive) is there;
// yet nothing the programs need is missing, and every shipped watch passes
// the check with no finding. Offline from the home folder, on the system's
// Xvfb, which the test reaches through its abstract socket, the window shows
// the first watch as its picture does. The system has no fonts of its own for
// most scripts: a toast in each draws glyphs of its own from the fonts the
// package ships, never boxes or question marks. Closing the window ends the
// program with status 0.
TEST_F(BareSystemTest, ProgramsFindTheirLibrariesAndShowTheFirstWatchAndToastsInEveryScript) {
    for (const char* library : {"libdate-tz.so.3", "libGLEW.so.2.2", "libarchive.so.13"})
        EXPECT_FALSE(fs::exists(HORLOX_BARE_SYSTEM "/usr/lib/x86_64-linux-gnu/" + std::string(library))) << library;

    // As the loader does for the programs: the libraries of lib/ find their
    // own needs there through the programs' run path.
    auto libraries = start("cd " + systemWide + "/Horlox && ldd horlox horlox-watch");
    ASSERT_EQ(libraries->waitForExit(60s), 0) << libraries->standardError();
    EXPECT_NE(libraries->standardOutput().find("libGL.so.1 => /lib/x86_64-linux-gnu/"), std::string::npos)
        << "the system's GL\n" << libraries->standardOutput();
    EXPECT_EQ(libraries->standardOutput().find("not found"), std::string::npos) << libraries->standardOutput();

    int watches = 0;
    for (const auto& entry : fs::directory_iterator(HORLOX_RUN_DIR "/watches")) {
        const std::string watch = entry.path().filename().string();
        auto check = start("cd '" + homeFolder + "/Horlox' && ./horlox-watch check 'watches/" + watch + "'");
        EXPECT_EQ(check->waitForExit(60s), 0) << watch << "\n" << check->standardOutput() << check->standardError();
        EXPECT_EQ(check->standardOutput(), "") << watch << ": no finding";
        ++watches;
    }
    EXPECT_EQ(watches, 4) << "the four shipped watches";

    const std::unique_ptr<ChildProcess> session =
        start("Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>/tmp/display 2>/tmp/xvfb.log &\n"
              "while [ ! -s /tmp/display ]; do sleep 0.1; done\n"
              "cd '" + homeFolder + "/Horlox'\n"
              "DISPLAY=:$(head -n 1 /tmp/display) ./horlox --offline\n"
              "echo \"horlox ended with $?\"\n");
    std::string display;
    for (auto waited = 0ms; waited < 30s && display.empty() && session->running(); waited += 100ms) {
        std::this_thread::sleep_for(100ms);
        display = readWholeFile(written("/tmp/display"));
    }
    ASSERT_FALSE(display.empty()) << "Xvfb did not start\n" << readWholeFile(written("/tmp/xvfb.log"))
                                  << session->standardError();
    // The window probe looks at the system's display from here on; CTest
    // runs each test in a process of its own.
    setenv("DISPLAY", (":" + display.substr(0, display.find('\n'))).c_str(), 1);

    const Image picture = readPng(HORLOX_SOURCE_DIR "/docs/pictures/" + firstWatch + ".png");
    ASSERT_EQ(picture.width, 256);
    double shownAsPictured = 0;
    std::optional<WindowFacts> window;
    for (auto waited = 0ms; waited < 60s && shownAsPictured < 0.85 && session->running(); waited += 200ms) {
        std::this_thread::sleep_for(200ms);
        window = findWindowByTitle("Horlox");
        const std::vector<std::uint32_t> corner = readWindowPixels("Horlox", 0, 720 - 256, 256, 256);
        if (corner.size() == 256 * 256) shownAsPictured = shareShownAsPictured(corner, picture);
    }
    ASSERT_TRUE(window && window->viewable) << session->standardError();
    EXPECT_GE(shownAsPictured, 0.85) << "the window's lower-left corner shows " << firstWatch;

    // The toast's pixels once it has faded in, after the one before it left.
    const auto toastOf = [&](const std::string& title) {
        sendLoopbackDatagram(AF_INET, 42069, R"({"messageType":1,"timeout":1,"sourceApp":"VRCX","title":")" + title + "\"}");
        std::vector<std::uint32_t> shown;
        eventually([&] {
            shown = readWindowPixels("Horlox", 256, 720 - 256, 512, 256);
            return std::count(shown.begin(), shown.end(), 0u) < long(shown.size()) * 9 / 10;
        }, 20s);
        std::this_thread::sleep_for(400ms);
        shown = readWindowPixels("Horlox", 256, 720 - 256, 512, 256);
        EXPECT_TRUE(eventually([] {
            const std::vector<std::uint32_t> gone = readWindowPixels("Horlox", 256, 720 - 256, 512, 256);
            return std::count(gone.begin(), gone.end(), 0u) == long(gone.size());
        }, 20s)) << title;
        return shown;
    };
    // Two characters each: without their fonts, all would be the same two boxes.
    std::set<std::vector<std::uint32_t>> seen{toastOf("??")};
    for (const auto& [script, text] : {std::pair{"Japanese", "\u30D5\u30EC"}, {"Korean", "\uCE5C\uAD6C"},
                                        {"Chinese", "\u670B\u53CB"}, {"Arabic", "\u0635\u062F"},
                                        {"Hebrew", "\u05D7\u05D1"}, {"Hindi", "\u092E\u093F"},
                                        {"Thai", "\u0E40\u0E1E"}, {"Russian", "\u0414\u0440"},
                                        {"Greek", "\u03A6\u03AF"}})
        EXPECT_TRUE(seen.insert(toastOf(text)).second) << script << " draws as another did";

    EXPECT_TRUE(requestWindowClose("Horlox"));
    EXPECT_EQ(session->waitForExit(30s), 0) << session->standardError();
    EXPECT_NE(session->standardOutput().find("horlox ended with 0\n"), std::string::npos)
        << session->standardOutput() << session->standardError();
}

}  // namespace
