// "Font": the text look of one state style.
#pragma once

#include "CFurlin.h"
#include "PageBindings.h"

#include <QDialog>

class CColorButton;
class CSpinEdit;
class QButtonGroup;
class QComboBox;

class CDlgFont : public QDialog {
    Q_OBJECT
public:
    explicit CDlgFont(QWidget* parent = nullptr);

    void Preset(const StateStyle& style);
    // Writes the five font fields; call after the dialog closed with OK. True when that changed
    // the style.
    bool Apply(StateStyle& style) const;

    // Reads the controls; false (with the refusal shown) when "Font Size:" is not a number.
    bool ReadControls();
    // OK closes only when the controls read cleanly.
    void accept() override;

private:
    QComboBox* m_nameBox;
    CColorButton* m_colorButton;
    CSpinEdit* m_sizeEdit;
    QComboBox* m_effectBox;
    QButtonGroup* m_styleGroup = nullptr;
    CPageBindings<StateStyle> m_fields;
};
