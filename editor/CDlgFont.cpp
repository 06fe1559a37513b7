#include "CDlgFont.h"

#include "CColorButton.h"
#include "CSpinEdit.h"
#include "DataExchange.h"
#include "PageLayout.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

CDlgFont::CDlgFont(QWidget* parent)
    : QDialog(parent), m_nameBox(new QComboBox), m_colorButton(new CColorButton),
      m_sizeEdit(new CSpinEdit(0, 5000, false)), m_effectBox(new QComboBox) {
    setWindowTitle(tr("Font"));
    m_nameBox->addItems(
        {QStringLiteral("TimesRoman"), QStringLiteral("Helvetica"), QStringLiteral("Courier")});
    m_effectBox->addItems(
        {tr("Normal"), tr("Outline"), tr("Sunken"), tr("Bulge"), tr("With Shadow")});

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    AddLabeledRow(grid, 0, tr("Font Name:"), m_nameBox);
    AddLabeledRow(grid, 1, tr("Font Color:"), m_colorButton);
    AddLabeledRow(grid, 2, tr("Font Size:"), m_sizeEdit);
    AddLabeledRow(grid, 3, tr("Special Effects:"), m_effectBox);

    m_styleGroup =
        AddRadioGroup(this, layout, tr("Font Style"), {tr("Plain"), tr("Bold"), tr("Italic")});

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(m_colorButton, &QPushButton::clicked, m_colorButton, &CColorButton::ChooseColor);

    m_fields.Bind(ChoiceField(m_nameBox), &StateStyle::FontName);
    m_fields.Bind(ColorField(m_colorButton), &StateStyle::FontColor);
    m_fields.Bind(NumberField(m_sizeEdit), &StateStyle::FontSize);
    m_fields.Bind(ChoiceField(m_effectBox), &StateStyle::Effect);
    m_fields.Bind(RadioField(m_styleGroup), &StateStyle::FontStyle);
    m_fields.Fill();
}

void CDlgFont::Preset(const StateStyle& style) {
    m_fields.Load(style);
    m_fields.Fill();
}

bool CDlgFont::Apply(StateStyle& style) const {
    return m_fields.Store(style);
}

bool CDlgFont::ReadControls() {
    CDataExchange dx(this);
    return m_fields.Read(dx);
}

void CDlgFont::accept() {
    if (ReadControls())
        QDialog::accept();
}
