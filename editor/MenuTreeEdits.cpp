#include "MenuTreeEdits.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace {

// Visits every menu at or below the given menus without recursion, with its depth.
template <class Visit>
void ForEachMenu(std::vector<std::pair<CFurlin*, int>> pending, Visit visit) {
    while (!pending.empty()) {
        auto [menu, depth] = pending.back();
        pending.pop_back();
        visit(*menu, depth);
        for (const auto& item : menu->Items())
            pending.emplace_back(item->GetSubMenu(), depth + 1);
    }
}

std::string LookBytes(const CFurlin& menu) {
    CFurlin look;
    CopyLook(look, menu);
    CArchive ar;
    look.Serialize(ar);
    return ar.Bytes();
}

} // namespace

PathTarget ResolvePath(const CAppletParameters& model, const TreePath& path) {
    PathTarget target;
    if (path.empty() || path[0] < 0 || path[0] >= static_cast<int>(model.Menus().size()))
        return target;
    CFurlin* menu = model.Menus()[path[0]].get();
    for (std::size_t i = 1; i < path.size(); ++i) {
        CFurlinItem* item = menu->GetItem(path[i]);
        if (!item)
            return {};
        target.holding = menu;
        target.item = item;
        menu = item->GetSubMenu();
    }
    target.topMenu = path.size() == 1 ? menu : nullptr;
    return target;
}

std::string TreeBytes(const CAppletParameters& model) {
    CArchive ar;
    for (const auto& menu : model.Menus())
        menu->Serialize(ar);
    return ar.Bytes();
}

std::size_t CountItems(const CAppletParameters& model) {
    std::vector<std::pair<CFurlin*, int>> roots;
    for (const auto& menu : model.Menus())
        roots.emplace_back(menu.get(), 0);
    std::size_t count = 0;
    ForEachMenu(std::move(roots), [&count](CFurlin& menu, int) { count += menu.Items().size(); });
    return count;
}

int LevelsOf(const CFurlinItem& item) {
    int deepest = 0;
    ForEachMenu({{item.GetSubMenu(), 1}},
                [&deepest](CFurlin&, int depth) { deepest = std::max(deepest, depth); });
    return deepest;
}

CFurlinItem* InsertItemAt(CFurlin& menu, std::unique_ptr<CFurlinItem> item, int index) {
    CFurlinItem* raw = item.get();
    if (!menu.AddItem(std::move(item), false))
        return nullptr;
    for (int at = menu.GetItemCount(true) - 1; at > std::max(index, 0); --at)
        menu.MoveItemUp(at);
    return raw;
}

CFurlin* InsertMenuAt(CAppletParameters& model, std::unique_ptr<CFurlin> menu, int index) {
    CFurlin* raw = menu.get();
    if (!model.AddMenu(std::move(menu), false))
        return nullptr;
    for (int at = static_cast<int>(model.Menus().size()) - 1; at > std::max(index, 0); --at)
        model.MoveMenuUp(raw);
    return raw;
}

void StyleNewSubMenus(const CAppletParameters& model, const CFurlin& holding, int holdingDepth,
                      const std::vector<std::unique_ptr<CFurlinItem>>& items) {
    std::map<int, const CFurlin*> sources; // looked up before any of the items is in the model
    auto sourceAt = [&](int depth) {
        auto found = sources.find(depth);
        if (found == sources.end())
            found = sources.emplace(depth, model.FindMenuAtDepth(depth)).first;
        return found->second;
    };
    std::vector<std::tuple<CFurlinItem*, const CFurlin*, int>> pending;
    for (const auto& item : items)
        pending.emplace_back(item.get(), &holding, holdingDepth);
    while (!pending.empty()) {
        auto [item, parent, depth] = pending.back();
        pending.pop_back();
        CFurlin* sub = item->GetSubMenu();
        if (sub->Items().empty())
            continue;
        const CFurlin* source = sourceAt(depth + 1);
        sub->CopyStyle(source ? *source : *parent);
        for (const auto& child : sub->Items())
            pending.emplace_back(child.get(), sub, depth + 1);
    }
}

void CopyLook(CFurlin& to, const CFurlin& from) {
    const std::string name = to.Name;
    const int reserved1 = to.Reserved1;
    const int reserved2 = to.Reserved2;
    const int topOffset = to.TopOffset;
    to.CopyStyle(from);
    to.Name = name;
    to.Reserved1 = reserved1;
    to.Reserved2 = reserved2;
    to.TopOffset = topOffset;
}

int ApplyLook(CAppletParameters& model, const CFurlin& source, int depth, LookScope scope,
              const CFurlin* look) {
    std::vector<std::pair<CFurlin*, int>> roots;
    if (scope == LookScope::Below) {
        for (const auto& item : source.Items())
            roots.emplace_back(item->GetSubMenu(), depth + 1);
    } else {
        for (const auto& menu : model.Menus())
            roots.emplace_back(menu.get(), 0);
    }
    const CFurlin& from = look ? *look : source;
    const std::string bytes = LookBytes(from);
    int changed = 0;
    ForEachMenu(std::move(roots), [&](CFurlin& menu, int at) {
        if (&menu == &source || (scope == LookScope::SameDepth && at != depth))
            return;
        if (LookBytes(menu) == bytes)
            return;
        CopyLook(menu, from);
        ++changed;
    });
    return changed;
}
