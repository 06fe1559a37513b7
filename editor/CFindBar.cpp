#include "CFindBar.h"

#include "CConfigTree.h"
#include "CNodeSelection.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidgetItemIterator>

#include <algorithm>

CFindBar::CFindBar(CConfigTree& tree, QWidget* parent)
    : QWidget(parent), m_tree(tree), m_field(new QLineEdit(this)), m_status(new QLabel(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_field, 1);
    layout->addWidget(m_status);
    m_field->setPlaceholderText(tr("Find a label or link"));
    m_field->setAccessibleName(tr("Find in the menu tree"));
    m_field->installEventFilter(this);
    connect(m_field, &QLineEdit::textEdited, this, &CFindBar::Search);
    m_tree.highlighted = [this](const QTreeWidgetItem* node) { return IsMatch(node); };
    hide();
}

void CFindBar::Open() {
    show();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
    Search(m_field->text());
}

void CFindBar::Close() {
    m_matches.clear();
    m_matched.clear();
    hide();
    m_tree.viewport()->update();
    m_tree.setFocus(Qt::OtherFocusReason);
}

void CFindBar::Search(const QString& text) {
    Collect(text);
    if (!m_matches.empty())
        Go(m_matches.front());
    ShowStatus();
}

void CFindBar::Refresh() {
    if (isHidden())
        return;
    Collect(m_field->text());
    ShowStatus();
}

// One pass over every node; the tree repaints once.
void CFindBar::Collect(const QString& text) {
    m_matches.clear();
    m_matched.clear();
    if (!text.isEmpty()) {
        for (QTreeWidgetItemIterator it(&m_tree); *it; ++it) {
            QTreeWidgetItem* node = *it;
            for (int column = 0; column < m_tree.columnCount(); ++column) {
                if (node->text(column).contains(text, Qt::CaseInsensitive)) {
                    m_matches.push_back(node);
                    m_matched.insert(node);
                    break;
                }
            }
        }
    }
    m_tree.viewport()->update();
}

void CFindBar::Step(bool forward) {
    if (m_matches.empty())
        return;
    // The matches lie in tree order; the current node's place among them is found by walking
    // the tree once, so a large tree is never searched once per match.
    const QTreeWidgetItem* current = m_tree.currentItem();
    std::size_t before = 0;
    bool passed = false;
    for (QTreeWidgetItemIterator it(&m_tree); *it && !passed; ++it) {
        passed = *it == current;
        if (!passed && IsMatch(*it))
            ++before;
    }
    const std::size_t count = m_matches.size();
    const bool onMatch = passed && IsMatch(current);
    std::size_t next = 0;
    if (forward)
        next = (before + (onMatch ? 1 : 0)) % count;
    else
        next = (before + count - 1) % count;
    Go(m_matches[next]);
    ShowStatus();
}

void CFindBar::Go(QTreeWidgetItem* node) {
    CNodeSelection::SelectOnly(m_tree, node);
    m_tree.scrollToItem(node);
}

void CFindBar::ShowStatus() {
    if (m_field->text().isEmpty()) {
        m_status->clear();
        return;
    }
    const auto at = std::find(m_matches.begin(), m_matches.end(), m_tree.currentItem());
    m_status->setText(m_matches.empty()
                          ? tr("No match")
                          : tr("%1 of %2")
                                .arg(at == m_matches.end() ? 0 : at - m_matches.begin() + 1)
                                .arg(m_matches.size()));
}

// Enter and Escape end here: the dialog would take them for OK and Cancel.
bool CFindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Step(!(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            Close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
