// "More Styles": applet-wide tree behaviour, tree lines and the loading message.
#pragma once

#include "CPropertySheet.h"

#include <cstdint>

class CColorButton;
class QCheckBox;
class QLineEdit;

class CDlgAppletStyle : public CPropertyPage {
    Q_OBJECT
public:
    explicit CDlgAppletStyle(CFoldline* component, QWidget* parent = nullptr);

    void EnterPage() override;
    bool LeavePage() override;
    int HelpTopic() const override { return 136089; }

    // "Animate Speed ..." and "Background Style ...": their dialogs write the record at once.
    void OnAnimateSpeed();
    void OnBackgroundStyle();

private:
    bool ReadControls();
    void FillControls();

    QLineEdit* m_menuTopEdit;
    QCheckBox* m_selectionCheck;
    QCheckBox* m_branchesCheck;
    QCheckBox* m_linesCheck;
    CColorButton* m_lineColorButton;
    QLineEdit* m_thickEdit;
    QLineEdit* m_indentEdit;
    QLineEdit* m_messageEdit;
    QCheckBox* m_progressCheck;

    int m_showSelectionAlways = 0;
    int m_displayAllBranches = 0;
    int m_hasLines = 0;
    int m_lineIndent = 0;
    int m_lineThick = 0;
    int m_menuTop = 0;
    int m_progressBar = 0;
    QString m_loadingMessage;
    std::uint32_t m_lineColor = 0;
};
