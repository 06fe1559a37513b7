#include "CNodeEdits.h"

#include "QtText.h"

#include "CDlgConfig.h"
#include "CEditSession.h"
#include "CFurlin.h"
#include "CNodeMap.h"
#include "CTreeShape.h"
#include "MenuOutline.h"
#include "Prompts.h"
#include "TreeClipboard.h"

#include <QCoreApplication>
#include <QSignalBlocker>
#include <QTreeWidgetItem>

#include <algorithm>
#include <unordered_set>

namespace {

const QString kMessageTitle = QStringLiteral("Quillary Foldline");

struct Text {
    Q_DECLARE_TR_FUNCTIONS(CNodeEdits)
};

QString DeleteQuestion(const NodeList& nodes) {
    if (nodes.size() > 1)
        return Text::tr("Are you sure to delete these %n nodes and everything under them?", nullptr,
                        int(nodes.size()));
    const NodeKind kind = CNodeMap::KindOf(nodes.front());
    return kind == NodeKind::TopMenu ? Text::tr("Are you sure to delete this top-level Foldline?")
           : kind == NodeKind::BranchItem
               ? Text::tr("Are you sure to delete this item and it's sub menu?")
               : Text::tr("Are you sure to delete this item?");
}

bool AllItems(const NodeList& nodes) {
    return !nodes.empty() && std::all_of(nodes.begin(), nodes.end(), [](QTreeWidgetItem* node) {
        return CNodeMap::ItemOf(node) != nullptr;
    });
}

// Whether the nodes lie side by side under parent and landing at index leaves them there.
bool AlreadyThere(const NodeList& nodes, QTreeWidgetItem* parent, int index) {
    const int from = parent->indexOfChild(nodes.front());
    for (std::size_t i = 0; i < nodes.size(); ++i)
        if (from < 0 || parent->indexOfChild(nodes[i]) != from + int(i))
            return false;
    return index >= from && index <= from + int(nodes.size());
}

} // namespace

CNodeEdits::CNodeEdits(CDlgConfig& dialog, CNodeMap& nodes, CTreeShape& shape,
                       CNodeSelection& selection)
    : m_dialog(dialog), m_nodes(nodes), m_shape(shape), m_selection(selection) {}

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

bool CNodeEdits::Delete(const NodeList& targets) {
    NodeList nodes;
    for (QTreeWidgetItem* node : targets)
        if (CNodeMap::KindOf(node) != NodeKind::Root)
            nodes.push_back(node);
    if (nodes.empty()) {
        ui::showMessage(&m_dialog, kMessageTitle, Text::tr("Can't delete root!"), ui::Icon::Stop);
        return false;
    }
    if (!ui::askOkCancel(&m_dialog, kMessageTitle, DeleteQuestion(nodes), ui::Icon::Question))
        return false;
    // The page was stored before; Remove moves the selection off the going nodes and each one
    // releases a binding into it, so the page stays bound to the node still shown.
    Remove(nodes);
    return true;
}

// The selection goes to the node that follows first, so no page is left showing a node that
// is gone; then the nodes go with their objects.
void CNodeEdits::Remove(const NodeList& nodes) {
    QTreeWidgetItem* current = m_dialog.SelectedNode();
    QTreeWidgetItem* next = CNodeSelection::Successor(current, nodes);
    if (next && next != current)
        m_dialog.SelectNode(next);
    for (QTreeWidgetItem* node : nodes)
        Discard(node);
}

