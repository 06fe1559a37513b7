// Texts as they go into web pages: HTML and JSON escapes, and the reading of addresses, link
// schemes and target frames that browsers apply.
#pragma once

#include <string>
#include <string_view>

namespace foldline {

// What happens to the characters that HTML does not allow in a page: control characters (C0
// controls other than tab, line feed, form feed and carriage return; DEL; the C1 controls) and
// Unicode noncharacters (U+FDD0..U+FDEF and every U+xFFFE, U+xFFFF).
enum class Controls {
    Kept,    // passed on as they are
    Dropped, // left out, so the page stays valid
};

// `&`, `<`, `>` and `"` as character references: the text is never markup and stays inside a
// double-quoted attribute.
void AppendHtmlEscaped(std::string& out, std::string_view text, Controls controls);
std::string HtmlEscaped(std::string_view text, Controls controls);
// The text with the control characters of Controls::Dropped left out, as a page written with
// them dropped holds it.
std::string WithoutForbiddenControls(std::string_view text);

// The text as a JSON string with its quotes. Every control character, DEL, the C1 controls and
// the noncharacters are escaped, so the JSON is valid and, once in an attribute, the page is too.
void AppendJsonString(std::string& out, std::string_view text);

// A link that runs script or carries a document of its own (`javascript:`, `vbscript:`,
// `data:`), read as browsers read it: any case, leading blanks and controls and embedded tabs and
// line breaks ignored.
bool IsDroppedLink(std::string_view link);

// Whether a target frame can open a new browsing context: anything but `_self`, `_parent` and
// `_top` (any case); an empty target is the link's own frame.
bool OpensNewContext(std::string_view target);
// Whether a target frame names the link's own frame: empty or `_self` (any case).
bool IsOwnFrame(std::string_view target);
// The target frame as a page may write it. A name that starts with "_" and is no keyword (such as
// "_new"), or that holds "<" beside a tab or line break, is not valid HTML and opens a new
// browsing context anyway: it becomes "_blank".
std::string_view HtmlTarget(std::string_view target);

// A reference relative to the page's own path: no scheme (such as `http:`) and no leading `/`
// (or `\`, which browsers read as `/`).
bool IsPathRelative(std::string_view reference);

// The scheme of an address in lower case ("http" of "HTTP://host/"), or empty when it has none.
std::string SchemeOf(std::string_view reference);

// A local path as a file: URL, every byte outside the unreserved characters and "/" encoded.
std::string FileUrl(std::string_view path);

// A reference as a page may hold it in `href` or `src`. A Windows path (a drive or a share)
// becomes a file: URL; backslashes of a path or of a web address become slashes, as browsers
// read them; what a URL may not hold raw (blanks, quotes, `<`, `>`, controls, a second `#`, a
// `%` that starts no escape, non-ASCII as its UTF-8 bytes) is percent-encoded; tabs and line
// breaks, which browsers drop, and noncharacters are left out.
std::string PageUrl(std::string_view reference);
// A file name as one segment of a URL path: every byte outside the unreserved characters encoded,
// so `#`, `?` and `/` in a name stay part of it.
std::string UrlSegment(std::string_view name);

} // namespace foldline
