#include "CConfigTree.h"

#include "CNodeMap.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Edits a label in a one-line field; confirming hands the text to the tree's owner instead of
// writing it into the node, so the owner stores it into the model first.
class CLabelDelegate : public QStyledItemDelegate {
public:
    explicit CLabelDelegate(CConfigTree* tree) : QStyledItemDelegate(tree), m_tree(tree) {}

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            QString text = index.data(Qt::EditRole).toString();
            edit->setText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            edit->selectAll();
        }
    }
    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        auto* edit = qobject_cast<QLineEdit*>(editor);
        QTreeWidgetItem* node = m_tree->itemFromIndex(index);
        if (edit && node && m_tree->labelEdited)
            m_tree->labelEdited(node, edit->text());
    }

private:
    CConfigTree* m_tree;
};

// Behind the text, light or dark, the selection's colour thinned.
QColor HighlightColor(const QPalette& palette) {
    QColor colour = palette.color(QPalette::Highlight);
    colour.setAlpha(80);
    return colour;
}

bool HasNextSibling(const QTreeWidget* tree, const QModelIndex& i) {
    return i.sibling(i.row() + 1, 0).isValid() ||
           (!i.parent().isValid() && i.row() + 1 < tree->topLevelItemCount());
}

} // namespace

CConfigTree::CConfigTree(QWidget* parent) : QTreeWidget(parent) {
    setItemDelegate(new CLabelDelegate(this));
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

void CConfigTree::drawBranches(QPainter* painter, const QRect& rect,
                               const QModelIndex& index) const {
    const int indent = indentation();
    if (indent <= 0 || rect.width() <= 0)
        return;
    painter->save();
    painter->setPen(QPen(palette().color(QPalette::Dark), 1, Qt::DotLine));
    const int midY = rect.top() + rect.height() / 2;
    // This node's own column: the elbow, continued down when a sibling follows.
    int left = rect.right() + 1 - indent;
    const int midX = left + indent / 2;
    painter->drawLine(midX, midY, left + indent - 2, midY);
    painter->drawLine(midX, rect.top(), midX, HasNextSibling(this, index) ? rect.bottom() : midY);
    // Ancestors' columns: a through line where the ancestor has a later sibling.
    for (QModelIndex up = index.parent(); up.isValid() && left - indent >= rect.left();
         up = up.parent()) {
        left -= indent;
        if (HasNextSibling(this, up)) {
            const int x = left + indent / 2;
            painter->drawLine(x, rect.top(), x, rect.bottom());
        }
    }
    if (model()->hasChildren(index)) {
        const QRect box(midX - 4, midY - 4, 8, 8);
        painter->setPen(palette().color(QPalette::Dark));
        painter->setBrush(palette().color(QPalette::Base));
        painter->drawRect(box);
        painter->setPen(palette().color(QPalette::Text));
        painter->drawLine(box.left() + 2, midY, box.right() - 2, midY);
        if (!isExpanded(index))
            painter->drawLine(midX, box.top() + 2, midX, box.bottom() - 2);
    }
    painter->restore();
}

QTreeWidgetItem* CConfigTree::DropTargetAt(const QPoint& pos, DropPlace* place) const {
    QTreeWidgetItem* node = itemAt(pos);
    if (!node)
        return nullptr;
    // The same edge margin as the view's own drop indicator.
    const QRect rect = visualItemRect(node);
    const int margin = qBound(2, qRound(qreal(rect.height()) / 5.5), 12);
    if (pos.y() - rect.top() < margin)
        *place = DropPlace::Before;
    else if (rect.bottom() - pos.y() < margin)
        *place = DropPlace::After;
    else
        *place = DropPlace::Into;
    return node;
}

QStringList CConfigTree::mimeTypes() const {
    return {QString::fromLatin1(kNodeFormat)};
}

QMimeData* CConfigTree::mimeData(const QList<QTreeWidgetItem*>& items) const {
    QStringList paths;
    for (QTreeWidgetItem* item : items) {
        if (!item)
            return nullptr;
        QStringList path;
        for (int index : CNodeMap::PathOf(item))
            path << QString::number(index);
        paths << path.join(QLatin1Char(','));
    }
    if (paths.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kNodeFormat), paths.join(QLatin1Char(';')).toLatin1());
    return data;
}

