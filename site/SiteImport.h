// A first menu from a site folder: one top-level menu whose items follow the folder tree.
#pragma once

#include "SiteFolder.h"

#include <memory>
#include <string>
#include <vector>

class CAppletParameters;
class CFurlin;

namespace site {

// A folder becomes an item with a sub-menu, linked to its index page when it has one; each page
// an item labelled by its <title>, else its file name, linked by its site path. In each menu the
// index page comes first, then everything by name. False with the reason for a site without
// pages.
bool MenuFromSite(const SiteListing& listing, std::unique_ptr<CFurlin>& menu, std::string& reason);

// Puts `menus` in place of the model's menus. Each new menu takes the look of the menu that was
// first at its depth, so a widget keeps its style; the applet-wide settings stay.
void ReplaceMenus(CAppletParameters& model, std::vector<std::unique_ptr<CFurlin>> menus);

} // namespace site
