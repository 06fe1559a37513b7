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

QPixmap ButtonIconPixmap(ButtonIcon icon, int size) {
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    const QColor ink(40, 40, 40);
    auto sheet = [&p, &ink](const QRectF& r, const QColor& fill) {
        p.setPen(QPen(ink, 1.5));
        p.setBrush(fill);
        p.drawRect(r);
        p.setPen(QPen(QColor(150, 150, 150), 1));
        for (qreal y = r.top() + 5; y < r.bottom() - 2; y += 4)
            p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
    };
    auto arrow = [&p](bool up, const QColor& fill) {
        p.setPen(QPen(QColor(20, 60, 20), 1.5));
        p.setBrush(fill);
        const QPolygonF shape =
            up ? QPolygonF({QPointF(16, 4), QPointF(28, 16), QPointF(21, 16), QPointF(21, 28),
                            QPointF(11, 28), QPointF(11, 16), QPointF(4, 16)})
               : QPolygonF({QPointF(16, 28), QPointF(28, 16), QPointF(21, 16), QPointF(21, 4),
                            QPointF(11, 4), QPointF(11, 16), QPointF(4, 16)});
        p.drawPolygon(shape);
    };
    switch (icon) {
    case ButtonIcon::Cut:
        p.setPen(QPen(ink, 2));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(10, 4), QPointF(20, 20));
        p.drawLine(QPointF(22, 4), QPointF(12, 20));
        p.setPen(QPen(QColor(200, 40, 40), 2.5));
        p.drawEllipse(QPointF(10, 24), 4.5, 4.5);
        p.drawEllipse(QPointF(22, 24), 4.5, 4.5);
        break;
    case ButtonIcon::Copy:
        sheet(QRectF(4, 3, 16, 20), QColor(255, 255, 255));
        sheet(QRectF(12, 9, 16, 20), QColor(255, 255, 230));
        break;
    case ButtonIcon::Paste:
        p.setPen(QPen(ink, 1.5));
        p.setBrush(QColor(190, 140, 70));
        p.drawRoundedRect(QRectF(4, 5, 20, 24), 2, 2);
        p.setBrush(QColor(160, 160, 160));
        p.drawRect(QRectF(10, 2, 8, 5));
        sheet(QRectF(13, 12, 15, 18), QColor(255, 255, 255));
        break;
    case ButtonIcon::Insert:
        sheet(QRectF(4, 6, 18, 22), QColor(255, 255, 255));
        p.setPen(QPen(QColor(20, 130, 20), 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(24, 4), QPointF(24, 16));
        p.drawLine(QPointF(18, 10), QPointF(30, 10));
        break;
    case ButtonIcon::Delete:
        sheet(QRectF(4, 6, 18, 22), QColor(255, 255, 255));
        p.setPen(QPen(QColor(200, 30, 30), 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(18, 4), QPointF(29, 15));
        p.drawLine(QPointF(29, 4), QPointF(18, 15));
        break;
    case ButtonIcon::MoveUp:
        arrow(true, QColor(110, 190, 110));
        break;
    case ButtonIcon::MoveDown:
        arrow(false, QColor(110, 190, 110));
        break;
    case ButtonIcon::Ok:
        p.setPen(QPen(QColor(20, 140, 40), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(5, 17), QPointF(13, 25), QPointF(27, 7)}));
        break;
    case ButtonIcon::Cancel:
        p.setPen(QPen(QColor(200, 30, 30), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 7), QPointF(25, 25));
        p.drawLine(QPointF(25, 7), QPointF(7, 25));
        break;
    }
    return pixmap;
}
