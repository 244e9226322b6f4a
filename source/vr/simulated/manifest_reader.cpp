#include "vr/simulated/manifest_reader.h"

#include <cstdint>
#include <utility>

#include "platform/text_encoding.h"

namespace {

// Deep enough for any manifest, shallow enough that hostile nesting cannot
// exhaust the stack.
constexpr int maxDepth = 32;

struct JsonValue {
    enum class Type { Null, Boolean, Number, String, Array, Object } type = Type::Null;
    std::string text;  // a string's decoded bytes
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    const JsonValue* member(std::string_view name) const {
        for (const auto& [key, value] : members)
            if (key == name) return &value;
        return nullptr;
    }
};

// Strict JSON (RFC 8259) with a depth limit; any fault fails the whole text.
class JsonParser {
public:
    explicit JsonParser(std::string_view text) : text(text) {}

    std::optional<JsonValue> parseDocument() {
        JsonValue value;
        if (!parseValue(value, 0)) return std::nullopt;
        skipSpace();
        if (at != text.size()) return std::nullopt;
        return value;
    }

private:
    std::string_view text;
    std::size_t at = 0;

    bool atEnd() const { return at >= text.size(); }
    char peek() const { return atEnd() ? '\0' : text[at]; }

    void skipSpace() {
        while (!atEnd() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' ||
                            text[at] == '\r'))
            ++at;
    }

    bool consume(char expected) {
        skipSpace();
        if (peek() != expected) return false;
        ++at;
        return true;
    }

    bool consumeWord(std::string_view word) {
        if (text.substr(at, word.size()) != word) return false;
        at += word.size();
        return true;
    }

    bool parseValue(JsonValue& value, int depth) {
        if (depth > maxDepth) return false;
        skipSpace();
        switch (peek()) {
            case '{': value.type = JsonValue::Type::Object; return parseObject(value, depth);
            case '[': value.type = JsonValue::Type::Array; return parseArray(value, depth);
            case '"': value.type = JsonValue::Type::String; return parseString(value.text);
            case 't': value.type = JsonValue::Type::Boolean; return consumeWord("true");
            case 'f': value.type = JsonValue::Type::Boolean; return consumeWord("false");
            case 'n': value.type = JsonValue::Type::Null; return consumeWord("null");
            default: value.type = JsonValue::Type::Number; return parseNumber();
        }
    }

    bool parseObject(JsonValue& object, int depth) {
        ++at;  // '{'
        if (consume('}')) return true;
        do {
            skipSpace();
            std::string key;
            if (peek() != '"' || !parseString(key) || !consume(':')) return false;
            JsonValue value;
            if (!parseValue(value, depth + 1)) return false;
            object.members.emplace_back(std::move(key), std::move(value));
        } while (consume(','));
        return consume('}');
    }

    bool parseArray(JsonValue& array, int depth) {
        ++at;  // '['
        if (consume(']')) return true;
        do {
            JsonValue item;
            if (!parseValue(item, depth + 1)) return false;
            array.items.push_back(std::move(item));
        } while (consume(','));
        return consume(']');
    }

    bool parseHexQuad(std::uint32_t& unit) {
        if (text.size() - at < 4) return false;
        unit = 0;
        for (int i = 0; i < 4; ++i) {
            char c = text[at++];
            unit <<= 4;
            if (c >= '0' && c <= '9') unit |= static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f') unit |= static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') unit |= static_cast<std::uint32_t>(c - 'A' + 10);
            else return false;
        }
        return true;
    }

    bool parseEscape(std::string& out) {
        if (atEnd()) return false;
        char c = text[at++];
        switch (c) {
            case '"': case '\\': case '/': out += c; return true;
            case 'b': out += '\b'; return true;
            case 'f': out += '\f'; return true;
            case 'n': out += '\n'; return true;
            case 'r': out += '\r'; return true;
            case 't': out += '\t'; return true;
            case 'u': break;
            default: return false;
        }
        std::uint32_t unit = 0;
        if (!parseHexQuad(unit)) return false;
        if (unit >= 0xDC00 && unit <= 0xDFFF) return false;  // a lone low surrogate
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            std::uint32_t low = 0;
            if (!consumeWord("\\u") || !parseHexQuad(low) || low < 0xDC00 || low > 0xDFFF)
                return false;
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
        platform::appendUtf8(out, unit);
        return true;
    }

    bool parseString(std::string& out) {
        ++at;  // '"'
        while (!atEnd()) {
            char c = text[at++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') out += c;
            else if (!parseEscape(out)) return false;
        }
        return false;
    }

    bool parseDigits() {
        std::size_t start = at;
        while (peek() >= '0' && peek() <= '9') ++at;
        return at > start;
    }

    bool parseNumber() {
        if (peek() == '-') ++at;
        if (peek() == '0') ++at;
        else if (!parseDigits()) return false;
        if (peek() == '.') {
            ++at;
            if (!parseDigits()) return false;
        }
        if (peek() == 'e' || peek() == 'E') {
            ++at;
            if (peek() == '+' || peek() == '-') ++at;
            if (!parseDigits()) return false;
        }
        return true;
    }
};

}  // namespace

std::optional<std::vector<std::string>> readManifestAppKeys(std::string_view json) {
    std::optional<JsonValue> manifest = JsonParser(json).parseDocument();
    if (!manifest || manifest->type != JsonValue::Type::Object) return std::nullopt;
    const JsonValue* applications = manifest->member("applications");
    if (!applications || applications->type != JsonValue::Type::Array) return std::nullopt;

    std::vector<std::string> keys;
    for (const JsonValue& application : applications->items) {
        const JsonValue* key = application.member("app_key");
        if (key && key->type == JsonValue::Type::String) keys.push_back(key->text);
    }
    return keys;
}
