#pragma once

// The VR runtime as the program needs it: where the headset and the hands'
// controllers are and their batteries, images on the wrist (the watch, the
// toast), the menu's surface in the dashboard, and the session's life. Each
// runtime is a wing behind this seam, made by its one create function:
// vr/openvr (the OpenVR client library, or the simulated runtime behind the
// same calls) and vr/openxr.
//
// One runtime for the whole process, on the main thread. start comes first,
// or probe; the other calls are made only after a successful start and
// before leave. A pass of the main loop is framed by beginPass and endPass.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "vr/runtime/pose.h"
#include "watch/battery_status.h"

// OpenGL's name for its objects, without the GL headers.
typedef unsigned int GLuint;

enum class Hand { Left, Right };

// The controller held in a hand, as the runtime counts them: another number
// is another controller.
using ControllerId = std::uint32_t;
constexpr ControllerId noController = 0xFFFFFFFF;

// What happened since the runtime was last asked.
struct RuntimeEvent {
    enum class Kind {
        ControllerCame,  // a controller came on or changed hands
        ControllerGone,  // `controller` went off
        DeviceChanged,   // something a device tells of changed, its battery perhaps
        Quit,            // the runtime asks the program to leave
    };
    Kind kind = Kind::DeviceChanged;
    ControllerId controller = noController;
};

// The laser's pointer on the menu. Positions are fractions of the menu's
// width and height from its top-left corner; scrolling is in lines, x to
// the right and y up.
struct PointerEvent {
    enum class Kind { Move, Press, Release, Scroll };
    Kind kind = Kind::Move;
    float x = 0, y = 0;
    int button = 0;  // for presses and releases: 0 the main button, 1 the second, 2 the middle
};

// An image on a controller: the watch, a toast. It shows its texture as it
// was last handed over, with the texture's first row at the bottom.
class WristQuad {
public:
    virtual ~WristQuad() = default;
    virtual void setWidth(float metres) = 0;
    // Hands the texture's current image over.
    virtual void setImage() = 0;
    // False where the runtime refused; what it showed before stays.
    virtual bool placeOn(ControllerId controller, const Pose& onController) = 0;
    virtual bool setAlpha(float alpha) = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
};

// The menu in the dashboard. Its image is the menu texture, upright as
// OpenGL draws it.
class MenuSurface {
public:
    virtual ~MenuSurface() = default;
    // Whether the dashboard shows the menu now.
    virtual bool isOpen() = 0;
    // The size the runtime took the last image at; none before the first.
    struct Size {
        std::uint32_t width, height;
    };
    virtual std::optional<Size> imageSize() = 0;
    virtual bool nextPointerEvent(PointerEvent& event) = 0;
    virtual void setImage() = 0;
};

// What the program asks of the start: the watch, shown or hidden at first,
// on the controller of its hand, and the menu.
struct VrStart {
    GLuint watchTexture = 0;
    float watchWidth = 0;  // metres
    bool watchShown = true;
    Hand watchHand = Hand::Left;
    GLuint menuTexture = 0;
    // The menu's icon where the dashboard shows one; 0 for none.
    GLuint menuIcon = 0;
};

struct VrStarted {
    // Empty on success; otherwise the line that ends the program.
    std::string failure;
    std::unique_ptr<WristQuad> watch;
    std::unique_ptr<MenuSurface> menu;
    ControllerId watchController = noController;
};

// Whether a runtime runs, asked without starting one.
struct VrProbe {
    enum class Answer { Running, NotRunning, Failed };
    Answer answer = Answer::NotRunning;
    std::string failure;  // for Failed: the line that ends the program
};

class VrRuntime {
public:
    virtual ~VrRuntime() = default;

    // The lifecycle. No quad or surface is used after leave.
    virtual VrProbe probe() = 0;
    virtual VrStarted start(const VrStart& request) = 0;
    virtual void beginPass() = 0;
    virtual void endPass() = 0;
    virtual void leave() = 0;
    // True while the runtime paces the main loop itself, its beginPass
    // waiting until the next frame is due: the loop then needs no wait of its own.
    virtual bool pacesMainLoop() const = 0;

    // Another quad on the wrist, hidden, or null where the runtime makes none.
    // `name` is for people; `id` tells the program's quads apart.
    virtual std::unique_ptr<WristQuad> addWristQuad(const char* id, const char* name, GLuint texture,
                                                    float width) = 0;

    virtual bool nextEvent(RuntimeEvent& event) = 0;
    virtual ControllerId controllerIn(Hand hand) = 0;
    virtual DeviceBatteries readBatteries() = 0;
    // Where the headset and the controller are now in the standing space;
    // none for one that is not tracked.
    struct Located {
        std::optional<Pose> headset, controller;
    };
    virtual Located locate(ControllerId controller) = 0;
};
