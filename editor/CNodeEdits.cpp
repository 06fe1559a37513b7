#include "CNodeEdits.h"

#include "QtText.h"

#include "CDlgConfig.h"
#include "CEditSession.h"
#include "CFurlin.h"
#include "CNodeMap.h"
#include "MenuOutline.h"
#include "Prompts.h"
#include "TreeClipboard.h"

#include <QTreeWidgetItem>

#include <algorithm>

namespace {

const QString kMessageTitle = QStringLiteral("Quillary Foldline");

QString DeleteQuestion(NodeKind kind) {
    return kind == NodeKind::TopMenu
               ? QStringLiteral("Are you sure to delete this top-level Foldline?")
           : kind == NodeKind::BranchItem
               ? QStringLiteral("Are you sure to delete this item and it's sub menu?")
               : QStringLiteral("Are you sure to delete this item?");
}

} // namespace

CNodeEdits::CNodeEdits(CDlgConfig& dialog, CNodeMap& nodes) : m_dialog(dialog), m_nodes(nodes) {}

CEditSession& CNodeEdits::Session() const {
    return *m_dialog.Session();
}

// ---- insert, delete, show and move --------------------------------------------------------------

bool CNodeEdits::InsertChild(QTreeWidgetItem* node) {
    if (CNodeMap::KindOf(node) == NodeKind::Root) {
        m_nodes.AddMenuNode(node, Session().Model().InsertNewMenu(), 0);
    } else {
        // The new item's own empty sub-menu lies one level below the menu that takes it.
        if (CNodeMap::ItemOf(node) && CNodeMap::MenuLevelOf(node) + 1 > kMaxDepth)
            return false;
        m_nodes.AddItemNode(node, ChildMenuOf(node)->InsertNewItem(), 0);
        m_nodes.UpdateItemIcon(node);
    }
    node->setExpanded(true);
    m_dialog.SelectNode(node->child(0));
    return true;
}

bool CNodeEdits::InsertAfter(QTreeWidgetItem* node) {
    QTreeWidgetItem* parent = node->parent();
    if (!parent)
        return false;
    const int index = parent->indexOfChild(node) + 1;
    QTreeWidgetItem* added = nullptr;
    if (CNodeMap::MenuOf(node)) {
        CAppletParameters& model = Session().Model();
        auto menu = std::make_unique<CFurlin>();
        if (const CFurlin* style = model.FindMenuAtDepth(0))
            menu->CopyStyle(*style);
        added = m_nodes.AddMenuNode(parent, InsertMenuAt(model, std::move(menu), index), index);
    } else {
        CFurlinItem* item =
            InsertItemAt(*CNodeMap::HoldingMenu(node), std::make_unique<CFurlinItem>(), index);
        added = m_nodes.AddItemNode(parent, item, index);
    }
    m_dialog.SelectNode(added);
    return true;
}

bool CNodeEdits::Delete(QTreeWidgetItem* node) {
    const NodeKind kind = CNodeMap::KindOf(node);
    if (kind == NodeKind::Root) {
        ui::showMessage(&m_dialog, kMessageTitle, QStringLiteral("Can't delete root!"),
                        ui::Icon::Stop);
        return false;
    }
    if (!ui::askOkCancel(&m_dialog, kMessageTitle, DeleteQuestion(kind), ui::Icon::Question))
        return false;

    // Nothing may store into the objects about to be destroyed.
    Session().Unbind();
    if (kind == NodeKind::TopMenu) {
        CFurlin* menu = CNodeMap::MenuOf(node);
        m_dialog.SelectNode(node->parent());
        Session().Model().DeleteMenu(menu);
        delete node;
    } else {
        if (kind == NodeKind::BranchItem)
            CNodeMap::ItemOf(node)->GetSubMenu()->DeleteAllItems();
        RemoveItemNode(node);
    }
    return true;
}

// A selected node hands the selection to its parent first, so the leaving page stores while its
// object still exists; bindings into the removed sub-tree are cleared.
void CNodeEdits::RemoveItemNode(QTreeWidgetItem* node) {
    QTreeWidgetItem* parent = node->parent();
    CFurlin* holding = CNodeMap::HoldingMenu(node);
    CFurlinItem* item = CNodeMap::ItemOf(node);
    if (!parent || !holding || !item)
        return;
    if (node == m_dialog.SelectedNode())
        m_dialog.SelectNode(parent);
    Session().ReleaseInside(*item);
    holding->DeleteItem(item);
    m_nodes.UpdateItemIcon(parent);
    delete node;
}

