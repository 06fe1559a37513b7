#include "Json.h"

#include "Text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <system_error>

namespace foldline {

const JsonValue* JsonValue::Member(std::string_view name) const {
    if (kind != Object)
        return nullptr;
    for (std::size_t i = names.size(); i > 0; --i) {
        if (names[i - 1] == name)
            return &items[i - 1];
    }
    return nullptr;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

namespace {

class CJsonParser {
public:
    CJsonParser(std::string_view text, int maxDepth) : m_text(text), m_maxDepth(maxDepth) {}

    // The whole text must be one value.
    bool ParseDocument(JsonValue* out) {
        SkipSpace();
        if (!ParseValue(out, 0))
            return false;
        SkipSpace();
        if (m_pos != m_text.size())
            return Error("unexpected text after the value");
        return true;
    }
    const std::string& ErrorText() const { return m_error; }

private:
    bool Error(const std::string& what) {
        if (!m_error.empty())
            return false;
        // One-line texts (a command line's call) name the column only.
        const std::string_view before = m_text.substr(0, m_pos);
        const std::size_t lineStart = before.rfind('\n');
        const std::size_t column =
            m_pos - (lineStart == std::string_view::npos ? 0 : lineStart + 1);
        m_error = what + " at ";
        if (lineStart != std::string_view::npos)
            m_error +=
                "line " + std::to_string(std::count(before.begin(), before.end(), '\n') + 1) + ", ";
        m_error += "column " + std::to_string(column + 1);
        return false;
    }
    void SkipSpace() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' ||
                                         m_text[m_pos] == '\n' || m_text[m_pos] == '\r'))
            ++m_pos;
    }
    bool Literal(std::string_view word) {
        if (m_text.substr(m_pos, word.size()) != word)
            return Error("invalid literal");
        m_pos += word.size();
        return true;
    }

    bool ParseValue(JsonValue* out, int depth) {
        if (depth > m_maxDepth)
            return Error("nesting too deep");
        if (m_pos >= m_text.size())
            return Error("unexpected end of input");
        char c = m_text[m_pos];
        switch (c) {
        case 'n':
            out->kind = JsonValue::Null;
            return Literal("null");
        case 't':
            out->kind = JsonValue::Bool;
            out->boolean = true;
            return Literal("true");
        case 'f':
            out->kind = JsonValue::Bool;
            out->boolean = false;
            return Literal("false");
        case '"':
            out->kind = JsonValue::String;
            return ParseString(&out->text);
        case '[':
            return ParseArray(out, depth);
        case '{':
            return ParseObject(out, depth);
        default:
            if (c == '-' || (c >= '0' && c <= '9'))
                return ParseNumber(out);
            return Error("unexpected character");
        }
    }

