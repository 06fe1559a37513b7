#include "CDlgItem.h"

#include "CDlgAudio.h"
#include "CDlgConfig.h"
#include "CDlgImage.h"
#include "CFoldline.h"
#include "DataExchange.h"
#include "PageDialogs.h"
#include "PageLayout.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The model keeps CR LF line breaks (its encoders escape exactly those); the text field uses LF.
QString ToFieldText(const QString& label) {
    QString text = label;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString FromFieldText(const QString& text) {
    QString label = text;
    label.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    label.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    label.replace(QChar::LineSeparator, QLatin1Char('\n'));
    label.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return label;
}

} // namespace

CDlgItem::CDlgItem(CFoldline* component, QWidget* parent)
    : CPropertyPage(QStringLiteral("General"), component, parent), m_labelEdit(new QPlainTextEdit),
      m_descriptionEdit(new QLineEdit), m_linkEdit(new QLineEdit), m_targetBox(new QComboBox) {
    m_labelEdit->setTabChangesFocus(true);
    m_labelEdit->setMaximumHeight(72);
    m_labelEdit->installEventFilter(this);
    m_targetBox->setEditable(true);
    m_targetBox->setInsertPolicy(QComboBox::NoInsert);
    m_targetBox->addItems({QStringLiteral("_self"), QStringLiteral("_parent"),
                           QStringLiteral("_top"), QStringLiteral("_blank")});

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    AddLabeledRow(grid, 0, QStringLiteral("Item Label:"), m_labelEdit);
    AddLabeledRow(grid, 1, QStringLiteral("Description:"), m_descriptionEdit);
    AddLabeledRow(grid, 2, QStringLiteral("Link to:"), m_linkEdit);
    AddLabeledRow(grid, 3, QStringLiteral("Target Frame:"), m_targetBox);

    auto* image = new QPushButton(QStringLiteral("Image..."));
    auto* audio = new QPushButton(QStringLiteral("Audio..."));
    auto* imageText =
        new QLabel(QStringLiteral("You can specify the image to display for each states of the "
                                  "item:"));
    auto* audioText =
        new QLabel(QStringLiteral("You can specify the audio to play for each states of the "
                                  "item:"));
    imageText->setWordWrap(true);
    audioText->setWordWrap(true);
    grid->addWidget(imageText, 4, 0, 1, 2);
    grid->addWidget(image, 4, 2);
    grid->addWidget(audioText, 5, 0, 1, 2);
    grid->addWidget(audio, 5, 2);
    layout->addStretch();
    connect(image, &QPushButton::clicked, this, &CDlgItem::OnImage);
    connect(audio, &QPushButton::clicked, this, &CDlgItem::OnAudio);
    DisableAutoDefaultButtons();
}

void CDlgItem::ReadControls() {
    m_label = FromFieldText(m_labelEdit->toPlainText());
    m_description = m_descriptionEdit->text();
    m_link = m_linkEdit->text();
    m_target = m_targetBox->currentText();
}

void CDlgItem::FillControls() {
    m_labelEdit->setPlainText(ToFieldText(m_label));
    m_descriptionEdit->setText(m_description);
    m_linkEdit->setText(m_link);
    ShowTargetFrame(m_target);
}

void CDlgItem::ShowTargetFrame(const QString& target) {
    for (int i = 0; i < m_targetBox->count(); ++i) {
        if (m_targetBox->itemText(i).startsWith(target, Qt::CaseInsensitive)) {
            m_targetBox->setCurrentIndex(i);
            m_targetBox->setEditText(m_targetBox->itemText(i));
            return;
        }
    }
    m_targetBox->setCurrentIndex(-1);
    m_targetBox->setEditText(target);
}

void CDlgItem::EnterPage() {
    if (CFurlinItem* item = m_component->CurrentItem) {
        m_label = ToQt(item->Label);
        m_description = ToQt(item->Description);
        m_link = ToQt(item->Link);
        m_target = ToQt(item->TargetFrame);
    } else {
        m_label.clear();
        m_description.clear();
        m_link.clear();
        m_target.clear();
    }
    FillControls();
}

bool CDlgItem::LeavePage() {
    ReadControls();
    if (CFurlinItem* item = m_component->CurrentItem) {
        item->Description = FromQt(m_description);
        item->Link = FromQt(m_link);
        item->TargetFrame = FromQt(m_target);
    }
    StoreLabel();
    return true;
}

// Without a bound item there is nothing to store, and an empty label must not reach whatever
// node is selected.
void CDlgItem::StoreLabel() {
    CFurlinItem* item = m_component->CurrentItem;
    if (!item)
        return;
    item->Label = FromQt(m_label);
    if (CDlgConfig* dialog = m_component->ConfigDialog())
        dialog->SetItemNodeLabel(m_label);
}

void CDlgItem::OnLabelFocusOut() {
    ReadControls();
    StoreLabel();
}

bool CDlgItem::eventFilter(QObject* watched, QEvent* event) {
    // A window losing activation is not the user leaving the field; it also happens after
    // the dialog has closed, when nothing may be stored any more.
    if (watched == m_labelEdit && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason)
        OnLabelFocusOut();
    return CPropertyPage::eventFilter(watched, event);
}

void CDlgItem::OnImage() {
    ReadControls();
    CFurlinItem* item = m_component->CurrentItem;
    if (!item)
        return;
    CDlgImage dialog(this);
    dialog.Preset(*item);
    if (RunPageDialog(dialog))
        dialog.Apply(m_component->Model(), *item);
}

void CDlgItem::OnAudio() {
    ReadControls();
    CFurlinItem* item = m_component->CurrentItem;
    if (!item)
        return;
    CDlgAudio dialog(this);
    dialog.Preset(*item);
    if (RunPageDialog(dialog))
        dialog.Apply(m_component->Model(), *item);
}
