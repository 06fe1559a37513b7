// A form view with its own background colour, and a static label with its own colours.
#pragma once

#include <QColor>
#include <QLabel>
#include <QScrollArea>

// The form is laid out at a fixed size inside a scroll area, as a dialog form is: a window
// smaller than the form scrolls instead of squeezing the controls.
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
