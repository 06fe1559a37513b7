#include "HostIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace host {
namespace {

void Page(QPainter& p) {
    p.setPen(QColor(64, 64, 64));
    p.setBrush(Qt::white);
    p.drawPolygon(
        QPolygon({QPoint(3, 1), QPoint(9, 1), QPoint(12, 4), QPoint(12, 13), QPoint(3, 13)}));
    p.drawPolyline(QPolygon({QPoint(9, 1), QPoint(9, 4), QPoint(12, 4)}));
}

} // namespace

QIcon ProgramIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 230, 250));
    p.drawRoundedRect(1, 1, 30, 30, 5, 5);
    p.setBrush(QColor(0, 0, 255));
    p.drawRect(5, 6, 22, 5);
    p.setBrush(QColor(90, 90, 200));
    p.drawRect(9, 13, 18, 4);
    p.drawRect(9, 19, 18, 4);
    p.setBrush(QColor(0, 0, 255));
    p.drawRect(5, 25, 22, 4);
    return QIcon(pixmap);
}

QIcon ToolbarIcon(ToolbarImage image) {
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    switch (image) {
    case ToolbarImage::New:
        Page(p);
        break;
    case ToolbarImage::Open:
        p.setPen(QColor(120, 90, 0));
        p.setBrush(QColor(240, 200, 80));
        p.drawPolygon(QPolygon({QPoint(1, 3), QPoint(6, 3), QPoint(7, 5), QPoint(14, 5),
                                QPoint(14, 13), QPoint(1, 13)}));
        break;
    case ToolbarImage::Save:
        p.setPen(QColor(30, 30, 90));
        p.setBrush(QColor(60, 60, 160));
        p.drawRect(1, 1, 13, 12);
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 7, 5);
        p.drawRect(4, 9, 7, 4);
        break;
    case ToolbarImage::SaveAsTemplate:
        Page(p);
        p.setPen(QColor(0, 0, 255));
        for (int y = 6; y <= 11; y += 2)
            p.drawLine(5, y, 10, y);
        break;
    case ToolbarImage::Configure:
        p.setPen(QColor(64, 64, 64));
        for (int x : {3, 8, 13})
            p.drawLine(x, 1, x, 13);
        p.setBrush(QColor(0, 0, 255));
        p.drawRect(1, 8, 4, 3);
        p.drawRect(6, 3, 4, 3);
        p.drawRect(11, 9, 4, 3);
        break;
    case ToolbarImage::Preview: {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(40, 40, 40));
        p.setBrush(Qt::white);
        QPainterPath eye;
        eye.moveTo(1, 7);
        eye.quadTo(8, 0, 15, 7);
        eye.quadTo(8, 14, 1, 7);
        p.drawPath(eye);
        p.setBrush(QColor(0, 0, 255));
        p.drawEllipse(QPoint(8, 7), 3, 3);
        break;
    }
    }
    return QIcon(pixmap);
}

} // namespace host
