#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

// JSON text from senders, read without trusting it.
constexpr int maxJsonDepth = 8;

// One JSON value nested at most maxJsonDepth deep, or nothing with 'why'
// saying what was wrong. Invalid UTF-8 and \u escapes of lone surrogates
// (which a JSON parser refuses outright) are read as U+FFFD first, so that
// such a message still shows, with the replacement character.
std::optional<nlohmann::json> parseSenderJson(std::string_view text, std::string& why);

// The object's member when it has the expected type. Absent members leave
// 'value' as it was and count as read; a member of another type (or a number
// that is not finite) is not read and names itself in 'why'.
bool readString(const nlohmann::json& object, const char* key, std::string& value, std::string& why);
bool readNumber(const nlohmann::json& object, const char* key, double& value, std::string& why);
bool readBool(const nlohmann::json& object, const char* key, bool& value, std::string& why);
