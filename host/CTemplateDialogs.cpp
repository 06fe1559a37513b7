#include "CTemplateDialogs.h"

#include "FoldlineDispatch.h"
#include "QtText.h"

#include "HostServices.h"
#include "HostStrings.h"
#include "NameRule.h"
#include "Prompts.h"
#include "Reasons.h"
#include "TemplateFolders.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace host {

std::string TemplatePath(const std::string& componentFolder, const std::string& name,
                         const std::string& progId) {
    return componentFolder + "/" + name + "_" + progId + "." + kTemplateExtension;
}

} // namespace host

namespace {

// Shows the name rule's message; true when the name is accepted.
bool AcceptName(QWidget* owner, const QString& name, const char* invalidMessage) {
    switch (host::CheckName(name)) {
    case host::NameCheck::Ok:
        return true;
    case host::NameCheck::Empty:
        host::Message(owner, host::NameMessage(host::kMsgEnterName));
        return false;
    case host::NameCheck::InvalidCharacter:
        host::Message(owner, host::NameMessage(invalidMessage));
        return false;
    }
    return false;
}

void Scan(CTessel& tessel, TemplateList& list) {
    tessel.ScanTemplates(list.titles, list.descriptions, list.paths);
}

bool FileExists(const std::string& path) {
    return QFileInfo::exists(ToQt(path));
}

// The template of that name in any folder templates are listed from (a shipped one in a read-only
// component folder counts too); empty when there is none.
std::string ExistingTemplate(const CTessel& tessel, const std::string& name) {
    for (const std::string& folder : host::TemplateFolders(tessel.componentFolder)) {
        const std::string path = host::TemplatePath(folder, name, tessel.progId);
        if (FileExists(path))
            return path;
    }
    return std::string();
}

// Removes a template file; when it stays (e.g. shipped in a read-only folder), why: "path: reason".
std::string RemoveTemplate(const std::string& path) {
    if (!host::IsWritableFolder(FolderOfPath(path)))
        return path + ": " + std::strerror(EACCES);
    if (std::remove(path.c_str()) == 0)
        return std::string();
    const int error = errno;
    return FileExists(path) ? path + ": " + std::strerror(error) : std::string();
}

// A caption that names the control below or beside it for screen readers.
QLabel* Caption(const QString& text, QWidget* parent, QWidget* control) {
    auto* caption = new QLabel(text, parent);
    host::NameByLabel(caption, control);
    return caption;
}

// The "Name:" and "Description:" rows every template dialog starts with.
QGridLayout* NameAndDescriptionGrid(QDialog* dialog, QLineEdit* name, QLineEdit* description) {
    auto* grid = new QGridLayout(dialog);
    grid->addWidget(Caption(QCoreApplication::translate("CTemplateDialogs", "Name:"), dialog, name),
                    0, 0);
    grid->addWidget(name, 0, 1);
    grid->addWidget(Caption(QCoreApplication::translate("CTemplateDialogs", "Description:"), dialog,
                            description),
                    1, 0);
    grid->addWidget(description, 1, 1);
    return grid;
}

} // namespace

// ---- New ----------------------------------------------------------------------------------------

CDlgNew::CDlgNew(CTessel& documentWidget, QWidget* parent)
    : QDialog(parent), m_document(documentWidget) {
    setWindowTitle(tr("New "));
    nameEdit = new QLineEdit(this);
    descriptionEdit = new QLineEdit(this);
    templateList = new QListWidget(this);
    descriptionLine = new QLabel(this);
    descriptionLine->setWordWrap(true);
    descriptionLine->setTextFormat(Qt::PlainText);

    QGridLayout* grid = NameAndDescriptionGrid(this, nameEdit, descriptionEdit);
    grid->addWidget(Caption(tr("Select a Template:"), this, templateList), 2, 0, 1, 2);
    grid->addWidget(templateList, 3, 0, 1, 2);
    grid->addWidget(descriptionLine, 4, 0, 1, 2);
    grid->addWidget(host::OkCancelButtons(this), 5, 0, 1, 2);

    connect(templateList, &QListWidget::currentRowChanged, this, &CDlgNew::OnSelectionChanged);
}

bool CDlgNew::Initialize() {
    if (!m_tessel.Create(kFoldlineProgID))
        return false;
    nameEdit->setText(ToQt(m_tessel.GetTitle()));
    descriptionEdit->setText(ToQt(m_tessel.GetDescription()));
    Scan(m_tessel, templates);
    templateList->blockSignals(true);
    for (const std::string& title : templates.titles)
        templateList->addItem(ToQt(title));
    templateList->blockSignals(false);
    if (templates.Count() > 0) {
        templateList->setCurrentRow(0);
        OnSelectionChanged(0);
    }
    return true;
}

void CDlgNew::OnSelectionChanged(int index) {
    if (index >= 0 && index < templates.Count())
        descriptionLine->setText(ToQt(templates.descriptions[static_cast<std::size_t>(index)]));
}

