#include "CTreeShape.h"

#include "CNodeMap.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <functional>

namespace {

// Every node below node (itself included) with its place, in tree order.
void Walk(QTreeWidgetItem* node, TreePath& path,
          const std::function<void(QTreeWidgetItem*, const TreePath&)>& visit) {
    visit(node, path);
    for (int i = 0; i < node->childCount(); ++i) {
        path.push_back(i);
        Walk(node->child(i), path, visit);
        path.pop_back();
    }
}

} // namespace

CTreeShape::CTreeShape(QTreeWidget& tree) : QObject(&tree), m_tree(tree) {}

void CTreeShape::Open(const CExpansionMemory* memory) {
    m_initial.clear();
    m_open.clear();
    QTreeWidgetItem* root = CNodeMap::NodeAt(m_tree, {});
    if (!root)
        return;
    TreePath path;
    Walk(root, path, [this](QTreeWidgetItem* node, const TreePath& at) {
        m_initial.emplace_back(at, CNodeMap::IdOf(node));
    });
    if (memory && memory->known) {
        for (const TreePath& open : memory->expanded)
            if (QTreeWidgetItem* node = CNodeMap::NodeAt(m_tree, open))
                Expand(node, true);
        return;
    }
    Expand(root, true);
    for (int i = 0; i < root->childCount(); ++i)
        Expand(root->child(i), true);
}

void CTreeShape::Remember(CExpansionMemory& memory, bool kept) {
    Sync();
    memory.known = true;
    memory.expanded.clear();
    if (!kept) {
        for (const auto& [path, id] : m_initial)
            if (IsOpen(id))
                memory.expanded.push_back(path);
        return;
    }
    if (QTreeWidgetItem* root = CNodeMap::NodeAt(m_tree, {})) {
        TreePath path;
        Walk(root, path, [&](QTreeWidgetItem* node, const TreePath& at) {
            if (node->isExpanded())
                memory.expanded.push_back(at);
        });
    }
}

std::vector<int> CTreeShape::Ids() const {
    std::vector<int> ids;
    for (QTreeWidgetItemIterator it(&m_tree); *it; ++it)
        ids.push_back(CNodeMap::IdOf(*it));
    return ids;
}

void CTreeShape::Adopt(const std::vector<int>& ids) {
    std::size_t i = 0;
    for (QTreeWidgetItemIterator it(&m_tree); *it && i < ids.size(); ++it, ++i)
        CNodeMap::SetId(*it, ids[i]);
    for (QTreeWidgetItemIterator it(&m_tree); *it; ++it)
        if (IsOpen(CNodeMap::IdOf(*it)))
            (*it)->setExpanded(true);
}

void CTreeShape::CarryOver(const QTreeWidgetItem* from, QTreeWidgetItem* to, bool replaces) {
    if (!from || !to)
        return;
    const bool open = IsOpen(CNodeMap::IdOf(from));
    if (replaces)
        CNodeMap::SetId(to, CNodeMap::IdOf(from));
    const int children = std::min(from->childCount(), to->childCount());
    for (int i = 0; i < children; ++i)
        CarryOver(from->child(i), to->child(i), replaces);
    Expand(to, open);
}

void CTreeShape::Reopen(QTreeWidgetItem* node) {
    TreePath path;
    Walk(node, path, [this](QTreeWidgetItem* at, const TreePath&) {
        if (IsOpen(CNodeMap::IdOf(at)))
            at->setExpanded(true);
    });
}

void CTreeShape::Sync() {
    for (QTreeWidgetItemIterator it(&m_tree); *it; ++it)
        Expand(*it, (*it)->isExpanded());
}

void CTreeShape::Expand(QTreeWidgetItem* node, bool open) {
    const int id = CNodeMap::IdOf(node);
    if (open)
        m_open.insert(id);
    else
        m_open.erase(id);
    if (node->isExpanded() != open)
        node->setExpanded(open);
}
