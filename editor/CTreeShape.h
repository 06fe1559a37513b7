// The configuration tree's shape as the author leaves it: which nodes are open. A node keeps its
// expansion whatever edit builds it again (a move, a drop, undo and redo), because what is kept
// is the node's identity (CNodeMap::IdOf), not the node; between two dialogs of one widget the
// open nodes are kept by their place, in the session owner's memory.
#pragma once

#include "ExpansionMemory.h"

#include <QObject>

#include <unordered_set>
#include <utility>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

class CTreeShape : public QObject {
    Q_OBJECT
public:
    explicit CTreeShape(QTreeWidget& tree);

    // The first shape of a tree just built: as the memory keeps it, or else the root and the
    // top-level menus open. The places are remembered as they are now, for a dialog cancelled.
    void Open(const CExpansionMemory* memory);
    // Writes the open nodes into the memory: the tree's own when the edits are kept, else those
    // open at the places the tree had when it opened, as the edits are undone.
    void Remember(CExpansionMemory& memory, bool kept);

    // The identities of every node in tree order, root first.
    std::vector<int> Ids() const;
    // A tree built again from a model whose nodes had these identities, in tree order: the nodes
    // take them back, and with them their expansion.
    void Adopt(const std::vector<int>& ids);
    // A node built for a copy of another node's object (same shape below): it takes the old
    // node's identities when it replaces it, else fresh ones, and opens what was open there.
    void CarryOver(const QTreeWidgetItem* from, QTreeWidgetItem* to, bool replaces);
    // Opens what was open in the node's sub-tree before the node was taken out and put back.
    void Reopen(QTreeWidgetItem* node);
    // Takes in what the author opened and closed since: runs before an edit changes the nodes.
    void Sync();

    bool IsOpen(int id) const { return m_open.count(id) != 0; }

private:
    void Expand(QTreeWidgetItem* node, bool open);

    QTreeWidget& m_tree;
    // Kept for nodes gone as well, so a node that undo brings back opens as it was.
    std::unordered_set<int> m_open;
    // Every node's place and identity when the tree was opened.
    std::vector<std::pair<TreePath, int>> m_initial;
};
