#pragma once

#include <cstddef>
#include <string>

// Reads one character of UTF-8 text at `at` and moves `at` past it. A byte
// that does not begin a valid sequence (a stray continuation byte, a
// truncated, overlong or surrogate sequence) stands for the Latin-1
// character of the same value.
char32_t nextCodePoint(const std::string& text, std::size_t& at);
