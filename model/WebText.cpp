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

// The length of the Unicode noncharacter encoded at text[i] in UTF-8 (U+FDD0..U+FDEF and the
// last two code points of every plane), or 0; `code` is its value. Malformed bytes are none.
std::size_t NoncharacterAt(std::string_view text, std::size_t i, char32_t& code) {
    const std::size_t length = DecodeUtf8(text, i, code);
    const bool noncharacter = (code >= 0xFDD0 && code <= 0xFDEF) || (code & 0xFFFE) == 0xFFFE;
    return length >= 3 && noncharacter ? length : 0;
}

std::size_t NoncharacterAt(std::string_view text, std::size_t i) {
    char32_t code = 0;
    return NoncharacterAt(text, i, code);
}

// The length of the character that HTML does not allow at text[i] (a C1 control takes two bytes
// in UTF-8, a noncharacter three or four), or 0.
std::size_t ForbiddenControlAt(std::string_view text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c < 0x20 && c != '\t' && c != '\n' && c != '\f' && c != '\r') || c == 0x7F)
        return 1;
    if (c == 0xC2 && i + 1 < text.size()) {
        const auto next = static_cast<unsigned char>(text[i + 1]);
        if (next >= 0x80 && next <= 0x9F)
            return 2;
    }
    return NoncharacterAt(text, i);
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
        const std::size_t forbidden = ForbiddenControlAt(text, i);
        if (byte < 0x20 || byte == 0x7F) {
            AppendUnicodeEscape(out, byte);
        } else if (forbidden == 2) {
            AppendUnicodeEscape(out, static_cast<unsigned char>(text[++i]));
        } else if (forbidden > 2) {
            // A noncharacter keeps its value for the script; beyond the first plane it is a
            // surrogate pair.
            char32_t code = 0;
            NoncharacterAt(text, i, code);
            if (code > 0xFFFF) {
                AppendUnicodeEscape(out, 0xD800 + ((code - 0x10000) >> 10));
                AppendUnicodeEscape(out, 0xDC00 + ((code - 0x10000) & 0x3FF));
            } else {
                AppendUnicodeEscape(out, code);
            }
            i += forbidden - 1;
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

std::string SchemeOf(std::string_view reference) {
    if (IsPathRelative(reference) || reference.front() == '/' || reference.front() == '\\')
        return {};
    std::string scheme;
    for (char c : reference.substr(0, reference.find(':')))
        scheme += static_cast<char>(IsAsciiAlpha(c) ? (c | 0x20) : c);
    return scheme;
}

namespace {

bool IsUnreserved(char c) {
    return IsAsciiAlpha(c) || IsAsciiDigit(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

bool IsHexDigit(char c) {
    return IsAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

void AppendPercent(std::string& out, char c) {
    std::array<char, 4> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%%%02X", static_cast<unsigned char>(c));
    out += buffer.data();
}

// Browsers read a backslash as a slash in these schemes and in references without one.
bool BackslashIsSlash(std::string_view scheme) {
    for (std::string_view special : {"", "http", "https", "ftp", "file", "ws", "wss"})
        if (scheme == special)
            return true;
    return false;
}

// A Windows path: a drive letter with its separator, or a share (two leading backslashes).
bool IsWindowsPath(std::string_view reference) {
    const bool drive = reference.size() >= 3 && IsAsciiAlpha(reference[0]) && reference[1] == ':' &&
                       (reference[2] == '\\' || reference[2] == '/');
    return drive || reference.starts_with("\\\\");
}

} // namespace

std::string FileUrl(std::string_view path) {
    std::string url = "file://";
    if (path.empty() || path.front() != '/')
        url += '/';
    for (char c : path) {
        if (IsUnreserved(c) || c == '/')
            url += c;
        else
            AppendPercent(url, c);
    }
    return url;
}

std::string UrlSegment(std::string_view name) {
    std::string out;
    for (char c : name) {
        if (IsUnreserved(c))
            out += c;
        else
            AppendPercent(out, c);
    }
    return out;
}

std::string PageUrl(std::string_view reference) {
    const std::string_view trimmed = Trim(reference);
    std::string url;
    std::string_view rest = trimmed;
    bool slashes = BackslashIsSlash(SchemeOf(trimmed));
    if (IsWindowsPath(trimmed)) {
        // "C:\a" is file:///C:/a; "\\host\share" is file://host/share.
        url = trimmed.starts_with("\\\\") ? "file:" : "file:///";
        slashes = true;
    }
    bool inFragment = false;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        if (c == '\t' || c == '\n' || c == '\r')
            continue;
        if (const std::size_t length = NoncharacterAt(rest, i)) {
            i += length - 1;
            continue;
        }
        if (c == '\\' && slashes) {
            url += '/';
        } else if (c == '#' && !inFragment) {
            inFragment = true;
            url += c;
        } else if (c == '%' && i + 2 < rest.size() && IsHexDigit(rest[i + 1]) &&
                   IsHexDigit(rest[i + 2])) {
            url += c;
        } else if (IsUnreserved(c) ||
                   std::string_view("!$&'()*+,;=:@/?[]").find(c) != std::string_view::npos) {
            url += c;
        } else {
            AppendPercent(url, c);
        }
    }
    return url;
}

} // namespace foldline
