#include "CDlgWebBrowser.h"

#include "CQuillaryToolApp.h"
#include "HostServices.h"
#include "Prompts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QVBoxLayout>

CDlgWebBrowser::CDlgWebBrowser(const host::BrowserChoice& current, QWidget* parent)
    : QDialog(parent), m_choice(current) {
    setWindowTitle(tr("Web Browser"));
    auto* group = new QGroupBox(tr("Web Browser"), this);
    useDefault = new QRadioButton(tr("Use default browser"), group);
    useKnown = new QRadioButton(tr("Choose from known browsers"), group);
    useProgram = new QRadioButton(tr("User specified browser"), group);
    knownList = new QComboBox(group);
    programEdit = new QLineEdit(group);
    auto* browse = new QPushButton(QStringLiteral("..."), group);
    browse->setMaximumWidth(32);
    // Neither has a caption of its own to be named by.
    knownList->setAccessibleName(tr("Known browsers"));
    browse->setAccessibleName(tr("Choose the execute file"));
    auto* programCaption = new QLabel(tr("Execute File:"), group);
    host::NameByLabel(programCaption, programEdit);

    auto* grid = new QGridLayout(group);
    grid->addWidget(useDefault, 0, 0, 1, 3);
    grid->addWidget(useKnown, 1, 0, 1, 3);
    grid->addWidget(knownList, 2, 1, 1, 2);
    grid->addWidget(useProgram, 3, 0, 1, 3);
    grid->addWidget(programCaption, 4, 1);
    grid->addWidget(programEdit, 5, 1);
    grid->addWidget(browse, 5, 2);
    grid->setColumnMinimumWidth(0, 16);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(host::OkCancelButtons(this));

    for (const host::KnownBrowser& browser : host::KnownBrowsers())
        knownList->addItem(browser.name);
    if (current.mode == 1)
        useDefault->setChecked(true);
    else if (current.mode == 0)
        useProgram->setChecked(true);
    else
        useKnown->setChecked(true);
    knownList->setCurrentIndex(current.knownIndex < knownList->count() ? current.knownIndex : -1);
    programEdit->setText(current.program);

    connect(browse, &QPushButton::clicked, this, &CDlgWebBrowser::OnBrowse);
}

void CDlgWebBrowser::OnBrowse() {
    // Programs here carry no extension; every file is offered.
    const QString path = ui::prompts().pickOpenFile(
        this, QString(), programEdit->text(), tr("Web Browser(*.EXE)") + QStringLiteral(" | *"));
    if (!path.isEmpty())
        programEdit->setText(path);
}

void CDlgWebBrowser::accept() {
    if (TryAccept())
        QDialog::accept();
}

bool CDlgWebBrowser::TryAccept() {
    if (useProgram->isChecked() && programEdit->text().isEmpty()) {
        host::Message(this, tr("You must specify the web browser's execute file!"));
        return false;
    }
    if (useDefault->isChecked()) {
        m_choice.mode = 1;
    } else if (useKnown->isChecked()) {
        m_choice.mode = 2;
        m_choice.knownIndex = knownList->currentIndex();
    } else {
        m_choice.mode = 0;
        m_choice.program = programEdit->text();
    }
    return true;
}

host::BrowserChoice CDlgWebBrowser::Result() const {
    return m_choice;
}

bool RunWebBrowserDialog(host::BrowserChoice& choice, QWidget* parent) {
    CDlgWebBrowser dialog(choice, parent);
    if (!host::services().runDialog(dialog))
        return false;
    choice = dialog.Result();
    if (auto profile = CQuillaryToolApp::Profile())
        host::WriteBrowserChoice(*profile, choice);
    return true;
}
