// What a page tells about itself, read with an HTML parser that follows the browsers' parsing
// rules (gumbo): its title and the targets its fragments can name.
#pragma once

#include <chrono>
#include <set>
#include <string>
#include <string_view>

namespace site {

struct PageFacts {
    std::string title;         // the first <title>'s text, blanks collapsed; empty without one
    std::set<std::string> ids; // every element's id, and the name of every <a name>
};

// The parser's work grows faster than a page's size when elements nest very deeply; a page that
// takes longer than this (or more memory than kMaxParseBytes) is given up.
inline constexpr std::chrono::milliseconds kReadBudget{5000};
inline constexpr std::size_t kMaxParseBytes = 512u << 20;

// Any bytes: a page that is not UTF-8 is read as Windows-1252, as browsers read an unlabelled
// legacy page. False with the reason when the page was given up.
bool ReadPageFacts(std::string_view bytes, PageFacts& facts, std::string& reason,
                   std::chrono::milliseconds budget = kReadBudget);

} // namespace site
