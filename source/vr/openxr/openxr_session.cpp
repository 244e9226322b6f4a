#include "vr/openxr/openxr_session.h"
// Before Xlib's headers, whose None the program's names would not survive.
#include "vr/openxr/openxr_runtime.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

// The session's graphics binding names Xlib's and GLX's types; this is the
// one file of the wing that includes them.
#include <GL/glew.h>
#include <GL/glx.h>
#define XR_USE_PLATFORM_XLIB
#define XR_USE_GRAPHICS_API_OPENGL
#include <openxr/openxr_platform.h>

#include "platform/log.h"
#include "platform/x11_glx_binding.h"
#include "vr/openxr/openxr_record.h"

namespace {

// Each profile's inputs for the menu, left hand then right, suggested on
// every profile; the runtime picks the one of the controllers in use, and
// any runtime knows the simple controller. The menu opens with a long press
// of the button nearest to a menu button each controller has, so that a game
// that uses it for itself rarely sees a press of it cut short; Touch's right
// controller has no menu button (its system button is the runtime's).
struct ProfileBindings {
    const char* profile;
    const char* menuButton[handCount];
    const char* select;
    const char* scroll;  // none on the simple controller
};
constexpr ProfileBindings profileBindings[] = {
    {"/interaction_profiles/khr/simple_controller", {"/input/menu/click", "/input/menu/click"},
     "/input/select/click", nullptr},
    {"/interaction_profiles/valve/index_controller", {"/input/b/click", "/input/b/click"},
     "/input/trigger/value", "/input/thumbstick"},
    {"/interaction_profiles/oculus/touch_controller", {"/input/menu/click", "/input/b/click"},
     "/input/trigger/value", "/input/thumbstick"},
    {"/interaction_profiles/htc/vive_controller", {"/input/menu/click", "/input/menu/click"},
     "/input/trigger/value", "/input/trackpad"},
};

// The extensions the active runtime offers, or the loader's failure: no
// runtime, a broken one...
XrResult offeredExtensions(std::vector<std::string>& names) {
    std::uint32_t count = 0;
    XrResult result = xrEnumerateInstanceExtensionProperties(nullptr, 0, &count, nullptr);
    if (XR_FAILED(result)) return result;
    std::vector<XrExtensionProperties> properties(
        count, xrRecord<XrExtensionProperties>(XR_TYPE_EXTENSION_PROPERTIES));
    result = xrEnumerateInstanceExtensionProperties(nullptr, count, &count, properties.data());
    if (XR_FAILED(result)) return result;
    for (std::uint32_t i = 0; i < count && i < properties.size(); ++i)
        names.emplace_back(properties[i].extensionName,
                           strnlen(properties[i].extensionName, XR_MAX_EXTENSION_NAME_SIZE));
    return XR_SUCCESS;
}

bool offers(const std::vector<std::string>& extensions, const char* name) {
    return std::find(extensions.begin(), extensions.end(), name) != extensions.end();
}

template <std::size_t N>
void copyName(char (&destination)[N], const char* name) {
    std::strncpy(destination, name, N - 1);
    destination[N - 1] = '\0';
}

XrResult createInstance(OpenXrSession& session) {
    std::vector<std::string> extensions;
    XrResult result = offeredExtensions(extensions);
    if (XR_FAILED(result)) return result;
    if (!offers(extensions, XR_EXTX_OVERLAY_EXTENSION_NAME) ||
        !offers(extensions, XR_KHR_OPENGL_ENABLE_EXTENSION_NAME))
        return XR_ERROR_EXTENSION_NOT_PRESENT;
    std::vector<const char*> enabled = {XR_EXTX_OVERLAY_EXTENSION_NAME,
                                        XR_KHR_OPENGL_ENABLE_EXTENSION_NAME};
    session.colorScaleBias =
        offers(extensions, XR_KHR_COMPOSITION_LAYER_COLOR_SCALE_BIAS_EXTENSION_NAME);
    if (session.colorScaleBias)
        enabled.push_back(XR_KHR_COMPOSITION_LAYER_COLOR_SCALE_BIAS_EXTENSION_NAME);

    auto info = xrRecord<XrInstanceCreateInfo>(XR_TYPE_INSTANCE_CREATE_INFO);
    copyName(info.applicationInfo.applicationName, "Horlox");
    info.applicationInfo.applicationVersion = 1;
    copyName(info.applicationInfo.engineName, "Horlox");
    info.applicationInfo.apiVersion = XR_MAKE_VERSION(1, 0, 0);
    info.enabledExtensionCount = static_cast<std::uint32_t>(enabled.size());
    info.enabledExtensionNames = enabled.data();
    result = xrCreateInstance(&info, &session.instance);
    if (XR_FAILED(result)) return result;

    auto properties = xrRecord<XrInstanceProperties>(XR_TYPE_INSTANCE_PROPERTIES);
    if (XR_SUCCEEDED(xrGetInstanceProperties(session.instance, &properties)))
        logMessage("OpenXR runtime: %.*s %u.%u.%u", XR_MAX_RUNTIME_NAME_SIZE,
                   properties.runtimeName, XR_VERSION_MAJOR(properties.runtimeVersion),
                   XR_VERSION_MINOR(properties.runtimeVersion),
                   XR_VERSION_PATCH(properties.runtimeVersion));
    return XR_SUCCESS;
}

// The runtime must have been told that our GL version suits it before a
// session is made.
XrResult checkGlRequirements(XrInstance instance, XrSystemId system) {
    PFN_xrGetOpenGLGraphicsRequirementsKHR getRequirements = nullptr;
    XrResult result =
        xrGetInstanceProcAddr(instance, "xrGetOpenGLGraphicsRequirementsKHR",
                              reinterpret_cast<PFN_xrVoidFunction*>(&getRequirements));
    if (XR_FAILED(result)) return result;
    auto requirements =
        xrRecord<XrGraphicsRequirementsOpenGLKHR>(XR_TYPE_GRAPHICS_REQUIREMENTS_OPENGL_KHR);
    result = getRequirements(instance, system, &requirements);
    if (XR_FAILED(result)) return result;
    GLint major = 0, minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    const XrVersion ours = XR_MAKE_VERSION(major, minor, 0);
    if (ours < requirements.minApiVersionSupported) return XR_ERROR_GRAPHICS_DEVICE_INVALID;
    return XR_SUCCESS;
}

XrResult createOverlaySession(OpenXrSession& session, XrSystemId system) {
    const std::optional<platform::GlxBinding> glx = platform::currentGlxBinding();
    if (!glx) return XR_ERROR_GRAPHICS_DEVICE_INVALID;
    // Above the main application's layers; Monado keeps overlay sessions
    // focused, so they get controller input beside it.
    auto overlay =
        xrRecord<XrSessionCreateInfoOverlayEXTX>(XR_TYPE_SESSION_CREATE_INFO_OVERLAY_EXTX);
    overlay.createFlags = 0;
    overlay.sessionLayersPlacement = 1;
    auto binding =
        xrRecord<XrGraphicsBindingOpenGLXlibKHR>(XR_TYPE_GRAPHICS_BINDING_OPENGL_XLIB_KHR);
    binding.next = &overlay;
    binding.xDisplay = glx->display;
    binding.visualid = glx->visualId;
    binding.glxFBConfig = glx->framebufferConfig;
    binding.glxDrawable = glx->drawable;
    binding.glxContext = glx->context;
    auto info = xrRecord<XrSessionCreateInfo>(XR_TYPE_SESSION_CREATE_INFO);
    info.next = &binding;
    info.systemId = system;
    return xrCreateSession(session.instance, &info, &session.session);
}

XrResult chooseSwapchainFormat(OpenXrSession& session) {
    std::uint32_t count = 0;
    XrResult result = xrEnumerateSwapchainFormats(session.session, 0, &count, nullptr);
    if (XR_FAILED(result)) return result;
    std::vector<std::int64_t> formats(count);
    result = xrEnumerateSwapchainFormats(session.session, count, &count, formats.data());
    if (XR_FAILED(result)) return result;
    formats.resize(std::min<std::size_t>(count, formats.size()));
    // Our images hold sRGB-encoded colours, as OpenVR takes 8-bit textures:
    // an sRGB format has the compositor decode them; a plain one would show
    // them brighter.
    for (std::int64_t wanted : {GL_SRGB8_ALPHA8, GL_RGBA8}) {
        if (std::find(formats.begin(), formats.end(), wanted) != formats.end()) {
            session.swapchainFormat = wanted;
            return XR_SUCCESS;
        }
    }
    return XR_ERROR_SWAPCHAIN_FORMAT_UNSUPPORTED;
}

XrResult createReferenceSpace(XrSession session, XrReferenceSpaceType type, XrSpace& space) {
    auto info = xrRecord<XrReferenceSpaceCreateInfo>(XR_TYPE_REFERENCE_SPACE_CREATE_INFO);
    info.referenceSpaceType = type;
    info.poseInReferenceSpace.orientation.w = 1;
    return xrCreateReferenceSpace(session, &info, &space);
}

XrResult pathOf(XrInstance instance, const std::string& text, XrPath& path) {
    return xrStringToPath(instance, text.c_str(), &path);
}

XrResult createAction(OpenXrSession& session, const char* name, const char* localizedName,
                      XrActionType type, XrAction& action) {
    auto info = xrRecord<XrActionCreateInfo>(XR_TYPE_ACTION_CREATE_INFO);
    copyName(info.actionName, name);
    copyName(info.localizedActionName, localizedName);
    info.actionType = type;
    info.countSubactionPaths = handCount;
    info.subactionPaths = session.hands.data();
    return xrCreateAction(session.actions, &info, &action);
}

XrResult suggestBindings(const OpenXrSession& session, XrAction gripPose, XrAction aimPose,
                         const ProfileBindings& profile) {
    std::vector<XrActionSuggestedBinding> bindings;
    XrResult result = XR_SUCCESS;
    const auto bind = [&](XrAction action, int hand, const char* input) {
        XrActionSuggestedBinding binding{action, XR_NULL_PATH};
        if (XR_SUCCEEDED(result))
            result = pathOf(session.instance, std::string(handPaths[hand]) + input, binding.binding);
        bindings.push_back(binding);
    };
    for (int hand = 0; hand < handCount; ++hand) {
        bind(gripPose, hand, "/input/grip/pose");
        bind(aimPose, hand, "/input/aim/pose");
        bind(session.menuButton, hand, profile.menuButton[hand]);
        bind(session.select, hand, profile.select);
        if (profile.scroll) bind(session.scroll, hand, profile.scroll);
        bind(session.haptic, hand, "/output/haptic");
    }
    XrPath profilePath = XR_NULL_PATH;
    if (XR_SUCCEEDED(result)) result = pathOf(session.instance, profile.profile, profilePath);
    if (XR_FAILED(result)) return result;
    auto suggestion = xrRecord<XrInteractionProfileSuggestedBinding>(
        XR_TYPE_INTERACTION_PROFILE_SUGGESTED_BINDING);
    suggestion.interactionProfile = profilePath;
    suggestion.countSuggestedBindings = static_cast<std::uint32_t>(bindings.size());
    suggestion.suggestedBindings = bindings.data();
    return xrSuggestInteractionProfileBindings(session.instance, &suggestion);
}

XrResult createHandSpace(const OpenXrSession& session, XrAction pose, int hand, XrSpace& space) {
    auto info = xrRecord<XrActionSpaceCreateInfo>(XR_TYPE_ACTION_SPACE_CREATE_INFO);
    info.action = pose;
    info.subactionPath = session.hands[hand];
    info.poseInActionSpace.orientation.w = 1;
    return xrCreateActionSpace(session.session, &info, &space);
}

// The hands' actions, suggested on every profile the runtime knows, and a
// space for each hand's grip and aim.
XrResult createHandActions(OpenXrSession& session) {
    auto setInfo = xrRecord<XrActionSetCreateInfo>(XR_TYPE_ACTION_SET_CREATE_INFO);
    copyName(setInfo.actionSetName, "horlox");
    copyName(setInfo.localizedActionSetName, "Horlox");
    XrResult result = xrCreateActionSet(session.instance, &setInfo, &session.actions);
    if (XR_FAILED(result)) return result;
    for (int hand = 0; hand < handCount; ++hand)
        if (XR_FAILED(result = pathOf(session.instance, handPaths[hand], session.hands[hand])))
            return result;

    XrAction gripPose = XR_NULL_HANDLE, aimPose = XR_NULL_HANDLE;
    if (XR_FAILED(result = createAction(session, "hand_pose", "Hand pose",
                                        XR_ACTION_TYPE_POSE_INPUT, gripPose)) ||
        XR_FAILED(result = createAction(session, "aim_pose", "Menu pointer",
                                        XR_ACTION_TYPE_POSE_INPUT, aimPose)) ||
        XR_FAILED(result = createAction(session, "menu", "Open or close the menu (hold)",
                                        XR_ACTION_TYPE_BOOLEAN_INPUT, session.menuButton)) ||
        XR_FAILED(result = createAction(session, "menu_select", "Click in the menu",
                                        XR_ACTION_TYPE_FLOAT_INPUT, session.select)) ||
        XR_FAILED(result = createAction(session, "menu_scroll", "Scroll the menu",
                                        XR_ACTION_TYPE_VECTOR2F_INPUT, session.scroll)) ||
        XR_FAILED(result = createAction(session, "menu_pulse", "Menu pulse",
                                        XR_ACTION_TYPE_VIBRATION_OUTPUT, session.haptic)))
        return result;

    bool suggested = false;
    for (const ProfileBindings& profile : profileBindings)
        // A runtime that does not know a profile refuses it; the others serve.
        if (XR_SUCCEEDED(suggestBindings(session, gripPose, aimPose, profile))) suggested = true;
    if (!suggested) return XR_ERROR_PATH_UNSUPPORTED;

    auto attach = xrRecord<XrSessionActionSetsAttachInfo>(XR_TYPE_SESSION_ACTION_SETS_ATTACH_INFO);
    attach.countActionSets = 1;
    attach.actionSets = &session.actions;
    if (XR_FAILED(result = xrAttachSessionActionSets(session.session, &attach))) return result;

    for (int hand = 0; hand < handCount; ++hand)
        if (XR_FAILED(result = createHandSpace(session, gripPose, hand, session.grips[hand])) ||
            XR_FAILED(result = createHandSpace(session, aimPose, hand, session.aims[hand])))
            return result;
    return XR_SUCCESS;
}

// The instance and the headset's system.
XrResult findSystem(OpenXrSession& session, XrSystemId& system) {
    XrResult result = createInstance(session);
    if (XR_FAILED(result)) return result;
    auto systemInfo = xrRecord<XrSystemGetInfo>(XR_TYPE_SYSTEM_GET_INFO);
    systemInfo.formFactor = XR_FORM_FACTOR_HEAD_MOUNTED_DISPLAY;
    return xrGetSystem(session.instance, &systemInfo, &system);
}

XrResult startSteps(OpenXrSession& session) {
    XrSystemId system = XR_NULL_SYSTEM_ID;
    XrResult result = findSystem(session, system);
    if (XR_FAILED(result)) return result;
    if (XR_FAILED(result = checkGlRequirements(session.instance, system))) return result;
    if (XR_FAILED(result = createOverlaySession(session, system))) return result;
    if (XR_FAILED(result = chooseSwapchainFormat(session))) return result;
    if (XR_FAILED(result = createReferenceSpace(session.session, XR_REFERENCE_SPACE_TYPE_STAGE,
                                                session.stage)))
        return result;
    if (XR_FAILED(result = createReferenceSpace(session.session, XR_REFERENCE_SPACE_TYPE_VIEW,
                                                session.view)))
        return result;
    return createHandActions(session);
}

}  // namespace

bool openXrOverlaysOffered() {
    std::vector<std::string> extensions;
    return XR_SUCCEEDED(offeredExtensions(extensions)) &&
           offers(extensions, XR_EXTX_OVERLAY_EXTENSION_NAME);
}

XrResult findOpenXrSystem() {
    OpenXrSession probe;
    XrSystemId system = XR_NULL_SYSTEM_ID;
    const XrResult result = findSystem(probe, system);
    endOpenXrSession(probe);
    return result;
}

XrResult startOpenXrSession(OpenXrSession& started) {
    OpenXrSession session;
    const XrResult result = startSteps(session);
    if (XR_FAILED(result)) {
        endOpenXrSession(session);
        return result;
    }
    started = session;
    return XR_SUCCESS;
}

void endOpenXrSession(OpenXrSession& session) {
    if (session.instance != XR_NULL_HANDLE) xrDestroyInstance(session.instance);
    session = OpenXrSession{};
}
