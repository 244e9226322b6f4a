#include "notifications/rate_limiter.h"

#include <algorithm>

namespace {

// No sender's name holds a control character: the shared allowance.
const std::string sharedAllowance = "\x01";

void refill(RateLimiter::Bucket& bucket, double burst, double perSecond, std::chrono::steady_clock::time_point now) {
    const double seconds = std::chrono::duration<double>(now - bucket.filledAt).count();
    if (seconds > 0) bucket.tokens = std::min(burst, bucket.tokens + seconds * perSecond);
    bucket.filledAt = std::max(bucket.filledAt, now);
}

RateLimiter::Bucket& bucketOf(std::map<std::string, RateLimiter::Bucket>& buckets, const std::string& key,
                              double burst, double perSecond, std::chrono::steady_clock::time_point now) {
    RateLimiter::Bucket& bucket = buckets.try_emplace(key, RateLimiter::Bucket{burst, now}).first->second;
    refill(bucket, burst, perSecond, now);
    return bucket;
}

}  // namespace

bool allowNotification(RateLimiter& limiter, const std::string& listener, const std::string& sender,
                       std::chrono::steady_clock::time_point now) {
    auto& senders = limiter.senders;
    const std::string* key = &sender;
    if (!senders.count(sender) && senders.size() >= maxRateLimitedSenders) {
        // A sender whose allowance is whole again is the same as a new one.
        for (auto it = senders.begin(); it != senders.end();) {
            refill(it->second, notificationBurst, notificationsPerSecond, now);
            it = it->second.tokens >= notificationBurst ? senders.erase(it) : std::next(it);
        }
        if (senders.size() >= maxRateLimitedSenders) key = &sharedAllowance;
    }
    RateLimiter::Bucket& own = bucketOf(senders, *key, notificationBurst, notificationsPerSecond, now);
    RateLimiter::Bucket& all = bucketOf(limiter.listeners, listener, listenerBurst, listenerPerSecond, now);
    // A sender over its own allowance takes nothing from the others'.
    if (own.tokens < 1 || all.tokens < 1) return false;
    own.tokens -= 1;
    all.tokens -= 1;
    return true;
}
