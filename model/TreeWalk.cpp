#include "TreeWalk.h"

#include <cstddef>

namespace foldline {

bool AcceptsMenu(const CFurlin& menu, bool visibleOnly) {
    return !visibleOnly || (menu.Visible != 0 && menu.GetItemCount(false) > 0);
}

std::vector<CFurlin*> NumberedMenus(const std::vector<std::unique_ptr<CFurlin>>& roots,
                                    bool visibleOnly) {
    std::vector<CFurlin*> order;
    std::vector<CFurlin*> pending;
    for (auto it = roots.rbegin(); it != roots.rend(); ++it)
        pending.push_back(it->get());
    while (!pending.empty()) {
        CFurlin* menu = pending.back();
        pending.pop_back();
        if (menu == nullptr || !AcceptsMenu(*menu, visibleOnly))
            continue;
        menu->Number = static_cast<int>(order.size());
        order.push_back(menu);
        const auto& items = menu->Items();
        for (auto it = items.rbegin(); it != items.rend(); ++it)
            if (AcceptsItem(**it, visibleOnly))
                pending.push_back((*it)->GetSubMenu());
    }
    return order;
}

std::string EscapeCommas(const std::string& text) {
    return ReplaceAll(text, ",", kCommaEscape);
}

std::string EscapeLabel(const std::string& text) {
    return EscapeCommas(ReplaceAll(text, "\r\n", kLineBreakEscape));
}

std::string Unescape(const std::string& token, char separator) {
    return ReplaceAll(ReplaceAll(token, kCommaEscape, std::string(1, separator)), kLineBreakEscape,
                      "\r\n");
}

} // namespace foldline
