// The configuration dialog's tree: dotted lines and plus-minus boxes whatever the widget style
// draws, item labels edited in place, nodes dragged to another place (several at once) and rows
// highlighted for the owner. What an edit or a drop means is the owner's to decide.
#pragma once

#include <QString>
#include <QTreeWidget>

#include <functional>
#include <vector>

class CConfigTree : public QTreeWidget {
    Q_OBJECT
public:
    enum class DropPlace { Before, After, Into };

    // The private drag format: the paths of the dragged nodes, each its indices joined by ","
    // and the paths joined by ";".
    static constexpr const char* kNodeFormat = "application/x-quillary-foldline-node";
    using Nodes = std::vector<QTreeWidgetItem*>;

    explicit CConfigTree(QWidget* parent = nullptr);

    // Where a drop at pos (viewport coordinates) lands, as the drop indicator shows it: near a
    // node's top or bottom edge before or after it, elsewhere on it into it.
    QTreeWidgetItem* DropTargetAt(const QPoint& pos, DropPlace* place) const;
    // The nodes a drag carries; none for data of another kind or naming a node not here.
    Nodes DraggedNodes(const QMimeData* data) const;
    // Whether data dragged to pos (viewport coordinates) with these keys held may land there,
    // and landing it; the view's drag and drop events come here.
    bool AcceptsDrag(const QMimeData* data, const QPoint& pos,
                     Qt::KeyboardModifiers modifiers) const;
    bool DropData(const QMimeData* data, const QPoint& pos, Qt::KeyboardModifiers modifiers);

    // Asked while nodes are dragged over another and when they are dropped; copy when Ctrl is
    // held.
    std::function<bool(const Nodes& dragged, QTreeWidgetItem* target, DropPlace place, bool copy)>
        canDrop;
    std::function<void(const Nodes& dragged, QTreeWidgetItem* target, DropPlace place, bool copy)>
        drop;
    // An in-place edit was confirmed with this text (LF line breaks).
    std::function<void(QTreeWidgetItem* node, const QString& text)> labelEdited;
    // Rows drawn with a highlight behind them.
    std::function<bool(const QTreeWidgetItem* node)> highlighted;

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    Qt::DropActions supportedDropActions() const override;

private:
    struct Drop {
        Nodes dragged;
        QTreeWidgetItem* target = nullptr;
        DropPlace place = DropPlace::Into;
        bool copy = false;
    };
    Drop DropOf(const QMimeData* data, const QPoint& pos, Qt::KeyboardModifiers modifiers) const;
    bool Allowed(const Drop& drop) const;
    bool StartedHere(const QDropEvent* event) const;
};
