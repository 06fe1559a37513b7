#include "SitePublish.h"

#include "CAppletParameters.h"
#include "Files.h"
#include "MenuItems.h"
#include "ModernMarkup.h"
#include "PageMarkers.h"
#include "SitePaths.h"

#include <map>

namespace site {

namespace {

// The page each shown item's link names, the first item in the walk winning: the page's
// current item.
std::map<std::string, const CFurlinItem*, std::less<>> ItemsByPage(const CAppletParameters& model) {
    std::map<std::string, const CFurlinItem*, std::less<>> items;
    ForEachItem(model, [&items](const ItemPlace& place) {
        if (!place.shown || KindOfLink(place.item.Link) != LinkKind::SiteRelative)
            return;
        if (const std::optional<SiteTarget> target = ResolveSiteLink(place.item.Link))
            for (std::string& page : PagesNamedBy(*target))
                items.emplace(std::move(page), &place.item);
    });
    return items;
}

class CPublisher {
public:
    CPublisher(const CAppletParameters& model, const SiteListing& listing, bool dryRun)
        : m_model(model), m_listing(listing), m_itemsByPage(ItemsByPage(model)) {
        m_report.dryRun = dryRun;
    }

    PublishReport Run() {
        for (const std::string& page : m_listing.pages)
            Publish(page);
        return std::move(m_report);
    }

private:
    std::string MarkupFor(const std::string& page) const {
        ModernMarkupOptions options;
        options.mode = kHtmlLocal;
        options.previewFolder = FolderForPage(page, std::string(kSiteFilesFolder) + "/");
        options.mapLink = [&page](const std::string& link) { return LinkForPage(page, link); };
        const auto current = m_itemsByPage.find(page);
        if (current != m_itemsByPage.end())
            options.currentItem = current->second;
        return ModernMarkup(m_model, options);
    }

    void Publish(const std::string& page) {
        std::string bytes;
        std::string reason;
        if (!ReadPage(m_listing.root, page, bytes, reason)) {
            m_report.problems.push_back({page, "not read: " + reason});
            return;
        }
        const MarkerSpan span = FindMarkers(bytes, m_model.Name);
        if (span.result == MarkerSpan::Result::None) {
            ++m_report.withoutMarkers;
            return;
        }
        if (span.result == MarkerSpan::Result::Broken) {
            m_report.problems.push_back({page, "skipped: " + span.reason});
            return;
        }
        const std::string published = PageWithMenu(bytes, span, MarkupFor(page));
        if (published == bytes) {
            ++m_report.unchanged;
            return;
        }
        if (!m_report.dryRun) {
            const FileResult written = WriteFileReplacing(published, m_listing.root + "/" + page);
            if (!written) {
                m_report.problems.push_back({page, "not written: " + written.reason});
                return;
            }
        }
        ++m_report.updated;
    }

    const CAppletParameters& m_model;
    const SiteListing& m_listing;
    const std::map<std::string, const CFurlinItem*, std::less<>> m_itemsByPage;
    PublishReport m_report;
};

} // namespace

std::string PublishReport::Text() const {
    std::string text = std::to_string(updated) + " pages updated, " + std::to_string(unchanged) +
                       " unchanged, " + std::to_string(withoutMarkers) +
                       " without the menu's markers";
    if (dryRun)
        text += " (a dry run: nothing was written)";
    for (const SiteProblem& problem : problems)
        text.append("\n")
            .append(OneLine(problem.path))
            .append(": ")
            .append(OneLine(problem.reason));
    return text;
}

PublishReport PublishPages(const CAppletParameters& model, const SiteListing& listing,
                           bool dryRun) {
    return CPublisher(model, listing, dryRun).Run();
}

} // namespace site
