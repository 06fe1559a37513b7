// The main frame's commands as one table: where each is listed, its texts and keys, when it can
// be chosen and what it does. The frame builds its menus, tool bar and enabling from it.
#pragma once

#include "CMainFrame.h"

#include <span>

namespace main_frame {

// What a menu entry is preceded by.
enum class Before { Nothing, Separator, RecentFiles };
// When a command can be chosen.
enum class Enable { Always, WithWidget, WithFilesToCopy };

} // namespace main_frame

// One command of the main frame: where it is listed, its texts and keys, when it is enabled and
// what it does.
struct CMainFrame::CommandRow {
    CMainFrame::Command command;
    const char* menu;
    main_frame::Before before;
    const char* text;
    const char* prompt;   // the status-bar prompt; none when null
    const char* toolTip;  // none (the text stands in) when null
    const char* keys;     // in the portable form, several separated by "; "
    const char* shownKey; // how the menu names the key, where Qt's own name is not the usual one
    main_frame::Enable enable;
    // None for the two toggles of the View menu, which follow their bars.
    void (*handler)(CQuillaryToolApp& app);
    // For a setting that is on or off: whether it is on.
    bool (*checked)(const CQuillaryToolApp& app) = nullptr;
};

std::span<const CMainFrame::CommandRow> MainFrameCommands();
