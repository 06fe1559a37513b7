// The configuration dialog's tree and the model objects its nodes show: nodes built for objects,
// their icons, and a node's object, kind and place, which is its object's place in the model.
#pragma once

#include "MenuTreeEdits.h"
#include "NodeIcons.h"

#include <QIcon>

#include <array>

class QTreeWidget;
class QTreeWidgetItem;

class CNodeMap {
public:
    explicit CNodeMap(QTreeWidget& tree);

    // The root node of a model with a node for every menu and item below it.
    QTreeWidgetItem* AddRootNode(CAppletParameters& model);
    // A node for the object and for everything below it, at index among the parent's children
    // (-1: last).
    QTreeWidgetItem* AddMenuNode(QTreeWidgetItem* parent, CFurlin* menu, int index);
    QTreeWidgetItem* AddItemNode(QTreeWidgetItem* parent, CFurlinItem* item, int index);
    void SetNodeIcon(QTreeWidgetItem* node, int icon);
    // An item node shows a branch or a leaf by whether its sub-menu holds items now.
    void UpdateItemIcon(QTreeWidgetItem* node);
    // An item node's second column shows the item's link as it is now.
    static void ShowLink(QTreeWidgetItem* node);

    QTreeWidgetItem* RootNode() const;
    QTreeWidgetItem* NodeAt(const TreePath& path) const { return NodeAt(m_tree, path); }
    // The node at the path below the tree's root; null where the path names no node.
    static QTreeWidgetItem* NodeAt(const QTreeWidget& tree, const TreePath& path);

    // What a node carries; the object getters answer nullptr for a node of another kind.
    static int NodeIconIndex(const QTreeWidgetItem* node);
    static NodeKind KindOf(const QTreeWidgetItem* node);
    static CFurlin* MenuOf(const QTreeWidgetItem* node);
    static CFurlinItem* ItemOf(const QTreeWidgetItem* node);
    static TreePath PathOf(const QTreeWidgetItem* node);
    // The menu whose items hold a node's item: the parent's menu or the parent item's sub-menu.
    static CFurlin* HoldingMenu(const QTreeWidgetItem* node);
    // The level of the menu that holds a node's children: 1 for a top-level menu's items, one
    // more for each item above. It is the node's number of ancestors.
    static int MenuLevelOf(const QTreeWidgetItem* node);

    // Every node built here gets an identity of its own. A node built again for the same object
    // (after a drop or an undo) may take the old node's identity, so what the tree remembers of
    // a node, such as whether it is open, follows it.
    static int IdOf(const QTreeWidgetItem* node);
    static void SetId(QTreeWidgetItem* node, int id);

private:
    QTreeWidgetItem* NewNode(void* object, const std::string& text);

    QTreeWidget& m_tree;
    std::array<QIcon, kNodeIconCount> m_icons;
    int m_nextId = 1;
};
