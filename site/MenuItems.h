// Every item of a widget with what the site work names it by: its node (the top-level menu's
// index, then the item's index in each menu down to it, "0.3.1", as the live preview numbers
// nodes) and its path of labels ("Products > Gadgets").
#pragma once

#include <functional>
#include <string>

class CAppletParameters;
class CFurlinItem;

namespace site {

struct ItemPlace {
    const CFurlinItem& item;
    std::string node;
    std::string path;
    bool shown; // in the visible walk, so on the page
};

// In pre-order, hidden items and what lies below them included.
void ForEachItem(const CAppletParameters& model,
                 const std::function<void(const ItemPlace&)>& visit);

// A text on one line: line breaks, tabs and other control characters become spaces.
std::string OneLine(std::string_view text);

} // namespace site
