#include "notifications/sha1.h"

#include <string>

namespace {

std::uint32_t rotl(std::uint32_t value, int bits) { return value << bits | value >> (32 - bits); }

}  // namespace

std::array<std::uint8_t, 20> sha1(std::string_view bytes) {
    // The message, a 1 bit, zeros to 56 bytes past a block, its length in bits.
    std::string padded(bytes);
    padded += '\x80';
    while (padded.size() % 64 != 56) padded += '\0';
    const std::uint64_t bits = std::uint64_t(bytes.size()) * 8;
    for (int shift = 56; shift >= 0; shift -= 8) padded += static_cast<char>(bits >> shift);

    std::uint32_t h[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    for (std::size_t block = 0; block < padded.size(); block += 64) {
        std::uint32_t w[80];
        for (int i = 0; i < 16; ++i) {
            w[i] = 0;
            for (int k = 0; k < 4; ++k) w[i] = w[i] << 8 | static_cast<std::uint8_t>(padded[block + i * 4 + k]);
        }
        for (int i = 16; i < 80; ++i) w[i] = rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
        std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
        for (int i = 0; i < 80; ++i) {
            const std::uint32_t f = i < 20 ? (b & c) | (~b & d) : i < 40 ? b ^ c ^ d : i < 60 ? (b & c) | (b & d) | (c & d) : b ^ c ^ d;
            const std::uint32_t k = i < 20 ? 0x5A827999 : i < 40 ? 0x6ED9EBA1 : i < 60 ? 0x8F1BBCDC : 0xCA62C1D6;
            const std::uint32_t next = rotl(a, 5) + f + e + k + w[i];
            e = d;
            d = c;
            c = rotl(b, 30);
            b = a;
            a = next;
        }
        h[0] += a;
        h[1] += b;
        h[2] += c;
        h[3] += d;
        h[4] += e;
    }
    std::array<std::uint8_t, 20> digest{};
    for (int i = 0; i < 20; ++i) digest[i] = static_cast<std::uint8_t>(h[i / 4] >> (24 - 8 * (i % 4)));
    return digest;
}
