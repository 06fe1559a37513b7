#include "CAppletParameters.h"
#include "CTesselFile.h"
#include "StoredFields.h"

#include <optional>
#include <string_view>

using foldline::AppendDecimal;
using foldline::kAppletFields;
using foldline::kItemFields;
using foldline::kMenuFields;
using foldline::kStoredOrder;
using foldline::Rows;

namespace {

constexpr std::size_t kMaxTokenLength = 10239;

constexpr std::size_t kAppletWidth = kStoredOrder<kAppletFields, Rows::Values>.size();
constexpr std::size_t kMenuWidth = kStoredOrder<kMenuFields, Rows::Values>.size();
constexpr std::size_t kItemWidth = kStoredOrder<kItemFields, Rows::Values>.size();

std::string_view Truncated(std::string_view token) {
    return token.substr(0, kMaxTokenLength);
}

std::string Numbered(const char* prefix, std::size_t n) {
    std::string name = prefix;
    AppendDecimal(name, n);
    return name;
}

// "I%d-%d": the item's menu and its 1-based position there.
std::string ItemName(std::size_t menu, std::size_t position) {
    std::string name = Numbered("I", menu);
    name.push_back('-');
    AppendDecimal(name, position);
    return name;
}

// ---- Writing ----

void WriteMenu(CTesselFile& document, const CFurlin& menu, std::string& value) {
    const auto n = static_cast<std::size_t>(menu.Number);
    value.clear();
    foldline::AppendStoredValue<kMenuFields>(value, menu);
    document.SetParameter(Numbered("MStyle-", n), value);
    value.clear();
    foldline::AppendStoredLooks(value, menu);
    document.SetParameter(Numbered("IStyle-", n), value);
    std::size_t k = 1;
    for (const auto& item : menu.Items()) {
        value.clear();
        foldline::AppendStoredValue<kItemFields>(value, *item);
        document.SetParameter(ItemName(n, k++), value);
    }
}

// "Misc": the menu count, each menu's item count, "-%d," per top-level menu and "%d-%d," per
// item with the number of its sub-menu.
std::string StoredOutline(const std::vector<CFurlin*>& menus,
                          const std::vector<std::unique_ptr<CFurlin>>& topLevel) {
    std::string misc;
    AppendDecimal(misc, menus.size());
    misc.push_back(',');
    for (const CFurlin* menu : menus) {
        AppendDecimal(misc, menu->GetItemCount(true));
        misc.push_back(',');
    }
    for (const auto& top : topLevel) {
        misc.push_back('-');
        AppendDecimal(misc, top->Number);
        misc.push_back(',');
    }
    std::size_t j = 0;
    for (const CFurlin* menu : menus)
        for (const auto& item : menu->Items()) {
            AppendDecimal(misc, j++);
            misc.push_back('-');
            AppendDecimal(misc, item->GetSubMenu()->Number);
            misc.push_back(',');
        }
    return misc;
}

// ---- Reading ----

const std::string* Lookup(const CTesselMap& table, const std::string& name) {
    const std::string* value = table.Find(name);
    return value == nullptr || value->empty() ? nullptr : value;
}

// A link of "Misc": menu `menu` is top-level (item < 0) or the sub-menu of item `item`.
struct Link {
    std::size_t menu;
    long long item;
};

// What "Misc" says, parsed once: each menu's item count and each menu's link.
struct Outline {
    std::vector<std::size_t> itemCounts;
    std::size_t totalItems = 0;
    std::vector<Link> links;
};

enum class OutlineState { NoMenus, Damaged, Read };

// A link "%d-%d" or "-%d" with the number after the first dash naming a menu below m.
std::optional<Link> ParseLink(std::string_view link, std::size_t m) {
    const std::size_t dash = link.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    std::string_view after = link.substr(dash + 1);
    after = after.substr(0, after.find('-'));
    const long long s = foldline::LeadingInt64(after);
    if (s < 0 || static_cast<unsigned long long>(s) >= m)
        return std::nullopt;
    const std::string_view before = link.substr(0, dash);
    // An item part that is no number reads as item 0, like every number of the grammar.
    return Link{static_cast<std::size_t>(s), before.empty() ? -1 : foldline::LeadingInt64(before)};
}

// Every count must be backed by the table: 1 + 2M entries in "Misc", two style parameters per
// menu and one parameter per item. Nothing is allocated before these hold.
OutlineState ReadOutline(const CTesselMap& table, Outline& outline) {
    const std::string* value = table.Find("Misc");
    if (value == nullptr || value->empty())
        return OutlineState::NoMenus;
    std::vector<std::string_view> misc;
    foldline::CFieldCutter cutter(*value, ',');
    for (std::string_view token; cutter.Next(token);)
        misc.push_back(Truncated(token));
    const long long menuCount = foldline::LeadingInt64(misc[0]);
    if (menuCount == 0)
        return OutlineState::NoMenus;
    if (menuCount < 0 || static_cast<unsigned long long>(menuCount) > table.Size() / 2 ||
        misc.size() < 1 + 2 * static_cast<std::size_t>(menuCount))
        return OutlineState::Damaged;
    const auto m = static_cast<std::size_t>(menuCount);
    outline.itemCounts.reserve(m);
    for (std::size_t i = 0; i < m; ++i) {
        const long long count = std::max(0LL, foldline::LeadingInt64(misc[i + 1]));
        outline.itemCounts.push_back(static_cast<std::size_t>(count));
        outline.totalItems += static_cast<std::size_t>(count);
        if (outline.totalItems > table.Size())
            return OutlineState::Damaged;
    }
    outline.links.reserve(m);
    for (std::size_t t = 0; t < m; ++t) {
        const std::optional<Link> link = ParseLink(misc[m + 1 + t], m);
        if (!link)
            return OutlineState::Damaged;
        outline.links.push_back(*link);
    }
    return OutlineState::Read;
}

// The menus and items "Misc" calls for, not yet linked.
struct LooseTree {
    std::vector<std::unique_ptr<CFurlin>> menus;
    std::vector<CFurlinItem*> items;
    std::vector<std::size_t> menuOfItem;
};

bool ReadMenu(const CTesselMap& table, std::size_t i, std::size_t itemCount,
              const std::string& folder, LooseTree& tree) {
    const std::string* mStyle = Lookup(table, Numbered("MStyle-", i));
    const std::string* iStyle = Lookup(table, Numbered("IStyle-", i));
    if (mStyle == nullptr || iStyle == nullptr)
        return false;
    auto menu = std::make_unique<CFurlin>("Menu");
    foldline::ReadStoredValue<kMenuFields>(*menu, foldline::CutFields<kMenuWidth>(*mStyle), folder);
    foldline::ReadStoredLooks(*menu, *iStyle);
    for (std::size_t k = 1; k <= itemCount; ++k) {
        const std::string* value = Lookup(table, ItemName(i, k));
        if (value == nullptr)
            return false;
        auto item = std::make_unique<CFurlinItem>();
        foldline::ReadStoredValue<kItemFields>(*item, foldline::CutFields<kItemWidth>(*value),
                                               folder);
        tree.items.push_back(item.get());
        tree.menuOfItem.push_back(i);
        menu->AddItem(std::move(item), false);
    }
    tree.menus.push_back(std::move(menu));
    return true;
}

bool ReadMenus(const CTesselMap& table, const Outline& outline, const std::string& folder,
               LooseTree& tree) {
    tree.menus.reserve(outline.itemCounts.size());
    tree.items.reserve(outline.totalItems);
    tree.menuOfItem.reserve(outline.totalItems);
    for (std::size_t i = 0; i < outline.itemCounts.size(); ++i)
        if (!ReadMenu(table, i, outline.itemCounts[i], folder, tree))
            return false;
    return true;
}

// Checks that the links make a forest with every menu owned exactly once and at most kMaxDepth
// levels deep. parent[s] is the menu holding the owning item, or -1 for a top-level menu.
bool IsShallowForest(const std::vector<long long>& parent) {
    const std::size_t count = parent.size();
    std::vector<int> depth(count, 0); // 0 unknown, -1 on the current path
    std::vector<std::size_t> path;
    for (std::size_t start = 0; start < count; ++start) {
        std::size_t s = start;
        int base = 0;
        while (true) {
            if (depth[s] > 0) {
                base = depth[s];
                break;
            }
            if (depth[s] < 0)
                return false; // a cycle
            depth[s] = -1;
            path.push_back(s);
            if (parent[s] < 0)
                break;
            s = static_cast<std::size_t>(parent[s]);
        }
        while (!path.empty()) {
            depth[path.back()] = ++base;
            path.pop_back();
            if (base > kMaxDepth)
                return false;
        }
    }
    return true;
}

// A table naming an item that does not exist, giving a menu or an item a second owner, or
// linking in a cycle is damaged.
bool CheckLinks(const Outline& outline, const LooseTree& tree) {
    constexpr long long kUnlinked = -2;
    std::vector<long long> parent(outline.links.size(), kUnlinked);
    std::vector<char> itemLinked(tree.items.size(), 0);
    for (const Link& link : outline.links) {
        if (parent[link.menu] != kUnlinked)
            return false;
        if (link.item < 0) {
            parent[link.menu] = -1;
            continue;
        }
        const auto j = static_cast<std::size_t>(link.item);
        if (j >= tree.items.size() || itemLinked[j])
            return false;
        itemLinked[j] = 1;
        parent[link.menu] = static_cast<long long>(tree.menuOfItem[j]);
    }
    return IsShallowForest(parent);
}

} // namespace

