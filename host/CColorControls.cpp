#include "CColorControls.h"

#include <QPalette>

CColorFormView::CColorFormView(QWidget* parent)
    : QScrollArea(parent), m_background(palette().color(QPalette::Button)), m_form(new QWidget) {
    setWidget(m_form);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetBackgroundColor(m_background);
}

void CColorFormView::SetBackgroundColor(const QColor& color) {
    m_background = color;
    for (QWidget* w : {static_cast<QWidget*>(viewport()), m_form}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, color);
        w->setPalette(p);
        w->setAutoFillBackground(true);
    }
}

CColorLabel::CColorLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent), m_text(palette().color(QPalette::WindowText)),
      m_background(palette().color(QPalette::Button)) {
    ApplyColors();
}

void CColorLabel::SetBackgroundColor(const QColor& color) {
    m_background = color;
    ApplyColors();
}

void CColorLabel::SetTextColor(const QColor& color) {
    m_text = color;
    ApplyColors();
}

void CColorLabel::ApplyColors() {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, m_text);
    p.setColor(QPalette::Window, m_background);
    setPalette(p);
    setAutoFillBackground(true);
}
