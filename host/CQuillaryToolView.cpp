#include "CQuillaryToolView.h"

#include "QtText.h"

#include "CQuillaryToolDoc.h"
#include "CViewDialogs.h"
#include "HostServices.h"
#include "RuntimeFiles.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLayout>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include <cmath>

namespace {

const QColor kFormColor(230, 230, 250);
const QColor kCaptionColor(0, 0, 255);

// Marks the list's runtime rows, which no resource of the component stands behind.
constexpr int kRuntimeRole = Qt::UserRole + 1;

bool IsModernKind(int kind) {
    return kind == kHtmlModernLocal || kind == kHtmlModernWeb;
}

// Component HTML has CR LF line ends; the panes show plain lines.
QString ForDisplay(const std::string& html) {
    QString text = ToQt(html);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace

CQuillaryToolView::CQuillaryToolView(CQuillaryToolDoc* document, QWidget* parent)
    : CColorFormView(parent), m_document(document) {
    QWidget* form = Form();
    nameValue = new CColorLabel(QString(), form);
    descriptionValue = new CColorLabel(QString(), form);
    nameCaption = new CColorLabel(tr("Name:"), form);
    descriptionCaption = new CColorLabel(tr("Description:"), form);
    fileList = new QTreeWidget(form);
    headPane = new QPlainTextEdit(form);
    positionPane = new QPlainTextEdit(form);
    fileListCaption =
        new CColorLabel(tr("You must copy these files into the preview path you setting:"), form);
    headPaneCaption = new CColorLabel(tr("Insert these HTML into <HEAD></HEAD>:"), form);
    positionPaneCaption = new CColorLabel(
        tr("Insert these HTML into the position where you want to display widget:"), form);

    // The widget's name and description are the author's text, never markup.
    for (CColorLabel* label :
         {headPaneCaption, positionPaneCaption, fileListCaption, nameValue, descriptionValue})
        label->setTextFormat(Qt::PlainText);
    for (CColorLabel* value : {nameValue, descriptionValue})
        value->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    for (QPlainTextEdit* pane : {headPane, positionPane}) {
        pane->setLineWrapMode(QPlainTextEdit::NoWrap);
        pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    // Only "cursor" segments come from this component, so the head pane would always be empty.
    headPane->hide();
    headPaneCaption->hide();

    // Screen readers name the panes by their captions; the list takes no name from a buddy.
    host::NameByLabel(headPaneCaption, headPane);
    host::NameByLabel(positionPaneCaption, positionPane);
    fileListCaption->setBuddy(fileList);
    fileList->setAccessibleName(tr("Support files"));
    fileList->setAccessibleDescription(fileListCaption->text());

    fileList->setRootIsDecorated(false);
    fileList->setItemsExpandable(false);
    fileList->setSelectionMode(QAbstractItemView::SingleSelection);
    fileList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fileList->setColumnCount(3);
    fileList->header()->setStretchLastSection(false);
    fileList->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    MeasureDialogUnits();
    Form()->setMinimumSize(FormSize());
    Form()->resize(FormSize());
    Form()->installEventFilter(this);
    LayOutForm();
}

// The form is laid out in dialog units of an 8-point font, as the original form was drawn.
void CQuillaryToolView::MeasureDialogUnits() {
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    const QFontMetrics metrics(dialogFont);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double averageWidth = std::round(metrics.horizontalAdvance(alphabet) / 26.0) / 2.0;
    if (averageWidth > 0)
        m_unitX = averageWidth / 4.0;
    if (metrics.height() > 0)
        m_unitY = metrics.height() / 8.0;
}

QRect CQuillaryToolView::DialogUnits(int x, int y, int w, int h) const {
    const auto px = [this](int v) { return static_cast<int>(std::lround(v * m_unitX)); };
    const auto py = [this](int v) { return static_cast<int>(std::lround(v * m_unitY)); };
    return QRect(px(x), py(y), px(w), py(h));
}

QSize CQuillaryToolView::FormSize() const {
    return DialogUnits(0, 0, 320, 216).size();
}

QSize CQuillaryToolView::sizeHint() const {
    const int frame = 2 * frameWidth();
    return FormSize() + QSize(frame, frame);
}

void CQuillaryToolView::LayOutForm() {
    // The form's own size is the smallest; what a larger window adds goes to the HTML pane (two
    // thirds of the height) and the file list, and to the width of everything that is wide.
    const QSize extra = (Form()->size() - FormSize()).expandedTo(QSize(0, 0));
    const int paneGrowth = extra.height() * 2 / 3;
    const int listGrowth = extra.height() - paneGrowth;
    const auto place = [&](QWidget* control, QRect units, bool wide, int down, int taller) {
        control->setGeometry(units.adjusted(0, down, wide ? extra.width() : 0, down + taller));
    };
    place(nameCaption, DialogUnits(7, 9, 48, 9), false, 0, 0);
    place(nameValue, DialogUnits(58, 7, 255, 12), true, 0, 0);
    place(descriptionCaption, DialogUnits(7, 24, 48, 9), false, 0, 0);
    place(descriptionValue, DialogUnits(58, 22, 255, 12), true, 0, 0);
    place(headPaneCaption, DialogUnits(7, 38, 306, 9), true, 0, 0);
    place(headPane, DialogUnits(7, 48, 306, 20), true, 0, 0);
    place(positionPaneCaption, DialogUnits(7, 38, 306, 9), true, 0, 0);
    place(positionPane, DialogUnits(7, 48, 306, 100), true, 0, paneGrowth);
    place(fileListCaption, DialogUnits(7, 151, 306, 9), true, paneGrowth, 0);
    place(fileList, DialogUnits(7, 161, 306, 48), true, paneGrowth, listGrowth);
}

void CQuillaryToolView::ShowTitles(const QString& name, const QString& description) {
    nameValue->setText(name);
    descriptionValue->setText(description);
    // A label is announced by its text: with the caption in front, a value is heard with what it
    // is, and an empty description is still heard at all.
    nameValue->setAccessibleName(nameCaption->text() + ' ' + name);
    descriptionValue->setAccessibleName(descriptionCaption->text() + ' ' + description);
}

bool CQuillaryToolView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Form() && event->type() == QEvent::Resize)
        LayOutForm();
    return CColorFormView::eventFilter(watched, event);
}

void CQuillaryToolView::OnInitialUpdate() {
    if (m_columnsPending) {
        const QStringList headers{tr("File Name"), tr("Source File Path"), tr("Web Path")};
        const int extra[3] = {50, 140, 120};
        fileList->setHeaderLabels(headers);
        const QFontMetrics metrics(fileList->header()->font());
        for (int c = 0; c < 3; ++c)
            fileList->setColumnWidth(c, metrics.horizontalAdvance(headers[c]) + extra[c]);
        m_columnsPending = false;
    }

    ApplyFormColors();

    ShowTitles(QString(), QString());
    headPane->clear();
    positionPane->clear();
    fileList->clear();

    if (m_document != nullptr && m_document->HasComponent()) {
        CTessel* component = m_document->Component();
        ShowTitles(ToQt(component->GetTitle()), ToQt(component->GetDescription()));
        RefreshHtml(LocalHtmlKind());
        RefreshFileList();
    }
    ResizeParentToFit();
    emit WidgetChanged();
}

void CQuillaryToolView::ApplyFormColors() {
    SetBackgroundColor(kFormColor);
    for (CColorLabel* label : {nameValue, descriptionValue, nameCaption, descriptionCaption,
                               fileListCaption, headPaneCaption, positionPaneCaption})
        label->SetBackgroundColor(kFormColor);
    for (CColorLabel* caption :
         {nameCaption, descriptionCaption, fileListCaption, headPaneCaption, positionPaneCaption})
        caption->SetTextColor(kCaptionColor);
    // A dark theme's light text would vanish on the light form.
    const QColor valueText = ReadableTextColor(palette().color(QPalette::WindowText), kFormColor);
    for (CColorLabel* value : {nameValue, descriptionValue})
        value->SetTextColor(valueText);
}

void CQuillaryToolView::changeEvent(QEvent* event) {
    CColorFormView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !m_columnsPending)
        ApplyFormColors();
}

