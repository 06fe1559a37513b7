#include "CDlgMenuStyle.h"

#include "CColorButton.h"
#include "CFoldline.h"
#include "DataExchange.h"
#include "PageLayout.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

QLineEdit* NumberEdit(QObject* owner, bool allowMinus) {
    auto* edit = new QLineEdit;
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(allowMinus ? QStringLiteral("-?[0-9]*") : QStringLiteral("[0-9]*")),
        owner));
    return edit;
}

} // namespace

CDlgMenuStyle::CDlgMenuStyle(CFoldline* component, QWidget* parent)
    : CPropertyPage(QStringLiteral("Size"), component, parent),
      m_indentEdit(NumberEdit(this, true)), m_widthEdit(NumberEdit(this, false)),
      m_heightEdit(NumberEdit(this, false)), m_borderEdit(NumberEdit(this, false)),
      m_gapEdit(NumberEdit(this, false)), m_backStyleBox(new QComboBox),
      m_backColorButton(new CColorButton) {
    m_backStyleBox->addItems({QStringLiteral("Transparent and without Border"),
                              QStringLiteral("Transparent and with Border"),
                              QStringLiteral("Fullfilled Color and without Border"),
                              QStringLiteral("Fullfilled Color and with Border")});

    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    layout->addLayout(top);
    AddLabeledRow(top, 0, QStringLiteral("Indent of Menu:"), m_indentEdit);

    auto* sizeBox = new QGroupBox(QStringLiteral("Size of the item"));
    auto* sizeGrid = new QGridLayout(sizeBox);
    AddLabeledRow(sizeGrid, 0, QStringLiteral("Item Width:"), m_widthEdit);
    AddLabeledRow(sizeGrid, 1, QStringLiteral("Item Height:"), m_heightEdit);
    AddLabeledRow(sizeGrid, 2, QStringLiteral("Item Border Thick:"), m_borderEdit);
    AddLabeledRow(sizeGrid, 3, QStringLiteral("Item Gaps:"), m_gapEdit);
    layout->addWidget(sizeBox);

    auto* hidden = new QGridLayout;
    layout->addLayout(hidden);
    AddLabeledRow(hidden, 0, QStringLiteral("Background Style:"), m_backStyleBox)->hide();
    AddLabeledRow(hidden, 1, QStringLiteral("Background Color:"), m_backColorButton)->hide();
    m_backStyleBox->hide();
    m_backColorButton->hide();
    layout->addStretch();

    connect(m_backColorButton, &QPushButton::clicked, m_backColorButton,
            &CColorButton::ChooseColor);
    FillControls();
    DisableAutoDefaultButtons();
}

bool CDlgMenuStyle::Bound() const {
    return m_component->CurrentItem != nullptr && m_component->CurrentMenu != nullptr;
}

bool CDlgMenuStyle::ReadControls() {
    CDataExchange dx(this);
    dx.Int(m_indentEdit, m_indent);
    dx.Int(m_widthEdit, m_itemWidth);
    dx.Int(m_heightEdit, m_itemHeight);
    dx.Int(m_borderEdit, m_itemBorder);
    dx.Int(m_gapEdit, m_itemGap);
    dx.Index(m_backStyleBox, m_backStyle);
    m_backColor = m_backColorButton->Color();
    return dx.Ok();
}

void CDlgMenuStyle::FillControls() {
    m_indentEdit->setText(QString::number(m_indent));
    m_widthEdit->setText(QString::number(m_itemWidth));
    m_heightEdit->setText(QString::number(m_itemHeight));
    m_borderEdit->setText(QString::number(m_itemBorder));
    m_gapEdit->setText(QString::number(m_itemGap));
    ShowIndex(m_backStyleBox, m_backStyle);
    m_backColorButton->SetColor(m_backColor);
}

void CDlgMenuStyle::EnterPage() {
    if (!Bound())
        return;
    const CFurlin& menu = *m_component->CurrentMenu;
    m_indent = menu.Indent;
    m_itemWidth = menu.ItemWidth;
    m_itemHeight = menu.ItemHeight;
    m_itemBorder = menu.ItemBorder;
    m_itemGap = menu.ItemGap;
    m_backStyle = menu.BackStyle;
    m_backColor = menu.BackColor;
    FillControls();
}

bool CDlgMenuStyle::LeavePage() {
    const bool ok = ReadControls();
    if (Bound()) {
        CFurlin& menu = *m_component->CurrentMenu;
        menu.Indent = m_indent;
        menu.ItemWidth = m_itemWidth;
        menu.ItemHeight = m_itemHeight;
        menu.ItemBorder = m_itemBorder;
        menu.ItemGap = m_itemGap;
        menu.BackStyle = m_backStyle;
        menu.BackColor = m_backColor;
    }
    return ok;
}
