#pragma once

#include <cstddef>
#include <cstdint>

typedef struct sd_bus_message sd_bus_message;

// A D-Bus message in its wire form (as dbus-monitor --binary records them)
// turned into what an sd-bus connection receives: the bytes travel over a
// socket pair into an sd-bus connection that has just authenticated its
// peer, and are read back as a message by sd-bus's own parser. Null when
// sd-bus refuses them. The caller unrefs the message.
sd_bus_message* receiveDbusMessage(const std::uint8_t* data, std::size_t size);
