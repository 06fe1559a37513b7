#include "WebText.h"

#include "Text.h"

#include <array>
#include <cstdio>

namespace foldline {

namespace {

bool IsAsciiAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// The length of the control character that HTML does not allow at text[i] (a C1 control takes
// two bytes in UTF-8), or 0.
std::size_t ForbiddenControlAt(std::string_view text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c < 0x20 && c != '\t' && c != '\n' && c != '\f' && c != '\r') || c == 0x7F)
        return 1;
    if (c == 0xC2 && i + 1 < text.size()) {
        const auto next = static_cast<unsigned char>(text[i + 1]);
        if (next >= 0x80 && next <= 0x9F)
            return 2;
    }
    return 0;
}

void AppendUnicodeEscape(std::string& out, unsigned code) {
    std::array<char, 8> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "\\u%04x", code);
    out += buffer.data();
}

} // namespace

void AppendHtmlEscaped(std::string& out, std::string_view text, Controls controls) {
    out.reserve(out.size() + text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (controls == Controls::Dropped) {
            if (const std::size_t length = ForbiddenControlAt(text, i)) {
                i += length - 1;
                continue;
            }
        }
        switch (const char c = text[i]) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
}

std::string HtmlEscaped(std::string_view text, Controls controls) {
    std::string out;
    AppendHtmlEscaped(out, text, controls);
    return out;
}

std::string WithoutForbiddenControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const std::size_t length = ForbiddenControlAt(text, i))
            i += length - 1;
        else
            out += text[i];
    }
    return out;
}

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '"':
            out += "\\\"";
            continue;
        case '\\':
            out += "\\\\";
            continue;
        case '\n':
            out += "\\n";
            continue;
        case '\r':
            out += "\\r";
            continue;
        case '\t':
            out += "\\t";
            continue;
        default:
            break;
        }
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            AppendUnicodeEscape(out, byte);
        } else if (ForbiddenControlAt(text, i) == 2) {
            AppendUnicodeEscape(out, static_cast<unsigned char>(text[++i]));
        } else {
            out += c;
        }
    }
    out += '"';
}

bool IsDroppedLink(std::string_view link) {
    // Browsers strip leading C0 controls and spaces and remove tabs and line breaks anywhere
    // before they read the scheme.
    std::string scheme;
    for (char c : link) {
        if (c == '\t' || c == '\n' || c == '\r')
            continue;
        if (scheme.empty() && static_cast<unsigned char>(c) <= 0x20)
            continue;
        if (c == ':')
            return EqualsNoCase(scheme, "javascript") || EqualsNoCase(scheme, "vbscript") ||
                   EqualsNoCase(scheme, "data");
        scheme += c;
        if (scheme.size() > 10) // longer than every dropped scheme
            return false;
    }
    return false;
}

bool IsOwnFrame(std::string_view target) {
    return target.empty() || EqualsNoCase(target, "_self");
}

std::string_view HtmlTarget(std::string_view target) {
    const bool keyword = EqualsNoCase(target, "_blank") || EqualsNoCase(target, "_self") ||
                         EqualsNoCase(target, "_parent") || EqualsNoCase(target, "_top");
    const bool dangling = target.find('<') != std::string_view::npos &&
                          target.find_first_of("\t\n\r") != std::string_view::npos;
    return (target.starts_with('_') && !keyword) || dangling ? "_blank" : target;
}

bool OpensNewContext(std::string_view target) {
    return !IsOwnFrame(target) && !EqualsNoCase(target, "_parent") && !EqualsNoCase(target, "_top");
}

bool IsPathRelative(std::string_view reference) {
    if (!reference.empty() && (reference.front() == '/' || reference.front() == '\\'))
        return false;
    // A scheme: a letter, then letters, digits, "+", "-" or ".", up to a colon.
    if (reference.empty() || !IsAsciiAlpha(reference.front()))
        return true;
    for (char c : reference.substr(1)) {
        if (c == ':')
            return false;
        if (!IsAsciiAlpha(c) && !IsAsciiDigit(c) && c != '+' && c != '-' && c != '.')
            return true;
    }
    return true;
}

std::string FileUrl(std::string_view path) {
    std::string url = "file://";
    if (path.empty() || path.front() != '/')
        url += '/';
    for (char c : path) {
        if (IsAsciiAlpha(c) || IsAsciiDigit(c) || c == '-' || c == '.' || c == '_' || c == '~' ||
            c == '/') {
            url += c;
        } else {
            std::array<char, 4> buffer{};
            std::snprintf(buffer.data(), buffer.size(), "%%%02X", static_cast<unsigned char>(c));
            url += buffer.data();
        }
    }
    return url;
}

} // namespace foldline
