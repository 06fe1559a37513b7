#include "SiteImport.h"

#include "CAppletParameters.h"
#include "PageFacts.h"
#include "SitePaths.h"
#include "Text.h"

#include <algorithm>
#include <map>

namespace site {

namespace {

// A folder of the site as the menu shows it: its pages and sub-folders by name.
struct Folder {
    std::map<std::string, std::string> pages; // name -> site path
    std::map<std::string, Folder> folders;
};

// The index page first, then by name without regard to case, then by bytes.
bool ComesBefore(const std::string& a, const std::string& b) {
    if (IsIndexName(a) != IsIndexName(b))
        return IsIndexName(a);
    std::string lowerA = a;
    std::string lowerB = b;
    for (std::string* text : {&lowerA, &lowerB})
        for (char& c : *text)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return lowerA != lowerB ? lowerA < lowerB : a < b;
}

class CSiteMenuBuilder {
public:
    explicit CSiteMenuBuilder(const SiteListing& listing) : m_listing(listing) {}

    std::unique_ptr<CFurlin> Build() {
        Folder root;
        for (const std::string& page : m_listing.pages) {
            Folder* folder = &root;
            std::size_t start = 0;
            for (std::size_t slash; (slash = page.find('/', start)) != std::string::npos;
                 start = slash + 1)
                folder = &folder->folders[page.substr(start, slash - start)];
            folder->pages.emplace(page.substr(start), page);
        }
        auto menu = std::make_unique<CFurlin>();
        Fill(*menu, root);
        return menu;
    }

private:
    std::string LabelOf(const std::string& name, const std::string& page) const {
        std::string bytes;
        std::string reason;
        PageFacts facts;
        if (ReadPage(m_listing.root, page, bytes, reason) && ReadPageFacts(bytes, facts, reason) &&
            !facts.title.empty())
            return facts.title;
        return name; // a page without a title, or one that cannot be read
    }

    // Folders are at most kMaxFolderDepth deep, so recursion stays shallow.
    void Fill(CFurlin& menu, const Folder& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : folder.pages)
            names.push_back(entry.first);
        for (const auto& entry : folder.folders)
            if (folder.pages.count(entry.first) == 0)
                names.push_back(entry.first);
        std::sort(names.begin(), names.end(), ComesBefore);
        for (const std::string& name : names) {
            auto item = std::make_unique<CFurlinItem>();
            if (const auto page = folder.pages.find(name); page != folder.pages.end()) {
                item->Label = LabelOf(name, page->second);
                item->Link = LinkOfSitePath(page->second);
            } else {
                const Folder& sub = folder.folders.at(name);
                item->Label = name;
                for (const auto& [subName, subPage] : sub.pages)
                    if (IsIndexName(subName) && item->Link.empty())
                        item->Link = LinkOfSitePath(subPage);
                Fill(*item->GetSubMenu(), sub);
            }
            menu.AddItem(std::move(item), false);
        }
    }

    const SiteListing& m_listing;
};

} // namespace

bool MenuFromSite(const SiteListing& listing, std::unique_ptr<CFurlin>& menu, std::string& reason) {
    if (listing.pages.empty()) {
        reason = "no pages (.html or .htm files) in " + listing.root;
        return false;
    }
    menu = CSiteMenuBuilder(listing).Build();
    return true;
}

void ReplaceMenus(CAppletParameters& model, std::vector<std::unique_ptr<CFurlin>> menus) {
    std::vector<std::unique_ptr<CFurlin>> looks;
    for (const CFurlin* at = model.FindMenuAtDepth(0); at != nullptr;
         at = model.FindMenuAtDepth(static_cast<int>(looks.size()))) {
        looks.push_back(std::make_unique<CFurlin>());
        looks.back()->CopyStyle(*at);
    }
    while (!model.Menus().empty())
        model.DeleteMenu(model.Menus().front().get());

    std::vector<std::pair<CFurlin*, std::size_t>> pending;
    for (auto& menu : menus) {
        pending.emplace_back(menu.get(), 0);
        model.AddMenu(std::move(menu), false);
    }
    while (!pending.empty()) {
        auto [menu, depth] = pending.back();
        pending.pop_back();
        if (depth < looks.size()) {
            const std::string name = menu->Name;
            menu->CopyStyle(*looks[depth]);
            menu->Name = name;
        }
        for (const auto& item : menu->Items())
            pending.emplace_back(item->GetSubMenu(), depth + 1);
    }
}

} // namespace site
