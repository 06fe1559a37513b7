#include "CDlgCheckLinks.h"

#include "HostServices.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kNodeRole = Qt::UserRole;
constexpr int kBrokenRole = Qt::UserRole + 1;
constexpr int kWebRole = Qt::UserRole + 2;

} // namespace

CDlgCheckLinks::CDlgCheckLinks(const QList<host::LinkRow>& rows, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Check Links"));
    auto* layout = new QVBoxLayout(this);
    m_summary = new QLabel(this);
    layout->addWidget(m_summary);
    auto* caption = new QLabel(tr("&Links:"), this);
    layout->addWidget(caption);
    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({tr("Item"), tr("Link"), tr("Reason")});
    m_list->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_list->setMinimumSize(640, 280);
    host::NameByLabel(caption, m_list);
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_web = buttons->addButton(tr("Check &Web Links"), QDialogButtonBox::ActionRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_web, &QPushButton::clicked, this, &CDlgCheckLinks::CheckWeb);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* row) { OpenRow(row); });
    for (const host::LinkRow& row : rows)
        AddRow(row, -1);
    for (int c = 0; c < 3; ++c)
        m_list->resizeColumnToContents(c);
    UpdateSummary();
}

void CDlgCheckLinks::AddRow(const host::LinkRow& row, int index) {
    auto* item = new QTreeWidgetItem({row.path, row.link, row.reason});
    item->setData(0, kNodeRole, row.node);
    item->setData(0, kBrokenRole, row.Broken());
    item->setToolTip(1, row.link);
    if (!row.node.isEmpty())
        item->setToolTip(0, tr("Double-click to open this item in the configuration dialog"));
    if (index < 0)
        m_list->addTopLevelItem(item);
    else
        m_list->insertTopLevelItem(index, item);
}

void CDlgCheckLinks::UpdateSummary() {
    int broken = 0;
    int unlisted = 0;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        ++(m_list->topLevelItem(i)->data(0, kBrokenRole).toBool() ? broken : unlisted);
    QString summary = tr("Broken links: %1. Pages not in the menu: %2.").arg(broken).arg(unlisted);
    if (m_webStopped)
        summary += ' ' + tr("The check of the web links was stopped before it asked them all.");
    m_summary->setText(summary);
}

void CDlgCheckLinks::OpenRow(QTreeWidgetItem* row) {
    const QString node = row ? row->data(0, kNodeRole).toString() : QString();
    if (!node.isEmpty() && openItem)
        openItem(node);
}

void CDlgCheckLinks::CheckWeb() {
    if (!checkWeb)
        return;
    m_web->setEnabled(false);
    const host::WebCheckOutcome outcome = checkWeb();
    for (int i = m_list->topLevelItemCount() - 1; i >= 0; --i)
        if (m_list->topLevelItem(i)->data(0, kWebRole).toBool())
            delete m_list->takeTopLevelItem(i);
    int at = 0;
    while (at < m_list->topLevelItemCount() &&
           m_list->topLevelItem(at)->data(0, kBrokenRole).toBool())
        ++at;
    for (const host::LinkRow& row : outcome.failed) {
        AddRow(row, at);
        m_list->topLevelItem(at++)->setData(0, kWebRole, true);
    }
    // A finished check has nothing more to find; a stopped one can be run again.
    m_webStopped = outcome.stopped;
    m_web->setEnabled(m_webStopped);
    UpdateSummary();
}
