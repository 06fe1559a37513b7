// The menu outline: items as indented text lines, "Label | link | target frame", so that a menu
// can be written and changed in any text editor and pasted back.
//
// One item per line; each tab or pair of spaces before the text is one level deeper. Link and
// target frame are optional. In a field, "\|" is a bar, "\n" a line break and "\\" a backslash;
// blanks around a field are not kept. Blank lines are skipped.
#pragma once

#include "CFurlin.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct OutlineLine {
    int depth = 0; // 0 for the outline's first level
    std::string label;
    std::string link;
    std::string target;
};

// The item and its whole sub-tree, the item on the first level.
std::string WriteOutline(const CFurlinItem& item);

// Reads every non-blank line. Nothing typed is lost: a line more than one level deeper than the
// one before it is taken one level deeper, a line shallower than the first as first level, and
// a line with more than three fields keeps its whole text as the label.
std::vector<OutlineLine> ReadOutline(std::string_view text);

// The items of the outline's first level, each holding the deeper lines below it in its
// sub-menu. Lines deeper than maxDepth are placed at maxDepth.
std::vector<std::unique_ptr<CFurlinItem>> BuildOutlineItems(const std::vector<OutlineLine>& lines,
                                                            int maxDepth);
