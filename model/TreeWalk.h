// Shared internals of the encoders: the depth-first numbering walk, the text escapes and the
// number reading of the stored grammar. Not part of the public model interface.
#pragma once

#include "CFurlin.h"
#include "Text.h"

#include <memory>
#include <string>
#include <vector>

namespace foldline {

inline constexpr const char* kCommaEscape = "~@^`";
inline constexpr const char* kLineBreakEscape = "|_#`";

// Pre-order numbering of the accepted menus below roots (without recursion). Sets Number on every
// accepted menu and returns them in number order.
std::vector<CFurlin*> NumberedMenus(const std::vector<std::unique_ptr<CFurlin>>& roots,
                                    bool visibleOnly);
bool AcceptsMenu(const CFurlin& menu, bool visibleOnly);
inline bool AcceptsItem(const CFurlinItem& item, bool visibleOnly) {
    return !visibleOnly || item.Visible != 0;
}

std::string EscapeCommas(const std::string& text);
// CR LF pairs first, then commas, so the escape of a line break never holds a raw comma.
std::string EscapeLabel(const std::string& text);
std::string Unescape(const std::string& token, char separator);

} // namespace foldline
