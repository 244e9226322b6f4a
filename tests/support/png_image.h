#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using Rgba = std::array<std::uint8_t, 4>;

// An image read back for a test, rows from the top.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    Rgba at(int x, int row) const {
        const std::size_t i = (std::size_t(row) * std::size_t(width) + std::size_t(x)) * 4;
        return {rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
    }
};

// The PNG file's pixels; an empty image when there is none to read.
Image readPng(const std::string& path);
