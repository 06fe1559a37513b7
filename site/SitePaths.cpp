#include "SitePaths.h"

#include "Text.h"
#include "WebText.h"

#include <vector>

namespace site {

namespace {

bool IsSlash(char c) {
    return c == '/' || c == '\\';
}

bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

struct LinkParts {
    std::string_view path;
    std::string_view query;    // with its "?"
    std::string_view fragment; // with its "#"
};

LinkParts SplitLink(std::string_view link) {
    LinkParts parts;
    const std::size_t hash = link.find('#');
    if (hash != std::string_view::npos)
        parts.fragment = link.substr(hash);
    const std::string_view beforeHash = link.substr(0, hash);
    const std::size_t question = beforeHash.find('?');
    if (question != std::string_view::npos)
        parts.query = beforeHash.substr(question);
    parts.path = beforeHash.substr(0, question);
    return parts;
}

// The path's segments with "." and ".." applied; none when ".." climbs above the root.
struct Segments {
    std::vector<std::string> names;
    bool folder = false;
};
std::optional<Segments> Normalized(std::string_view path, bool decode) {
    Segments result;
    result.folder = true; // the root, until a name follows
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsSlash(path[end]))
            ++end;
        const std::string_view name = path.substr(start, end - start);
        const bool last = end >= path.size();
        if (name == "..") {
            if (result.names.empty())
                return std::nullopt;
            result.names.pop_back();
            result.folder = true;
        } else if (name.empty() || name == ".") {
            result.folder = result.folder || last || name == ".";
        } else {
            result.names.push_back(decode ? PercentDecoded(name) : std::string(name));
            result.folder = false;
        }
        if (last)
            break;
        result.folder = true; // a separator follows the name
        start = end + 1;
    }
    return result;
}

} // namespace

LinkKind KindOfLink(std::string_view link) {
    const std::string_view text = foldline::Trim(link);
    if (text.empty() || foldline::IsDroppedLink(text))
        return LinkKind::None;
    if (text[0] == '#' || text[0] == '?')
        return LinkKind::SamePage;
    if (IsSlash(text[0]))
        return text.size() > 1 && IsSlash(text[1]) ? LinkKind::Web : LinkKind::Rooted;
    const std::string scheme = foldline::SchemeOf(text);
    if (scheme.empty())
        return LinkKind::SiteRelative;
    if (scheme == "http" || scheme == "https")
        return LinkKind::Web;
    if (scheme == "mailto")
        return LinkKind::Mail;
    if (scheme == "tel")
        return LinkKind::Phone;
    return LinkKind::OtherScheme;
}

std::optional<SiteTarget> ResolveSiteLink(std::string_view link) {
    const LinkParts parts = SplitLink(foldline::Trim(link));
    const std::optional<Segments> segments = Normalized(parts.path, true);
    if (!segments)
        return std::nullopt;
    SiteTarget target;
    for (const std::string& name : segments->names)
        target.path += (target.path.empty() ? "" : "/") + name;
    target.folder = segments->folder;
    target.hasFragment = !parts.fragment.empty();
    if (target.hasFragment)
        target.fragment = PercentDecoded(parts.fragment.substr(1));
    return target;
}

std::vector<std::string> PagesNamedBy(const SiteTarget& target) {
    std::vector<std::string> pages;
    if (!target.folder)
        pages.push_back(target.path);
    const std::string base = target.path.empty() ? std::string() : target.path + "/";
    for (std::string_view index : kIndexNames)
        pages.push_back(base + std::string(index));
    return pages;
}

bool IsIndexName(std::string_view name) {
    for (std::string_view index : kIndexNames)
        if (name == index)
            return true;
    return false;
}

std::string LinkForPage(std::string_view page, std::string_view link) {
    if (KindOfLink(link) != LinkKind::SiteRelative)
        return std::string(link);
    const LinkParts parts = SplitLink(foldline::Trim(link));
    const std::optional<Segments> segments = Normalized(parts.path, false);
    if (!segments)
        return std::string(link); // leads out of the site: the check of links reports it
    std::vector<std::string_view> pageFolders;
    for (std::size_t start = 0, slash; (slash = page.find('/', start)) != std::string_view::npos;
         start = slash + 1)
        pageFolders.push_back(page.substr(start, slash - start));

    const std::vector<std::string>& names = segments->names;
    // A file's own name is never shared with the page's folders, so it is always written.
    const std::size_t shareable =
        segments->folder || names.empty() ? names.size() : names.size() - 1;
    std::size_t common = 0;
    while (common < shareable && common < pageFolders.size() &&
           PercentDecoded(names[common]) == pageFolders[common])
        ++common;
    std::string out;
    for (std::size_t i = common; i < pageFolders.size(); ++i)
        out += "../";
    for (std::size_t i = common; i < names.size(); ++i) {
        // A first name holding ":" would read as a scheme.
        if (out.empty() && names[i].find(':') != std::string::npos)
            out += "./";
        out += names[i];
        if (i + 1 < names.size() || segments->folder)
            out += '/';
    }
    if (out.empty())
        out = "./";
    out.append(parts.query).append(parts.fragment);
    return out;
}

std::string FolderForPage(std::string_view page, std::string_view folder) {
    std::string out;
    for (char c : page)
        if (c == '/')
            out += "../";
    return out.append(folder);
}

std::string LinkOfSitePath(std::string_view path) {
    static const std::string_view kKept = "-._~!$&'()*+,;=@/";
    std::string out;
    for (char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsAlpha(c) || (c >= '0' && c <= '9') || kKept.find(c) != std::string_view::npos) {
            out += c;
            continue;
        }
        static const char kHex[] = "0123456789ABCDEF";
        out += '%';
        out += kHex[byte >> 4];
        out += kHex[byte & 0xF];
    }
    return out;
}

std::string PercentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
        if (low < 0) {
            out += text[i];
            continue;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

bool IsPageName(std::string_view name) {
    auto endsWith = [name](std::string_view suffix) {
        return name.size() > suffix.size() &&
               foldline::EqualsNoCase(name.substr(name.size() - suffix.size()), suffix);
    };
    return endsWith(".html") || endsWith(".htm");
}

} // namespace site
