#include "CTesselFile.h"
#include "Encoders.h"
#include "StoredFields.h"

#include <optional>
#include <string_view>

using foldline::AppendDecimal;
using foldline::kAppletFields;
using foldline::kItemFields;
using foldline::kMenuFields;
using foldline::Rows;

namespace {

constexpr std::size_t kMaxTokenLength = 10239;

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

// The applet's settings for today's browsers, kept apart from "ApStyle" so that readers that
// predate them read the rest as before.
constexpr const char* kWebStyle = "WebStyle";

const std::string& DefaultWebStyle() {
    static const std::string value = [] {
        std::string text;
        foldline::AppendStoredValue<kAppletFields, Rows::WebStyle>(text, CAppletParameters());
        return text;
    }();
    return value;
}

using Parameters = std::vector<std::pair<std::string, std::string>>;

void WriteMenu(Parameters& parameters, const CFurlin& menu, std::string& value) {
    const auto n = static_cast<std::size_t>(menu.Number);
    value.clear();
    foldline::AppendStoredValue<kMenuFields>(value, menu);
    parameters.emplace_back(Numbered("MStyle-", n), value);
    value.clear();
    foldline::AppendStoredLooks(value, menu);
    parameters.emplace_back(Numbered("IStyle-", n), value);
    std::size_t k = 1;
    for (const auto& item : menu.Items()) {
        value.clear();
        foldline::AppendStoredValue<kItemFields>(value, *item);
        parameters.emplace_back(ItemName(n, k++), value);
    }
}

// "Misc": the menu count, each menu's item count, "-%d," per top-level menu and "%d-%d," per
// item with the number of its sub-menu.
std::string MiscValue(const std::vector<CFurlin*>& menus,
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

// A link "%d-%d" or "-%d" whose second token names a menu below m.
std::optional<Link> ParseLink(std::string_view link, std::size_t m) {
    foldline::CFieldCutter cutter(link, '-');
    std::string_view item;
    std::string_view menu;
    if (!cutter.Next(item) || !cutter.Next(menu))
        return std::nullopt;
    const long long s = foldline::LeadingInt64(menu);
    if (s < 0 || static_cast<unsigned long long>(s) >= m)
        return std::nullopt;
    // An item token that is no number reads as item 0, like every number of the grammar.
    return Link{static_cast<std::size_t>(s), item.empty() ? -1 : foldline::LeadingInt64(item)};
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

constexpr std::size_t kNoMenu = static_cast<std::size_t>(-1);

// The sub-menu of every item (kNoMenu for an item no link names), from links that name no
// missing item, give no menu or item a second owner and make no cycle.
bool PlanTree(const Outline& outline, std::vector<std::size_t>& subMenuOfItem) {
    std::vector<std::size_t> menuOfItem;
    menuOfItem.reserve(outline.totalItems);
    for (std::size_t i = 0; i < outline.itemCounts.size(); ++i)
        menuOfItem.insert(menuOfItem.end(), outline.itemCounts[i], i);
    constexpr long long kUnlinked = -2;
    std::vector<long long> parent(outline.links.size(), kUnlinked);
    subMenuOfItem.assign(outline.totalItems, kNoMenu);
    for (const Link& link : outline.links) {
        if (parent[link.menu] != kUnlinked)
            return false;
        if (link.item < 0) {
            parent[link.menu] = -1;
            continue;
        }
        const auto j = static_cast<std::size_t>(link.item);
        if (j >= outline.totalItems || subMenuOfItem[j] != kNoMenu)
            return false;
        subMenuOfItem[j] = link.menu;
        parent[link.menu] = static_cast<long long>(menuOfItem[j]);
    }
    return IsShallowForest(parent);
}

// A number of a parameter name, exactly as the writer spells numbers (digits, no sign, no
// leading zero), below `limit`; advances `pos` past it.
std::optional<std::size_t> NameNumber(std::string_view name, std::size_t& pos, std::size_t limit) {
    const std::size_t start = pos;
    std::size_t value = 0;
    for (; pos < name.size() && name[pos] >= '0' && name[pos] <= '9'; ++pos) {
        value = value * 10 + static_cast<std::size_t>(name[pos] - '0');
        if (value >= limit || (pos > start && name[start] == '0'))
            return std::nullopt;
    }
    if (pos == start)
        return std::nullopt;
    return value;
}

// The values of the menus and items "Misc" calls for ("MStyle-%d", "IStyle-%d" and "I%d-%d"),
// gathered in one pass over the table rather than looked up one by one.
struct StoredValues {
    std::vector<const std::string*> menuStyles;
    std::vector<const std::string*> looks;
    std::vector<const std::string*> items; // by position in the full walk
};

void GatherItemValue(std::string_view name, const std::string& value, const Outline& outline,
                     const std::vector<std::size_t>& firstItem, StoredValues& values) {
    std::size_t pos = 1;
    const auto menu = NameNumber(name, pos, outline.itemCounts.size());
    if (!menu || pos >= name.size() || name[pos] != '-')
        return;
    const auto position = NameNumber(name, ++pos, outline.itemCounts[*menu] + 1);
    if (position && *position > 0 && pos == name.size())
        values.items[firstItem[*menu] + *position - 1] = &value;
}

StoredValues GatherValues(const CTesselMap& table, const Outline& outline) {
    const std::size_t m = outline.itemCounts.size();
    StoredValues values{std::vector<const std::string*>(m), std::vector<const std::string*>(m),
                        std::vector<const std::string*>(outline.totalItems)};
    std::vector<std::size_t> firstItem(m);
    for (std::size_t i = 1; i < m; ++i)
        firstItem[i] = firstItem[i - 1] + outline.itemCounts[i - 1];
    table.ForEach([&](const std::string& name, const std::string& value) {
        std::vector<const std::string*>* styles = name.starts_with("MStyle-")   ? &values.menuStyles
                                                  : name.starts_with("IStyle-") ? &values.looks
                                                                                : nullptr;
        std::size_t pos = std::string_view("MStyle-").size();
        if (styles == nullptr) {
            if (name.starts_with('I'))
                GatherItemValue(name, value, outline, firstItem, values);
        } else if (const auto i = NameNumber(name, pos, m); i && pos == name.size()) {
            (*styles)[*i] = &value;
        }
    });
    return values;
}

bool Present(const std::string* value) {
    return value != nullptr && !value->empty();
}

// The menus in the order "Misc" numbers them. Each is handed to its owning item as that item is
// read, so the slots of sub-menus end up empty and only the top-level menus stay.
struct TreeUnderConstruction {
    std::vector<std::unique_ptr<CFurlin>> menus;
    std::vector<CFurlin*> menuAt;
    std::vector<std::size_t> subMenuOfItem;
    std::size_t nextItem = 0;
};

bool ReadMenu(const StoredValues& values, std::size_t i, std::size_t itemCount,
              const std::string& folder, TreeUnderConstruction& tree) {
    if (!Present(values.menuStyles[i]) || !Present(values.looks[i]))
        return false;
    CFurlin& menu = *tree.menuAt[i];
    foldline::ReadStoredValue<kMenuFields>(menu, *values.menuStyles[i], folder);
    foldline::ReadStoredLooks(menu, *values.looks[i]);
    for (std::size_t k = 0; k < itemCount; ++k) {
        const std::size_t j = tree.nextItem++;
        if (!Present(values.items[j]))
            return false;
        const std::size_t sub = tree.subMenuOfItem[j];
        auto item =
            std::make_unique<CFurlinItem>(sub == kNoMenu ? nullptr : std::move(tree.menus[sub]));
        foldline::ReadStoredValue<kItemFields>(*item, *values.items[j], folder);
        menu.AddItem(std::move(item), false);
    }
    return true;
}

bool ReadMenus(const CTesselMap& table, const Outline& outline, const std::string& folder,
               TreeUnderConstruction& tree) {
    const StoredValues values = GatherValues(table, outline);
    const std::size_t m = outline.itemCounts.size();
    tree.menus.reserve(m);
    tree.menuAt.reserve(m);
    for (std::size_t i = 0; i < m; ++i) {
        tree.menus.push_back(std::make_unique<CFurlin>("Menu"));
        tree.menuAt.push_back(tree.menus.back().get());
    }
    for (std::size_t i = 0; i < m; ++i)
        if (!ReadMenu(values, i, outline.itemCounts[i], folder, tree))
            return false;
    return true;
}

} // namespace

void encoders::WriteParameters(CAppletParameters& applet, CTesselFile& document) {
    const std::vector<CFurlin*> menus = applet.NumberMenus(false);
    std::size_t count = 4 + 2 * menus.size(); // "Version", "ApStyle", "Misc", "WebStyle", styles
    for (const CFurlin* menu : menus)
        count += menu->Items().size();
    Parameters parameters;
    parameters.reserve(count);
    parameters.emplace_back("Version", "1.1");
    std::string value;
    foldline::AppendStoredValue<kAppletFields>(value, applet);
    parameters.emplace_back("ApStyle", value);
    for (const CFurlin* menu : menus)
        WriteMenu(parameters, *menu, value);
    parameters.emplace_back("Misc", MiscValue(menus, applet.Menus()));
    // Written only when set, so a widget that leaves them alone keeps the file it always had.
    value.clear();
    foldline::AppendStoredValue<kAppletFields, Rows::WebStyle>(value, applet);
    if (value != DefaultWebStyle())
        parameters.emplace_back(kWebStyle, value);
    document.ClearParameters();
    document.SetParameters(std::move(parameters));
}

bool encoders::ReadParameters(CAppletParameters& applet, CTesselFile& document,
                              const std::string& folder) {
    const CTesselMap& table = document.Parameters();
    const std::string* apStyle = table.Find("ApStyle");
    foldline::ReadStoredValue<kAppletFields>(applet, apStyle ? *apStyle : std::string_view(),
                                             folder);
    // Without the entry the settings keep the defaults Reset gave them.
    if (const std::string* webStyle = table.Find(kWebStyle))
        foldline::ReadStoredValue<kAppletFields, Rows::WebStyle>(applet, *webStyle, folder);

    Outline outline;
    const OutlineState state = ReadOutline(table, outline);
    if (state != OutlineState::Read)
        return state == OutlineState::NoMenus;
    // A damaged table leaves no menus: nothing is attached before every menu and item is read.
    TreeUnderConstruction tree;
    if (!PlanTree(outline, tree.subMenuOfItem) || !ReadMenus(table, outline, folder, tree))
        return false;
    for (const Link& link : outline.links)
        if (link.item < 0)
            applet.AddMenu(std::move(tree.menus[link.menu]), false);
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
