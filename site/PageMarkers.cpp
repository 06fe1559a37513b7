#include "PageMarkers.h"

#include "Text.h"

#include <cstdio>
#include <vector>

namespace site {

namespace {

constexpr std::string_view kOpen = "<!--";
constexpr std::string_view kClose = "-->";

std::string Marker(std::string_view name, bool closing) {
    return std::string("<!-- ") + (closing ? "/" : "") + "foldline:" + std::string(name) + " -->";
}

// Whether the page's bytes beyond ASCII are UTF-8 (some are, and all of them are valid).
bool WrittenInUtf8(std::string_view before, std::string_view after) {
    auto beyondAscii = [](std::string_view text) {
        for (char c : text)
            if (static_cast<unsigned char>(c) >= 0x80)
                return true;
        return false;
    };
    return (beyondAscii(before) || beyondAscii(after)) && foldline::IsValidUtf8(before) &&
           foldline::IsValidUtf8(after);
}

// Every character beyond ASCII as a numeric character reference, which reads the same in any
// encoding a page may declare.
std::string AsciiOnly(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t code = 0;
        std::size_t length = foldline::DecodeUtf8(utf8, i, code);
        if (length == 0) {
            code = 0xFFFD;
            length = 1;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else {
            char reference[16];
            std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(code));
            out += reference;
        }
        i += length;
    }
    return out;
}

} // namespace

MarkerSpan FindMarkers(std::string_view page, std::string_view name) {
    const std::string opening = "foldline:" + std::string(name);
    const std::string closing = "/" + opening;
    std::vector<std::size_t> opens;  // the byte after each opening marker
    std::vector<std::size_t> closes; // the first byte of each closing marker
    for (std::size_t at = page.find(kOpen); at != std::string_view::npos;
         at = page.find(kOpen, at)) {
        const std::size_t body = at + kOpen.size();
        // "<!-->" and "<!--->" end where they begin.
        if (page.compare(body, 1, ">") == 0 || page.compare(body, 2, "->") == 0) {
            at = body + 1;
            continue;
        }
        const std::size_t end = page.find(kClose, body);
        if (end == std::string_view::npos)
            break; // the rest of the page is one comment
        const std::string_view text = foldline::Trim(page.substr(body, end - body));
        if (text == opening)
            opens.push_back(end + kClose.size());
        else if (text == closing)
            closes.push_back(at);
        at = end + kClose.size();
    }

    MarkerSpan span;
    if (opens.empty() && closes.empty())
        return span;
    span.result = MarkerSpan::Result::Broken;
    if (opens.size() > 1 || closes.size() > 1) {
        const bool openTwice = opens.size() > 1;
        span.reason = "the marker " + Marker(name, !openTwice) + " appears " +
                      std::to_string(openTwice ? opens.size() : closes.size()) + " times";
    } else if (closes.empty()) {
        span.reason = "the closing marker " + Marker(name, true) + " is missing";
    } else if (opens.empty()) {
        span.reason = "the opening marker " + Marker(name, false) + " is missing";
    } else if (closes.front() < opens.front()) {
        span.reason = "the closing marker comes before the opening one";
    } else {
        span.result = MarkerSpan::Result::Found;
        span.begin = opens.front();
        span.end = closes.front();
    }
    return span;
}

std::string PageWithMenu(std::string_view page, const MarkerSpan& span, std::string_view markup) {
    const std::string_view before = page.substr(0, span.begin);
    const std::string_view after = page.substr(span.end);
    const bool crlf = before.find("\r\n") != std::string_view::npos ||
                      after.find("\r\n") != std::string_view::npos;
    const std::string lineEnd = crlf ? "\r\n" : "\n";
    std::string block = lineEnd;
    block += crlf ? std::string(markup) : foldline::ReplaceAll(std::string(markup), "\r\n", "\n");
    if (!WrittenInUtf8(before, after))
        block = AsciiOnly(block);
    std::string out;
    out.reserve(before.size() + block.size() + after.size());
    out.append(before).append(block).append(after);
    return out;
}

} // namespace site