void CDlgNew::accept() {
    if (TryAccept())
        QDialog::accept();
}

bool CDlgNew::TryAccept() {
    const QString name = nameEdit->text();
    if (!AcceptName(this, name, host::kMsgInvalidWidgetName))
        return false;
    const int index = templateList->currentRow();
    if (index >= 0 && index < templates.Count())
        m_document.ReadConfigFile(templates.paths[static_cast<std::size_t>(index)]);
    m_document.SetTitle(name.toStdString());
    m_document.SetDescription(descriptionEdit->text().toStdString());
    m_document.SetPreviewPath("");
    return true;
}

bool RunNewDialog(CTessel& documentWidget, QWidget* parent) {
    CDlgNew dialog(documentWidget, parent);
    if (!dialog.Initialize())
        return false;
    return host::services().runDialog(dialog);
}

// ---- Save as Template ---------------------------------------------------------------------------

CDlgSaveAsTemplate::CDlgSaveAsTemplate(const std::string& name, const std::string& description,
                                       QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Save as Template"));
    nameEdit = new QLineEdit(ToQt(name), this);
    descriptionEdit = new QLineEdit(ToQt(description), this);
    pathLine = new QLabel(this);
    pathLine->setTextFormat(Qt::PlainText);
    templateList = new QListWidget(this);

    QGridLayout* grid = NameAndDescriptionGrid(this, nameEdit, descriptionEdit);
    grid->addWidget(Caption(tr("Widget's parameters will stored in:"), this, pathLine), 2, 0, 1, 2);
    grid->addWidget(pathLine, 3, 0, 1, 2);
    grid->addWidget(Caption(tr("Existing Templates:"), this, templateList), 4, 0, 1, 2);
    grid->addWidget(templateList, 5, 0, 1, 2);
    grid->addWidget(host::OkCancelButtons(this), 6, 0, 1, 2);

    connect(nameEdit, &QLineEdit::textChanged, this, &CDlgSaveAsTemplate::OnNameChanged);
}

bool CDlgSaveAsTemplate::Initialize() {
    if (!m_tessel.Create(kFoldlineProgID)) {
        host::Message(parentWidget(), tr("Save as template failure!"));
        return false;
    }
    OnNameChanged();
    Scan(m_tessel, templates);
    for (const std::string& title : templates.titles)
        templateList->addItem(ToQt(title));
    return true;
}

void CDlgSaveAsTemplate::OnNameChanged() {
    const std::string name = nameEdit->text().toStdString();
    const std::string folder = host::TemplateWriteFolder(m_tessel.componentFolder);
    pathLine->setText(name.empty() ? ToQt(folder + "/")
                                   : ToQt(host::TemplatePath(folder, name, m_tessel.progId)));
}

void CDlgSaveAsTemplate::accept() {
    if (TryAccept())
        QDialog::accept();
}

bool CDlgSaveAsTemplate::TryAccept() {
    if (!AcceptName(this, nameEdit->text(), host::kMsgInvalidTemplateName))
        return false;
    const std::string shown = TemplatePathText();
    const std::string existing = FileExists(shown) ? shown : ExistingTemplate(m_tessel, Name());
    if (!existing.empty()) {
        host::Message(
            this,
            tr("%1 is already exist.Please enter a new template name.\n").arg(ToQt(existing)));
        return false;
    }
    return true;
}

std::string CDlgSaveAsTemplate::Name() const {
    return nameEdit->text().toStdString();
}
std::string CDlgSaveAsTemplate::Description() const {
    return descriptionEdit->text().toStdString();
}
std::string CDlgSaveAsTemplate::TemplatePathText() const {
    return pathLine->text().toStdString();
}

bool RunSaveAsTemplateDialog(std::string& name, std::string& description, std::string& path,
                             QWidget* parent) {
    CDlgSaveAsTemplate dialog(name, description, parent);
    if (!dialog.Initialize() || !host::services().runDialog(dialog))
        return false;
    name = dialog.Name();
    description = dialog.Description();
    path = dialog.TemplatePathText();
    return true;
}

// ---- Manage Templates ---------------------------------------------------------------------------

CDlgManageTemplates::CDlgManageTemplates(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Manage Templates"));
    nameEdit = new QLineEdit(this);
    descriptionEdit = new QLineEdit(this);
    templateList = new QListWidget(this);
    auto* ok = new QPushButton(tr("OK"), this);
    auto* rename = new QPushButton(tr("Rename"), this);
    auto* remove = new QPushButton(tr("Delete"), this);
    ok->setDefault(true);

    QGridLayout* grid = NameAndDescriptionGrid(this, nameEdit, descriptionEdit);
    grid->addWidget(Caption(tr("Templates List:"), this, templateList), 2, 0, 1, 2);
    grid->addWidget(templateList, 3, 0, 1, 2);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(rename);
    row->addWidget(remove);
    grid->addLayout(row, 4, 0, 1, 2);

    connect(templateList, &QListWidget::currentRowChanged, this,
            &CDlgManageTemplates::OnSelectionChanged);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(rename, &QPushButton::clicked, this, &CDlgManageTemplates::OnRename);
    connect(remove, &QPushButton::clicked, this, &CDlgManageTemplates::OnDelete);
}