void CQuillaryToolView::RefreshHtml(int kind) {
    if (m_document == nullptr || !m_document->HasComponent())
        return;
    CTessel* component = m_document->Component();
    std::string position;
    std::string style;
    std::string script;
    for (int i = 0; i < component->GetHTMLSegmentNumber(); ++i) {
        const std::string word = component->GetHTMLPosition(i);
        if (word == "cursor")
            position = component->GetHTMLBody(i, kind);
        else if (word == "style")
            style = component->GetHTMLBody(i, kind);
        else if (word == "script")
            script = component->GetHTMLBody(i, kind);
    }
    positionPane->setPlainText(ForDisplay(position));
    headPane->setPlainText(ForDisplay(style + "\r\n" + script));
    m_shownKind = kind;
    SyncRuntimeRows();
}

void CQuillaryToolView::SyncRuntimeRows() {
    QTreeWidgetItem* classRow = nullptr;
    for (int i = fileList->topLevelItemCount() - 1; i >= 0; --i) {
        QTreeWidgetItem* row = fileList->topLevelItem(i);
        if (row->data(0, kRuntimeRole).toBool())
            delete row;
        else if (row->text(0) == QString::fromUtf8(kAppletClassFile))
            classRow = row;
    }
    if (!IsModernKind(m_shownKind) || classRow == nullptr)
        return;
    for (const char* name : kRuntimeFiles) {
        auto* runtime = new QTreeWidgetItem(fileList);
        runtime->setText(0, QString::fromUtf8(name));
        runtime->setText(1, classRow->text(1));
        runtime->setText(2, classRow->text(2));
        runtime->setData(0, kRuntimeRole, true);
    }
}