    bool ParseArray(JsonValue* out, int depth) {
        out->kind = JsonValue::Array;
        ++m_pos; // [
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == ']') {
            ++m_pos;
            return true;
        }
        while (true) {
            SkipSpace();
            JsonValue item;
            if (!ParseValue(&item, depth + 1))
                return false;
            out->items.push_back(std::move(item));
            SkipSpace();
            if (m_pos >= m_text.size())
                return Error("unterminated array");
            if (m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_text[m_pos] == ']') {
                ++m_pos;
                return true;
            }
            return Error("expected ',' or ']'");
        }
    }

    bool ParseObject(JsonValue* out, int depth) {
        out->kind = JsonValue::Object;
        ++m_pos; // {
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == '}') {
            ++m_pos;
            return true;
        }
        while (true) {
            SkipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != '"')
                return Error("expected a member name");
            std::string name;
            if (!ParseString(&name))
                return false;
            SkipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != ':')
                return Error("expected ':'");
            ++m_pos;
            SkipSpace();
            JsonValue value;
            if (!ParseValue(&value, depth + 1))
                return false;
            out->names.push_back(std::move(name));
            out->items.push_back(std::move(value));
            SkipSpace();
            if (m_pos >= m_text.size())
                return Error("unterminated object");
            if (m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_text[m_pos] == '}') {
                ++m_pos;
                return true;
            }
            return Error("expected ',' or '}'");
        }
    }

    bool ReadHex4(char32_t* out) {
        if (m_pos + 4 > m_text.size())
            return Error("invalid \\u escape");
        char32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            char c = m_text[m_pos++];
            int d = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : -1;
            if (d < 0)
                return Error("invalid \\u escape");
            value = value * 16 + static_cast<char32_t>(d);
        }
        *out = value;
        return true;
    }

    bool ParseString(std::string* out) {
        ++m_pos; // opening quote
        out->clear();
        while (m_pos < m_text.size()) {
            unsigned char c = static_cast<unsigned char>(m_text[m_pos]);
            if (c == '"') {
                ++m_pos;
                return true;
            }
            if (c < 0x20)
                return Error("control character in string");
            if (c != '\\') {
                *out += static_cast<char>(c); // UTF-8 passes through unchanged
                ++m_pos;
                continue;
            }
            if (++m_pos >= m_text.size())
                break;
            if (!ParseEscape(out))
                return false;
        }
        return Error("unterminated string");
    }

    // The escape after a backslash.
    bool ParseEscape(std::string* out) {
        static constexpr std::string_view kPlain = "\"\\/bfnrt";
        static constexpr std::string_view kMeant = "\"\\/\b\f\n\r\t";
        const char e = m_text[m_pos++];
        if (const std::size_t which = kPlain.find(e); which != std::string_view::npos) {
            *out += kMeant[which];
            return true;
        }
        if (e == 'u')
            return ParseUnicodeEscape(out);
        return Error("invalid escape");
    }

    // "\\uXXXX", or a surrogate pair of two; a lone surrogate becomes U+FFFD.
    bool ParseUnicodeEscape(std::string* out) {
        char32_t unit = 0;
        if (!ReadHex4(&unit))
            return false;
        if (unit >= 0xD800 && unit <= 0xDBFF && m_text.substr(m_pos, 2) == "\\u") {
            std::size_t save = m_pos;
            m_pos += 2;
            char32_t low = 0;
            if (!ReadHex4(&low))
                return false;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(*out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                return true;
            }
            m_pos = save; // not a pair: the second escape stands alone
        }
        AppendUtf8(*out, (unit >= 0xD800 && unit <= 0xDFFF) ? 0xFFFD : unit);
        return true;
    }

    bool ParseNumber(JsonValue* out) {
        std::size_t start = m_pos;
        auto digits = [&] {
            std::size_t first = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9')
                ++m_pos;
            return m_pos > first;
        };
        bool integral = true;
        if (m_text[m_pos] == '-')
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '0')
            ++m_pos;
        else if (!digits())
            return Error("invalid number");
        if (m_pos < m_text.size() && m_text[m_pos] == '.') {
            ++m_pos;
            integral = false;
            if (!digits())
                return Error("invalid number");
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            ++m_pos;
            integral = false;
            if (m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-'))
                ++m_pos;
            if (!digits())
                return Error("invalid number");
        }
        out->kind = JsonValue::Number;
        out->text = std::string(m_text.substr(start, m_pos - start));
        out->integral = integral;
        auto [ptr, ec] =
            std::from_chars(out->text.data(), out->text.data() + out->text.size(), out->number);
        if (ec == std::errc::result_out_of_range)
            return Error("number out of range");
        if (ec != std::errc() || ptr != out->text.data() + out->text.size())
            return Error("invalid number");
        return true;
    }

    std::string_view m_text;
    int m_maxDepth;
    std::size_t m_pos = 0;
    std::string m_error;
};

} // namespace

bool ParseJson(std::string_view text, JsonValue& out, std::string& error, int maxDepth) {
    CJsonParser parser(text, maxDepth);
    out = JsonValue();
    if (parser.ParseDocument(&out))
        return true;
    error = parser.ErrorText();
    return false;
}

std::string JsonQuote(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            char32_t code = 0;
            const std::size_t length = DecodeUtf8(text, i, code);
            out.append(length ? text.substr(i, length) : "\xEF\xBF\xBD");
            i += length ? length : 1;
            continue;
        }
        ++i;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                out += escape;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
    return out;
}

} // namespace foldline
