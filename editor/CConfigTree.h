// The configuration dialog's tree: dotted lines and plus-minus boxes whatever the widget style
// draws, item labels edited in place, and nodes dragged to another place. What an edit or a drop
// means is the owner's to decide.
#pragma once

#include <QString>
#include <QTreeWidget>

#include <functional>

class CConfigTree : public QTreeWidget {
    Q_OBJECT
public:
    enum class DropPlace { Before, After, Into };

    // The private drag format: the path of the dragged node.
    static constexpr const char* kNodeFormat = "application/x-quillary-foldline-node";

    explicit CConfigTree(QWidget* parent = nullptr);

    // Where a drop at pos (viewport coordinates) lands, as the drop indicator shows it: near a
    // node's top or bottom edge before or after it, elsewhere on it into it.
    QTreeWidgetItem* DropTargetAt(const QPoint& pos, DropPlace* place) const;
    // The node a drag carries; null for data of another kind.
    QTreeWidgetItem* DraggedNode(const QMimeData* data) const;
    // Whether data dragged to pos (viewport coordinates) with these keys held may land there,
    // and landing it; the view's drag and drop events come here.
    bool AcceptsDrag(const QMimeData* data, const QPoint& pos,
                     Qt::KeyboardModifiers modifiers) const;
    bool DropData(const QMimeData* data, const QPoint& pos, Qt::KeyboardModifiers modifiers);

    // Asked while a node is dragged over another and when it is dropped; copy when Ctrl is held.
    std::function<bool(QTreeWidgetItem* dragged, QTreeWidgetItem* target, DropPlace place,
                       bool copy)>
        canDrop;
    std::function<void(QTreeWidgetItem* dragged, QTreeWidgetItem* target, DropPlace place,
                       bool copy)>
        drop;
    // An in-place edit was confirmed with this text (LF line breaks).
    std::function<void(QTreeWidgetItem* node, const QString& text)> labelEdited;

protected:
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
        QTreeWidgetItem* dragged = nullptr;
        QTreeWidgetItem* target = nullptr;
        DropPlace place = DropPlace::Into;
        bool copy = false;
    };
    Drop DropOf(const QMimeData* data, const QPoint& pos, Qt::KeyboardModifiers modifiers) const;
    bool Allowed(const Drop& drop) const;
    bool StartedHere(const QDropEvent* event) const;
};
