// The two escapes that keep a text inside one comma-separated field and on one line, in the
// applet encoding and in the stored table.
#pragma once

#include <string>
#include <string_view>

namespace foldline {

inline constexpr std::string_view kCommaEscape = "~@^`";
inline constexpr std::string_view kLineBreakEscape = "|_#`";
// Both escapes end with this character, so a text without it holds no escape.
inline constexpr char kEscapeEnd = '`';

// Which line breaks an escape replaces; commas are always replaced.
enum class LineBreaks {
    Kept,      // none
    CrLfPairs, // CR LF pairs only
    All,       // CR LF pairs, then lone CRs and LFs, so nothing can break the stored line
};

void AppendEscaped(std::string& out, std::string_view text, LineBreaks lineBreaks);
std::string EscapeCommas(std::string_view text);
std::string EscapeLabel(std::string_view text);

// Every comma escape becomes the separator, every line-break escape CR LF.
void AppendUnescaped(std::string& out, std::string_view token, char separator);
std::string Unescape(std::string_view token, char separator);
// The token itself when it holds no escape, else its unescaped text kept in `scratch`.
std::string_view Unescaped(std::string_view token, std::string& scratch);

} // namespace foldline
