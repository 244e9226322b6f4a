#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "vr/simulated/menu_button_finder.h"
#include "vr/simulated/scenario.h"
#include "vr/simulated/simulated_world.h"

// Plays a scenario on the simulated world, pass by pass of the client's main
// loop, and aims its clicks at the client's menu buttons.
class ScenarioPlayer {
public:
    ScenarioPlayer() = default;
    ScenarioPlayer(Scenario scenario, MenuButtonFinder findMenuButton);

    // At the start of a pass: every action now due, in file order, then the
    // next step of a click.
    void beginPass(std::uint64_t pass, SimulatedWorld& world);

private:
    bool isDue(const ScenarioAction& action, std::uint64_t pass) const;
    void play(const ScenarioAction& action, SimulatedWorld& world);
    void advanceClick(SimulatedWorld& world);

    Scenario scenario;
    MenuButtonFinder findMenuButton;
    std::vector<bool> unplayed;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();

    std::deque<std::string> clicksWaiting;
    std::optional<VREvent_Mouse_t> heldClick;
    bool awaitingFrame = false;
};
