// "Font": the text look of one state style.
#pragma once

#include <QDialog>

#include <cstdint>

struct StateStyle;
class CColorButton;
class CSpinEdit;
class QButtonGroup;
class QComboBox;

class CDlgFont : public QDialog {
    Q_OBJECT
public:
    explicit CDlgFont(QWidget* parent = nullptr);

    void Preset(const StateStyle& style);
    // Writes the five font fields; call after the dialog closed with OK.
    void Apply(StateStyle& style) const;

    // Reads the controls; false (with the refusal shown) when "Font Size:" is not a number.
    bool ReadControls();
    void FillControls();
    // OK closes only when the controls read cleanly.
    void accept() override;

    int FontName = -1;
    std::uint32_t FontColor = 0;
    int FontSize = 0;
    int Effect = -1;
    int FontStyle = -1;

private:
    QComboBox* m_nameBox;
    CColorButton* m_colorButton;
    CSpinEdit* m_sizeEdit;
    QComboBox* m_effectBox;
    QButtonGroup* m_styleGroup = nullptr;
};
