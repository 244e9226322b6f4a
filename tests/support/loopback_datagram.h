#pragma once

#include <string>

// Sends one datagram to a port on the loopback address (AF_INET or
// AF_INET6) from a socket of its own, as VRCX sends each notification.
void sendLoopbackDatagram(int family, int port, const std::string& bytes);
