// "Normal", "Mouse Over" and "Clicked": the look of the holding menu's items in one state.
// The look belongs to the menu, so every item of the menu shares it.
#pragma once

#include "CFurlin.h"
#include "RecordPage.h"

class CColorButton;
class CSpinEdit;
class QButtonGroup;
class QComboBox;

class CDlgItemState : public CRecordPage<StateStyle> {
    Q_OBJECT
public:
    int HelpTopic() const override { return m_helpTopic; }

    // "Font...": the font fields of this state, written when the Font dialog closes with OK.
    void OnFont();

    // The state style this page edits in the given menu.
    StateStyle& StyleOf(CFurlin& menu) const { return menu.*m_state; }

protected:
    CDlgItemState(const QString& title, StateStyle CFurlin::*state, int helpTopic,
                  CEditSession* session, QWidget* parent);
    StateStyle* RecordOf(const CEditTarget& target) const override;

private:
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
};

class CDlgItemNormal : public CDlgItemState {
    Q_OBJECT
public:
    explicit CDlgItemNormal(CEditSession* session, QWidget* parent = nullptr);
};

class CDlgItemMouseOver : public CDlgItemState {
    Q_OBJECT
public:
    explicit CDlgItemMouseOver(CEditSession* session, QWidget* parent = nullptr);
};

class CDlgItemClick : public CDlgItemState {
    Q_OBJECT
public:
    explicit CDlgItemClick(CEditSession* session, QWidget* parent = nullptr);
};
