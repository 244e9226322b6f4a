#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// SHA-1 (FIPS 180-4), for the WebSocket handshake's accept key alone: RFC
// 6455 asks for it, no secret depends on it.
std::array<std::uint8_t, 20> sha1(std::string_view bytes);
