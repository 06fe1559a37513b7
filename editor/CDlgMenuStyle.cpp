#include "CDlgMenuStyle.h"

#include "CColorButton.h"
#include "CEditSession.h"
#include "PageLayout.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
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

CDlgMenuStyle::CDlgMenuStyle(CEditSession* session, QWidget* parent)
    : CRecordPage(tr("Size"), session, parent), m_indentEdit(NumberEdit(this, true)),
      m_widthEdit(NumberEdit(this, false)), m_heightEdit(NumberEdit(this, false)),
      m_borderEdit(NumberEdit(this, false)), m_gapEdit(NumberEdit(this, false)),
      m_backStyleBox(new QComboBox), m_backColorButton(new CColorButton),
      m_applyLook(new QPushButton(tr("Apply Look To..."))) {
    m_backStyleBox->addItems(
        {tr("Transparent and without Border"), tr("Transparent and with Border"),
         tr("Fullfilled Color and without Border"), tr("Fullfilled Color and with Border")});

    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    layout->addLayout(top);
    AddLabeledRow(top, 0, tr("Indent of Menu:"), m_indentEdit);

    auto* sizeBox = new QGroupBox(tr("Size of the item"));
    auto* sizeGrid = new QGridLayout(sizeBox);
    AddLabeledRow(sizeGrid, 0, tr("Item Width:"), m_widthEdit);
    AddLabeledRow(sizeGrid, 1, tr("Item Height:"), m_heightEdit);
    AddLabeledRow(sizeGrid, 2, tr("Item Border Thick:"), m_borderEdit);
    AddLabeledRow(sizeGrid, 3, tr("Item Gaps:"), m_gapEdit);
    layout->addWidget(sizeBox);

    auto* hidden = new QGridLayout;
    layout->addLayout(hidden);
    AddLabeledRow(hidden, 0, tr("Background Style:"), m_backStyleBox)->hide();
    AddLabeledRow(hidden, 1, tr("Background Color:"), m_backColorButton)->hide();
    m_backStyleBox->hide();
    m_backColorButton->hide();
    m_applyLook->setToolTip(tr("Copy this menu's sizes and looks to other menus of the widget"));
    layout->addWidget(m_applyLook, 0, Qt::AlignLeft);
    layout->addStretch();

    // Read in this order, so the first refusal is the topmost field.
    m_fields.Bind(NumberField(m_indentEdit), &CFurlin::Indent);
    m_fields.Bind(NumberField(m_widthEdit), &CFurlin::ItemWidth);
    m_fields.Bind(NumberField(m_heightEdit), &CFurlin::ItemHeight);
    m_fields.Bind(NumberField(m_borderEdit), &CFurlin::ItemBorder);
    m_fields.Bind(NumberField(m_gapEdit), &CFurlin::ItemGap);
    m_fields.Bind(ChoiceField(m_backStyleBox), &CFurlin::BackStyle);
    m_fields.Bind(ColorField(m_backColorButton), &CFurlin::BackColor);

    connect(m_backColorButton, &QPushButton::clicked, m_backColorButton,
            &CColorButton::ChooseColor);
    connect(m_applyLook, &QPushButton::clicked, this, &CDlgMenuStyle::OnApplyLook);
    FinishFields();
}

CFurlin* CDlgMenuStyle::RecordOf(const CEditTarget& target) const {
    return target.item ? target.menu : nullptr;
}

void CDlgMenuStyle::OnApplyLook() {
    if (RecordOf(LiveTarget()))
        emit m_session->LookMenuRequested(
            m_applyLook->mapToGlobal(m_applyLook->rect().bottomLeft()));
}
