#include "vr/simulated/scenario_player.h"

#include "vr/simulated/call_text.h"

namespace {

// A point of the scenario, from the overlay's top-left corner as a person sees
// it, as SteamVR on Linux delivers it: from the bottom-left corner, y up.
VREvent_Mouse_t fromTopLeft(float x, float y, std::uint32_t button) {
    return VREvent_Mouse_t{x, 1.0f - y, button};
}

VREvent_t mouseEvent(EVREventType type, const VREvent_Mouse_t& mouse) {
    VREvent_t event = makeEvent(type);
    event.data.mouse = mouse;
    return event;
}

VREvent_t mouseEventOf(const ScenarioAction& action) {
    using Kind = ScenarioAction::Kind;
    VREvent_t event = makeEvent(VREvent_MouseMove);
    switch (action.kind) {
        case Kind::MouseMove:
            event.data.mouse = fromTopLeft(action.x, action.y, 0);
            break;
        case Kind::MouseDown:
        case Kind::MouseUp:
            event.eventType =
                action.kind == Kind::MouseDown ? VREvent_MouseButtonDown : VREvent_MouseButtonUp;
            event.data.mouse = {0, 0, action.button};
            break;
        default:
            event.eventType =
                action.kind == Kind::MouseScroll ? VREvent_ScrollDiscrete : VREvent_ScrollSmooth;
            event.data.scroll = {action.x, action.y, 0, 1.0f};
            break;
    }
    return event;
}

}  // namespace

ScenarioPlayer::ScenarioPlayer(Scenario chosen, MenuButtonFinder finder)
    : scenario(std::move(chosen)),
      findMenuButton(std::move(finder)),
      unplayed(scenario.actions.size(), true) {}

void ScenarioPlayer::beginPass(std::uint64_t pass, SimulatedWorld& world) {
    for (std::size_t i = 0; i < scenario.actions.size(); ++i) {
        if (unplayed[i] && isDue(scenario.actions[i], pass)) {
            unplayed[i] = false;
            play(scenario.actions[i], world);
        }
    }
    advanceClick(world);
}

bool ScenarioPlayer::isDue(const ScenarioAction& action, std::uint64_t pass) const {
    if (!action.keyedToTime) return action.pass <= pass;
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    return elapsed.count() >= action.seconds;
}

void ScenarioPlayer::play(const ScenarioAction& action, SimulatedWorld& world) {
    using Kind = ScenarioAction::Kind;
    switch (action.kind) {
        case Kind::ControllerOn:
            world.switchControllerOn(action.device, action.role);
            break;
        case Kind::ControllerOff:
            world.switchControllerOff(action.device);
            break;
        case Kind::ControllerRole:
            world.changeControllerRole(action.device, action.role);
            break;
        case Kind::DashboardOpen:
        case Kind::DashboardClose:
            world.setDashboardOpen(action.kind == Kind::DashboardOpen);
            break;
        case Kind::Quit:
            world.askToQuit();
            break;
        case Kind::MouseClick:
            clicksWaiting.push_back(action.label);
            break;
        default:
            if (SimulatedOverlay* overlay = world.mouseTarget())
                overlay->events.push_back(mouseEventOf(action));
            break;
    }
}

// A click spans two passes, as a hand's does: pressed in one, released in the
// next, so the menu sees both. Clicks due together take turns, each aimed at a
// frame drawn after the one before took effect, as a click may change the
// buttons.
void ScenarioPlayer::advanceClick(SimulatedWorld& world) {
    SimulatedOverlay* overlay = world.mouseTarget();
    if (heldClick) {
        if (overlay) overlay->events.push_back(mouseEvent(VREvent_MouseButtonUp, *heldClick));
        heldClick.reset();
        awaitingFrame = true;
        return;
    }
    if (awaitingFrame) {
        awaitingFrame = false;
        return;
    }
    if (clicksWaiting.empty()) return;
    const std::string label = std::move(clicksWaiting.front());
    clicksWaiting.pop_front();
    if (!overlay) return;
    // The button is aimed at where the menu last drew it, in the image the
    // overlay was last handed.
    const std::optional<MenuPoint> button =
        findMenuButton ? findMenuButton(label) : std::nullopt;
    if (!button || !overlay->textureSize) {
        reportSimulatorFault("the menu shows no button \"" + label + "\" to click");
        return;
    }
    heldClick = fromTopLeft(button->x / static_cast<float>(overlay->textureSize->first),
                            button->y / static_cast<float>(overlay->textureSize->second),
                            VRMouseButton_Left);
    overlay->events.push_back(mouseEvent(VREvent_MouseMove, *heldClick));
    overlay->events.push_back(mouseEvent(VREvent_MouseButtonDown, *heldClick));
}
