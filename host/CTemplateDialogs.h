// The three template dialogs. Each holds a component instance of its own, which it uses to list
// the templates and, in Manage Templates, to rewrite them.
#pragma once

#include "CTessel.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;

namespace host {
// componentFolder + "/" + name + "_" + progId + ".tsl"
std::string TemplatePath(const std::string& componentFolder, const std::string& name,
                         const std::string& progId);
} // namespace host

// Lists shared by the dialogs: entry i of the three describes one template file.
struct TemplateList {
    std::vector<std::string> titles;
    std::vector<std::string> descriptions;
    std::vector<std::string> paths;
    int Count() const { return static_cast<int>(paths.size()); }
};

// The New dialog: a new widget starts as a copy of a chosen template.
class CDlgNew : public QDialog {
    Q_OBJECT
public:
    CDlgNew(CTessel& documentWidget, QWidget* parent = nullptr);

    // Creates the dialog's instance and fills the fields; false closes the dialog as cancelled.
    bool Initialize();
    void OnSelectionChanged(int index);
    // OK: validates the name, then prepares the document's widget. False keeps the dialog open.
    bool TryAccept();
    void accept() override;

    QLineEdit* nameEdit;
    QLineEdit* descriptionEdit;
    QListWidget* templateList;
    QLabel* descriptionLine;
    TemplateList templates;

private:
    CTessel& m_document;
    CTessel m_tessel;
};

// The Save as Template dialog.
class CDlgSaveAsTemplate : public QDialog {
    Q_OBJECT
public:
    CDlgSaveAsTemplate(const std::string& name, const std::string& description,
                       QWidget* parent = nullptr);

    // False (after "Save as template failure!") when no instance can be created.
    bool Initialize();
    void OnNameChanged();
    bool TryAccept();
    void accept() override;

    std::string Name() const;
    std::string Description() const;
    std::string TemplatePathText() const;

    QLineEdit* nameEdit;
    QLineEdit* descriptionEdit;
    QLabel* pathLine;
    QListWidget* templateList;
    TemplateList templates;

private:
    CTessel m_tessel;
};

// The Manage Templates dialog: rename or delete templates.
class CDlgManageTemplates : public QDialog {
    Q_OBJECT
public:
    explicit CDlgManageTemplates(QWidget* parent = nullptr);

    // False (after "Manage templates failure!") when no instance can be created.
    bool Initialize();
    void OnSelectionChanged(int index);
    void OnDelete();
    void OnRename();
    int Selected() const { return m_selected; }

    QLineEdit* nameEdit;
    QLineEdit* descriptionEdit;
    QListWidget* templateList;
    TemplateList templates;

private:
    void Select(int index);
    void FillList();

    CTessel m_tessel;
    int m_selected = -1;
};

// Run the dialogs as the program does (through host::services().runDialog).
bool RunNewDialog(CTessel& documentWidget, QWidget* parent);
// True with name, description and path filled when the user confirmed.
bool RunSaveAsTemplateDialog(std::string& name, std::string& description, std::string& path,
                             QWidget* parent);
void RunManageTemplatesDialog(QWidget* parent);
