// The VR runtime as an OpenXR overlay session (XR_EXTX_overlay with
// XR_KHR_opengl_enable, the program's GLX context), for Monado and WiVRn.
//
// Implemented:
//  - The headset is the view space; the controllers are the hands' grip
//    poses (/user/hand/left|right), numbered 0 and 1, which come and go as
//    their poses become valid or not. Poses are located in the stage space
//    (the standing universe) at the frame's predicted display time.
//  - Wrist quads and the menu become quad layers, one swapchain each, the
//    size of the texture last handed over; handing an image over copies the
//    texture into it, and every frame shows the image released last. The
//    width gives a quad's size, the texture's shape its height.
//  - Alpha: XR_KHR_composition_layer_color_scale_bias where the runtime
//    offers it, otherwise the copy is drawn again at that alpha.
//  - The frame loop: a pass begins by waiting for the next frame
//    (xrWaitFrame) and ends it with the layers as they stand, so the runtime
//    paces the loop while its session runs.
//  - Session states: READY begins the session, STOPPING ends it; EXITING,
//    LOSS_PENDING, a lost instance or session or any failing frame call
//    become the quit request. Each state is logged.
//  - A probe only makes an instance and asks for the headset.
//  - The dashboard, which OpenXR has not: the menu opens by a long press of
//    a controller's menu button, and its laser points and clicks in it
//    (see laser_menu.h).
// Missing:
//  - The dashboard's other parts: the menu's icon, the dashboard of other
//    programs' overlays, closing the menu by looking away.
//  - Batteries: OpenXR tells of none; the devices show as present without one.
//  - Untested here: the color-scale path (Monado does not offer the
//    extension) and the pulse itself (Monado's remote controller drops it).
#include "vr/openxr/openxr_runtime.h"

#include <openxr/openxr.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/log.h"
#include "vr/openxr/laser_menu.h"
#include "vr/openxr/openxr_names.h"
#include "vr/openxr/openxr_pose.h"
#include "vr/openxr/openxr_record.h"
#include "vr/openxr/openxr_session.h"
#include "vr/openxr/quad_image.h"

namespace {

// A quad on a hand, or the menu: what it shows and where.
struct Layer {
    GLuint texture = 0;
    QuadImage image;
    float width = 1;
    float alpha = 1;
    bool shown = false;
    ControllerId hand = noController;
    XrPosef pose{{0, 0, 0, 1}, {0, 0, 0}};
};

class OpenXrRuntime final : public VrRuntime {
public:
    ~OpenXrRuntime() override { release(); }

    VrProbe probe() override {
        const XrResult found = findOpenXrSystem();
        if (found == XR_ERROR_RUNTIME_UNAVAILABLE || found == XR_ERROR_RUNTIME_FAILURE ||
            found == XR_ERROR_FORM_FACTOR_UNAVAILABLE || found == XR_ERROR_INSTANCE_LOST)
            return {};
        if (XR_FAILED(found)) return {VrProbe::Answer::Failed, initFailure(found)};
        return {VrProbe::Answer::Running, {}};
    }

    VrStarted start(const VrStart& request) override;
    void beginPass() override;
    void endPass() override {
        if (frameBegun_) endFrame();
    }
    // The session and the instance end; the program leaves the process
    // after it (or starts anew to wait for the runtime again).
    void leave() override {
        release();
        logMessage("OpenXR session ended");
    }
    bool pacesMainLoop() const override { return running_ && !ended_; }

    std::unique_ptr<WristQuad> addWristQuad(const char*, const char*, GLuint texture, float width) override;

    bool nextEvent(RuntimeEvent& event) override {
        if (events_.empty()) return false;
        event = events_.front();
        events_.pop_front();
        return true;
    }
    ControllerId controllerIn(Hand hand) override {
        const ControllerId controller = hand == Hand::Left ? 0 : 1;
        return handActive_[controller] ? controller : noController;
    }
    DeviceBatteries readBatteries() override {
        DeviceBatteries batteries;
        batteries.hmd.present = true;
        batteries.leftHand.present = handActive_[0];
        batteries.rightHand.present = handActive_[1];
        return batteries;
    }
    Located locate(ControllerId controller) override {
        Located located;
        if (frame_.head) located.headset = poseOf(*frame_.head);
        if (controller < handCount && handActive_[controller]) located.controller = poseOf(hands_[controller]);
        return located;
    }

