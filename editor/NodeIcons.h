// The editor's own artwork, drawn at run time: the tree's node icons and the dialog's button icons.
#pragma once

#include <QIcon>
#include <QPixmap>

// Index of a node icon in the tree; the index alone tells what kind of node it is.
enum NodeIcon : int {
    kIconRoot = 0,
    kIconTopMenu = 1,
    kIconTopMenuHidden = 2,
    kIconBranch = 3,
    kIconBranchHidden = 4,
    kIconLeaf = 5,
    kIconLeafHidden = 6,
    kNodeIconCount = 7,
};

enum class NodeKind { Root, TopMenu, BranchItem, LeafItem };

NodeKind NodeKindOfIcon(int icon);
// The icon a node gets: kind and its Visible flag (the root ignores the flag).
int NodeIconFor(NodeKind kind, bool visible);

// A 16x16 icon with a transparent background.
QPixmap NodeIconPixmap(int icon);

enum class ButtonIcon {
    Cut,
    Copy,
    Paste,
    Insert,
    InsertAfter,
    Delete,
    MoveUp,
    MoveDown,
    Ok,
    Cancel
};
// A square icon with a transparent background.
QPixmap ButtonIconPixmap(ButtonIcon icon, int size = 32);