bool CNodeEdits::ToggleVisible(QTreeWidgetItem* node) {
    int* flag = nullptr;
    if (CFurlin* menu = CNodeMap::MenuOf(node))
        flag = &menu->Visible;
    else if (CFurlinItem* item = CNodeMap::ItemOf(node))
        flag = &item->Visible;
    if (!flag)
        return false;
    *flag = *flag ? 0 : 1;
    m_nodes.SetNodeIcon(node, NodeIconFor(CNodeMap::KindOf(node), *flag != 0));
    return true;
}

bool CNodeEdits::Move(QTreeWidgetItem* node, bool up) {
    QTreeWidgetItem* parent = node->parent();
    if (!parent)
        return false;
    bool moved = false;
    if (CFurlin* menu = CNodeMap::MenuOf(node)) {
        CAppletParameters& model = Session().Model();
        moved = up ? model.MoveMenuUp(menu) : model.MoveMenuDown(menu);
    } else if (CFurlinItem* item = CNodeMap::ItemOf(node)) {
        CFurlin* holding = CNodeMap::HoldingMenu(node);
        moved = holding && (up ? holding->MoveItemUp(item) : holding->MoveItemDown(item));
    }
    if (!moved)
        return false;
    const int index = parent->indexOfChild(node);
    // The old node is still in place: before the previous sibling, or after the next one.
    const int at = up ? std::max(index - 1, 0) : index + 2;
    QTreeWidgetItem* rebuilt = CNodeMap::MenuOf(node)
                                   ? m_nodes.AddMenuNode(parent, CNodeMap::MenuOf(node), at)
                                   : m_nodes.AddItemNode(parent, CNodeMap::ItemOf(node), at);
    m_dialog.SelectNode(rebuilt);
    delete node;
    return true;
}

bool CNodeEdits::Relabel(QTreeWidgetItem* node, const QString& text) {
    CFurlinItem* item = CNodeMap::ItemOf(node);
    if (!item)
        return false;
    QString label = text;
    label.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    label.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const std::string stored = FromQt(label);
    if (stored == item->Label)
        return false;
    item->Label = stored;
    node->setText(0, label);
    return true;
}

// A leaf's empty sub-menu takes the style of the menus at the depth it gets, or else of the menu
// that holds the leaf. Null for a node that is no item.
CFurlin* CNodeEdits::SubMenuForNewChild(QTreeWidgetItem* node) {
    CFurlinItem* item = CNodeMap::ItemOf(node);
    if (!item)
        return nullptr;
    CFurlin* sub = item->GetSubMenu();
    CAppletParameters& model = Session().Model();
    CFurlin* source = model.FindMenuAtDepth(CNodeMap::MenuLevelOf(node) - 1);
    for (auto it = model.Menus().begin(); !source && it != model.Menus().end(); ++it)
        source = CAppletParameters::FindParentMenu(it->get(), item);
    if (source && source != sub)
        sub->CopyStyle(*source);
    return sub;
}

// The menu that takes a node's new children: a top-level menu itself, an item's sub-menu (a
// leaf's empty one styled first). Null for the root.
CFurlin* CNodeEdits::ChildMenuOf(QTreeWidgetItem* node) {
    switch (CNodeMap::KindOf(node)) {
    case NodeKind::TopMenu:
        return CNodeMap::MenuOf(node);
    case NodeKind::BranchItem:
        return CNodeMap::ItemOf(node)->GetSubMenu();
    case NodeKind::LeafItem:
        return SubMenuForNewChild(node);
    case NodeKind::Root:
        break;
    }
    return nullptr;
}

// ---- clipboard and outlines ---------------------------------------------------------------------

bool CNodeEdits::Cut(QTreeWidgetItem* node) {
    const CFurlinItem* item = CNodeMap::ItemOf(node);
    if (!item || !CopyItemToClipboard(*item))
        return false;
    RemoveItemNode(node);
    return true;
}

// The private block has priority; plain text is read as an outline.
bool CNodeEdits::Paste(QTreeWidgetItem* node) {
    if (CNodeMap::KindOf(node) == NodeKind::Root)
        return false;
    if (!ClipboardHasItem())
        return ClipboardHasOutline() && PasteOutline(node, ClipboardText());
    std::unique_ptr<CFurlinItem> fresh = ItemFromClipboard();
    if (!fresh)
        return false;
    // Refuse a paste that would make the tree deeper than readers accept.
    if (CNodeMap::MenuLevelOf(node) + LevelsOf(*fresh) > kMaxDepth)
        return false;
    std::vector<std::unique_ptr<CFurlinItem>> items;
    items.push_back(std::move(fresh));
    InsertFirstChildren(node, *ChildMenuOf(node), std::move(items));
    return true;
}

