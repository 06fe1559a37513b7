#include "CPropertySheet.h"

#include "CEditSession.h"
#include "ComboBoxNames.h"
#include "EditorHelp.h"

#include <QPushButton>

CPropertyPage::CPropertyPage(const QString& title, CEditSession* session, QWidget* parent)
    : QWidget(parent), m_session(session), m_title(title) {
    NameComboBoxesByTheirNames();
}

void CPropertyPage::ApplyControlsTo(const CEditTarget&) const {}

CEditTarget CPropertyPage::LiveTarget() const {
    return {&m_session->Model(), m_session->CurrentMenu, m_session->CurrentItem};
}

void CPropertyPage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier && HelpTopic() != 0) {
        OpenHelpTopic(HelpTopic());
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CPropertyPage::DisableAutoDefaultButtons() {
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
}

void CPropertySheet::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier && HelpTopic() != 0) {
        OpenHelpTopic(HelpTopic());
        event->accept();
        return;
    }
    QTabWidget::keyPressEvent(event);
}

CPropertySheet::CPropertySheet(CEditSession* session, QWidget* parent)
    : QTabWidget(parent), m_session(session) {
    // A tab change runs the protocol; a refused LeavePage puts the old tab back.
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_switching || index == m_current)
            return;
        CPropertyPage* leaving = Page(m_current);
        if (leaving && !leaving->LeavePage()) {
            m_switching = true;
            setCurrentIndex(m_current);
            m_switching = false;
            return;
        }
        m_current = index;
        if (CPropertyPage* entering = Page(index))
            entering->EnterPage();
    });
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    m_switching = true;
    addTab(page, page->Title());
    m_switching = false;
    if (m_current < 0)
        m_current = currentIndex();
}

CPropertyPage* CPropertySheet::ActivePage() const {
    return Page(m_current);
}

CPropertyPage* CPropertySheet::Page(int index) const {
    return index < 0 ? nullptr : qobject_cast<CPropertyPage*>(widget(index));
}

void CPropertySheet::EnterActivePage() {
    if (CPropertyPage* page = ActivePage())
        page->EnterPage();
}

bool CPropertySheet::LeaveActivePage() {
    CPropertyPage* page = ActivePage();
    return page ? page->LeavePage() : true;
}

bool CPropertySheet::SetActivePage(int index) {
    if (index < 0 || index >= count())
        return false;
    setCurrentIndex(index);
    return m_current == index;
}