void CNodeEdits::Discard(QTreeWidgetItem* node) {
    QTreeWidgetItem* parent = node->parent();
    if (CFurlin* menu = CNodeMap::MenuOf(node)) {
        for (const auto& item : menu->Items())
            Session().ReleaseInside(*item);
        Session().Model().DeleteMenu(menu);
    } else if (CFurlinItem* item = CNodeMap::ItemOf(node)) {
        CFurlin* holding = CNodeMap::HoldingMenu(node);
        if (!holding)
            return;
        Session().ReleaseInside(*item);
        holding->DeleteItem(item);
        m_nodes.UpdateItemIcon(parent);
    } else {
        return;
    }
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

bool CNodeEdits::Move(const NodeList& nodes, bool up) {
    NodeList order = nodes;
    if (!up)
        std::reverse(order.begin(), order.end());
    std::unordered_set<const QTreeWidgetItem*> held;
    bool moved = false;
    for (QTreeWidgetItem* node : order) {
        QTreeWidgetItem* parent = node->parent();
        const int index = parent ? parent->indexOfChild(node) : -1;
        QTreeWidgetItem* neighbour = parent ? parent->child(up ? index - 1 : index + 1) : nullptr;
        if (!neighbour || held.count(neighbour) || !MoveOne(node, up)) {
            held.insert(node);
            continue;
        }
        moved = true;
    }
    if (moved)
        m_selection.Select(nodes, m_dialog.SelectedNode());
    return moved;
}

// The node itself changes places with its neighbour, its sub-tree and its expansion kept. The
// tree says nothing meanwhile: the selection it loses on the way is put back afterwards.
bool CNodeEdits::MoveOne(QTreeWidgetItem* node, bool up) {
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
    QTreeWidgetItem* parent = node->parent();
    const int index = parent->indexOfChild(node);
    const QSignalBlocker quiet(node->treeWidget());
    parent->takeChild(index);
    parent->insertChild(up ? index - 1 : index + 1, node);
    m_shape.Reopen(node);
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

bool CNodeEdits::Copy(const NodeList& nodes) const {
    if (!AllItems(nodes))
        return false;
    std::vector<const CFurlinItem*> items;
    for (QTreeWidgetItem* node : nodes)
        items.push_back(CNodeMap::ItemOf(node));
    return CopyItemsToClipboard(items);
}

bool CNodeEdits::Cut(const NodeList& nodes) {
    if (!Copy(nodes))
        return false;
    Remove(nodes);
    return true;
}

// The private blocks have priority; plain text is read as an outline.
bool CNodeEdits::Paste(QTreeWidgetItem* node) {
    if (CNodeMap::KindOf(node) == NodeKind::Root)
        return false;
    if (!ClipboardHasItem())
        return ClipboardHasOutline() && PasteOutline(node, ClipboardText());
    std::vector<std::unique_ptr<CFurlinItem>> items = ItemsFromClipboard();
    if (items.empty())
        return false;
    // Refuse a paste that would make the tree deeper than readers accept.
    for (const auto& item : items)
        if (CNodeMap::MenuLevelOf(node) + LevelsOf(*item) > kMaxDepth)
            return false;
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

// The items go first into the node's menu, in their order, and are selected, the first current.
void CNodeEdits::InsertFirstChildren(QTreeWidgetItem* node, CFurlin& menu,
                                     std::vector<std::unique_ptr<CFurlinItem>> items) {
    NodeList added;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int index = static_cast<int>(i);
        added.push_back(
            m_nodes.AddItemNode(node, InsertItemAt(menu, std::move(items[i]), index), index));
    }
    m_nodes.UpdateItemIcon(node);
    node->setExpanded(true);
    if (!added.empty())
        m_selection.Select(added, added.front());
}

// ---- drops and looks ----------------------------------------------------------------------------

bool CNodeEdits::CanDrop(const NodeList& dragged, QTreeWidgetItem* target,
                         CConfigTree::DropPlace place) const {
    if (dragged.empty())
        return false;
    const bool menus = CNodeMap::MenuOf(dragged.front()) != nullptr;
    return std::all_of(dragged.begin(), dragged.end(), [&](QTreeWidgetItem* node) {
        return (CNodeMap::MenuOf(node) != nullptr) == menus && CanDropOne(node, target, place);
    });
}

bool CNodeEdits::CanDropOne(QTreeWidgetItem* dragged, QTreeWidgetItem* target,
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

// The nodes land as copies side by side at the place, and are selected; a move then removes
// the originals, whose copies keep their identities and expansion.
bool CNodeEdits::Drop(const NodeList& dragged, QTreeWidgetItem* target,
                      CConfigTree::DropPlace place, bool copy) {
    const bool into = place == CConfigTree::DropPlace::Into;
    QTreeWidgetItem* parent = into ? target : target->parent();
    const int index =
        into ? parent->childCount()
             : parent->indexOfChild(target) + (place == CConfigTree::DropPlace::After ? 1 : 0);
    if (!copy && AlreadyThere(dragged, parent, index))
        return false;
    NodeList placed;
    for (QTreeWidgetItem* node : dragged)
        placed.push_back(PlaceCopy(node, parent, index + int(placed.size()), !copy));
    if (CNodeMap::ItemOf(parent))
        parent->setExpanded(true);
    m_selection.Select(placed, placed.back());
    if (!copy)
        for (QTreeWidgetItem* node : dragged)
            Discard(node);
    return true;
}

QTreeWidgetItem* CNodeEdits::PlaceCopy(QTreeWidgetItem* dragged, QTreeWidgetItem* parent, int index,
                                       bool replaces) {
    QTreeWidgetItem* node = nullptr;
    if (const CFurlin* menu = CNodeMap::MenuOf(dragged)) {
        CFurlin* placed = InsertMenuAt(Session().Model(), std::make_unique<CFurlin>(*menu), index);
        node = m_nodes.AddMenuNode(parent, placed, index);
    } else {
        CFurlinItem* placed = InsertItemAt(
            *ChildMenuOf(parent), std::make_unique<CFurlinItem>(*CNodeMap::ItemOf(dragged)), index);
        node = m_nodes.AddItemNode(parent, placed, index);
        m_nodes.UpdateItemIcon(parent);
    }
    m_shape.CarryOver(dragged, node, replaces);
    return node;
}

// Each source gives the look it had before any of them was copied; the current node's goes
// last, so it wins where scopes meet.
bool CNodeEdits::ApplyLook(const NodeList& nodes, LookScope scope) {
    NodeList order;
    QTreeWidgetItem* current = m_dialog.SelectedNode();
    for (QTreeWidgetItem* node : nodes)
        if (node != current)
            order.push_back(node);
    if (std::find(nodes.begin(), nodes.end(), current) != nodes.end())
        order.push_back(current);
    struct Source {
        const CFurlin* menu = nullptr;
        int depth = 0;
        CFurlin look;
    };
    std::vector<Source> sources(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        // The look shown on the pages: of a top-level menu itself, else of the holding menu.
        QTreeWidgetItem* node = order[i];
        const bool top = CNodeMap::MenuOf(node) != nullptr;
        sources[i].menu = top ? CNodeMap::MenuOf(node) : CNodeMap::HoldingMenu(node);
        sources[i].depth = CNodeMap::MenuLevelOf(top ? node : node->parent()) - 1;
        if (sources[i].menu)
            CopyLook(sources[i].look, *sources[i].menu);
    }
    int changed = 0;
    for (const Source& source : sources)
        if (source.menu)
            changed +=
                ::ApplyLook(Session().Model(), *source.menu, source.depth, scope, &source.look);
    return changed > 0;
}
