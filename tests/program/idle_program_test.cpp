// The real program against the simulated runtime, left alone with the
// dashboard open: what it hands over, counted in the runtime's record.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "support/child_process.h"
#include "support/package_files.h"
#include "support/temporary_directory.h"
#include "vr/simulated_session.h"

namespace {

using namespace std::chrono_literals;

// The passes, in order, of the logged calls that contain the text.
std::vector<unsigned long> passesOf(const std::string& log, const std::string& call) {
    std::vector<unsigned long> passes;
    for (const std::string& line : linesWith(log, call))
        passes.push_back(std::strtoul(line.c_str() + 5, nullptr, 10));  // "pass N: ..."
    return passes;
}

TEST(IdleProgramTest, TheWatchShowsAtOnceAndAnUntouchedMenuIsDrawnOnlyForItsNewPictures) {
    TemporaryDirectory folder;
    const auto path = [&](const std::string& name) { return folder.path() + "/" + name; };
    writeFile(path("app.manifest"), readWholeFile(HORLOX_RUN_DIR "/app.manifest"));
    const std::uint8_t red[] = {255, 0, 0, 255};
    writeFile(path("watches/Red/face.png"), pngOfColour(256, 256, 4, red));
    writeFile(path("watches/Red/config"), ":watch\nname=Red\n:face\nfile=face.png\n");
    writeFile(path("scenario"),
              "1 controller 1 on left\n"
              "1 dashboard open\n"
              "2.5s controller 1 off\n"
              "3s controller 1 on left\n"
              "5.5s quit\n");
    ChildProcess program(HORLOX_BINARY, {}, folder.path(),
                         {{"HORLOX_VR_RUNTIME", "simulated"},
                          {"HORLOX_SIM_DIR", path("state")},
                          {"HORLOX_SIM_SCENARIO", path("scenario")},
                          {"HORLOX_SIM_RECORD", path("record")}});
    ASSERT_EQ(program.waitForExit(60s), 0) << program.standardError();
    const std::string log = readWholeFile(path("record/calls.log"));

    // Drawn in the pass its controller comes on, not at the clock's next second.
    const std::vector<unsigned long> switchedOn = passesOf(log, "VREvent_TrackedDeviceActivated");
    const std::vector<unsigned long> watchImages = passesOf(log, "SetOverlayTexture(1, ");
    ASSERT_EQ(switchedOn.size(), 2u);
    const std::set<unsigned long> watchPasses(watchImages.begin(), watchImages.end());
    EXPECT_EQ(switchedOn[0], 1u);
    EXPECT_TRUE(watchPasses.count(1)) << log;
    EXPECT_TRUE(watchPasses.count(switchedOn[1])) << log;

    // Three frames as the dashboard opens, then one for each new picture of
    // the watch, in the pass after it was drawn.
    const std::vector<unsigned long> menuImages = passesOf(log, "SetOverlayTexture(2, ");
    const std::set<unsigned long> menuPasses(menuImages.begin(), menuImages.end());
    EXPECT_LE(menuImages.size(), watchImages.size() + 3) << log;
    for (unsigned long pass : watchImages)
        EXPECT_TRUE(pass == watchImages.back() || menuPasses.count(pass + 1)) << pass;
}

}  // namespace
