#include "TextEscapes.h"

namespace foldline {

namespace {

bool At(std::string_view text, std::size_t pos, std::string_view pattern) {
    return text.compare(pos, pattern.size(), pattern) == 0;
}

} // namespace

void AppendEscaped(std::string& out, std::string_view text, LineBreaks lineBreaks) {
    std::size_t kept = 0; // the plain run not yet appended starts here
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string_view escape;
        std::size_t length = 1;
        if (c == ',') {
            escape = kCommaEscape;
        } else if (lineBreaks != LineBreaks::Kept && c == '\r' && i + 1 < text.size() &&
                   text[i + 1] == '\n') {
            escape = kLineBreakEscape;
            length = 2;
        } else if (lineBreaks == LineBreaks::All && (c == '\r' || c == '\n')) {
            escape = kLineBreakEscape;
        } else {
            continue;
        }
        out.append(text.substr(kept, i - kept)).append(escape);
        i += length - 1;
        kept = i + 1;
    }
    out.append(text.substr(kept));
}

std::string EscapeCommas(std::string_view text) {
    std::string out;
    AppendEscaped(out, text, LineBreaks::Kept);
    return out;
}

std::string EscapeLabel(std::string_view text) {
    std::string out;
    AppendEscaped(out, text, LineBreaks::CrLfPairs);
    return out;
}

// The two escapes share no character sequence, so replacing both in one pass gives what
// replacing one after the other gives.
void AppendUnescaped(std::string& out, std::string_view token, char separator) {
    std::size_t done = 0;
    for (std::size_t end; (end = token.find(kEscapeEnd, done)) != std::string_view::npos;) {
        const std::size_t start = end + 1 - kCommaEscape.size();
        if (end + 1 >= kCommaEscape.size() && start >= done && At(token, start, kCommaEscape)) {
            out.append(token.substr(done, start - done)).push_back(separator);
        } else if (end + 1 >= kLineBreakEscape.size() && start >= done &&
                   At(token, start, kLineBreakEscape)) {
            out.append(token.substr(done, start - done)).append("\r\n");
        } else {
            out.append(token.substr(done, end + 1 - done));
        }
        done = end + 1;
    }
    out.append(token.substr(done));
}

std::string Unescape(std::string_view token, char separator) {
    std::string out;
    AppendUnescaped(out, token, separator);
    return out;
}

std::string_view Unescaped(std::string_view token, std::string& scratch) {
    if (token.find(kEscapeEnd) == std::string_view::npos)
        return token;
    scratch.clear();
    AppendUnescaped(scratch, token, ',');
    return scratch;
}

} // namespace foldline
