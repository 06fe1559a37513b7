// The widgets the benchmarks measure.
#pragma once

#include "CAppletParameters.h"

#include <deque>
#include <memory>
#include <string>

// `count` items, ten to a menu, filled breadth first so the tree is wide and shallow like real
// widgets; each with a link and one of 50 images in imageFolder (ending with "/").
inline void BuildWidget(CAppletParameters& applet, int count,
                        const std::string& imageFolder = "/site/") {
    std::deque<CFurlin*> open{applet.InsertNewMenu()};
    int made = 0;
    while (made < count) {
        CFurlin* menu = open.front();
        open.pop_front();
        for (int i = 0; i < 10 && made < count; ++i, ++made) {
            auto item = std::make_unique<CFurlinItem>();
            item->Label = "Item, number " + std::to_string(made);
            item->Link = "http://example.test/page" + std::to_string(made) + ".htm";
            item->NormalImage = imageFolder + "img" + std::to_string(made % 50) + ".gif";
            item->NormalImageWebPath = "img/";
            open.push_back(item->GetSubMenu());
            menu->AddItem(std::move(item), false);
        }
    }
}
