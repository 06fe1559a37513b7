#include "TreeWalk.h"
#include "CAppletParameters.h"
#include "Records.h"

namespace foldline {

bool AcceptsMenu(const CFurlin& menu, bool visibleOnly) {
    return !visibleOnly || (menu.Visible != 0 && menu.GetItemCount(false) > 0);
}

namespace {

// Visits the accepted menus below `roots` in pre-order, without recursion.
template <typename Visit>
void ForEachAcceptedMenu(const std::vector<std::unique_ptr<CFurlin>>& roots, bool visibleOnly,
                         Visit visit) {
    std::vector<CFurlin*> pending;
    for (auto it = roots.rbegin(); it != roots.rend(); ++it)
        pending.push_back(it->get());
    while (!pending.empty()) {
        CFurlin* menu = pending.back();
        pending.pop_back();
        if (!AcceptsMenu(*menu, visibleOnly))
            continue;
        visit(*menu);
        const auto& items = menu->Items();
        for (auto it = items.rbegin(); it != items.rend(); ++it)
            if (AcceptsItem(**it, visibleOnly))
                pending.push_back((*it)->GetSubMenu());
    }
}

} // namespace

} // namespace foldline

std::vector<CFurlin*> CAppletParameters::NumberMenus(bool visibleOnly) {
    std::vector<CFurlin*> order;
    foldline::ForEachAcceptedMenu(m_menus, visibleOnly, [&](CFurlin& menu) {
        menu.Number = static_cast<int>(order.size());
        order.push_back(&menu);
    });
    return order;
}

std::vector<CFurlinItem*> CAppletParameters::CollectItems(bool visibleOnly) {
    std::vector<CFurlinItem*> collected;
    foldline::ForEachAcceptedMenu(m_menus, visibleOnly, [&](CFurlin& menu) {
        for (const auto& item : menu.Items())
            if (foldline::AcceptsItem(*item, visibleOnly))
                collected.push_back(item.get());
    });
    return collected;
}

void CAppletParameters::ForEachFileReference(
    const std::function<void(std::string& file, const std::string& webFolder)>& visit) {
    const auto visitFiles = [&visit](auto& record, const auto& fields) {
        for (const auto& f : fields)
            if (f.kind == foldline::FieldKind::File)
                visit(foldline::TextOf(record, f), record.*f.webFolder);
    };
    visitFiles(*this, foldline::kAppletFields);
    for (CFurlinItem* item : CollectItems(false))
        visitFiles(*item, foldline::kItemFields);
}
