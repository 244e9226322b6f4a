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
// loop, and aims its clicks and drags at the client's menu controls.
class ScenarioPlayer {
public:
    ScenarioPlayer() = default;
    ScenarioPlayer(Scenario scenario, MenuButtonFinder findMenuButton);

    // At the start of a pass: every action now due, in file order, then the
    // next step of a click or drag.
    void beginPass(std::uint64_t pass, SimulatedWorld& world);

private:
    // A click is a drag that does not move: pressed and released at once.
    struct Gesture {
        std::string label;
        float from = 0.5f, to = 0.5f;  // across the control, 0 at its left edge
    };
    // A gesture under way: where the pointer is, and where it moves next.
    struct HeldGesture {
        VREvent_Mouse_t pointer{};
        std::deque<float> movesLeft;
    };

    bool isDue(const ScenarioAction& action, std::uint64_t pass) const;
    void play(const ScenarioAction& action, SimulatedWorld& world);
    void advanceGesture(SimulatedWorld& world);

    Scenario scenario;
    MenuButtonFinder findMenuButton;
    std::vector<bool> unplayed;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();

    std::deque<Gesture> gesturesWaiting;
    std::optional<HeldGesture> held;
    bool awaitingFrame = false;
};
