#include "Text.h"

#include <charconv>
#include <climits>
#include <system_error>

namespace foldline {

namespace {

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t SkipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    return i;
}

std::size_t SkipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    return i;
}

} // namespace

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
    if (from.empty())
        return text;
    std::string out;
    std::size_t start = 0;
    for (std::size_t pos; (pos = text.find(from, start)) != std::string::npos;
         start = pos + from.size()) {
        out.append(text, start, pos - start);
        out.append(to);
    }
    if (start == 0)
        return text;
    out.append(text, start, std::string::npos);
    return out;
}

long long LeadingInt64(std::string_view text) {
    std::size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (value < LLONG_MAX / 20)
            value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

int LeadingInt(std::string_view text) {
    const long long value = LeadingInt64(text);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

double LeadingDecimal(std::string_view text) {
    std::size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t start = i;
    i = SkipDigits(text, i);
    std::size_t digits = i - start;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fraction = i + 1;
        i = SkipDigits(text, fraction);
        digits += i - fraction;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsDigit(text[j]))
            i = SkipDigits(text, j);
    }
    double value = 0;
    const auto result =
        std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::general);
    if (result.ec != std::errc())
        return 0;
    return negative ? -value : value;
}

} // namespace foldline

namespace foldline {

std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& code) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
        code = c;
        return 1;
    }
    const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
    if (length == 0 || c > 0xF4 || i + length > text.size())
        return 0;
    code = c & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    static const char32_t minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < minimum[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

bool IsValidUtf8(std::string_view text) {
    char32_t code = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = DecodeUtf8(text, i, code);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

} // namespace foldline
