// Windows has no notification listeners yet: no toast ever shows.
#include "toast/notification_toasts.h"

struct NotificationToasts::Listeners {};

NotificationToasts::NotificationToasts(const Settings&, FontChain*) {}

NotificationToasts::~NotificationToasts() = default;

NotificationToasts::Shown NotificationToasts::serve(const Settings&, std::chrono::steady_clock::time_point) {
    return {};
}

const RenderTarget* NotificationToasts::image() const { return nullptr; }

NotificationToasts::Wait NotificationToasts::wait(std::chrono::steady_clock::time_point) const { return {}; }
