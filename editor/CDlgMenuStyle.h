// "Size": the indent and item sizes of the menu that holds the selected item.
#pragma once

#include "CFurlin.h"
#include "CPropertySheet.h"

class CColorButton;
class QComboBox;
class QLineEdit;

class CDlgMenuStyle : public CPropertyPage {
    Q_OBJECT
public:
    explicit CDlgMenuStyle(CFoldline* component, QWidget* parent = nullptr);

    void EnterPage() override;
    bool LeavePage() override;
    int HelpTopic() const override { return 131213; }

private:
    bool Bound() const;
    bool ReadControls();
    void FillControls();

    QLineEdit* m_indentEdit;
    QLineEdit* m_widthEdit;
    QLineEdit* m_heightEdit;
    QLineEdit* m_borderEdit;
    QLineEdit* m_gapEdit;
    // Never shown; they carry the menu's background through the page unchanged.
    QComboBox* m_backStyleBox;
    CColorButton* m_backColorButton;

    int m_indent = 0;
    int m_itemWidth = 0;
    int m_itemHeight = 0;
    int m_itemBorder = 0;
    int m_itemGap = 0;
    int m_backStyle = -1;
    COLORREF m_backColor = 0;
};
