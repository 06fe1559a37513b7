#include "SiteLinkCheck.h"

#include "CAppletParameters.h"
#include "MenuItems.h"
#include "PageFacts.h"
#include "PageMarkers.h"
#include "SitePaths.h"
#include "Text.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace site {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// What follows the scheme's ":" up to the query, the fragment or `end`, %-escapes decoded.
std::string SchemeBody(std::string_view link, char end) {
    const std::string_view text = foldline::Trim(link);
    std::string_view body = text.substr(text.find(':') + 1);
    body = body.substr(0, std::min({body.find('?'), body.find('#'), body.find(end)}));
    const std::string decoded = PercentDecoded(body);
    return std::string(foldline::Trim(decoded));
}

// A text of the link in the reason, on one line and in quotes. Built by appending: GCC 12 warns
// (-Wrestrict) about a literal + a temporary string.
std::string Quoted(std::string_view text) {
    std::string out = "\"";
    out.append(OneLine(text)).append("\"");
    return out;
}

bool IsAddress(std::string_view address) {
    const std::size_t at = address.find('@');
    if (at == 0 || at == std::string_view::npos || at + 1 == address.size() ||
        address.find('@', at + 1) != std::string_view::npos)
        return false;
    const std::string_view domain = address.substr(at + 1);
    if (domain.front() == '.' || domain.back() == '.' ||
        domain.find("..") != std::string_view::npos)
        return false;
    for (char c : address)
        if (IsBlank(c) || static_cast<unsigned char>(c) < 0x20)
            return false;
    for (char c : domain) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(c >= '0' && c <= '9') && c != '-' && c != '.' &&
            static_cast<unsigned char>(c) < 0x80)
            return false;
    }
    return true;
}

class CLinkChecker {
public:
    CLinkChecker(const CAppletParameters& model, const SiteListing& listing)
        : m_model(model), m_listing(listing) {}

    LinkCheckResult Run() {
        ForEachItem(m_model, [this](const ItemPlace& place) { Check(place); });
        for (const std::string& page : m_listing.pages)
            if (m_linked.count(page) == 0)
                m_result.notInMenu.push_back(page);
        m_result.unread = m_listing.problems;
        return std::move(m_result);
    }

private:
    void Check(const ItemPlace& place) {
        const std::string& link = place.item.Link;
        std::string reason;
        switch (KindOfLink(link)) {
        case LinkKind::SiteRelative:
            reason = SiteLinkProblem(link);
            break;
        case LinkKind::SamePage:
            reason = SamePageProblem(link);
            break;
        case LinkKind::Mail:
            reason = MailLinkProblem(link);
            break;
        case LinkKind::Phone:
            reason = PhoneLinkProblem(link);
            break;
        default:
            return; // web addresses are checked online; the rest cannot be checked here
        }
        if (!reason.empty())
            m_result.broken.push_back({place.node, place.path, OneLine(link), reason});
    }

    // The page a link that names a folder leads to, or empty.
    std::string IndexOf(const std::string& folder) const {
        const std::string base = folder.empty() ? std::string() : folder + "/";
        std::string page;
        for (std::string_view index : kIndexNames)
            if (LookUp(m_listing.root, base + std::string(index), &page) == SiteEntry::File)
                return page;
        return {};
    }

    std::string SiteLinkProblem(const std::string& link) {
        const std::optional<SiteTarget> target = ResolveSiteLink(link);
        if (!target)
            return "outside the site";
        std::string file; // as the listing names it, links resolved
        switch (LookUp(m_listing.root, target->path, &file)) {
        case SiteEntry::Outside:
            return "outside the site";
        case SiteEntry::Missing:
            return target->folder ? "no such folder" : "no such file";
        case SiteEntry::Folder:
            file = IndexOf(target->path);
            if (file.empty())
                return "a folder without index.html";
            break;
        case SiteEntry::File:
            if (target->folder)
                return "no such folder";
            break;
        }
        m_linked.insert(file);
        return target->hasFragment ? FragmentProblem(file, target->fragment) : std::string();
    }

    // The facts of a page, read once; null with the reason when it cannot be read.
    const PageFacts* FactsOf(const std::string& page, std::string& reason) {
        auto found = m_facts.find(page);
        if (found == m_facts.end()) {
            std::string bytes;
            std::optional<PageFacts> facts(std::in_place);
            if (!ReadPage(m_listing.root, page, bytes, reason) ||
                !ReadPageFacts(bytes, *facts, reason))
                facts.reset();
            found = m_facts.emplace(page, std::make_pair(std::move(facts), reason)).first;
        }
        reason = found->second.second;
        return found->second.first ? &*found->second.first : nullptr;
    }

