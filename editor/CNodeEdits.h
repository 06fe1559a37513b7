// Edits of the configuration dialog's tree that change the model and the nodes together:
// inserting, deleting, hiding, moving, relabelling, cutting and pasting, dropping and copying a
// look, on one node or on several selected together. Each answers whether the model changed,
// which the dialog makes one undo step; nodes about to go hand the selection on first, so the
// leaving page stores while its object exists.
#pragma once

#include "CConfigTree.h"
#include "CNodeSelection.h"
#include "MenuTreeEdits.h"

#include <memory>
#include <vector>

class CDlgConfig;
class CEditSession;
class CNodeMap;
class CTreeShape;
class QString;
class QTreeWidgetItem;

class CNodeEdits {
public:
    CNodeEdits(CDlgConfig& dialog, CNodeMap& nodes, CTreeShape& shape, CNodeSelection& selection);

    // A new top-level menu under the root, else a new first item in the node's menu.
    bool InsertChild(QTreeWidgetItem* node);
    // A new item after the node in the same menu, a new top-level menu after a top-level menu.
    bool InsertAfter(QTreeWidgetItem* node);
    // After the author confirms, once for all of them; the root is never deleted. The nodes
    // are outermost and in tree order, as CNodeSelection gives them.
    bool Delete(const NodeList& nodes);
    bool ToggleVisible(QTreeWidgetItem* node);
    // Each node passes its neighbour; one that cannot (first up, last down) holds back the
    // selected nodes behind it.
    bool Move(const NodeList& nodes, bool up);
    // An item's label confirmed in place; line breaks are stored as CR LF.
    bool Relabel(QTreeWidgetItem* node, const QString& text);
    // Items only; false when a node is no item or has no byte form.
    bool Copy(const NodeList& nodes) const;
    bool Cut(const NodeList& nodes);
    // The clipboard's items (or else its outline) go first into the node's menu.
    bool Paste(QTreeWidgetItem* node);
    // All menus or all items, each allowed where it lands.
    bool CanDrop(const NodeList& dragged, QTreeWidgetItem* target,
                 CConfigTree::DropPlace place) const;
    bool Drop(const NodeList& dragged, QTreeWidgetItem* target, CConfigTree::DropPlace place,
              bool copy);
    // Copies the look of each node's menu (a top-level menu's own) to every menu of its scope;
    // the current node's look goes last, so it wins where scopes meet.
    bool ApplyLook(const NodeList& nodes, LookScope scope);

private:
    CEditSession& Session() const;
    CFurlin* SubMenuForNewChild(QTreeWidgetItem* node);
    CFurlin* ChildMenuOf(QTreeWidgetItem* node);
    void Remove(const NodeList& nodes);
    void Discard(QTreeWidgetItem* node);
    bool MoveOne(QTreeWidgetItem* node, bool up);
    bool PasteOutline(QTreeWidgetItem* node, const QString& text);
    void InsertFirstChildren(QTreeWidgetItem* node, CFurlin& menu,
                             std::vector<std::unique_ptr<CFurlinItem>> items);
    bool CanDropOne(QTreeWidgetItem* dragged, QTreeWidgetItem* target,
                    CConfigTree::DropPlace place) const;
    QTreeWidgetItem* PlaceCopy(QTreeWidgetItem* dragged, QTreeWidgetItem* parent, int index,
                               bool replaces);

    CDlgConfig& m_dialog;
    CNodeMap& m_nodes;
    CTreeShape& m_shape;
    CNodeSelection& m_selection;
};
