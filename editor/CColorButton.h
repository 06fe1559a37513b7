// A push button drawn as a colour swatch; it shows and holds one 0x00BBGGRR colour.
#pragma once

#include <QColor>
#include <QPushButton>

#include <cstdint>

using COLORREF = std::uint32_t; // 0x00BBGGRR, red in the low byte

QColor ColorFromRef(COLORREF color);
COLORREF RefFromColor(const QColor& color);

class CColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit CColorButton(QWidget* parent = nullptr);

    void SetColor(COLORREF color);
    COLORREF Color() const { return m_color; }

    // Opens the colour chooser (through the ui seam) preset to the button's colour; on OK takes
    // the chosen colour, redraws and returns true. The owning page connects clicked() to this.
    bool ChooseColor();

    // Pixels between the button edge and the swatch, and the width of the edge.
    static constexpr int kInset = 5;
    static constexpr int kEdge = 2;

signals:
    void ColorChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize sizeHint() const override;

private:
    COLORREF m_color = 0;
};
