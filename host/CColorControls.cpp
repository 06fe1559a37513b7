#include "CColorControls.h"

#include <QPalette>

#include <algorithm>
#include <cmath>

namespace {

double RelativeLuminance(const QColor& color) {
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = color.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) +
           0.0722 * channel(rgb.blueF());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableTextColor(const QColor& preferred, const QColor& background) {
    if (ContrastRatio(preferred, background) >= 4.5)
        return preferred;
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    return ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
}

CColorFormView::CColorFormView(QWidget* parent)
    : QScrollArea(parent), m_background(palette().color(QPalette::Button)), m_form(new QWidget) {
    setWidget(m_form);
    setWidgetResizable(true);
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