// Lines that would lie deeper than readers accept stay at the deepest level allowed.
bool CNodeEdits::PasteOutline(QTreeWidgetItem* node, const QString& text) {
    const std::vector<OutlineLine> lines = ReadOutline(FromQt(text));
    const int level = CNodeMap::MenuLevelOf(node);
    // Every item brings its own sub-menu one level below its line.
    const int deepest = kMaxDepth - level - 1;
    if (lines.empty() || deepest < 0)
        return false;
    auto items = BuildOutlineItems(lines, deepest);
    CFurlin* menu = ChildMenuOf(node);
    StyleNewSubMenus(Session().Model(), *menu, level - 1, items);
    InsertFirstChildren(node, *menu, std::move(items));
    return true;
}

// The items go first into the node's menu, in their order, and the first of them is selected.
void CNodeEdits::InsertFirstChildren(QTreeWidgetItem* node, CFurlin& menu,
                                     std::vector<std::unique_ptr<CFurlinItem>> items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int index = static_cast<int>(i);
        m_nodes.AddItemNode(node, InsertItemAt(menu, std::move(items[i]), index), index);
    }
    m_nodes.UpdateItemIcon(node);
    node->setExpanded(true);
    m_dialog.SelectNode(node->child(0));
}

// ---- drops and looks ----------------------------------------------------------------------------

bool CNodeEdits::CanDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target,
                         CConfigTree::DropPlace place) const {
    if (!dragged || !target || !dragged->parent())
        return false;
    for (const QTreeWidgetItem* up = target; up; up = up->parent())
        if (up == dragged)
            return false; // into its own sub-tree
    const bool into = place == CConfigTree::DropPlace::Into;
    if (CNodeMap::MenuOf(dragged))
        return into ? CNodeMap::KindOf(target) == NodeKind::Root
                    : CNodeMap::MenuOf(target) != nullptr;
    QTreeWidgetItem* parent = into ? target : target->parent();
    if (!parent || CNodeMap::KindOf(parent) == NodeKind::Root)
        return false;
    return CNodeMap::MenuLevelOf(parent) + LevelsOf(*CNodeMap::ItemOf(dragged)) <= kMaxDepth;
}

bool CNodeEdits::Drop(QTreeWidgetItem* dragged, QTreeWidgetItem* target,
                      CConfigTree::DropPlace place, bool copy) {
    const bool into = place == CConfigTree::DropPlace::Into;
    QTreeWidgetItem* parent = into ? target : target->parent();
    const int index =
        into ? parent->childCount()
             : parent->indexOfChild(target) + (place == CConfigTree::DropPlace::After ? 1 : 0);
    return CNodeMap::MenuOf(dragged) ? MoveMenuNode(dragged, index, copy)
                                     : MoveItemNode(dragged, parent, index, copy);
}

// The node lands as a copy at index among the top-level menus; a move then removes the original.
bool CNodeEdits::MoveMenuNode(QTreeWidgetItem* dragged, int index, bool copy) {
    CAppletParameters& model = Session().Model();
    CFurlin* menu = CNodeMap::MenuOf(dragged);
    QTreeWidgetItem* root = dragged->parent();
    const int from = root->indexOfChild(dragged);
    if (!copy && (index == from || index == from + 1))
        return false; // where it is already
    CFurlin* placed = InsertMenuAt(model, std::make_unique<CFurlin>(*menu), index);
    m_dialog.SelectNode(m_nodes.AddMenuNode(root, placed, index));
    if (copy)
        return true;
    for (const auto& item : menu->Items())
        Session().ReleaseInside(*item);
    model.DeleteMenu(menu);
    delete dragged;
    return true;
}

bool CNodeEdits::MoveItemNode(QTreeWidgetItem* dragged, QTreeWidgetItem* parent, int index,
                              bool copy) {
    if (!copy && dragged->parent() == parent) {
        const int from = parent->indexOfChild(dragged);
        if (index == from || index == from + 1)
            return false; // where it is already
    }
    CFurlin* menu = ChildMenuOf(parent);
    CFurlinItem* placed =
        InsertItemAt(*menu, std::make_unique<CFurlinItem>(*CNodeMap::ItemOf(dragged)), index);
    QTreeWidgetItem* node = m_nodes.AddItemNode(parent, placed, index);
    m_nodes.UpdateItemIcon(parent);
    parent->setExpanded(true);
    m_dialog.SelectNode(node);
    if (!copy)
        RemoveItemNode(dragged);
    return true;
}

bool CNodeEdits::ApplyLook(QTreeWidgetItem* node, LookScope scope) {
    // The look shown on the pages: of a top-level menu itself, else of the holding menu.
    QTreeWidgetItem* owner = CNodeMap::MenuOf(node) ? node : node->parent();
    const CFurlin* source =
        CNodeMap::MenuOf(node) ? CNodeMap::MenuOf(node) : CNodeMap::HoldingMenu(node);
    if (!source || !owner)
        return false;
    return ::ApplyLook(Session().Model(), *source, CNodeMap::MenuLevelOf(owner) - 1, scope) > 0;
}
