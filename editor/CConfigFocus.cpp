#include "CConfigFocus.h"

#include "CDlgConfig.h"
#include "CPropertySheet.h"

#include <QKeyEvent>
#include <QMouseEvent>

CConfigFocus::CConfigFocus(CDlgConfig& dialog) : QObject(&dialog), m_dialog(dialog) {
    m_dialog.Tree()->installEventFilter(this);
    m_dialog.Tree()->viewport()->installEventFilter(this);
    m_dialog.PageArea()->installEventFilter(this);
}

QWidget* CConfigFocus::FirstField(QWidget* page) {
    for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(page) &&
            (w->focusPolicy() & Qt::TabFocus))
            return w;
    }
    return nullptr;
}

void CConfigFocus::OrderTabs(const std::vector<QWidget*>& widgets) {
    for (std::size_t i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

bool CConfigFocus::EnterPage() {
    CPropertySheet* sheet = m_dialog.CurrentSheet();
    if (!sheet || sheet->isHidden() || !sheet->ActivePage())
        return false;
    QWidget* field = FirstField(sheet->ActivePage());
    if (!field)
        return false;
    field->setFocus(Qt::TabFocusReason);
    return true;
}

// Enter would otherwise reach the dialog and press OK. Enter confirming a label edited in place
// passes the tree on its way up, and is left to it.
bool CConfigFocus::OnTreeKey(const QKeyEvent& event) {
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    if (!enter || (event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier ||
        !m_dialog.Tree()->hasFocus())
        return false;
    EnterPage();
    return true;
}

// A key no control of a page took comes up to the page area; Escape there would cancel the
// whole dialog.
bool CConfigFocus::OnPageKey(const QKeyEvent& event) {
    if (event.key() != Qt::Key_Escape || event.modifiers() != Qt::NoModifier)
        return false;
    m_dialog.Tree()->setFocus(Qt::OtherFocusReason);
    return true;
}

// The tree's own handling of the right button would move the selection again.
bool CConfigFocus::OnTreeMouse(const QMouseEvent& event) {
    if (event.button() != Qt::RightButton)
        return false;
    if (event.type() != QEvent::MouseButtonPress)
        return true;
    QTreeWidget* tree = m_dialog.Tree();
    if (QTreeWidgetItem* node = tree->itemAt(event.position().toPoint())) {
        if (node->isSelected())
            tree->setCurrentItem(node, 0, QItemSelectionModel::NoUpdate);
        else
            m_dialog.SelectNode(node);
    }
    return true;
}

bool CConfigFocus::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (watched == m_dialog.Tree() && OnTreeKey(key))
            return true;
        if (watched == m_dialog.PageArea() && OnPageKey(key))
            return true;
    }
    if (watched == m_dialog.Tree()->viewport() &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
         type == QEvent::MouseButtonRelease))
        return OnTreeMouse(static_cast<const QMouseEvent&>(*event));
    return QObject::eventFilter(watched, event);
}
