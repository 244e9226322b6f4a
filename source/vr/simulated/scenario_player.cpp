#include "vr/simulated/scenario_player.h"

#include "vr/simulated/call_text.h"

namespace {

// A point of the scenario, from the overlay's top-left corner as a person sees
// it, as SteamVR on Linux delivers it: from the bottom-left corner, y up.
VREvent_Mouse_t fromTopLeft(float x, float y, std::uint32_t button) {
    return VREvent_Mouse_t{x, 1.0f - y, button};
}

// A drag moves over this many passes, so the menu sees it move.
constexpr int dragMoves = 8;

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
    advanceGesture(world);
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
        case Kind::Battery:
            world.setBattery(action.device, action.noBattery ? std::nullopt
                                                             : std::optional<SimulatedBattery>(
                                                                   {action.x, action.charging}));
            break;
        case Kind::Place:
            world.placeDevice(action.device, action.pose);
            break;
        case Kind::Lose:
            world.loseDevice(action.device);
            break;
        case Kind::DashboardOpen:
        case Kind::DashboardClose:
            world.setDashboardOpen(action.kind == Kind::DashboardOpen);
            break;
        case Kind::Quit:
            world.askToQuit();
            break;
        case Kind::MouseClick:
            gesturesWaiting.push_back({action.label});
            break;
        case Kind::MouseDrag:
            gesturesWaiting.push_back({action.label, action.x, action.y});
            break;
        default:
            if (SimulatedOverlay* overlay = world.mouseTarget())
                overlay->events.push_back(mouseEventOf(action));
            break;
    }
}

// A click spans two passes, as a hand's does: pressed in one, released in the
// next, so the menu sees both; a drag moves in the passes between. Gestures
// due together take turns, each aimed at a frame drawn after the one before
// took effect, as a click may change the controls.
void ScenarioPlayer::advanceGesture(SimulatedWorld& world) {
    SimulatedOverlay* overlay = world.mouseTarget();
    if (held) {
        const bool moving = !held->movesLeft.empty();
        if (moving) {
            held->pointer.x = held->movesLeft.front();
            held->movesLeft.pop_front();
        }
        if (overlay)
            overlay->events.push_back(
                mouseEvent(moving ? VREvent_MouseMove : VREvent_MouseButtonUp, held->pointer));
        if (moving) return;
        held.reset();
        awaitingFrame = true;
        return;
    }
    if (awaitingFrame) {
        awaitingFrame = false;
        return;
    }
    if (gesturesWaiting.empty()) return;
    const Gesture gesture = std::move(gesturesWaiting.front());
    gesturesWaiting.pop_front();
    if (!overlay) return;
    // The control is aimed at where the menu last drew it, in the image the
    // overlay was last handed.
    const std::optional<MenuRect> control =
        findMenuButton ? findMenuButton(gesture.label) : std::nullopt;
    if (!control || !overlay->textureSize) {
        reportSimulatorFault("the menu shows no button \"" + gesture.label + "\" to click");
        return;
    }
    const float width = static_cast<float>(overlay->textureSize->first);
    const float height = static_cast<float>(overlay->textureSize->second);
    // From the middle of its first pixel column to that of its last, so that
    // 0 and 1 still land on the control.
    auto across = [&](float fraction) {
        return (control->left + 0.5f + (control->right - control->left - 1) * fraction) / width;
    };
    HeldGesture pressed;
    pressed.pointer = fromTopLeft(across(gesture.from), (control->top + control->bottom) / 2 / height,
                                  VRMouseButton_Left);
    if (gesture.to != gesture.from)
        for (int move = 1; move <= dragMoves; ++move)
            pressed.movesLeft.push_back(
                across(gesture.from + (gesture.to - gesture.from) * move / dragMoves));
    overlay->events.push_back(mouseEvent(VREvent_MouseMove, pressed.pointer));
    overlay->events.push_back(mouseEvent(VREvent_MouseButtonDown, pressed.pointer));
    held = std::move(pressed);
}
