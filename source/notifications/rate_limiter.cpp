#include "notifications/rate_limiter.h"

#include <algorithm>

namespace {

// No sender's name holds a control character: the shared allowance.
const std::string sharedAllowance = "\x01";

void refill(RateLimiter::Bucket& bucket, std::chrono::steady_clock::time_point now) {
    const double seconds = std::chrono::duration<double>(now - bucket.filledAt).count();
    if (seconds > 0) bucket.tokens = std::min(notificationBurst, bucket.tokens + seconds * notificationsPerSecond);
    bucket.filledAt = std::max(bucket.filledAt, now);
}

}  // namespace

bool allowNotification(RateLimiter& limiter, const std::string& sender, std::chrono::steady_clock::time_point now) {
    const std::string* key = &sender;
    if (!limiter.buckets.count(sender) && limiter.buckets.size() >= maxRateLimitedSenders) {
        // A sender whose allowance is whole again is the same as a new one.
        for (auto it = limiter.buckets.begin(); it != limiter.buckets.end();) {
            refill(it->second, now);
            it = it->second.tokens >= notificationBurst ? limiter.buckets.erase(it) : std::next(it);
        }
        if (limiter.buckets.size() >= maxRateLimitedSenders) key = &sharedAllowance;
    }
    RateLimiter::Bucket& bucket = limiter.buckets.try_emplace(*key, RateLimiter::Bucket{notificationBurst, now}).first->second;
    refill(bucket, now);
    if (bucket.tokens < 1) return false;
    bucket.tokens -= 1;
    return true;
}
