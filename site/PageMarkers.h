// The place a page keeps the menu: between the comments <!-- foldline:NAME --> and
// <!-- /foldline:NAME -->, found in the page's raw bytes so that publishing changes nothing else.
#pragma once

#include <string>
#include <string_view>

namespace site {

struct MarkerSpan {
    enum class Result { None, Found, Broken } result = Result::None;
    std::size_t begin = 0; // the first byte after the opening marker
    std::size_t end = 0;   // the first byte of the closing marker
    std::string reason;    // why a Broken page cannot take the menu
};

// Each marker once, the opening one first, or neither. Blanks inside the comment around the
// marker's text are allowed; markers of other names are not the menu's.
MarkerSpan FindMarkers(std::string_view page, std::string_view name);

// The page with `markup` between its markers, written in the page's own way: its line ends, and
// characters beyond ASCII as character references unless the page is UTF-8 (the bytes outside
// the markers decide, so the page's own text and not an earlier menu tells the encoding).
std::string PageWithMenu(std::string_view page, const MarkerSpan& span, std::string_view markup);

} // namespace site
