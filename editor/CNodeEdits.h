// Edits of the configuration dialog's tree that change the model and the nodes together:
// inserting, deleting, hiding, moving, relabelling, cutting and pasting, dropping and copying a
// look. Each answers whether the model changed, which the dialog makes one undo step; nodes
// about to go hand the selection on first, so the leaving page stores while its object exists.
#pragma once

#include "CConfigTree.h"
#include "MenuTreeEdits.h"

#include <memory>
#include <vector>

class CDlgConfig;
class CEditSession;
class CNodeMap;
class QString;
class QTreeWidgetItem;

class CNodeEdits {
public:
    CNodeEdits(CDlgConfig& dialog, CNodeMap& nodes);

    // A new top-level menu under the root, else a new first item in the node's menu.
    bool InsertChild(QTreeWidgetItem* node);
    // A new item after the node in the same menu, a new top-level menu after a top-level menu.
    bool InsertAfter(QTreeWidgetItem* node);
    // After the author confirms; the root is never deleted.
    bool Delete(QTreeWidgetItem* node);
    bool ToggleVisible(QTreeWidgetItem* node);
    bool Move(QTreeWidgetItem* node, bool up);
    // An item's label confirmed in place; line breaks are stored as CR LF.
    bool Relabel(QTreeWidgetItem* node, const QString& text);
    bool Cut(QTreeWidgetItem* node);
    // The clipboard's item (or else its outline) goes first into the node's menu.
    bool Paste(QTreeWidgetItem* node);
    bool CanDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target,
                 CConfigTree::DropPlace place) const;
    bool Drop(QTreeWidgetItem* dragged, QTreeWidgetItem* target, CConfigTree::DropPlace place,
              bool copy);
    // Copies the look of the node's menu (a top-level menu's own) to every menu of the scope.
    bool ApplyLook(QTreeWidgetItem* node, LookScope scope);

private:
    CEditSession& Session() const;
    CFurlin* SubMenuForNewChild(QTreeWidgetItem* node);
    CFurlin* ChildMenuOf(QTreeWidgetItem* node);
    void RemoveItemNode(QTreeWidgetItem* node);
    bool PasteOutline(QTreeWidgetItem* node, const QString& text);
    void InsertFirstChildren(QTreeWidgetItem* node, CFurlin& menu,
                             std::vector<std::unique_ptr<CFurlinItem>> items);
    bool MoveMenuNode(QTreeWidgetItem* dragged, int index, bool copy);
    bool MoveItemNode(QTreeWidgetItem* dragged, QTreeWidgetItem* parent, int index, bool copy);

    CDlgConfig& m_dialog;
    CNodeMap& m_nodes;
};
