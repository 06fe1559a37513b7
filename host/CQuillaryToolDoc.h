// The one document of the program: one widget, held in a component instance. The document never
// reads or writes widget files itself; the component does.
#pragma once

#include "CDiskStamp.h"
#include "CTessel.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class CRecentFileList;
class QWidget;

class CQuillaryToolDoc : public QObject {
    Q_OBJECT

public:
    explicit CQuillaryToolDoc(QObject* parent = nullptr);
    ~CQuillaryToolDoc() override;

    // ---- document state (the part a framework document would provide) ----
    const QString& GetPathName() const { return m_pathName; }
    const QString& GetTitle() const { return m_title; }
    // Records the file: the title becomes its file name and it goes to the top of the recent list.
    void SetPathName(const QString& path);
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true);

    // "Save changes to %1?" while modified; false when the user cancels (or the save failed).
    bool SaveModified();
    // Save (Save As when the document has no file yet).
    bool DoFileSave();
    // Saves to path; an empty path asks for one, proposing the title with ".tsl". With replace the
    // document takes the new path and title.
    bool DoSave(const QString& path, bool replace = true);

    // The file choosers' filter: widget files, then all files.
    static QString FileFilter();
    // Where the file choosers open: the document's folder, else the folder last chosen in one,
    // else the current folder.
    QString ChooserFolder() const;
    // Remembers the folder of a file or folder picked in a chooser.
    void RememberChosen(const QString& path, bool isFolder = false);

    // ---- the document's operations ----
    bool OnNewDocument();
    // A new untitled document whose widget `fill` prepares first (it may throw); the current
    // document stays as it was unless that succeeds. The new widget counts as modified.
    bool OnNewDocumentFrom(const std::function<void(CTessel& widget)>& fill);
    bool OnOpenDocument(const QString& path);
    bool OnSaveDocument(const QString& path);
    // Opens a recovery copy as an unsaved document that remembers the file it came from
    // (originalPath, empty for a widget never saved) and that file's stamp.
    bool OnOpenRecovered(const QString& copyPath, const QString& originalPath,
                         const CDiskStamp& stamp, bool saveAsRequired);

    // The file was damaged when it was opened: the next Save asks for a name, so the damaged
    // original is only replaced when the author chooses it.
    bool SaveAsRequired() const { return m_saveAsRequired; }
    // The file as the document last read or wrote it.
    const CDiskStamp& Stamp() const { return m_stamp; }
    // While the configuration dialog is open its edits are unsaved work too.
    bool InDialogEdit() const { return m_dialogEdit; }
    void SetDialogEdit(bool editing);

    // Writes the widget as a template under the given name and description, then puts the
    // widget's own title and description back. The modified flag is left alone.
    bool SaveAsTemplateAt(const std::string& name, const std::string& description,
                          const std::string& templatePath);
    void OnCopySupportFiles();
    bool CanCopySupportFiles();
    void OnViewSample();

    CTessel* Component() const { return component.get(); }
    bool HasComponent() const { return component != nullptr && component->IsCreated(); }

    // Owner of the messages and choosers (the main window).
    QWidget* window = nullptr;
    CRecentFileList* recentFiles = nullptr;
    // The New dialog on every New but the first: true when confirmed. Without it a later New
    // behaves as a cancelled dialog (a fresh widget, not modified).
    std::function<bool(CTessel& component)> newDialog;
    // Opens an HTML file with the chosen browser; without it the system's handler is used.
    std::function<void(const std::string& path)> launchBrowser;

signals:
    void titleChanged(const QString& title);
    void modifiedChanged(bool modified);
    // The configuration dialog opens (true) or closes (false).
    void dialogEditChanged(bool editing);

private:
    std::unique_ptr<CTessel> CreateComponent();
    // Takes a new widget as the untitled document: no file, no stamp, no forced Save As.
    void AdoptUntitled(std::unique_ptr<CTessel> created);
    void SetTitle(const QString& title);
    // Before Save writes over the document's own file: when another program changed it since,
    // the author chooses. False to save nothing; *saveAs to pick another name.
    bool MayOverwrite(const QString& target, bool* saveAs);

    std::unique_ptr<CTessel> component;
    bool firstNew = true;
    QString m_pathName;
    QString m_title;
    bool m_modified = false;
    bool m_saveAsRequired = false;
    bool m_dialogEdit = false;
    CDiskStamp m_stamp;
};
