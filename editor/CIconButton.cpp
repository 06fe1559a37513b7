#include "CIconButton.h"

#include <QEvent>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QToolTip>

CIconButton::CIconButton(QWidget* parent) : CIconButton(QString(), parent) {}

CIconButton::CIconButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAutoDefault(false);
    setMouseTracking(true);
}

void CIconButton::SetIcon(const QIcon& icon, quint8 width, quint8 height) {
    SetIcons(icon, icon, width, height);
}

void CIconButton::SetIcons(const QIcon& hoverIcon, const QIcon& normalIcon, quint8 width,
                           quint8 height) {
    m_hoverIcon = hoverIcon.isNull() ? normalIcon : hoverIcon;
    m_normalIcon = normalIcon.isNull() ? hoverIcon : normalIcon;
    m_iconWidth = width;
    m_iconHeight = height;
    updateGeometry();
    repaint();
}

void CIconButton::SetIconLayout(int layout) {
    m_iconLayout = layout == 1 ? 1 : 0;
    update();
}

void CIconButton::SetShowText(bool show) {
    m_showText = show;
    update();
}

void CIconButton::SetHoverBorder(bool on) {
    m_hoverBorder = on;
    update();
}

void CIconButton::SetFlat(bool flat) {
    m_flat = flat;
    if (!flat)
        SetHovering(false);
    update();
}

void CIconButton::SetHoverColors(const QColor& background, const QColor& text) {
    m_hoverBackground = background;
    m_hoverText = text;
    update();
}

QString CIconButton::ShownToolTip() const {
    if (m_keyHint.isEmpty() || toolTip().isEmpty())
        return toolTip();
    return QStringLiteral("%1 (%2)").arg(toolTip(), m_keyHint);
}

// The tooltip text itself stays as set (screen readers read it as the name); the keys are
// shown beside it.
bool CIconButton::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && !m_keyHint.isEmpty()) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), ShownToolTip(), this);
        return true;
    }
    return QPushButton::event(event);
}

QColor CIconButton::NormalBackground() const {
    return palette().color(QPalette::Button);
}
QColor CIconButton::NormalText() const {
    return palette().color(QPalette::ButtonText);
}
QColor CIconButton::HoverBackground() const {
    return m_hoverBackground.value_or(palette().color(QPalette::Button));
}
QColor CIconButton::HoverText() const {
    return m_hoverText.value_or(palette().color(QPalette::ButtonText));
}

bool CIconButton::HasCaption() const {
    return m_showText && !text().isEmpty();
}

QRect CIconButton::IconRect(const QRect& face) const {
    const int w = m_iconWidth;
    const int h = m_iconHeight;
    if (m_iconLayout == 1) {
        const int x = face.left() + (face.width() - w) / 2;
        const int y = HasCaption() ? face.top() : face.top() + (face.height() - h) / 2;
        return QRect(x, y, w, h);
    }
    if (HasCaption())
        return QRect(face.left() + 3, face.top() + (face.height() - h) / 2, w, h);
    return QRect(face.left() + (face.width() - w) / 2, face.top() + (face.height() - h) / 2, w, h);
}

QRect CIconButton::CaptionRect(const QRect& face) const {
    QRect area = face;
    if (m_iconLayout == 1)
        area.setTop(face.top() + m_iconHeight);
    else
        area.setLeft(face.left() + m_iconWidth + 3);
    return area;
}

QSize CIconButton::sizeHint() const {
    const QFontMetrics metrics(font());
    const int textWidth = HasCaption() ? metrics.horizontalAdvance(text()) + 12 : 0;
    const int textHeight = HasCaption() ? metrics.height() : 0;
    if (m_iconLayout == 1)
        return QSize(qMax(int(m_iconWidth), textWidth) + 8, m_iconHeight + textHeight + 8);
    return QSize(m_iconWidth + 3 + textWidth + 8, qMax(int(m_iconHeight), textHeight) + 8);
}

void CIconButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool pressed = isDown();
    const bool lit = m_hovering || pressed;
    const bool focused = hasFocus();
    QRect face = rect();

    if (!m_flat && focused) {
        painter.setPen(Qt::black);
        painter.drawRect(face.adjusted(0, 0, -1, -1));
        face.adjust(1, 1, -1, -1);
    }
    painter.fillRect(face, lit ? HoverBackground() : NormalBackground());
    PaintEdges(painter, face, pressed);
    PaintContent(painter, face, lit, pressed);

    if (focused && !m_flat) {
        QPen pen(lit ? HoverText() : NormalText(), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const QRect r = rect().adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

void CIconButton::PaintEdges(QPainter& painter, const QRect& face, bool pressed) const {
    // Lines are drawn on the outermost pixel rows and columns of r.
    auto edge = [&painter](const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
        painter.fillRect(r.left(), r.top(), r.width(), 1, topLeft);
        painter.fillRect(r.left(), r.top(), 1, r.height(), topLeft);
        painter.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
        painter.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
    };
    const QPalette& pal = palette();
    const QColor highlight = pal.color(QPalette::Light);
    const QColor light = pal.color(QPalette::Midlight);
    const QColor shadow = pal.color(QPalette::Dark);
    const QColor darkShadow = pal.color(QPalette::Shadow);
    if (pressed) {
        if (!m_flat)
            edge(face, shadow, shadow);
        else if (m_hoverBorder)
            edge(face, shadow, highlight);
    } else if (!m_flat) {
        edge(face, highlight, darkShadow);
        edge(face.adjusted(1, 1, -1, -1), light, shadow);
    } else if (m_hovering && m_hoverBorder) {
        edge(face, highlight, shadow);
    }
}

void CIconButton::PaintContent(QPainter& painter, const QRect& face, bool lit, bool pressed) const {
    const bool enabled = isEnabled();
    const QIcon& icon = lit ? m_hoverIcon : m_normalIcon;
    if (!icon.isNull() && m_iconWidth > 0 && m_iconHeight > 0) {
        QRect target = IconRect(face);
        if (pressed)
            target.translate(1, 1);
        const QPixmap pixmap = icon.pixmap(target.size(), devicePixelRatioF(),
                                           enabled ? QIcon::Normal : QIcon::Disabled);
        painter.drawPixmap(target, pixmap);
    }
    if (HasCaption()) {
        QRect area = CaptionRect(face);
        if (pressed)
            area.translate(1, 1);
        const QPalette& pal = palette();
        const QColor textColor = !enabled ? pal.color(QPalette::Disabled, QPalette::ButtonText)
                                          : (lit ? HoverText() : NormalText());
        painter.setPen(textColor);
        painter.setFont(font());
        painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text());
    }
}

void CIconButton::SetHovering(bool hovering) {
    if (m_hovering == hovering)
        return;
    m_hovering = hovering;
    update();
}

void CIconButton::Release() {
    if (m_capturing) {
        m_capturing = false;
        if (mouseGrabber() == this)
            releaseMouse();
    }
}

void CIconButton::mouseMoveEvent(QMouseEvent* event) {
    QPushButton::mouseMoveEvent(event);
    if (!m_flat)
        return;
    const bool leftHeld = event->buttons() & Qt::LeftButton;
    if (leftHeld && !m_hovering)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    if (!inside) {
        SetHovering(false);
        if (!leftHeld)
            Release();
        return;
    }
    if (!m_capturing && parentWidget()) {
        SetHovering(true);
        // Holding the grab lets the button see the pointer leave even when it moves fast.
        if (!leftHeld && isVisible()) {
            grabMouse();
            m_capturing = true;
        }
    }
}

void CIconButton::mousePressEvent(QMouseEvent* event) {
    // The press grabs the pointer implicitly; an explicit grab would outlive a dialog the click
    // may open.
    Release();
    QPushButton::mousePressEvent(event);
}

void CIconButton::leaveEvent(QEvent* event) {
    SetHovering(false);
    QPushButton::leaveEvent(event);
}

void CIconButton::focusOutEvent(QFocusEvent* event) {
    if (m_hovering) {
        SetHovering(false);
        Release();
    }
    QPushButton::focusOutEvent(event);
}

void CIconButton::hideEvent(QHideEvent* event) {
    Release();
    SetHovering(false);
    QPushButton::hideEvent(event);
}

void CIconButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        Release();
        SetHovering(false);
    }
    QPushButton::changeEvent(event);
}
