#include "CColorButton.h"

#include "Prompts.h"

#include <QPainter>

QColor ColorFromRef(COLORREF color) {
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

COLORREF RefFromColor(const QColor& color) {
    return COLORREF(color.red() & 0xFF) | COLORREF(color.green() & 0xFF) << 8 |
           COLORREF(color.blue() & 0xFF) << 16;
}

CColorButton::CColorButton(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(false);
}

void CColorButton::SetColor(COLORREF color) {
    const COLORREF shown = color & 0x00FFFFFF;
    const bool changed = shown != m_color;
    m_color = shown;
    update();
    if (changed)
        emit ColorChanged();
}

bool CColorButton::ChooseColor() {
    QColor color = ColorFromRef(m_color);
    if (!ui::prompts().pickColor || !ui::prompts().pickColor(this, &color) || !color.isValid())
        return false;
    SetColor(RefFromColor(color));
    return true;
}

QSize CColorButton::sizeHint() const {
    return QSize(48, 24);
}

void CColorButton::paintEvent(QPaintEvent*) {
    if (!isEnabled())
        return;
    QPainter painter(this);
    const QRect full = rect();
    const QRect swatch = full.adjusted(kInset, kInset, -kInset, -kInset);
    painter.fillRect(swatch, ColorFromRef(m_color));

    const QColor topLeft = isDown() ? Qt::black : Qt::white;
    const QColor bottomRight = Qt::black;
    const int w = full.width();
    const int h = full.height();
    painter.fillRect(0, 0, w, kEdge, topLeft);
    painter.fillRect(0, 0, kEdge, h, topLeft);
    painter.fillRect(0, h - kEdge, w, kEdge, bottomRight);
    painter.fillRect(w - kEdge, 0, kEdge, h, bottomRight);

    if (hasFocus() && swatch.width() > 1 && swatch.height() > 1) {
        // Dotted in the inverse of the swatch so it shows on any colour.
        QPen pen(ColorFromRef(~m_color & 0x00FFFFFF), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    }
}
