#include "CDlgItem.h"

#include "CDlgAudio.h"
#include "CDlgImage.h"
#include "CEditSession.h"
#include "DataExchange.h"
#include "MenuTreeEdits.h"
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

CFieldControl LabelField(QPlainTextEdit* edit) {
    return {edit,
            {},
            [edit](const CFieldValue& v) { edit->setPlainText(ToFieldText(v.text)); },
            [edit](CDataExchange&, CFieldValue& v) { v.text = FromFieldText(edit->toPlainText()); },
            [edit](QObject* context, const std::function<void()>& changed) {
                QObject::connect(edit, &QPlainTextEdit::textChanged, context, changed);
            }};
}

// Any typed frame name is kept; a stored one shows as the list entry it begins.
CFieldControl TargetField(CDlgItem* page, QComboBox* box) {
    return {box,
            {},
            [page](const CFieldValue& v) { page->ShowTargetFrame(v.text); },
            [box](CDataExchange&, CFieldValue& v) { v.text = box->currentText(); },
            [box](QObject* context, const std::function<void()>& changed) {
                QObject::connect(box, &QComboBox::currentTextChanged, context, changed);
            }};
}

} // namespace

CDlgItem::CDlgItem(CEditSession* session, QWidget* parent)
    : CRecordPage(tr("General"), session, parent), m_labelEdit(new QPlainTextEdit),
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
    AddLabeledRow(grid, 0, tr("Item Label:"), m_labelEdit);
    AddLabeledRow(grid, 1, tr("Description:"), m_descriptionEdit);
    AddLabeledRow(grid, 2, tr("Link to:"), m_linkEdit);
    AddLabeledRow(grid, 3, tr("Target Frame:"), m_targetBox);

    auto* image = new QPushButton(tr("Image..."));
    auto* audio = new QPushButton(tr("Audio..."));
    auto* imageText = new QLabel(tr("You can specify the image to display for each states of the "
                                    "item:"));
    auto* audioText = new QLabel(tr("You can specify the audio to play for each states of the "
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

    m_fields.Bind(LabelField(m_labelEdit), &CFurlinItem::Label);
    m_fields.Bind(TextField(m_descriptionEdit), &CFurlinItem::Description);
    m_fields.Bind(TextField(m_linkEdit), &CFurlinItem::Link);
    m_fields.Bind(TargetField(this, m_targetBox), &CFurlinItem::TargetFrame);
    // Without an item the page shows empty fields.
    m_resetWhenUnbound = true;
    FinishFields();
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

CFurlinItem* CDlgItem::RecordOf(const CEditTarget& target) const {
    return target.item;
}

// The selected tree node shows the stored label.
void CDlgItem::Stored(CFurlinItem& item) {
    emit m_session->ItemLabelStored(ToQt(item.Label));
}

void CDlgItem::StoreLink(const QString& link) {
    // Typed by the author, even where the field showed that text already; what else the page
    // holds stays as edited or not as it was.
    const bool edited = m_edited;
    m_linkEdit->setText(link);
    m_edited = true;
    StoreField(m_linkEdit);
    m_edited = edited;
}

void CDlgItem::OnLabelFocusOut() {
    StoreField(m_labelEdit);
}

bool CDlgItem::eventFilter(QObject* watched, QEvent* event) {
    // A window losing activation is not the user leaving the field; it also happens after
    // the dialog has closed, when nothing may be stored any more.
    if (watched == m_labelEdit && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason)
        OnLabelFocusOut();
    return CPropertyPage::eventFilter(watched, event);
}

template <class Dialog> void CDlgItem::RunFilesDialog() {
    CDataExchange dx(this);
    m_fields.Read(dx);
    CFurlinItem* item = m_session->CurrentItem;
    if (!item)
        return;
    Dialog dialog(this);
    dialog.Preset(*item);
    if (!RunPageDialog(dialog))
        return;
    CAppletParameters& model = m_session->Model();
    const std::string before = TreeBytes(model);
    dialog.Apply(model, *item);
    if (TreeBytes(model) != before)
        emit ModelChanged();
}

void CDlgItem::OnImage() {
    RunFilesDialog<CDlgImage>();
}

void CDlgItem::OnAudio() {
    RunFilesDialog<CDlgAudio>();
}