    // For the quads and the menu: the layer's texture copied into its
    // image, at its alpha where the runtime does not scale colours itself.
    bool copy(Layer& layer) {
        if (ended_) return true;
        const float alpha = xr_.colorScaleBias ? 1.0f : layer.alpha;
        const XrResult result =
            copyIntoQuad(xr_.session, xr_.swapchainFormat, copier_, layer.image, layer.texture, alpha);
        if (XR_FAILED(result) && result != XR_ERROR_VALIDATION_FAILURE) end("copying an overlay's image", result);
        return result == XR_SUCCESS;
    }
    bool scalesColours() const { return xr_.colorScaleBias; }
    Layer& menuLayer() { return menuLayer_; }
    LaserMenu& menu() { return menu_; }

private:
    static std::string initFailure(XrResult result) {
        return std::string("Failed to Init OpenXR: ") + resultName(result);
    }

    void release() {
        for (const std::unique_ptr<Layer>& layer : layers_) destroyQuadImage(layer->image);
        destroyQuadImage(menuLayer_.image);
        menu_.release();
        destroyQuadCopier(copier_);
        endOpenXrSession(xr_);
        layers_.clear();
    }

    // A failure the session cannot go on from ends the program as the
    // runtime's quit request does.
    void end(const char* doing, XrResult result) {
        if (ended_) return;
        logMessage("OpenXR: %s failed with %s", doing, resultName(result));
        quit();
    }
    void quit() {
        if (ended_) return;
        ended_ = true;
        events_.push_back({RuntimeEvent::Kind::Quit, noController});
    }

    void pollRuntimeEvents();
    void followSessionState(XrSessionState state);
    void locateDevices();
    std::optional<XrPosef> located(XrSpace space);
    bool wearsQuad(int hand) const {
        return std::any_of(layers_.begin(), layers_.end(),
                           [&](const auto& layer) { return layer->shown && layer->hand == ControllerId(hand); });
    }
    void endFrame();

    OpenXrSession xr_;
    QuadCopier copier_;
    std::vector<std::unique_ptr<Layer>> layers_;  // the wrist quads', in the order they were made
    Layer menuLayer_;
    std::deque<RuntimeEvent> events_;
    bool running_ = false;     // between xrBeginSession and xrEndSession
    bool frameBegun_ = false;  // xrBeginFrame came, xrEndFrame is due
    bool ended_ = false;       // quit is queued: no more calls to the runtime
    bool shouldRender_ = false;
    LaserMenu::Frame frame_;
    bool handActive_[handCount] = {};
    XrPosef hands_[handCount] = {};
    LaserMenu menu_;
};

class OpenXrQuad final : public WristQuad {
public:
    OpenXrQuad(OpenXrRuntime& runtime, Layer& layer) : runtime(runtime), layer(layer) {}

    void setWidth(float metres) override {
        if (metres > 0) layer.width = metres;
    }
    void setImage() override { runtime.copy(layer); }
    bool placeOn(ControllerId controller, const Pose& onController) override {
        if (controller >= handCount) return false;
        layer.hand = controller;
        layer.pose = xrPoseOf(onController);
        return true;
    }
    bool setAlpha(float alpha) override {
        if (!(alpha >= 0 && alpha <= 1)) return false;
        layer.alpha = alpha;
        // Without the runtime's colour scale the alpha is in the picture.
        if (!runtime.scalesColours() && layer.image.released && layer.image.alpha != alpha) return runtime.copy(layer);
        return true;
    }
    void show() override { layer.shown = true; }
    void hide() override { layer.shown = false; }

private:
    OpenXrRuntime& runtime;
    Layer& layer;
};

class OpenXrMenu final : public MenuSurface {
public:
    explicit OpenXrMenu(OpenXrRuntime& runtime) : runtime(runtime) {}

