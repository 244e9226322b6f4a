// The program redraws the watch at once when a battery changes.
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
    // The watch is worn on the left hand, where no controller is: only the
    // first reading of the batteries and their changes ask for a drawing.
    TemporaryDirectory folder;
    const std::string run = folder.path();
    writeFile(run + "/app.manifest", readWholeFile(HORLOX_RUN_DIR "/app.manifest"));
    writeFile(run + "/watches/Gauge/config", ":watch\nname=Gauge\n");
    writeFile(run + "/scenario",
              "1 controller 2 on right\n20 battery 2 0.5\n40 battery 2 0.4 charging\n60 quit\n");
    ChildProcess program(HORLOX_BINARY, {}, run,
                         {{"HORLOX_VR_RUNTIME", "simulated"}, {"HORLOX_SIM_DIR", run + "/state"},
                          {"HORLOX_SIM_SCENARIO", run + "/scenario"},
                          {"HORLOX_SIM_RECORD", run + "/record"}});
    ASSERT_EQ(program.waitForExit(60s), 0);

    const std::string log = readWholeFile(run + "/record/calls.log");
    EXPECT_EQ(passesWith(log, "SetOverlayTexture(1,"), (std::set<unsigned long>{1, 20, 40})) << log;
    EXPECT_EQ(passesWith(log, "-> VREvent_PropertyChanged"), (std::set<unsigned long>{20, 40}));
}

}  // namespace
