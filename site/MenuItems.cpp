#include "MenuItems.h"

#include "CAppletParameters.h"
#include "Text.h"
#include "TreeWalk.h"

#include <vector>

namespace site {

namespace {

std::string LabelForPath(const CFurlinItem& item) {
    const std::string label(foldline::Trim(OneLine(item.Label)));
    return label.empty() ? "(no label)" : label;
}

} // namespace

std::string OneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            c = ' ';
    }
    return out;
}

void ForEachItem(const CAppletParameters& model,
                 const std::function<void(const ItemPlace&)>& visit) {
    // Without recursion: the menus open on the way down, each with its next item.
    struct Open {
        const CFurlin* menu;
        std::size_t next;
        std::string node;
        std::string path;
        bool shown;
    };
    const auto& menus = model.Menus();
    for (std::size_t t = 0; t < menus.size(); ++t) {
        std::vector<Open> open{
            {menus[t].get(), 0, std::to_string(t), {}, foldline::AcceptsMenu(*menus[t], true)}};
        while (!open.empty()) {
            Open& at = open.back();
            if (at.next == at.menu->Items().size()) {
                open.pop_back();
                continue;
            }
            const std::size_t index = at.next++;
            const CFurlinItem& item = *at.menu->Items()[index];
            std::string node = at.node + "." + std::to_string(index);
            std::string path =
                at.path.empty() ? LabelForPath(item) : at.path + " > " + LabelForPath(item);
            const bool shown = at.shown && foldline::AcceptsItem(item, true);
            visit({item, node, path, shown});
            const CFurlin* sub = item.GetSubMenu();
            if (sub && !sub->Items().empty())
                open.push_back({sub, 0, std::move(node), std::move(path),
                                shown && foldline::AcceptsMenu(*sub, true)});
        }
    }
}

} // namespace site
