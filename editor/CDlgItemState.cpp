#include "CDlgItemState.h"

#include "CColorButton.h"
#include "CDlgFont.h"
#include "CFoldline.h"
#include "CSpinEdit.h"
#include "DataExchange.h"
#include "PageDialogs.h"
#include "PageLayout.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QStringList kAlignChoices = {QStringLiteral("Left"), QStringLiteral("Center"),
                                   QStringLiteral("Right")};

} // namespace

CDlgItemState::CDlgItemState(const QString& title, StateStyle CFurlin::*state, int helpTopic,
                             CFoldline* component, QWidget* parent)
    : CPropertyPage(title, component, parent), m_state(state), m_helpTopic(helpTopic),
      m_backColorButton(new CColorButton), m_textAlignBox(new QComboBox),
      m_textOffsetEdit(new CSpinEdit(-5000, 5000, true)), m_imageAlignBox(new QComboBox),
      m_imageOffsetEdit(new CSpinEdit(-5000, 5000, true)), m_backKindBox(new QComboBox) {
    m_textAlignBox->addItems(kAlignChoices);
    m_imageAlignBox->addItems(kAlignChoices);
    // Not sorted: the position is the stored value.
    m_backKindBox->addItems({QStringLiteral("Transparent "),
                             QStringLiteral("Fullfilled with Color"),
                             QStringLiteral("Horizontal Gradient from Black to Color"),
                             QStringLiteral("Horizontal Gradient from White to Color"),
                             QStringLiteral("Horizontal Gradient from Color to Black"),
                             QStringLiteral("Horizontal Gradient from Color to White"),
                             QStringLiteral("Vertical Gradient from Black to Color"),
                             QStringLiteral("Vertical Gradient from White to Color"),
                             QStringLiteral("Vertical Gradient from Color to Black"),
                             QStringLiteral("Vertical Gradient from Color to White")});

    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    layout->addLayout(top);
    AddLabeledRow(top, 0, QStringLiteral("Background Color:"), m_backColorButton);
    auto* font = new QPushButton(QStringLiteral("Font..."));
    top->addWidget(font, 0, 2);

    auto* alignBox = new QGroupBox(QStringLiteral("Align"));
    auto* alignGrid = new QGridLayout(alignBox);
    AddLabeledRow(alignGrid, 0, QStringLiteral("Text:"), m_textAlignBox);
    AddLabeledRow(alignGrid, 1, QStringLiteral("Text Offset:"), m_textOffsetEdit);
    AddLabeledRow(alignGrid, 2, QStringLiteral("Image:"), m_imageAlignBox);
    AddLabeledRow(alignGrid, 3, QStringLiteral("Image Offset:"), m_imageOffsetEdit);
    layout->addWidget(alignBox);

    auto* backGrid = new QGridLayout;
    layout->addLayout(backGrid);
    AddLabeledRow(backGrid, 0, QStringLiteral("Item's Background:"), m_backKindBox);

    AddGradientAndBorderGroups(this, layout, &m_gradientGroup, &m_borderGroup);
    layout->addStretch();

    connect(m_backColorButton, &QPushButton::clicked, m_backColorButton,
            &CColorButton::ChooseColor);
    connect(font, &QPushButton::clicked, this, &CDlgItemState::OnFont);
    DisableAutoDefaultButtons();
    FillControls();
}

bool CDlgItemState::Bound() const {
    return m_component->CurrentItem != nullptr && m_component->CurrentMenu != nullptr;
}

bool CDlgItemState::ReadControls() {
    CDataExchange dx(this);
    m_backColor = m_backColorButton->Color();
    dx.Index(m_textAlignBox, m_textAlign);
    dx.Int(m_textOffsetEdit, m_textOffsetEdit->Text(), m_textOffset);
    dx.Index(m_imageAlignBox, m_imageAlign);
    dx.Int(m_imageOffsetEdit, m_imageOffsetEdit->Text(), m_imageOffset);
    dx.Index(m_backKindBox, m_backKind);
    dx.Radio(m_gradientGroup, m_gradientDir);
    dx.Radio(m_borderGroup, m_border);
    return dx.Ok();
}

void CDlgItemState::FillControls() {
    m_backColorButton->SetColor(m_backColor);
    ShowIndex(m_textAlignBox, m_textAlign);
    m_textOffsetEdit->SetValue(m_textOffset);
    ShowIndex(m_imageAlignBox, m_imageAlign);
    m_imageOffsetEdit->SetValue(m_imageOffset);
    ShowIndex(m_backKindBox, m_backKind);
    ShowRadio(m_gradientGroup, m_gradientDir);
    ShowRadio(m_borderGroup, m_border);
}

void CDlgItemState::EnterPage() {
    if (!Bound())
        return;
    const StateStyle& style = StyleOf(*m_component->CurrentMenu);
    m_backColor = style.BackColor;
    m_border = style.Border;
    m_backKind = style.BackKind;
    m_gradientDir = style.GradientDir;
    m_textAlign = style.TextAlign;
    m_textOffset = style.TextOffset;
    m_imageAlign = style.ImageAlign;
    m_imageOffset = style.ImageOffset;
    FillControls();
}

bool CDlgItemState::LeavePage() {
    const bool ok = ReadControls();
    if (Bound()) {
        StateStyle& style = StyleOf(*m_component->CurrentMenu);
        style.BackColor = m_backColor;
        style.Border = m_border;
        style.BackKind = m_backKind;
        style.GradientDir = m_gradientDir;
        style.TextAlign = m_textAlign;
        style.TextOffset = m_textOffset;
        style.ImageAlign = m_imageAlign;
        style.ImageOffset = m_imageOffset;
    }
    return ok;
}

void CDlgItemState::OnFont() {
    ReadControls();
    CFurlin* menu = m_component->CurrentMenu;
    if (!menu)
        return;
    CDlgFont dialog(this);
    dialog.Preset(StyleOf(*menu));
    if (RunPageDialog(dialog))
        dialog.Apply(StyleOf(*menu));
}

CDlgItemNormal::CDlgItemNormal(CFoldline* component, QWidget* parent)
    : CDlgItemState(QStringLiteral("Normal"), &CFurlin::Normal, 131216, component, parent) {}

CDlgItemMouseOver::CDlgItemMouseOver(CFoldline* component, QWidget* parent)
    : CDlgItemState(QStringLiteral("Mouse Over"), &CFurlin::Over, 131219, component, parent) {}

CDlgItemClick::CDlgItemClick(CFoldline* component, QWidget* parent)
    : CDlgItemState(QStringLiteral("Clicked"), &CFurlin::Click, 131220, component, parent) {}
