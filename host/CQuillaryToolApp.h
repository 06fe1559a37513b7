// The application object: start-up, the profile, the document/frame/view triple, the framework's
// file commands, help and the end-of-program clean-up.
#pragma once

#include "CPreview.h"
#include "CPreviewFolder.h"
#include "CRecentFileList.h"
#include "CRecovery.h"
#include "Translation.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class CMainFrame;
class CQuillaryToolDoc;
class CQuillaryToolView;
class QSettings;

class CQuillaryToolApp : public QObject {
    Q_OBJECT

public:
    // appFolder: the folder of the program file (the executable's folder in main()).
    explicit CQuillaryToolApp(const QString& appFolder);
    ~CQuillaryToolApp() override;

    // arguments: the command line without the program name. False ends the program.
    bool InitInstance(const QStringList& arguments);
    // Preview-folder clean-up, the recent-file list, the component object model.
    int ExitInstance();

    // The framework's file commands.
    bool OnFileNew();
    void OnFileOpen();
    // recentIndex >= 0 when opened from the recent-file list (a failed entry is dropped).
    bool OpenDocumentFile(const QString& path, int recentIndex = -1);
    void OnAppExit();

    void OnAppAbout();
    void OnHelpTopics();
    void OnHelpTutorial();
    void OnHelpFaq();
    void OnHelpSearch();

    // Removes this program's own preview folder, then empties and removes the shared preview
    // folder "tmp"; folders inside it (those of other running programs) stay.
    void CleanUpPreviewFolder();
    // The preview folder all programs share.
    QString PreviewFolder() const { return host::PreviewFolderFor(appFolder); }
    // This program's own folder inside it, where Preview writes; created on first use.
    QString ProcessPreviewFolder();
    // Preview, Web Browser, Save as Template and Manage Templates.
    void OnPreview(int kind);
    void OnWebBrowser();
    void OnSaveAsTemplate();
    void OnManageTemplates();
    QString HelpFile() const { return appFolder + QStringLiteral("/help/index.html"); }

    // "Use HTML for Today's Browsers": the view and Preview use the HTML kinds of today's
    // browsers (2 and 3) instead of the applet's (0 and 1). Kept in the profile section "Output".
    bool ModernHtml() const { return m_modernHtml; }
    void SetModernHtml(bool modern);
    // View, "Live Preview": a pane beside the form that draws the widget. Kept in the profile
    // section "View"; off unless turned on.
    bool LivePreview() const { return m_livePreview; }
    void SetLivePreview(bool shown);

    static std::unique_ptr<QSettings> Profile();

    CQuillaryToolDoc* Document() const { return m_document.get(); }
    CMainFrame* MainFrame() const { return m_frame.get(); }
    CQuillaryToolView* View() const;
    CRecentFileList& RecentFiles() { return m_recentFiles; }
    // The recovery copy of unsaved work; none before start-up.
    host::CRecovery* Recovery() const { return m_recovery.get(); }

    QString appFolder;
    host::BrowserChoice browser;

private:
    void OpenHelp(const QString& anchor);
    // Started as "--recover FOLDER" by another program, to open one recovery copy.
    static bool IsRecoveryStart(const QStringList& arguments);
    // Opens that copy, or offers the copies of programs that no longer run.
    void RecoverLeftWork(const QStringList& arguments);

    // Declared first, so it is taken out last, after every window that showed its texts.
    ui::CTranslation m_translation;
    CRecentFileList m_recentFiles;
    std::unique_ptr<host::CPreviewFolder> m_previewFolder;
    std::unique_ptr<CQuillaryToolDoc> m_document;
    std::unique_ptr<host::CRecovery> m_recovery;
    std::unique_ptr<CMainFrame> m_frame;
    bool m_comInitialized = false;
    bool m_modernHtml = false;
    bool m_livePreview = false;
};
