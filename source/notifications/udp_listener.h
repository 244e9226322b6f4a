#pragma once

#include <vector>

#include "notifications/loopback_port.h"
#include "notifications/notification.h"

// XSOverlay's legacy API: one JSON object a datagram (VRCX sends each from
// a new socket).
constexpr int xsOverlayUdpPort = 42069;
// Datagrams read in one pass at most: a flood waits for the next pass
// instead of stalling this one.
constexpr int maxDatagramsPerPass = 32;

// Reads the datagrams waiting on the port's sockets and adds the
// notifications among them.
void readXsOverlayDatagrams(const LoopbackPort& port, std::vector<Notification>& received);
