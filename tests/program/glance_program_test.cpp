// The real program with a watch saved to show only when looked at, against
// the simulated runtime: hidden it is neither shown nor drawn, and a glance
// brings it in with a fresh image, fading, and takes it away again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/package_files.h"
#include "support/temporary_directory.h"
#include "vr/simulated_session.h"

namespace {

TEST(GlanceProgramTest, AHiddenWatchCostsNoRedrawAndAppearsWithAFreshImage) {
    TemporaryDirectory folder;
    auto path = [&](const std::string& name) { return folder.path() + "/" + name; };
    writeFile(path("app.manifest"), readWholeFile(HORLOX_RUN_DIR "/app.manifest"));
    writeFile(path("watches/Red/config"), ":watch\nname=Red\n");
    const std::string settings = "watchOnRightHand=false\ninitialWatchName=Red\nwatchVisibility=whenLookedAt\n";
    writeFile(path("settings.conf"), settings);
    writeFile(path("scenario"),
              "1 controller 1 on left\n"
              "1.5s controller 1 at 0.18 1.075 -0.32 yaw -90 roll -90\n"
              "3.5s controller 1 at -0.2 1 -0.1\n"
              "5s quit\n");
    ChildProcess program(HORLOX_BINARY, {}, folder.path(),
                         {{"HORLOX_VR_RUNTIME", "simulated"},
                          {"HORLOX_SIM_DIR", path("state")},
                          {"HORLOX_SIM_SCENARIO", path("scenario")},
                          {"HORLOX_SIM_RECORD", path("record")}});
    ASSERT_EQ(program.waitForExit(std::chrono::seconds(60)), 0) << program.standardError();
    const std::string log = readWholeFile(path("record/calls.log"));

    // The watch overlay's images and visibility, in order: "<pass>: <call>".
    std::vector<std::string> watch;
    for (const std::string& line : linesWith(log, "Overlay"))
        for (const char* call : {"SetOverlayTexture(1,", "SetOverlayAlpha(1,", "ShowOverlay(1)",
                                 "HideOverlay(1)"})
            if (line.find(call) == line.find(": ") + 2) watch.push_back(line.substr(0, line.find('(')));
    ASSERT_GE(watch.size(), 4u) << log;
    const std::string reveal = watch[1].substr(0, watch[1].find(':'));
    EXPECT_EQ(watch[0], "pass 0: HideOverlay") << "it starts hidden";
    EXPECT_EQ(watch[1], reveal + ": SetOverlayTexture") << "drawn anew just before it shows";
    EXPECT_EQ(watch[2], reveal + ": SetOverlayAlpha");
    EXPECT_EQ(watch[3], reveal + ": ShowOverlay");
    EXPECT_EQ(watch.back().substr(watch.back().find(':')), ": HideOverlay") << "not drawn hidden";

    // The alpha climbs to 1 and falls back, through values between; how many
    // depends on the length of the passes (the fade's time is tested alone).
    std::vector<float> alphas;
    for (const std::string& line : linesWith(log, "SetOverlayAlpha(1, "))
        alphas.push_back(std::strtof(line.c_str() + line.find("(1, ") + 4, nullptr));
    const auto top = std::find(alphas.begin(), alphas.end(), 1.0f);
    ASSERT_NE(top, alphas.end()) << log;
    EXPECT_TRUE(std::is_sorted(alphas.begin(), top + 1));
    EXPECT_TRUE(std::is_sorted(alphas.rbegin(), std::make_reverse_iterator(top)));
    EXPECT_TRUE(top != alphas.begin() && alphas.end() - top > 1 && alphas.back() > 0);
    EXPECT_EQ(readWholeFile(path("settings.conf")), settings);
}

}  // namespace
