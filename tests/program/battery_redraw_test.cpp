// The program redraws a watch that shows batteries at once when one changes.
#include <gtest/gtest.h>

#include <set>

#include "support/child_process.h"
#include "support/package_files.h"
#include "support/temporary_directory.h"
#include "vr/simulated_session.h"

namespace {

using namespace std::chrono_literals;

// The passes of the log lines that contain the part.
std::set<unsigned long> passesWith(const std::string& log, const std::string& part) {
    std::set<unsigned long> passes;
    for (const std::string& line : linesWith(log, part))
        passes.insert(std::strtoul(line.c_str() + 5, nullptr, 10));
    return passes;
}

TEST(BatteryRedrawTest, ABatteryChangeIsDrawnInThePassThatReportsIt) {
    TemporaryDirectory folder;
    const std::string run = folder.path();
    writeFile(run + "/app.manifest", readWholeFile(HORLOX_RUN_DIR "/app.manifest"));
    const std::uint8_t red[] = {255, 0, 0, 255};
    writeFile(run + "/watches/Gauge/pointer.png", pngOfColour(4, 40, 4, red));
    writeFile(run + "/watches/Gauge/config",
              ":watch\nname=Gauge\n:hand\nfile=pointer.png\nbattery=left\n");
    writeFile(run + "/scenario",
              "1 controller 1 on left\n20 battery 1 0.5\n40 battery 1 0.4 charging\n"
              "60 controller 1 off\n61 battery 1 0.3\n70 quit\n");
    ChildProcess program(HORLOX_BINARY, {}, run,
                         {{"HORLOX_VR_RUNTIME", "simulated"}, {"HORLOX_SIM_DIR", run + "/state"},
                          {"HORLOX_SIM_SCENARIO", run + "/scenario"},
                          {"HORLOX_SIM_RECORD", run + "/record"}});
    ASSERT_EQ(program.waitForExit(60s), 0);

    // Drawn in the passes of the changes, besides once a second, and never
    // for a watch whose controller has gone.
    const std::set<unsigned long> drawn =
        passesWith(readWholeFile(run + "/record/calls.log"), "SetOverlayTexture(1,");
    for (unsigned long pass : {1, 20, 40}) EXPECT_EQ(drawn.count(pass), 1u) << pass;
    EXPECT_LT(*drawn.rbegin(), 60u);
}

}  // namespace
