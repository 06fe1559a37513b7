// "Size": the indent and item sizes of the menu that holds the selected item.
#pragma once

#include "CFurlin.h"
#include "RecordPage.h"

class CColorButton;
class QComboBox;
class QLineEdit;
class QPushButton;

class CDlgMenuStyle : public CRecordPage<CFurlin> {
    Q_OBJECT
public:
    explicit CDlgMenuStyle(CEditSession* session, QWidget* parent = nullptr);

    int HelpTopic() const override { return 131213; }

    // "Apply Look To...": offers the configuration dialog's scopes for this menu's look.
    QPushButton* ApplyLookButton() const { return m_applyLook; }
    void OnApplyLook();

protected:
    CFurlin* RecordOf(const CEditTarget& target) const override;

private:
    QLineEdit* m_indentEdit;
    QLineEdit* m_widthEdit;
    QLineEdit* m_heightEdit;
    QLineEdit* m_borderEdit;
    QLineEdit* m_gapEdit;
    // Never shown; they carry the menu's background through the page unchanged.
    QComboBox* m_backStyleBox;
    CColorButton* m_backColorButton;
    QPushButton* m_applyLook;
};