void CAppletParameters::WriteParameters(CTesselFile& document) {
    document.ClearParameters();
    document.SetParameter("Version", "1.1");
    std::string value;
    foldline::AppendStoredValue<kAppletFields>(value, *this);
    document.SetParameter("ApStyle", value);
    const std::vector<CFurlin*> menus = NumberMenus(false);
    for (const CFurlin* menu : menus)
        WriteMenu(document, *menu, value);
    document.SetParameter("Misc", StoredOutline(menus, m_menus));
}

bool CAppletParameters::ReadParameters(CTesselFile& document, const std::string& folder) {
    const CTesselMap& table = document.Parameters();
    const std::string* apStyle = table.Find("ApStyle");
    foldline::ReadStoredValue<kAppletFields>(
        *this, foldline::CutFields<kAppletWidth>(apStyle ? *apStyle : std::string_view()), folder);

    Outline outline;
    const OutlineState state = ReadOutline(table, outline);
    if (state != OutlineState::Read)
        return state == OutlineState::NoMenus;
    LooseTree tree;
    if (!ReadMenus(table, outline, folder, tree) || !CheckLinks(outline, tree))
        return false;
    // Nothing is attached until every link checks out.
    for (const Link& link : outline.links) {
        if (link.item < 0)
            AddMenu(std::move(tree.menus[link.menu]), false);
        else
            tree.items[static_cast<std::size_t>(link.item)]->SetSubMenu(
                std::move(tree.menus[link.menu]));
    }
    return true;
}

std::vector<std::string> SplitFields(const std::string& text, int count, char separator) {
    std::vector<std::string> fields;
    if (count <= 0)
        return fields;
    fields.resize(static_cast<std::size_t>(count));
    foldline::CFieldCutter cutter(text, separator);
    std::string_view token;
    for (std::string& field : fields) {
        if (!cutter.Next(token))
            break;
        foldline::AppendUnescaped(field, token, separator);
    }
    return fields;
}

std::string GetToken(const std::string& text, int index, char separator) {
    if (index < 0)
        return {};
    foldline::CFieldCutter cutter(text, separator);
    std::string_view token;
    for (int i = 0; i <= index; ++i)
        if (!cutter.Next(token))
            return {};
    return std::string(Truncated(token));
}