void CQuillaryToolView::SetModernHtml(bool modern) {
    m_modernHtml = modern;
    RefreshHtml(LocalHtmlKind());
    emit WidgetChanged();
}

void CQuillaryToolView::RefreshFileList() {
    if (m_document == nullptr || !m_document->HasComponent())
        return;
    CTessel* component = m_document->Component();
    for (int i = 0; i < component->GetResourceNumber(); ++i) {
        auto* row = new QTreeWidgetItem(fileList);
        row->setText(0, ToQt(component->GetResourceName(i)));
        row->setText(1, ToQt(component->GetResourceLocalPath(i)));
        row->setText(2, ToQt(component->GetResourceWebPath(i)));
    }
    SyncRuntimeRows();
}

void CQuillaryToolView::OnConfigure() {
    if (m_document == nullptr || !m_document->HasComponent())
        return;
    // The dialog's edits are unsaved work while it is open, whichever way it closes.
    struct CDialogEdit {
        CQuillaryToolDoc* doc;
        ~CDialogEdit() { doc->SetDialogEdit(false); }
    } editing{m_document};
    m_document->SetDialogEdit(true);
    if (!m_document->Component()->Config())
        return;
    ShowChangedWidget();
}

void CQuillaryToolView::ShowChangedWidget() {
    if (m_document == nullptr || !m_document->HasComponent())
        return;
    fileList->clear();
    RefreshHtml(LocalHtmlKind());
    RefreshFileList();
    m_document->SetModifiedFlag(true);
    emit WidgetChanged();
}

void CQuillaryToolView::OnRename() {
    if (m_document == nullptr || !m_document->HasComponent())
        return;
    CTessel* component = m_document->Component();
    CDlgRename dialog(ToQt(component->GetTitle()), ToQt(component->GetDescription()), window());
    if (!host::services().runDialog(dialog))
        return;
    component->SetTitle(dialog.Name().toStdString());
    component->SetDescription(dialog.Description().toStdString());
    m_document->SetModifiedFlag(true);
    ShowTitles(dialog.Name(), dialog.Description());
    emit WidgetChanged();
}

void CQuillaryToolView::OnGetLocalHtml() {
    if (m_document == nullptr || !m_document->HasComponent())
        return;
    CTessel* component = m_document->Component();
    CDlgGetLocalHtml dialog(ToQt(component->GetPreviewPath()), window());
    if (!host::services().runDialog(dialog))
        return;
    component->SetPreviewPath(NormalizePreviewPath(dialog.PreviewPath()).toStdString());
    RefreshHtml(LocalHtmlKind());
    m_document->SetModifiedFlag(true);
}

void CQuillaryToolView::OnGetWebHtml() {
    RefreshHtml(WebHtmlKind());
}

void CQuillaryToolView::OnGetModernHtml() {
    RefreshHtml(kHtmlModernWeb);
}

void CQuillaryToolView::ResizeParentToFit() {
    auto* frame = qobject_cast<QMainWindow*>(window());
    if (frame == nullptr || frame->centralWidget() != this)
        return;
    if (frame->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
        return;
    if (frame->layout() != nullptr)
        frame->layout()->invalidate();
    const QSize fit = frame->sizeHint();
    const QSize current = frame->size();
    const QSize shrunk(std::min(current.width(), fit.width()),
                       std::min(current.height(), fit.height()));
    if (shrunk != current)
        frame->resize(shrunk);
}
