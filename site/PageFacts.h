// What a page tells about itself, read with an HTML parser that follows the browsers' parsing
// rules (gumbo): its title and the targets its fragments can name.
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace site {

struct PageFacts {
    std::string title;         // the first <title>'s text, blanks collapsed; empty without one
    std::set<std::string> ids; // every element's id, and the name of every <a name>
};

// Any bytes: a page that is not UTF-8 is read as Windows-1252, as browsers read an unlabelled
// legacy page.
PageFacts ReadPageFacts(std::string_view bytes);

} // namespace site
