#include "CDlgStateFiles.h"

#include "DataExchange.h"
#include "EditorHelp.h"
#include "PageDialogs.h"
#include "PageLayout.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CDlgStateFiles::CDlgStateFiles(const QString& title, const QStringList& stateLabels,
                               const QString& chooseName, const QString& filter, QWidget* parent)
    : QDialog(parent), m_filter(filter) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    m_states.resize(stateLabels.size());
    for (int i = 0; i < stateLabels.size(); ++i) {
        m_states[i].edit = new QLineEdit;
        AddLabeledRow(grid, i, stateLabels[i], m_states[i].edit);
        const QString name = chooseName.arg(FieldName(stateLabels[i]));
        grid->addWidget(BrowseButton(name, this, [this, i] { Browse(i); }), i, 2);
    }

    m_scope = AddRadioGroup(
        this, layout, tr("Apply to"),
        {tr("Only This Item"), tr("All the Items in the Same Menu"), tr("All the Items")});

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::Help);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // No topic of its own: the help opens at its contents.
    connect(buttons, &QDialogButtonBox::helpRequested, this, [] { OpenHelpTopic(0); });
    layout->addWidget(buttons);
    FillControls();
}

void CDlgStateFiles::SetState(int state, const QString& path, const QString& webPath) {
    m_states[state].path = path;
    m_states[state].webPath = webPath;
    m_states[state].edit->setText(path);
}

void CDlgStateFiles::SetApplyScope(int scope) {
    m_applyScope = scope;
    ShowRadio(m_scope, scope);
}

void CDlgStateFiles::Browse(int state) {
    ReadControls();
    QString path;
    QString webPath;
    if (!ChooseWebPathFile(this, m_states[state].path, m_filter, m_states[state].webPath, &path,
                           &webPath))
        return;
    m_states[state].path = path;
    m_states[state].webPath = webPath;
    FillControls();
}

// A path typed by hand keeps its web folder: only "..." changes the companion.
void CDlgStateFiles::ReadControls() {
    for (State& s : m_states)
        s.path = s.edit->text();
    CDataExchange dx(this);
    dx.Radio(m_scope, m_applyScope);
}

void CDlgStateFiles::FillControls() {
    for (State& s : m_states)
        s.edit->setText(s.path);
    ShowRadio(m_scope, m_applyScope);
}

void CDlgStateFiles::accept() {
    ReadControls();
    QDialog::accept();
}