bool CDlgManageTemplates::Initialize() {
    if (!m_tessel.Create(kFoldlineProgID)) {
        host::Message(parentWidget(), tr("Manage templates failure!"));
        return false;
    }
    Scan(m_tessel, templates);
    FillList();
    Select(templates.Count() > 0 ? 0 : -1);
    return true;
}

void CDlgManageTemplates::FillList() {
    templateList->blockSignals(true);
    templateList->clear();
    for (const std::string& title : templates.titles)
        templateList->addItem(ToQt(title));
    templateList->blockSignals(false);
}

void CDlgManageTemplates::Select(int index) {
    m_selected = index;
    templateList->blockSignals(true);
    templateList->setCurrentRow(index);
    templateList->blockSignals(false);
    if (index >= 0) {
        nameEdit->setText(ToQt(templates.titles[static_cast<std::size_t>(index)]));
        descriptionEdit->setText(ToQt(templates.descriptions[static_cast<std::size_t>(index)]));
    } else {
        nameEdit->clear();
        descriptionEdit->clear();
    }
}

void CDlgManageTemplates::OnSelectionChanged(int index) {
    if (index >= 0 && index < templates.Count() && index != m_selected)
        Select(index);
}

void CDlgManageTemplates::OnDelete() {
    if (m_selected < 0) {
        host::Message(this, tr("Please select a template first!"));
        return;
    }
    const auto at = static_cast<std::size_t>(m_selected);
    const QString question =
        tr("Are you sure to delete \"%1\" template?").arg(ToQt(templates.titles[at]));
    if (!ui::askOkCancel(this, QString::fromUtf8(host::kAppTitle), question, ui::Icon::Exclamation))
        return;
    // A template in a read-only folder stays; dropping it from the list would hide that.
    if (const std::string reason = RemoveTemplate(templates.paths[at]); !reason.empty()) {
        host::Message(this, host::WithReason(tr("Delete Failure!"), reason));
        return;
    }
    templates.titles.erase(templates.titles.begin() + m_selected);
    templates.descriptions.erase(templates.descriptions.begin() + m_selected);
    templates.paths.erase(templates.paths.begin() + m_selected);
    FillList();
    const int count = templates.Count();
    Select(count == 0 ? -1 : std::min(m_selected, count - 1));
}

void CDlgManageTemplates::OnRename() {
    if (m_selected < 0) {
        host::Message(this, tr("Please select a template first!"));
        return;
    }
    const QString name = nameEdit->text();
    if (!AcceptName(this, name, host::kMsgInvalidTemplateName))
        return;
    const std::string newPath = host::TemplatePath(
        host::TemplateWriteFolder(m_tessel.componentFolder), name.toStdString(), m_tessel.progId);
    if (!ExistingTemplate(m_tessel, name.toStdString()).empty()) {
        host::Message(this, tr("The %1 template has been there,please give a new name!").arg(name));
        return;
    }
    const auto at = static_cast<std::size_t>(m_selected);
    const QString question = tr("Are you sure to rename \"%1\" template to \"%2\"?")
                                 .arg(ToQt(templates.titles[at]), name);
    if (!ui::askOkCancel(this, QString::fromUtf8(host::kAppTitle), question, ui::Icon::Exclamation))
        return;
    const std::string oldPath = templates.paths[at];
    const std::string description = descriptionEdit->text().toStdString();
    // A template that cannot be removed would be listed twice after the rename.
    bool renamed = host::IsWritableFolder(FolderOfPath(oldPath));
    QString reason = renamed ? QString() : ToQt(oldPath + ": " + std::strerror(EACCES));
    if (renamed) {
        m_tessel.ReadConfigFile(oldPath);
        m_tessel.SetTitle(name.toStdString());
        m_tessel.SetDescription(description);
        const host::WriteOutcome outcome = host::WriteWidget(m_tessel, newPath);
        renamed = outcome.written;
        reason = renamed ? ToQt(RemoveTemplate(oldPath)) : outcome.reason;
        if (renamed && !reason.isEmpty()) {
            std::remove(newPath.c_str());
            renamed = false;
        }
    }
    if (!renamed) {
        host::Message(this, host::WithReason(tr("Rename Failure!"), reason));
        return;
    }
    templates.titles[at] = name.toStdString();
    templates.descriptions[at] = description;
    templates.paths[at] = newPath;
    const int keep = m_selected;
    FillList();
    Select(keep);
}

void RunManageTemplatesDialog(QWidget* parent) {
    CDlgManageTemplates dialog(parent);
    if (dialog.Initialize())
        host::services().runDialog(dialog);
}