CConfigTree::Nodes CConfigTree::DraggedNodes(const QMimeData* data) const {
    if (!data || !data->hasFormat(QString::fromLatin1(kNodeFormat)) || topLevelItemCount() == 0)
        return {};
    const QString text = QString::fromLatin1(data->data(QString::fromLatin1(kNodeFormat)));
    Nodes nodes;
    for (const QString& path : text.split(QLatin1Char(';'))) {
        TreePath at;
        bool ok = true;
        for (const QString& part : path.split(QLatin1Char(','), Qt::SkipEmptyParts))
            if (ok)
                at.push_back(part.toInt(&ok));
        QTreeWidgetItem* node = ok ? CNodeMap::NodeAt(*this, at) : nullptr;
        if (!node)
            return {};
        nodes.push_back(node);
    }
    return nodes;
}

Qt::DropActions CConfigTree::supportedDropActions() const {
    return Qt::MoveAction | Qt::CopyAction;
}

// The drop itself rebuilds nodes, so nothing is removed when the drag ends.
void CConfigTree::startDrag(Qt::DropActions) {
    QList<QTreeWidgetItem*> nodes = selectedItems();
    if (nodes.isEmpty() && currentItem())
        nodes << currentItem();
    for (const QTreeWidgetItem* node : nodes)
        if (!node->parent())
            return;
    QMimeData* data = mimeData(nodes);
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

void CConfigTree::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    if (highlighted && highlighted(itemFromIndex(index)))
        painter->fillRect(option.rect, HighlightColor(palette()));
    QTreeWidget::drawRow(painter, option, index);
}

CConfigTree::Drop CConfigTree::DropOf(const QMimeData* data, const QPoint& pos,
                                      Qt::KeyboardModifiers modifiers) const {
    Drop d;
    d.dragged = DraggedNodes(data);
    d.target = DropTargetAt(pos, &d.place);
    d.copy = modifiers & Qt::ControlModifier;
    return d;
}

bool CConfigTree::Allowed(const Drop& d) const {
    return !d.dragged.empty() && d.target && canDrop &&
           canDrop(d.dragged, d.target, d.place, d.copy);
}

bool CConfigTree::AcceptsDrag(const QMimeData* data, const QPoint& pos,
                              Qt::KeyboardModifiers modifiers) const {
    return Allowed(DropOf(data, pos, modifiers));
}

bool CConfigTree::DropData(const QMimeData* data, const QPoint& pos,
                           Qt::KeyboardModifiers modifiers) {
    const Drop d = DropOf(data, pos, modifiers);
    if (!Allowed(d) || !drop)
        return false;
    drop(d.dragged, d.target, d.place, d.copy);
    return true;
}

// The dragged path names a node of the tree the drag started in: from another program's tree it
// would name an unrelated node of this one.
bool CConfigTree::StartedHere(const QDropEvent* event) const {
    return event->source() == this;
}

void CConfigTree::dragEnterEvent(QDragEnterEvent* event) {
    if (StartedHere(event) && !DraggedNodes(event->mimeData()).empty())
        event->acceptProposedAction();
    else
        event->ignore();
}

// A refused place leaves the event ignored, and the pointer shows the refusal.
void CConfigTree::dragMoveEvent(QDragMoveEvent* event) {
    QTreeWidget::dragMoveEvent(event); // scrolls and places the drop indicator
    const bool copy = event->modifiers() & Qt::ControlModifier;
    if (StartedHere(event) &&
        AcceptsDrag(event->mimeData(), event->position().toPoint(), event->modifiers())) {
        event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void CConfigTree::dropEvent(QDropEvent* event) {
    const bool copy = event->modifiers() & Qt::ControlModifier;
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    if (StartedHere(event) &&
        DropData(event->mimeData(), event->position().toPoint(), event->modifiers())) {
        event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}
