// "More Styles": applet-wide tree behaviour, tree lines and the loading message.
#pragma once

#include "CAppletParameters.h"
#include "RecordPage.h"

class CColorButton;
class QCheckBox;
class QLineEdit;

class CDlgAppletStyle : public CRecordPage<CAppletParameters> {
    Q_OBJECT
public:
    explicit CDlgAppletStyle(CEditSession* session, QWidget* parent = nullptr);

    int HelpTopic() const override { return 136089; }

    // "Animate Speed ..." and "Background Style ...": their dialogs write the record at once.
    void OnAnimateSpeed();
    void OnBackgroundStyle();

protected:
    CAppletParameters* RecordOf(const CEditTarget& target) const override;

private:
    QLineEdit* m_menuTopEdit;
    QCheckBox* m_selectionCheck;
    QCheckBox* m_branchesCheck;
    QCheckBox* m_linesCheck;
    CColorButton* m_lineColorButton;
    QLineEdit* m_thickEdit;
    QLineEdit* m_indentEdit;
    QLineEdit* m_messageEdit;
    QCheckBox* m_progressCheck;
};