    bool isOpen() override { return runtime.menu().isOpen(); }
    std::optional<Size> imageSize() override {
        const QuadImage& image = runtime.menuLayer().image;
        if (!image.released) return std::nullopt;
        return Size{image.width, image.height};
    }
    bool nextPointerEvent(PointerEvent& event) override {
        std::deque<PointerEvent>& events = runtime.menu().events;
        if (events.empty()) return false;
        event = events.front();
        events.pop_front();
        return true;
    }
    void setImage() override { runtime.copy(runtime.menuLayer()); }

private:
    OpenXrRuntime& runtime;
};

VrStarted OpenXrRuntime::start(const VrStart& request) {
    VrStarted started;
    const XrResult result = startOpenXrSession(xr_);
    if (XR_FAILED(result)) {
        started.failure = initFailure(result);
        return started;
    }
    started.watch = addWristQuad("watch", "Horlox", request.watchTexture, request.watchWidth);
    if (request.watchShown) started.watch->show();
    menuLayer_.texture = request.menuTexture;
    started.menu = std::make_unique<OpenXrMenu>(*this);
    started.watchController = controllerIn(request.watchHand);
    return started;
}

std::unique_ptr<WristQuad> OpenXrRuntime::addWristQuad(const char*, const char*, GLuint texture, float width) {
    layers_.push_back(std::make_unique<Layer>());
    Layer& layer = *layers_.back();
    layer.texture = texture;
    layer.width = width;
    return std::make_unique<OpenXrQuad>(*this, layer);
}

void OpenXrRuntime::beginPass() {
    if (ended_) return;
    pollRuntimeEvents();
    if (!running_ || ended_) return;
    auto frame = xrRecord<XrFrameState>(XR_TYPE_FRAME_STATE);
    XrResult result = xrWaitFrame(xr_.session, nullptr, &frame);
    if (XR_FAILED(result)) return end("xrWaitFrame", result);
    if (result == XR_SESSION_LOSS_PENDING) return quit();
    result = xrBeginFrame(xr_.session, nullptr);
    if (XR_FAILED(result)) return end("xrBeginFrame", result);
    frameBegun_ = true;
    frame_.displayTime = frame.predictedDisplayTime;
    shouldRender_ = frame.shouldRender;
    locateDevices();
    if (ended_) return;
    for (int hand = 0; hand < handCount; ++hand) frame_.wearsQuad[hand] = wearsQuad(hand);
    menu_.follow(xr_, copier_, frame_, menuLayer_.image);
}

void OpenXrRuntime::pollRuntimeEvents() {
    for (;;) {
        auto buffer = xrRecord<XrEventDataBuffer>(XR_TYPE_EVENT_DATA_BUFFER);
        const XrResult result = xrPollEvent(xr_.instance, &buffer);
        if (XR_FAILED(result)) return end("xrPollEvent", result);
        if (result == XR_EVENT_UNAVAILABLE) return;
        if (buffer.type == XR_TYPE_EVENT_DATA_INSTANCE_LOSS_PENDING) {
            logMessage("OpenXR: the instance is about to be lost");
            return quit();
        }
        if (buffer.type == XR_TYPE_EVENT_DATA_SESSION_STATE_CHANGED) {
            followSessionState(reinterpret_cast<const XrEventDataSessionStateChanged&>(buffer).state);
            if (ended_) return;
        }
    }
}

void OpenXrRuntime::followSessionState(XrSessionState state) {
    logMessage("OpenXR session: %s", sessionStateName(state));
    switch (state) {
        case XR_SESSION_STATE_READY: {
            auto info = xrRecord<XrSessionBeginInfo>(XR_TYPE_SESSION_BEGIN_INFO);
            info.primaryViewConfigurationType = XR_VIEW_CONFIGURATION_TYPE_PRIMARY_STEREO;
            const XrResult result = xrBeginSession(xr_.session, &info);
            if (XR_FAILED(result)) return end("xrBeginSession", result);
            running_ = true;
            break;
        }
        case XR_SESSION_STATE_STOPPING: {
            running_ = false;
            frameBegun_ = false;
            const XrResult result = xrEndSession(xr_.session);
            if (XR_FAILED(result)) return end("xrEndSession", result);
            break;
        }
        case XR_SESSION_STATE_EXITING:
        case XR_SESSION_STATE_LOSS_PENDING:
            return quit();
        default:
            break;
    }
}

// Where the space is at the frame's display time, when its place and turn are valid.
std::optional<XrPosef> OpenXrRuntime::located(XrSpace space) {
    auto location = xrRecord<XrSpaceLocation>(XR_TYPE_SPACE_LOCATION);
    const XrResult result = xrLocateSpace(space, xr_.stage, frame_.displayTime, &location);
    if (XR_FAILED(result)) {
        end("xrLocateSpace", result);
        return std::nullopt;
    }
    const XrSpaceLocationFlags valid = XR_SPACE_LOCATION_POSITION_VALID_BIT | XR_SPACE_LOCATION_ORIENTATION_VALID_BIT;
    if ((location.locationFlags & valid) != valid) return std::nullopt;
    return location.pose;
}

// The headset and hands where they will be seen, and the hands that came or
// went since the last frame.
void OpenXrRuntime::locateDevices() {
    XrActiveActionSet active{xr_.actions, XR_NULL_PATH};
    auto sync = xrRecord<XrActionsSyncInfo>(XR_TYPE_ACTIONS_SYNC_INFO);
    sync.countActiveActionSets = 1;
    sync.activeActionSets = &active;
    const XrResult synced = xrSyncActions(xr_.session, &sync);
    if (XR_FAILED(synced)) return end("xrSyncActions", synced);
    frame_.head = located(xr_.view);
    for (int hand = 0; hand < handCount && !ended_; ++hand) {
        const std::optional<XrPosef> grip = located(xr_.grips[hand]);
        if (grip) hands_[hand] = *grip;
        if (grip.has_value() != handActive_[hand])
            events_.push_back({grip ? RuntimeEvent::Kind::ControllerCame : RuntimeEvent::Kind::ControllerGone,
                               ControllerId(hand)});
        handActive_[hand] = grip.has_value();
        frame_.aims[hand] = located(xr_.aims[hand]);
    }
}

// The layers that show: a picture, a place, and the hand it sits on tracked.
void OpenXrRuntime::endFrame() {
    frameBegun_ = false;
    std::vector<XrCompositionLayerQuad> quads;
    std::vector<XrCompositionLayerColorScaleBiasKHR> scales;
    // Room for every layer: the scales are pointed at.
    quads.reserve(layers_.size() + 3);
    scales.reserve(layers_.size() + 1);
    const auto addQuad = [&](const QuadImage& image, XrSpace space, const XrPosef& pose, float width,
                             float height) -> XrCompositionLayerQuad& {
        auto quad = xrRecord<XrCompositionLayerQuad>(XR_TYPE_COMPOSITION_LAYER_QUAD);
        // Our images hold premultiplied colours on a transparent ground.
        quad.layerFlags = XR_COMPOSITION_LAYER_BLEND_TEXTURE_SOURCE_ALPHA_BIT;
        quad.space = space;
        quad.eyeVisibility = XR_EYE_VISIBILITY_BOTH;
        quad.subImage.swapchain = image.swapchain;
        quad.subImage.imageRect = {
            {0, 0}, {static_cast<std::int32_t>(image.width), static_cast<std::int32_t>(image.height)}};
        quad.pose = pose;
        quad.size = {width, height};
        quads.push_back(quad);
        return quads.back();
    };
    const auto addLayer = [&](const Layer& layer, XrSpace space, const XrPosef& pose, float width) {
        XrCompositionLayerQuad& quad =
            addQuad(layer.image, space, pose, width, width * layer.image.height / layer.image.width);
        if (!xr_.colorScaleBias) return;
        const float a = layer.alpha;
        scales.push_back({XR_TYPE_COMPOSITION_LAYER_COLOR_SCALE_BIAS_KHR, nullptr, {a, a, a, a}, {0, 0, 0, 0}});
        quad.next = &scales.back();
    };
    if (shouldRender_) {
        for (const std::unique_ptr<Layer>& layer : layers_)
            if (layer->image.released && layer->shown && layer->hand < handCount && handActive_[layer->hand])
                addLayer(*layer, xr_.grips[layer->hand], layer->pose, layer->width);
        if (menu_.isOpen() && menuLayer_.image.released)
            addLayer(menuLayer_, xr_.stage, menu_.pose(), LaserMenu::width);
        // The laser, over the menu, while it meets it.
        if (const auto laser = menu_.laser(frame_))
            for (const LaserMenu::Part& part : *laser)
                addQuad(part.image, xr_.stage, part.pose, part.size.width, part.size.height);
    }
    std::vector<const XrCompositionLayerBaseHeader*> layers;
    for (const XrCompositionLayerQuad& quad : quads)
        layers.push_back(reinterpret_cast<const XrCompositionLayerBaseHeader*>(&quad));
    auto info = xrRecord<XrFrameEndInfo>(XR_TYPE_FRAME_END_INFO);
    info.displayTime = frame_.displayTime;
    info.environmentBlendMode = XR_ENVIRONMENT_BLEND_MODE_OPAQUE;
    info.layerCount = static_cast<std::uint32_t>(layers.size());
    info.layers = layers.data();
    const XrResult result = xrEndFrame(xr_.session, &info);
    if (XR_FAILED(result)) end("xrEndFrame", result);
}

}  // namespace

std::unique_ptr<VrRuntime> createOpenXrRuntime() { return std::make_unique<OpenXrRuntime>(); }
