// A form view with its own background colour, and a static label with its own colours.
#pragma once

#include <QColor>
#include <QLabel>
#include <QScrollArea>

// The form is laid out inside a scroll area: a window smaller than the form's minimum size
// scrolls instead of squeezing the controls, a larger one gives the form its room.
class CColorFormView : public QScrollArea {
    Q_OBJECT

public:
    explicit CColorFormView(QWidget* parent = nullptr);

    void SetBackgroundColor(const QColor& color);
    QColor BackgroundColor() const { return m_background; }
    QWidget* Form() const { return m_form; }

private:
    QColor m_background;
    QWidget* m_form;
};

// The contrast ratio of two colours as WCAG defines it, from 1 (alike) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);
// The preferred text colour when it reads well enough on the background (WCAG AA, 4.5:1), else
// black or white, whichever reads better.
QColor ReadableTextColor(const QColor& preferred, const QColor& background);

class CColorLabel : public QLabel {
    Q_OBJECT

public:
    explicit CColorLabel(const QString& text = QString(), QWidget* parent = nullptr);

    void SetBackgroundColor(const QColor& color);
    void SetTextColor(const QColor& color);
    QColor BackgroundColor() const { return m_background; }
    QColor TextColor() const { return m_text; }

private:
    void ApplyColors();

    QColor m_text;
    QColor m_background;
};
