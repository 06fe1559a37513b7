#include "CNodeSelection.h"

#include <QTreeWidget>

#include <algorithm>
#include <unordered_set>

NodeList CNodeSelection::Targets(QTreeWidgetItem* current) const {
    const QList<QTreeWidgetItem*> selected = m_tree.selectedItems();
    if (selected.size() == 1)
        return {selected.front()};
    if (selected.isEmpty())
        return current ? NodeList{current} : NodeList{};
    return Outermost(NodeList(selected.begin(), selected.end()));
}

// One walk over the tree, so that a large selection costs no more than the tree.
NodeList CNodeSelection::Outermost(const NodeList& nodes) const {
    const std::unordered_set<const QTreeWidgetItem*> wanted(nodes.begin(), nodes.end());
    NodeList found;
    NodeList pending;
    for (int i = m_tree.topLevelItemCount() - 1; i >= 0; --i)
        pending.push_back(m_tree.topLevelItem(i));
    while (!pending.empty() && found.size() < wanted.size()) {
        QTreeWidgetItem* node = pending.back();
        pending.pop_back();
        if (wanted.count(node)) {
            found.push_back(node);
            continue;
        }
        for (int i = node->childCount() - 1; i >= 0; --i)
            pending.push_back(node->child(i));
    }
    return found;
}

void CNodeSelection::SelectOnly(QTreeWidget& tree, QTreeWidgetItem* node) {
    if (!node)
        return;
    // The view's own way sets the anchor; it selects by the keys held, so the selection is made
    // exact afterwards.
    tree.setCurrentItem(node);
    const QList<QTreeWidgetItem*> selected = tree.selectedItems();
    if (selected.size() != 1 || selected.front() != node)
        tree.setCurrentItem(node, 0, QItemSelectionModel::ClearAndSelect);
}

void CNodeSelection::Select(const NodeList& nodes, QTreeWidgetItem* current) {
    if (!current)
        return;
    if (std::find(nodes.begin(), nodes.end(), current) != nodes.end()) {
        SelectOnly(m_tree, current);
    } else {
        // A current node the author moved to without selecting it stays unselected.
        m_tree.clearSelection();
        m_tree.setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    }
    for (QTreeWidgetItem* node : nodes)
        if (node != current)
            node->setSelected(true);
}

QTreeWidgetItem* CNodeSelection::Successor(QTreeWidgetItem* current, const NodeList& going) {
    const std::unordered_set<const QTreeWidgetItem*> gone(going.begin(), going.end());
    QTreeWidgetItem* holder = nullptr;
    for (QTreeWidgetItem* up = current; up; up = up->parent())
        if (gone.count(up))
            holder = up;
    if (!holder)
        return current;
    QTreeWidgetItem* parent = holder->parent();
    if (!parent)
        return nullptr;
    const int index = parent->indexOfChild(holder);
    for (int i = index + 1; i < parent->childCount(); ++i)
        if (!gone.count(parent->child(i)))
            return parent->child(i);
    for (int i = index - 1; i >= 0; --i)
        if (!gone.count(parent->child(i)))
            return parent->child(i);
    return parent;
}
