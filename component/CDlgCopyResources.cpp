#include "CDlgCopyResources.h"

#include "CDlgBrowseFiles.h"
#include "Paths.h"
#include "Prompts.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kTitle = QStringLiteral("Quillary Foldline");

// Only the destination name is editable; a finished edit goes through the dialog's rules.
class CRenameDelegate : public QStyledItemDelegate {
public:
    explicit CRenameDelegate(CDlgCopyResources* dialog)
        : QStyledItemDelegate(dialog), m_dialog(dialog) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (index.column() != 0)
            return nullptr;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            m_dialog->RenameRow(index.row(), line->text());
    }

private:
    CDlgCopyResources* m_dialog;
};

QString DestinationText(const std::string& folder) {
    return CDlgCopyResources::tr("Destination Directory: %1").arg(QString::fromStdString(folder));
}

} // namespace

CDlgCopyResources::CDlgCopyResources(const std::string& destinationFolder, QWidget* parent)
    : QDialog(parent), m_destination(destinationFolder) {
    setWindowTitle(tr("Copy Resources"));

    m_folderLabel = new QLabel(DestinationText(m_destination), this);

    m_list = new QTreeWidget(this);
    m_list->setColumnCount(2);
    const QString nameHeader = tr("Destination File Name");
    const QString sourceHeader = tr("Resource File");
    m_list->setHeaderLabels({nameHeader, sourceHeader});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    m_list->setItemDelegate(new CRenameDelegate(this));
    const QFontMetrics metrics(m_list->header()->font());
    m_list->header()->setStretchLastSection(false);
    m_list->setColumnWidth(0, metrics.horizontalAdvance(nameHeader));
    m_list->setColumnWidth(1, metrics.horizontalAdvance(sourceHeader) + 140);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setDefault(true);
    auto* browse = new QPushButton(tr("Browse ..."), this);
    auto* rename = new QPushButton(tr("Rename"), this);
    connect(ok, &QPushButton::clicked, this, &CDlgCopyResources::accept);
    connect(browse, &QPushButton::clicked, this, &CDlgCopyResources::OnBrowse);
    connect(rename, &QPushButton::clicked, this, &CDlgCopyResources::OnRename);

    auto* note =
        new QLabel(tr("These files' names have already been used in the destination directory. "
                      "If you don't rename the destination file's name, the files with same name "
                      "will be overwritten."),
                   this);
    note->setWordWrap(true);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(browse);
    buttons->addWidget(rename);
    buttons->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_list, 1);
    middle->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_folderLabel);
    layout->addLayout(middle, 1);
    layout->addWidget(note);
}

CDlgCopyResources::~CDlgCopyResources() = default;

void CDlgCopyResources::AddConflict(std::string* reference) {
    if (!reference)
        return;
    m_conflicts[*reference].push_back(reference);
    ++m_conflictCount;
    m_rowsCurrent = false;
}

void CDlgCopyResources::EnsureRows() {
    if (m_rowsCurrent)
        return;
    m_rowsCurrent = true;
    m_list->clear();
    m_rowSources.clear();
    for (const auto& [source, references] : m_conflicts) {
        auto* row = new QTreeWidgetItem(m_list);
        row->setText(0, QString::fromStdString(FileNameOfPath(source)));
        row->setText(1, QString::fromStdString(source));
        row->setFlags(row->flags() | Qt::ItemIsEditable);
        m_rowSources.push_back(source);
    }
}

void CDlgCopyResources::showEvent(QShowEvent* event) {
    EnsureRows();
    QDialog::showEvent(event);
}

int CDlgCopyResources::RowCount() {
    EnsureRows();
    return m_list->topLevelItemCount();
}

QString CDlgCopyResources::RowDestinationName(int row) {
    EnsureRows();
    QTreeWidgetItem* item = m_list->topLevelItem(row);
    return item ? item->text(0) : QString();
}

QString CDlgCopyResources::RowSourcePath(int row) {
    EnsureRows();
    QTreeWidgetItem* item = m_list->topLevelItem(row);
    return item ? item->text(1) : QString();
}

bool CDlgCopyResources::RenameRow(int row, const QString& name) {
    EnsureRows();
    QTreeWidgetItem* item = m_list->topLevelItem(row);
    if (!item || name.isEmpty())
        return false;
    // The copy goes to destination + name: the name must stay a single entry of that folder.
    if (name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.contains(QChar(u'\0')))
        return false;
    item->setText(0, name);
    return true;
}

void CDlgCopyResources::OnRename() {
    EnsureRows();
    QTreeWidgetItem* item = m_list->currentItem();
    if (!item) {
        ui::showMessage(this, kTitle, tr("Please select a file to rename first!"), ui::Icon::None);
        return;
    }
    m_list->setFocus();
    m_list->editItem(item, 0);
}

void CDlgCopyResources::OnBrowse() {
    CDlgBrowseFiles browse(QString::fromStdString(m_destination),
                           QStringLiteral("*.gif;*.jpg;*.jpeg;*.au"), this);
    if (browse.Init())
        browse.exec();
}

bool CDlgCopyResources::ResolveConflicts(const std::string& destinationFolder,
                                         std::vector<CopyConflict>& conflicts) {
    if (destinationFolder != m_destination) {
        m_destination = destinationFolder;
        m_folderLabel->setText(DestinationText(m_destination));
    }
    for (CopyConflict& conflict : conflicts)
        for (std::string* reference : conflict.references)
            AddConflict(reference);
    if (!Runner()(*this))
        return false;
    EnsureRows();
    for (CopyConflict& conflict : conflicts) {
        const auto row = std::find(m_rowSources.begin(), m_rowSources.end(), conflict.source);
        if (row != m_rowSources.end())
            conflict.targetName = m_list->topLevelItem(static_cast<int>(row - m_rowSources.begin()))
                                      ->text(0)
                                      .toStdString();
    }
    return true;
}

bool CDlgCopyResources::OnDemand::ResolveConflicts(const std::string& destinationFolder,
                                                   std::vector<CopyConflict>& conflicts) {
    if (conflicts.empty() || !ui::canShowDialogs())
        return false;
    CDlgCopyResources dialog(destinationFolder);
    return dialog.ResolveConflicts(destinationFolder, conflicts);
}

std::function<bool(CDlgCopyResources&)>& CDlgCopyResources::Runner() {
    static std::function<bool(CDlgCopyResources&)> runner = [](CDlgCopyResources& dialog) {
        return dialog.exec() == QDialog::Accepted;
    };
    return runner;
}
