// The clipboard as the tree's commands use it: an item travels in the dialog's own format and,
// for other programs, as an outline of its labels; plain text from elsewhere reads as an outline.
#pragma once

#include <QString>

#include <memory>

class CFurlinItem;

inline constexpr const char* kItemClipboardFormat = "QuillaryFoldline1.1";

// Puts the item in both forms; false when it has no byte form.
bool CopyItemToClipboard(const CFurlinItem& item);
bool ClipboardHasItem();
// Whether the clipboard holds text that is more than white space.
bool ClipboardHasOutline();
// The item in the dialog's format; null when there is none or its bytes do not read.
std::unique_ptr<CFurlinItem> ItemFromClipboard();
QString ClipboardText();
