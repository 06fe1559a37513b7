// Links as a site folder reads them: which links are the site's own, where they lead inside the
// site, and how a page must write them. Paths inside the site ("site paths") use "/" and never
// start with one: "products/a.html".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace site {

enum class LinkKind {
    None,         // empty, or a link the page never follows (javascript: and the like)
    SiteRelative, // "products/a.html": relative to the site's root in the menu
    SamePage,     // "#fragment" or "?query" alone
    Rooted,       // "/products/a.html": relative to the server's root
    Web,          // http:, https: or "//host/..."
    Mail,         // mailto:
    Phone,        // tel:
    OtherScheme,  // ftp:, file: and every other scheme
};
LinkKind KindOfLink(std::string_view link);

// Where a site-relative link leads: its site path with %-escapes decoded ("" for the root), and
// its fragment, decoded, without "#". Empty when the link climbs out of the site.
struct SiteTarget {
    std::string path;
    bool folder = false; // written with a trailing "/" (or the root)
    bool hasFragment = false;
    std::string fragment;
};
std::optional<SiteTarget> ResolveSiteLink(std::string_view link);

// The pages a link's target can name, first the likeliest: the file itself (unless written as a
// folder), then the index pages a folder link names.
std::vector<std::string> PagesNamedBy(const SiteTarget& target);

// The link as the page at `page` must write it: a site-relative link relative to the page's
// folder, keeping its query and fragment as written; every other link as it is.
std::string LinkForPage(std::string_view page, std::string_view link);

// From the page at `page` to a folder of the site ("foldline/"): "../foldline/" one level down.
std::string FolderForPage(std::string_view page, std::string_view folder);

// A site path as a link: bytes outside the characters a path may hold are %-escaped.
std::string LinkOfSitePath(std::string_view path);

// The text with its %-escapes decoded; a "%" not followed by two hexadecimal digits stays.
std::string PercentDecoded(std::string_view text);

// The names of the page a folder link leads to, the likeliest first.
inline constexpr std::string_view kIndexNames[] = {"index.html", "index.htm"};
bool IsIndexName(std::string_view name);

// Whether a file name is a page: ".html" or ".htm" in any case.
bool IsPageName(std::string_view name);

} // namespace site