    static bool NamesTop(const std::string& fragment) {
        return fragment.empty() || foldline::EqualsNoCase(fragment, "top");
    }

    std::string FragmentProblem(const std::string& page, const std::string& fragment) {
        if (NamesTop(fragment) || !IsPageName(page))
            return {};
        std::string reason;
        const PageFacts* facts = FactsOf(page, reason);
        if (!facts)
            return "the page " + page + " cannot be read: " + reason;
        if (facts->ids.count(fragment) == 0)
            return "no element with id \"" + fragment + "\" in " + page;
        return {};
    }

    // A fragment alone names an element of every page that shows the menu.
    std::string SamePageProblem(const std::string& link) {
        const std::optional<SiteTarget> target = ResolveSiteLink(link);
        if (!target || !target->hasFragment || NamesTop(target->fragment))
            return {};
        std::vector<std::string> lacking;
        for (const std::string& page : MenuPages()) {
            if (!FragmentProblem(page, target->fragment).empty())
                lacking.push_back(page);
        }
        if (lacking.empty())
            return {};
        std::string reason = "no element with id \"" + target->fragment + "\" in " + lacking[0];
        if (lacking.size() > 1)
            reason +=
                " and " + std::to_string(lacking.size() - 1) + " other pages showing the menu";
        return reason;
    }

    // The pages holding the menu's markers, found once.
    const std::vector<std::string>& MenuPages() {
        if (!m_menuPages) {
            m_menuPages.emplace();
            for (const std::string& page : m_listing.pages) {
                std::string bytes;
                std::string reason;
                if (ReadPage(m_listing.root, page, bytes, reason) &&
                    FindMarkers(bytes, m_model.Name).result == MarkerSpan::Result::Found)
                    m_menuPages->push_back(page);
            }
        }
        return *m_menuPages;
    }

    const CAppletParameters& m_model;
    const SiteListing& m_listing;
    LinkCheckResult m_result;
    std::set<std::string> m_linked;
    std::map<std::string, std::pair<std::optional<PageFacts>, std::string>> m_facts;
    std::optional<std::vector<std::string>> m_menuPages;
};

} // namespace

std::string MailLinkProblem(std::string_view link) {
    const std::string addresses = SchemeBody(link, '?');
    if (addresses.empty()) {
        // "mailto:?to=..." names its addresses in the query.
        const std::string_view text = foldline::Trim(link);
        const std::size_t query = text.find('?');
        if (query != std::string_view::npos && (text.substr(query + 1, 3) == "to=" ||
                                                text.find("&to=", query) != std::string_view::npos))
            return {};
        return "no e-mail address";
    }
    std::size_t start = 0;
    while (start <= addresses.size()) {
        const std::size_t comma = std::min(addresses.find(',', start), addresses.size());
        const std::string_view address =
            foldline::Trim(std::string_view(addresses).substr(start, comma - start));
        if (!IsAddress(address))
            return Quoted(address) + " is not an e-mail address";
        start = comma + 1;
    }
    return {};
}

std::string PhoneLinkProblem(std::string_view link) {
    const std::string number = SchemeBody(link, ';');
    if (number.empty())
        return "no telephone number";
    bool digits = false;
    for (std::size_t i = 0; i < number.size(); ++i) {
        const char c = number[i];
        digits = digits || (c >= '0' && c <= '9');
        const bool separator = c == '-' || c == '.' || c == '(' || c == ')' || c == ' ' || c == '*';
        if (!(c >= '0' && c <= '9') && !separator && !(c == '+' && i == 0))
            return Quoted(number) + " is not a telephone number";
    }
    return digits ? std::string() : Quoted(number) + " is not a telephone number";
}

LinkCheckResult CheckSiteLinks(const CAppletParameters& model, const SiteListing& listing) {
    return CLinkChecker(model, listing).Run();
}

std::string FindingsText(const LinkCheckResult& result) {
    std::string text;
    for (const LinkFinding& finding : result.broken)
        text += finding.node + "\t" + finding.path + "\t" + finding.link + "\t" +
                OneLine(finding.reason) + "\n";
    for (const std::string& page : result.notInMenu)
        text.append("\t\t").append(OneLine(page)).append("\tnot in the menu\n");
    for (const SiteProblem& problem : result.unread)
        text.append("\t\t")
            .append(OneLine(problem.path))
            .append("\tnot read: ")
            .append(OneLine(problem.reason))
            .append("\n");
    return text;
}

std::string ItemLinksText(const CAppletParameters& model) {
    std::string text;
    ForEachItem(model, [&text](const ItemPlace& place) {
        if (!foldline::Trim(place.item.Link).empty())
            text += place.node + "\t" + place.path + "\t" + OneLine(place.item.Link) + "\n";
    });
    return text;
}

} // namespace site
