#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <string>

// Floods are cut per sender: each may send bursts of notificationBurst, then
// notificationsPerSecond. Senders are told apart by the name they give
// (sourceApp), as VRCX sends every datagram from a new port; a name costs
// nothing to make up, so each listener as a whole is held to
// listenerBurst, then listenerPerSecond, whatever names come through it.
constexpr double notificationsPerSecond = 5;
constexpr double notificationBurst = 10;
constexpr double listenerPerSecond = 10;
constexpr double listenerBurst = 20;
// Senders beyond this many at once share one allowance, so that made-up
// names cannot grow the table.
constexpr std::size_t maxRateLimitedSenders = 64;

struct RateLimiter {
    struct Bucket {
        double tokens = 0;
        std::chrono::steady_clock::time_point filledAt;
    };
    std::map<std::string, Bucket> senders;
    std::map<std::string, Bucket> listeners;  // a handful: one per kind of sender
};

// True when the sender may show one more notification through the listener
// now (and counts it against both).
bool allowNotification(RateLimiter& limiter, const std::string& listener, const std::string& sender,
                       std::chrono::steady_clock::time_point now);
