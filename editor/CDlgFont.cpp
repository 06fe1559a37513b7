#include "CDlgFont.h"

#include "CColorButton.h"
#include "CFurlin.h"
#include "CSpinEdit.h"
#include "DataExchange.h"
#include "PageLayout.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

CDlgFont::CDlgFont(QWidget* parent)
    : QDialog(parent), m_nameBox(new QComboBox), m_colorButton(new CColorButton),
      m_sizeEdit(new CSpinEdit(0, 5000, false)), m_effectBox(new QComboBox) {
    setWindowTitle(QStringLiteral("Font"));
    m_nameBox->addItems(
        {QStringLiteral("TimesRoman"), QStringLiteral("Helvetica"), QStringLiteral("Courier")});
    m_effectBox->addItems({QStringLiteral("Normal"), QStringLiteral("Outline"),
                           QStringLiteral("Sunken"), QStringLiteral("Bulge"),
                           QStringLiteral("With Shadow")});

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    AddLabeledRow(grid, 0, QStringLiteral("Font Name:"), m_nameBox);
    AddLabeledRow(grid, 1, QStringLiteral("Font Color:"), m_colorButton);
    AddLabeledRow(grid, 2, QStringLiteral("Font Size:"), m_sizeEdit);
    AddLabeledRow(grid, 3, QStringLiteral("Special Effects:"), m_effectBox);

    m_styleGroup =
        AddRadioGroup(this, layout, QStringLiteral("Font Style"),
                      {QStringLiteral("Plain"), QStringLiteral("Bold"), QStringLiteral("Italic")});

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(m_colorButton, &QPushButton::clicked, m_colorButton, &CColorButton::ChooseColor);
    FillControls();
}

void CDlgFont::Preset(const StateStyle& style) {
    FontName = style.FontName;
    FontColor = style.FontColor;
    FontSize = style.FontSize;
    Effect = style.Effect;
    FontStyle = style.FontStyle;
    FillControls();
}

void CDlgFont::Apply(StateStyle& style) const {
    style.FontName = FontName;
    style.FontColor = FontColor;
    style.FontSize = FontSize;
    style.Effect = Effect;
    style.FontStyle = FontStyle;
}

bool CDlgFont::ReadControls() {
    CDataExchange dx(this);
    dx.Index(m_nameBox, FontName);
    FontColor = m_colorButton->Color();
    dx.Int(m_sizeEdit, m_sizeEdit->Text(), FontSize);
    dx.Index(m_effectBox, Effect);
    dx.Radio(m_styleGroup, FontStyle);
    return dx.Ok();
}

void CDlgFont::FillControls() {
    ShowIndex(m_nameBox, FontName);
    m_colorButton->SetColor(FontColor);
    m_sizeEdit->SetValue(FontSize);
    ShowIndex(m_effectBox, Effect);
    ShowRadio(m_styleGroup, FontStyle);
}

void CDlgFont::accept() {
    if (ReadControls())
        QDialog::accept();
}
