// Edits of the menu tree that the configuration dialog needs beyond the model's own operations:
// placing a node at any position, measuring depth, and copying a menu's look to other menus.
#pragma once

#include "CAppletParameters.h"

#include <memory>
#include <string>
#include <vector>

// A node's position: the top-level menu's index, then item indices down through sub-menus.
// Empty for the root.
using TreePath = std::vector<int>;

// What a path names in a model: the top-level menu, or an item with the menu holding it. All
// null when the path leads nowhere.
struct PathTarget {
    CFurlin* topMenu = nullptr;
    CFurlin* holding = nullptr;
    CFurlinItem* item = nullptr;
};
PathTarget ResolvePath(const CAppletParameters& model, const TreePath& path);

// Every menu of the model in byte form: equal texts mean equal trees (applet fields aside).
std::string TreeBytes(const CAppletParameters& model);

// The number of items at every depth.
std::size_t CountItems(const CAppletParameters& model);

// Menu levels an item adds below the menu holding it, its own (possibly empty) sub-menu
// included: every menu counts, as the stored table keeps empty sub-menus too.
int LevelsOf(const CFurlinItem& item);

// Inserts at index (clamped to the list); returns the inserted object.
CFurlinItem* InsertItemAt(CFurlin& menu, std::unique_ptr<CFurlinItem> item, int index);
CFurlin* InsertMenuAt(CAppletParameters& model, std::unique_ptr<CFurlin> menu, int index);

// Gives the sub-menus of new items, before they go into holding (at holdingDepth), the style a
// new sub-menu takes: that of the first menu with items at its depth, else that of the menu
// holding it.
void StyleNewSubMenus(const CAppletParameters& model, const CFurlin& holding, int holdingDepth,
                      const std::vector<std::unique_ptr<CFurlinItem>>& items);

// A menu's look: its sizes, background and the three state looks; the menu keeps its name and
// the values it carries without editing them.
void CopyLook(CFurlin& to, const CFurlin& from);

enum class LookScope {
    SameDepth, // every menu at the source's depth
    Below,     // every sub-menu below the source
    All,       // every menu of the widget
};
// Copies the source's look (the source lies at depth, top-level menus at 0) to every menu of the
// scope but the source itself; returns how many menus changed. With look given, that menu's look
// is the one copied (the source's own, taken before other copies changed it).
int ApplyLook(CAppletParameters& model, const CFurlin& source, int depth, LookScope scope,
              const CFurlin* look = nullptr);
