// The clipboard as the tree's commands use it: an item travels in the dialog's own format and,
// for other programs, as an outline of its labels; plain text from elsewhere reads as an outline.
// Several items travel in a list format of their own beside the first item's block.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class CFurlinItem;

inline constexpr const char* kItemClipboardFormat = "QuillaryFoldline1.1";
inline constexpr const char* kItemListClipboardFormat = "application/x-quillary-foldline-items";

// Puts the item in both forms; false when it has no byte form.
bool CopyItemToClipboard(const CFurlinItem& item);
// Puts the items, in their order, in every form; false when one has no byte form.
bool CopyItemsToClipboard(const std::vector<const CFurlinItem*>& items);
// Whether the clipboard holds items in the dialog's own forms.
bool ClipboardHasItem();
// Whether the clipboard holds text that is more than white space.
bool ClipboardHasOutline();
// The item in the dialog's format; null when there is none or its bytes do not read.
std::unique_ptr<CFurlinItem> ItemFromClipboard();
// The items of the list format, else the one item; none when the bytes do not all read.
std::vector<std::unique_ptr<CFurlinItem>> ItemsFromClipboard();

// The list format's bytes: each item's byte form after its length in decimal digits and ":".
QByteArray ItemListBytes(const std::vector<std::string>& blocks);
// The item blocks of a list; none when the bytes are not such a list.
std::vector<std::string> ItemListBlocks(const QByteArray& bytes);
QString ClipboardText();
