#include "TreeWalk.h"

#include <climits>
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

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    if (from.empty())
        return text;
    std::string out;
    std::size_t start = 0;
    for (std::size_t pos; (pos = text.find(from, start)) != std::string::npos;
         start = pos + from.size()) {
        out.append(text, start, pos - start);
        out.append(to);
    }
    if (start == 0)
        return text;
    out.append(text, start, std::string::npos);
    return out;
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

long long LeadingInt64(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < LLONG_MAX / 20)
            value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

int LeadingInt(const std::string& text) {
    const long long value = LeadingInt64(text);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace foldline
