#include "notifications/sender_json.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "notifications/plain_text.h"

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The code unit of a \uXXXX escape starting at 'at' (the backslash), or -1.
long escapeAt(const std::string& text, std::size_t at) {
    if (at + 6 > text.size() || text[at] != '\\' || text[at + 1] != 'u') return -1;
    long unit = 0;
    for (std::size_t i = at + 2; i < at + 6; ++i) {
        const int digit = hexValue(text[i]);
        if (digit < 0) return -1;
        unit = unit * 16 + digit;
    }
    return unit;
}

bool isHighSurrogate(long unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(long unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Rewrites lone surrogate escapes as \uFFFD and measures the nesting; false
// when it goes deeper than allowed.
bool prepare(std::string& text) {
    bool inString = false;
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!inString) {
            if (c == '"') inString = true;
            if (c == '{' || c == '[') {
                if (++depth > maxJsonDepth) return false;
            }
            if (c == '}' || c == ']') --depth;
            continue;
        }
        if (c == '"') {
            inString = false;
        } else if (c == '\\') {
            const long unit = escapeAt(text, i);
            if (isHighSurrogate(unit) && isLowSurrogate(escapeAt(text, i + 6))) {
                i += 11;
                continue;
            }
            if (isHighSurrogate(unit) || isLowSurrogate(unit)) text.replace(i + 2, 4, "FFFD");
            ++i;  // the escaped character
        }
    }
    return true;
}

const char* typeName(const nlohmann::json& value) { return value.type_name(); }

}  // namespace

std::optional<nlohmann::json> parseSenderJson(std::string_view text, std::string& why) {
    std::string prepared = validUtf8(text);
    if (!prepare(prepared)) {
        why = "nested deeper than " + std::to_string(maxJsonDepth);
        return std::nullopt;
    }
    nlohmann::json value = nlohmann::json::parse(prepared, nullptr, false);
    if (value.is_discarded()) {
        why = "not JSON";
        return std::nullopt;
    }
    return value;
}

bool readString(const nlohmann::json& object, const char* key, std::string& value, std::string& why) {
    const auto member = object.find(key);
    if (member == object.end() || member->is_null()) return true;
    if (!member->is_string()) {
        why = std::string("'") + key + "' is a " + typeName(*member) + ", not a string";
        return false;
    }
    value = member->get_ref<const std::string&>();
    return true;
}

bool readNumber(const nlohmann::json& object, const char* key, double& value, std::string& why) {
    const auto member = object.find(key);
    if (member == object.end() || member->is_null()) return true;
    if (!member->is_number() || !std::isfinite(member->get<double>())) {
        why = std::string("'") + key + "' is not a finite number";
        return false;
    }
    value = member->get<double>();
    return true;
}

bool readBool(const nlohmann::json& object, const char* key, bool& value, std::string& why) {
    const auto member = object.find(key);
    if (member == object.end() || member->is_null()) return true;
    if (!member->is_boolean()) {
        why = std::string("'") + key + "' is a " + typeName(*member) + ", not true or false";
        return false;
    }
    value = member->get<bool>();
    return true;
}
