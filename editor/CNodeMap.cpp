#include "CNodeMap.h"

#include "QtText.h"

#include "CFurlin.h"

#include <QTreeWidget>

namespace {

constexpr int kObjectRole = Qt::UserRole + 1;
constexpr int kIdRole = Qt::UserRole + 2;

void* ObjectOf(const QTreeWidgetItem* node) {
    return node ? node->data(0, kObjectRole).value<void*>() : nullptr;
}

void Place(QTreeWidgetItem* parent, QTreeWidgetItem* node, int index) {
    if (index < 0)
        parent->addChild(node);
    else
        parent->insertChild(index, node);
}

} // namespace

CNodeMap::CNodeMap(QTreeWidget& tree) : m_tree(tree) {
    for (int i = 0; i < kNodeIconCount; ++i)
        m_icons[i] = QIcon(NodeIconPixmap(i));
}

QTreeWidgetItem* CNodeMap::NewNode(void* object, const std::string& text) {
    auto* node = new QTreeWidgetItem;
    node->setText(0, ToQt(text));
    node->setData(0, kObjectRole, QVariant::fromValue(object));
    SetId(node, m_nextId++);
    return node;
}

QTreeWidgetItem* CNodeMap::AddRootNode(CAppletParameters& model) {
    QTreeWidgetItem* root = NewNode(&model, model.Name);
    root->setFlags(root->flags() & ~Qt::ItemIsDragEnabled);
    SetNodeIcon(root, kIconRoot);
    for (const auto& menu : model.Menus())
        AddMenuNode(root, menu.get(), -1);
    m_tree.addTopLevelItem(root);
    return root;
}

QTreeWidgetItem* CNodeMap::AddMenuNode(QTreeWidgetItem* parent, CFurlin* menu, int index) {
    QTreeWidgetItem* node = NewNode(menu, menu->Name);
    SetNodeIcon(node, NodeIconFor(NodeKind::TopMenu, menu->Visible != 0));
    for (const auto& item : menu->Items())
        AddItemNode(node, item.get(), -1);
    Place(parent, node, index);
    return node;
}

QTreeWidgetItem* CNodeMap::AddItemNode(QTreeWidgetItem* parent, CFurlinItem* item, int index) {
    QTreeWidgetItem* node = NewNode(item, item->Label);
    node->setText(1, ToQt(item->Link));
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    const bool branch = !item->GetSubMenu()->Items().empty();
    SetNodeIcon(
        node, NodeIconFor(branch ? NodeKind::BranchItem : NodeKind::LeafItem, item->Visible != 0));
    for (const auto& child : item->GetSubMenu()->Items())
        AddItemNode(node, child.get(), -1);
    Place(parent, node, index);
    return node;
}

void CNodeMap::SetNodeIcon(QTreeWidgetItem* node, int icon) {
    node->setData(0, Qt::UserRole, icon);
    node->setIcon(0, m_icons[icon]);
}

void CNodeMap::UpdateItemIcon(QTreeWidgetItem* node) {
    if (const CFurlinItem* item = ItemOf(node)) {
        const bool branch = !item->GetSubMenu()->Items().empty();
        SetNodeIcon(node, NodeIconFor(branch ? NodeKind::BranchItem : NodeKind::LeafItem,
                                      item->Visible != 0));
    }
}

void CNodeMap::ShowLink(QTreeWidgetItem* node) {
    if (const CFurlinItem* item = ItemOf(node))
        node->setText(1, ToQt(item->Link));
}

QTreeWidgetItem* CNodeMap::RootNode() const {
    return NodeAt(m_tree, {});
}

QTreeWidgetItem* CNodeMap::NodeAt(const QTreeWidget& tree, const TreePath& path) {
    QTreeWidgetItem* node = tree.topLevelItemCount() > 0 ? tree.topLevelItem(0) : nullptr;
    for (int index : path)
        node = node ? node->child(index) : nullptr;
    return node;
}

int CNodeMap::NodeIconIndex(const QTreeWidgetItem* node) {
    return node ? node->data(0, Qt::UserRole).toInt() : -1;
}

NodeKind CNodeMap::KindOf(const QTreeWidgetItem* node) {
    return NodeKindOfIcon(NodeIconIndex(node));
}

CFurlin* CNodeMap::MenuOf(const QTreeWidgetItem* node) {
    return node && KindOf(node) == NodeKind::TopMenu ? static_cast<CFurlin*>(ObjectOf(node))
                                                     : nullptr;
}

CFurlinItem* CNodeMap::ItemOf(const QTreeWidgetItem* node) {
    if (!node)
        return nullptr;
    const NodeKind kind = KindOf(node);
    return kind == NodeKind::BranchItem || kind == NodeKind::LeafItem
               ? static_cast<CFurlinItem*>(ObjectOf(node))
               : nullptr;
}

TreePath CNodeMap::PathOf(const QTreeWidgetItem* node) {
    TreePath path;
    for (; node && node->parent(); node = node->parent())
        path.insert(path.begin(), node->parent()->indexOfChild(const_cast<QTreeWidgetItem*>(node)));
    return path;
}

CFurlin* CNodeMap::HoldingMenu(const QTreeWidgetItem* node) {
    const QTreeWidgetItem* parent = node ? node->parent() : nullptr;
    if (!parent)
        return nullptr;
    if (KindOf(parent) == NodeKind::TopMenu)
        return MenuOf(parent);
    const CFurlinItem* owner = ItemOf(parent);
    return owner ? owner->GetSubMenu() : nullptr;
}

int CNodeMap::MenuLevelOf(const QTreeWidgetItem* node) {
    int level = 0;
    for (const QTreeWidgetItem* p = node ? node->parent() : nullptr; p; p = p->parent())
        ++level;
    return level;
}

int CNodeMap::IdOf(const QTreeWidgetItem* node) {
    return node ? node->data(0, kIdRole).toInt() : 0;
}

void CNodeMap::SetId(QTreeWidgetItem* node, int id) {
    node->setData(0, kIdRole, id);
}
