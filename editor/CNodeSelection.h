// Several nodes selected at once (Shift and Ctrl with clicks and arrows): what the tree's
// commands act on, and where the selection goes when nodes go. The pages show the current node,
// the one selected last.
#pragma once

#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

using NodeList = std::vector<QTreeWidgetItem*>;

class CNodeSelection {
public:
    explicit CNodeSelection(QTreeWidget& tree) : m_tree(tree) {}

    // The selected nodes, or the current node alone when none is selected, as Outermost gives
    // them.
    NodeList Targets(QTreeWidgetItem* current) const;
    // The nodes in tree order, without those inside another one's sub-tree: they go with it.
    NodeList Outermost(const NodeList& nodes) const;
    // Selects exactly these nodes and makes current the current node; current is selected only
    // when it is among them.
    void Select(const NodeList& nodes, QTreeWidgetItem* current);
    // Selects the node alone, and makes it where Shift with a click or an arrow extends from.
    static void SelectOnly(QTreeWidget& tree, QTreeWidgetItem* node);

    // Where the selection goes when these nodes (outermost) go with their sub-trees: current
    // itself when it stays, else the next sibling that stays of the going node holding it, else
    // the nearest previous one, else its parent.
    static QTreeWidgetItem* Successor(QTreeWidgetItem* current, const NodeList& going);

private:
    QTreeWidget& m_tree;
};
