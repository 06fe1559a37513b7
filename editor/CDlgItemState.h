// "Normal", "Mouse Over" and "Clicked": the look of the holding menu's items in one state.
// The look belongs to the menu, so every item of the menu shares it.
#pragma once

#include "CFurlin.h"
#include "CPropertySheet.h"

class CColorButton;
class CSpinEdit;
class QButtonGroup;
class QComboBox;

class CDlgItemState : public CPropertyPage {
    Q_OBJECT
public:
    void EnterPage() override;
    bool LeavePage() override;
    int HelpTopic() const override { return m_helpTopic; }

    // "Font...": the font fields of this state, written when the Font dialog closes with OK.
    void OnFont();

    // The state style this page edits in the given menu.
    StateStyle& StyleOf(CFurlin& menu) const { return menu.*m_state; }

protected:
    CDlgItemState(const QString& title, StateStyle CFurlin::*state, int helpTopic,
                  CFoldline* component, QWidget* parent);

private:
    bool Bound() const;
    bool ReadControls();
    void FillControls();

    StateStyle CFurlin::*m_state;
    int m_helpTopic;

    CColorButton* m_backColorButton;
    QComboBox* m_textAlignBox;
    CSpinEdit* m_textOffsetEdit;
    QComboBox* m_imageAlignBox;
    CSpinEdit* m_imageOffsetEdit;
    QComboBox* m_backKindBox;
    QButtonGroup* m_gradientGroup;
    QButtonGroup* m_borderGroup;

    COLORREF m_backColor = 0;
    int m_border = -1;
    int m_backKind = -1;
    int m_gradientDir = -1;
    int m_textAlign = -1;
    int m_textOffset = 0;
    int m_imageAlign = -1;
    int m_imageOffset = 0;
};

class CDlgItemNormal : public CDlgItemState {
    Q_OBJECT
public:
    explicit CDlgItemNormal(CFoldline* component, QWidget* parent = nullptr);
};

class CDlgItemMouseOver : public CDlgItemState {
    Q_OBJECT
public:
    explicit CDlgItemMouseOver(CFoldline* component, QWidget* parent = nullptr);
};

class CDlgItemClick : public CDlgItemState {
    Q_OBJECT
public:
    explicit CDlgItemClick(CFoldline* component, QWidget* parent = nullptr);
};
