#include "CLinkLabel.h"

#include "HostServices.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QUrl>

CLinkLabel::CLinkLabel(const QString& text, const QString& target, QWidget* parent)
    : QLabel(text, parent), m_target(target) {
    setTextFormat(Qt::PlainText);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::ArrowCursor);
    ApplyColor();
}

QColor CLinkLabel::CurrentColor() const {
    return m_hovered ? QColor(255, 0, 0) : QColor(0, 0, 255);
}

void CLinkLabel::ApplyColor() {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, CurrentColor());
    setPalette(p);
}

bool CLinkLabel::Open() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool opened = host::services().openUrl(QUrl::fromUserInput(m_target));
    QGuiApplication::restoreOverrideCursor();
    if (opened)
        m_visited = true;
    ApplyColor();
    return opened;
}

void CLinkLabel::enterEvent(QEnterEvent* event) {
    m_hovered = true;
    ApplyColor();
    QLabel::enterEvent(event);
}

void CLinkLabel::leaveEvent(QEvent* event) {
    m_hovered = false;
    ApplyColor();
    QLabel::leaveEvent(event);
}

void CLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Open();
    QLabel::mouseReleaseEvent(event);
}
