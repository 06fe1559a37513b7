#include "CLinkColumn.h"

#include "CConfigPreview.h"

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace {

// Edits a link in a one-line field; confirming hands the text on instead of writing it into the
// node, so that it is stored where the page stores it.
class CLinkDelegate : public QStyledItemDelegate {
public:
    CLinkDelegate(QTreeWidget* tree, CLinkColumn* column)
        : QStyledItemDelegate(tree), m_tree(tree), m_column(column) {}

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            edit->setText(index.data(Qt::EditRole).toString());
            edit->selectAll();
        }
    }
    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        auto* edit = qobject_cast<QLineEdit*>(editor);
        QTreeWidgetItem* node = m_tree->itemFromIndex(index.siblingAtColumn(0));
        if (edit && node && m_column->linkEdited)
            m_column->linkEdited(node, edit->text());
    }

private:
    QTreeWidget* m_tree;
    CLinkColumn* m_column;
};

} // namespace

CLinkColumn::CLinkColumn(QTreeWidget& tree) : QObject(&tree), m_tree(tree) {
    m_tree.setColumnCount(kColumn + 1);
    m_tree.setItemDelegateForColumn(kColumn, new CLinkDelegate(&tree, this));
    m_tree.headerItem()->setText(kColumn, tr("Link"));
    QHeaderView* header = m_tree.header();
    header->setStretchLastSection(true);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    m_menu = new QMenu(&tree);
    m_show = m_menu->addAction(tr("Link"));
    m_show->setCheckable(true);
    // Shown until the author hides it: the links are what a menu is for.
    const bool shown =
        CConfigPreview::Profile()->value(QString::fromUtf8(kShownKey), true).toBool();
    m_tree.setColumnHidden(kColumn, !shown);
    m_show->setChecked(shown);
    connect(m_show, &QAction::toggled, this, &CLinkColumn::SetShown);
    connect(header, &QHeaderView::customContextMenuRequested, this,
            [this, header](const QPoint& pos) { m_menu->popup(header->mapToGlobal(pos)); });
}

bool CLinkColumn::IsShown() const {
    return !m_tree.isColumnHidden(kColumn);
}

void CLinkColumn::SetShown(bool shown) {
    m_tree.setColumnHidden(kColumn, !shown);
    if (m_show->isChecked() != shown)
        m_show->setChecked(shown);
    CConfigPreview::Profile()->setValue(QString::fromUtf8(kShownKey), shown);
}

bool CLinkColumn::Edit(QTreeWidgetItem* node) {
    if (!IsShown() || !node || !(node->flags() & Qt::ItemIsEditable))
        return false;
    m_tree.scrollToItem(node);
    m_tree.setCurrentItem(node, kColumn, QItemSelectionModel::NoUpdate);
    m_tree.editItem(node, kColumn);
    return true;
}
