#include "NodeIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

NodeKind NodeKindOfIcon(int icon) {
    switch (icon) {
    case kIconTopMenu:
    case kIconTopMenuHidden:
        return NodeKind::TopMenu;
    case kIconBranch:
    case kIconBranchHidden:
        return NodeKind::BranchItem;
    case kIconLeaf:
    case kIconLeafHidden:
        return NodeKind::LeafItem;
    default:
        return NodeKind::Root;
    }
}

int NodeIconFor(NodeKind kind, bool visible) {
    switch (kind) {
    case NodeKind::Root:
        return kIconRoot;
    case NodeKind::TopMenu:
        return visible ? kIconTopMenu : kIconTopMenuHidden;
    case NodeKind::BranchItem:
        return visible ? kIconBranch : kIconBranchHidden;
    case NodeKind::LeafItem:
        return visible ? kIconLeaf : kIconLeafHidden;
    }
    return kIconRoot;
}

namespace {

QPixmap blank(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Hidden nodes are drawn washed out with a small red stroke in the corner.
void markHidden(QPainter& p) {
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.fillRect(0, 0, 16, 16, QColor(255, 255, 255, 150));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(QPen(QColor(200, 0, 0), 1.6));
    p.drawLine(QPointF(10.5, 10.5), QPointF(15, 15));
    p.drawLine(QPointF(15, 10.5), QPointF(10.5, 15));
}

} // namespace

QPixmap NodeIconPixmap(int icon) {
    QPixmap pixmap = blank(16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor outline(40, 40, 40);
    switch (NodeKindOfIcon(icon)) {
    case NodeKind::Root: // a small page with a menu bar
        p.setPen(outline);
        p.setBrush(QColor(250, 250, 250));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.fillRect(QRectF(2, 2, 12, 3), QColor(30, 90, 200));
        p.fillRect(QRectF(3, 7, 4, 6), QColor(120, 170, 240));
        break;
    case NodeKind::TopMenu: // a bar of three stacked entries
        p.setPen(outline);
        p.setBrush(QColor(240, 190, 60));
        for (int i = 0; i < 3; ++i)
            p.drawRect(QRectF(1.5, 1.5 + i * 4.5, 13, 3.5));
        break;
    case NodeKind::BranchItem: // an entry with an arrow to its sub-menu
        p.setPen(outline);
        p.setBrush(QColor(90, 170, 90));
        p.drawRect(QRectF(1.5, 4.5, 9, 7));
        p.setBrush(outline);
        p.drawPolygon(QPolygonF({QPointF(11.5, 4.5), QPointF(15, 8), QPointF(11.5, 11.5)}));
        break;
    case NodeKind::LeafItem: // a single entry
        p.setPen(outline);
        p.setBrush(QColor(120, 160, 220));
        p.drawRect(QRectF(2.5, 4.5, 11, 7));
        break;
    }
    if (icon == kIconTopMenuHidden || icon == kIconBranchHidden || icon == kIconLeafHidden)
        markHidden(p);
    return pixmap;
}

namespace {

const QColor kInk(40, 40, 40);

// A sheet of paper with ruled lines.
void DrawSheet(QPainter& p, const QRectF& r, const QColor& fill) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(fill);
    p.drawRect(r);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    for (qreal y = r.top() + 5; y < r.bottom() - 2; y += 4)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void DrawArrow(QPainter& p, bool up) {
    p.setPen(QPen(QColor(20, 60, 20), 1.5));
    p.setBrush(QColor(110, 190, 110));
    const QPolygonF shape =
        up ? QPolygonF({QPointF(16, 4), QPointF(28, 16), QPointF(21, 16), QPointF(21, 28),
                        QPointF(11, 28), QPointF(11, 16), QPointF(4, 16)})
           : QPolygonF({QPointF(16, 28), QPointF(28, 16), QPointF(21, 16), QPointF(21, 4),
                        QPointF(11, 4), QPointF(11, 16), QPointF(4, 16)});
    p.drawPolygon(shape);
}

void DrawPlus(QPainter& p, const QPointF& centre) {
    p.setPen(QPen(QColor(20, 130, 20), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(0, -6), centre + QPointF(0, 6));
    p.drawLine(centre + QPointF(-6, 0), centre + QPointF(6, 0));
}

void DrawCut(QPainter& p) {
    p.setPen(QPen(kInk, 2));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(10, 4), QPointF(20, 20));
    p.drawLine(QPointF(22, 4), QPointF(12, 20));
    p.setPen(QPen(QColor(200, 40, 40), 2.5));
    p.drawEllipse(QPointF(10, 24), 4.5, 4.5);
    p.drawEllipse(QPointF(22, 24), 4.5, 4.5);
}

void DrawPaste(QPainter& p) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(190, 140, 70));
    p.drawRoundedRect(QRectF(4, 5, 20, 24), 2, 2);
    p.setBrush(QColor(160, 160, 160));
    p.drawRect(QRectF(10, 2, 8, 5));
    DrawSheet(p, QRectF(13, 12, 15, 18), QColor(255, 255, 255));
}

void DrawCross(QPainter& p, const QColor& color, qreal width, const QRectF& box) {
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(box.topLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomLeft());
}

} // namespace

QPixmap ButtonIconPixmap(ButtonIcon icon, int size) {
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    switch (icon) {
    case ButtonIcon::Cut:
        DrawCut(p);
        break;
    case ButtonIcon::Copy:
        DrawSheet(p, QRectF(4, 3, 16, 20), QColor(255, 255, 255));
        DrawSheet(p, QRectF(12, 9, 16, 20), QColor(255, 255, 230));
        break;
    case ButtonIcon::Paste:
        DrawPaste(p);
        break;
    case ButtonIcon::Insert:
        DrawSheet(p, QRectF(4, 6, 18, 22), QColor(255, 255, 255));
        DrawPlus(p, QPointF(24, 10));
        break;
    case ButtonIcon::InsertAfter: // a sheet with a new one below it
        DrawSheet(p, QRectF(3, 2, 18, 13), QColor(255, 255, 255));
        DrawSheet(p, QRectF(3, 17, 18, 13), QColor(230, 255, 230));
        DrawPlus(p, QPointF(25, 23));
        break;
    case ButtonIcon::Delete:
        DrawSheet(p, QRectF(4, 6, 18, 22), QColor(255, 255, 255));
        DrawCross(p, QColor(200, 30, 30), 3.5, QRectF(18, 4, 11, 11));
        break;
    case ButtonIcon::MoveUp:
    case ButtonIcon::MoveDown:
        DrawArrow(p, icon == ButtonIcon::MoveUp);
        break;
    case ButtonIcon::Ok:
        p.setPen(QPen(QColor(20, 140, 40), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(5, 17), QPointF(13, 25), QPointF(27, 7)}));
        break;
    case ButtonIcon::Cancel:
        DrawCross(p, QColor(200, 30, 30), 5, QRectF(7, 7, 18, 18));
        break;
    }
    return pixmap;
}
