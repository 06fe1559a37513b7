#include "CDlgItemState.h"

#include "CColorButton.h"
#include "CDlgFont.h"
#include "CEditSession.h"
#include "CSpinEdit.h"
#include "DataExchange.h"
#include "PageDialogs.h"
#include "PageLayout.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

CDlgItemState::CDlgItemState(const QString& title, StateStyle CFurlin::*state, int helpTopic,
                             CEditSession* session, QWidget* parent)
    : CRecordPage(title, session, parent), m_state(state), m_helpTopic(helpTopic),
      m_backColorButton(new CColorButton), m_textAlignBox(new QComboBox),
      m_textOffsetEdit(new CSpinEdit(-5000, 5000, true)), m_imageAlignBox(new QComboBox),
      m_imageOffsetEdit(new CSpinEdit(-5000, 5000, true)), m_backKindBox(new QComboBox) {
    const QStringList alignChoices = {tr("Left"), tr("Center"), tr("Right")};
    m_textAlignBox->addItems(alignChoices);
    m_imageAlignBox->addItems(alignChoices);
    // Not sorted: the position is the stored value.
    m_backKindBox->addItems(
        {tr("Transparent "), tr("Fullfilled with Color"),
         tr("Horizontal Gradient from Black to Color"),
         tr("Horizontal Gradient from White to Color"),
         tr("Horizontal Gradient from Color to Black"),
         tr("Horizontal Gradient from Color to White"), tr("Vertical Gradient from Black to Color"),
         tr("Vertical Gradient from White to Color"), tr("Vertical Gradient from Color to Black"),
         tr("Vertical Gradient from Color to White")});

    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    layout->addLayout(top);
    AddLabeledRow(top, 0, tr("Background Color:"), m_backColorButton);
    auto* font = new QPushButton(tr("Font..."));
    top->addWidget(font, 0, 2);

    auto* alignBox = new QGroupBox(tr("Align"));
    auto* alignGrid = new QGridLayout(alignBox);
    // "Text:" and "Image:" say little without their box's title.
    m_textAlignBox->setAccessibleName(tr("Text alignment"));
    m_imageAlignBox->setAccessibleName(tr("Image alignment"));
    AddLabeledRow(alignGrid, 0, tr("Text:"), m_textAlignBox);
    AddLabeledRow(alignGrid, 1, tr("Text Offset:"), m_textOffsetEdit);
    AddLabeledRow(alignGrid, 2, tr("Image:"), m_imageAlignBox);
    AddLabeledRow(alignGrid, 3, tr("Image Offset:"), m_imageOffsetEdit);
    layout->addWidget(alignBox);

    auto* backGrid = new QGridLayout;
    layout->addLayout(backGrid);
    AddLabeledRow(backGrid, 0, tr("Item's Background:"), m_backKindBox);

    AddGradientAndBorderGroups(this, layout, &m_gradientGroup, &m_borderGroup);
    layout->addStretch();

    // Read in this order, so the first refusal is the topmost field.
    m_fields.Bind(ColorField(m_backColorButton), &StateStyle::BackColor);
    m_fields.Bind(ChoiceField(m_textAlignBox), &StateStyle::TextAlign);
    m_fields.Bind(NumberField(m_textOffsetEdit), &StateStyle::TextOffset);
    m_fields.Bind(ChoiceField(m_imageAlignBox), &StateStyle::ImageAlign);
    m_fields.Bind(NumberField(m_imageOffsetEdit), &StateStyle::ImageOffset);
    m_fields.Bind(ChoiceField(m_backKindBox), &StateStyle::BackKind);
    m_fields.Bind(RadioField(m_gradientGroup), &StateStyle::GradientDir);
    m_fields.Bind(RadioField(m_borderGroup), &StateStyle::Border);

    connect(m_backColorButton, &QPushButton::clicked, m_backColorButton,
            &CColorButton::ChooseColor);
    connect(font, &QPushButton::clicked, this, &CDlgItemState::OnFont);
    FinishFields();
}

StateStyle* CDlgItemState::RecordOf(const CEditTarget& target) const {
    return target.item && target.menu ? &StyleOf(*target.menu) : nullptr;
}

void CDlgItemState::OnFont() {
    CDataExchange dx(this);
    m_fields.Read(dx);
    CFurlin* menu = m_session->CurrentMenu;
    if (!menu)
        return;
    CDlgFont dialog(this);
    dialog.Preset(StyleOf(*menu));
    if (RunPageDialog(dialog) && dialog.Apply(StyleOf(*menu)))
        emit ModelChanged();
}

CDlgItemNormal::CDlgItemNormal(CEditSession* session, QWidget* parent)
    : CDlgItemState(tr("Normal"), &CFurlin::Normal, 131216, session, parent) {}

CDlgItemMouseOver::CDlgItemMouseOver(CEditSession* session, QWidget* parent)
    : CDlgItemState(tr("Mouse Over"), &CFurlin::Over, 131219, session, parent) {}

CDlgItemClick::CDlgItemClick(CEditSession* session, QWidget* parent)
    : CDlgItemState(tr("Clicked"), &CFurlin::Click, 131220, session, parent) {}
