#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <string>

// Floods are cut per sender: each may send bursts of notificationBurst, then
// notificationsPerSecond. Senders are told apart by the name they give
// (sourceApp), as VRCX sends every datagram from a new port.
constexpr double notificationsPerSecond = 5;
constexpr double notificationBurst = 10;
// Senders beyond this many at once share one allowance, so that made-up
// names cannot grow the table or multiply the allowance without end.
constexpr std::size_t maxRateLimitedSenders = 64;

struct RateLimiter {
    struct Bucket {
        double tokens = notificationBurst;
        std::chrono::steady_clock::time_point filledAt;
    };
    std::map<std::string, Bucket> buckets;
};

// True when the sender may show one more notification now (and counts it).
bool allowNotification(RateLimiter& limiter, const std::string& sender, std::chrono::steady_clock::time_point now);
