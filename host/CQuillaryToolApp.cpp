#include "CQuillaryToolApp.h"

#include "CAboutDlg.h"
#include "CDlgWebBrowser.h"
#include "CMainFrame.h"
#include "CQuillaryToolDoc.h"
#include "CQuillaryToolView.h"
#include "CTemplateDialogs.h"
#include "Com.h"
#include "HostServices.h"
#include "HostStrings.h"
#include "Prompts.h"
#include "Reasons.h"
#include "RecoveryOffer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace {

const QString kModernHtmlKey =
    QString::fromUtf8(host::kSectionOutput) + QStringLiteral("/Use HTML for Today's Browsers");
const QString kLivePreviewKey =
    QString::fromUtf8(host::kSectionView) + QStringLiteral("/Live Preview");

} // namespace

CQuillaryToolApp::CQuillaryToolApp(const QString& folder)
    : appFolder(folder), m_recentFiles(host::kRecentFileCount) {
    while (appFolder.size() > 1 && (appFolder.endsWith('/') || appFolder.endsWith('\\')))
        appFolder.chop(1);
}

CQuillaryToolApp::~CQuillaryToolApp() {
    // The view refers to the document, the document holds the component instance.
    m_frame.reset();
    m_recovery.reset();
    m_document.reset();
    if (m_comInitialized)
        CoUninitialize();
}

std::unique_ptr<QSettings> CQuillaryToolApp::Profile() {
    return std::make_unique<QSettings>(QString::fromUtf8(host::kProfileCompany),
                                       QString::fromUtf8(host::kAppTitle));
}

CQuillaryToolView* CQuillaryToolApp::View() const {
    return m_frame ? m_frame->View() : nullptr;
}

bool CQuillaryToolApp::InitInstance(const QStringList& arguments) {
    // First, so that everything shown from here on speaks the user's language.
    m_translation.Install(appFolder, true);
    if (FAILED(CoInitialize(nullptr))) {
        host::Message(nullptr, tr("OLE initialization failed.  Make sure that the OLE "
                                  "libraries are the correct version."));
        return false;
    }
    m_comInitialized = true;
    // A file size limit fails a save, with its reason, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);

    const QString widgetFolder = appFolder + QStringLiteral("/My Widget");
    if (QFileInfo(widgetFolder).isDir())
        QDir::setCurrent(widgetFolder);

    // Programs that ended without cleaning up (a crash, a kill) leave their preview folders.
    host::CPreviewFolder::RemoveStaleFolders(PreviewFolder());

    auto profile = Profile();
    m_recentFiles.Store(&CQuillaryToolApp::Profile, QString::fromUtf8(host::kSectionRecentFiles));
    browser = host::ReadBrowserChoice(*profile);
    m_modernHtml = profile->value(kModernHtmlKey, false).toBool();
    m_livePreview = profile->value(kLivePreviewKey, false).toBool();

    m_document = std::make_unique<CQuillaryToolDoc>();
    m_document->recentFiles = &m_recentFiles;
    m_recovery = std::make_unique<host::CRecovery>(*m_document, host::CRecovery::SharedFolder());
    m_frame = std::make_unique<CMainFrame>(this);
    m_document->window = m_frame.get();
    m_document->newDialog = [this](CTessel& widget) { return RunNewDialog(widget, m_frame.get()); };
    m_document->launchBrowser = [this](const std::string& path) {
        host::LaunchBrowser(browser, QString::fromStdString(path));
    };
    auto* view = new CQuillaryToolView(m_document.get(), m_frame.get());
    view->SetModernHtml(m_modernHtml);
    m_frame->setCentralWidget(view);
    connect(view, &CQuillaryToolView::WidgetChanged, m_frame.get(),
            &CMainFrame::RefreshLivePreview);
    m_frame->ShowLivePreview(m_livePreview);
    m_frame->RestorePlacement(*profile);
    connect(m_document.get(), &CQuillaryToolDoc::titleChanged, m_frame.get(),
            &CMainFrame::UpdateCaption);
    connect(m_document.get(), &CQuillaryToolDoc::modifiedChanged, m_frame.get(),
            &CMainFrame::UpdateCaption);
    m_frame->UpdateCaption();

    bool started = false;
    m_frame->RunCommand([&] {
        started = arguments.isEmpty() || IsRecoveryStart(arguments)
                      ? OnFileNew()
                      : OpenDocumentFile(arguments.first());
    });
    if (!started)
        return false;
    m_frame->ShowFirst();
    m_recovery->Start();
    m_frame->RunCommand([&] { RecoverLeftWork(arguments); });
    return true;
}

bool CQuillaryToolApp::IsRecoveryStart(const QStringList& arguments) {
    return arguments.size() == 2 && arguments[0] == host::kRecoverArgument;
}

void CQuillaryToolApp::RecoverLeftWork(const QStringList& arguments) {
    // A program started on one recovery copy opens it and offers no other.
    if (!IsRecoveryStart(arguments)) {
        host::OfferLeftCopies(*this, *m_recovery, arguments.isEmpty());
        return;
    }
    host::CRecoveryCopy copy;
    if (host::CRecovery::TakeOverCopy(arguments[1], copy))
        host::OpenRecovered(*this, *m_recovery, std::move(copy));
}

int CQuillaryToolApp::ExitInstance() {
    CleanUpPreviewFolder();
    // A clean end: the unsaved work was saved or given up, so its copy goes.
    if (m_recovery)
        m_recovery->Finish();
    m_recovery.reset();
    m_frame.reset();
    m_document.reset();
    if (m_comInitialized) {
        CoUninitialize();
        m_comInitialized = false;
    }
    return 0;
}

bool CQuillaryToolApp::OnFileNew() {
    if (!m_document->SaveModified())
        return false;
    if (!m_document->OnNewDocument())
        return false;
    if (CQuillaryToolView* view = View())
        view->OnInitialUpdate();
    return true;
}

void CQuillaryToolApp::OnFileOpen() {
    const QString path = ui::prompts().pickOpenFile(
        m_frame.get(), tr("Open"), m_document->ChooserFolder(), CQuillaryToolDoc::FileFilter());
    if (path.isEmpty())
        return;
    m_document->RememberChosen(path);
    OpenDocumentFile(path);
}

bool CQuillaryToolApp::OpenDocumentFile(const QString& path, int recentIndex) {
    if (!m_document->SaveModified())
        return false;
    auto dropRecent = [&] {
        if (recentIndex >= 0)
            m_recentFiles.Remove(recentIndex);
    };
    QFile probe(path);
    const QFileInfo info(path);
    if (!info.isFile() || !probe.open(QIODevice::ReadOnly)) {
        const QString reason = info.isFile()   ? probe.errorString()
                               : info.isDir()  ? QString::fromUtf8(std::strerror(EISDIR))
                               : info.exists() ? tr("not a regular file")
                                               : QString::fromUtf8(std::strerror(ENOENT));
        host::Message(m_frame.get(), host::WithReason(tr("Cannot open %1.").arg(path),
                                                      path + QStringLiteral(": ") + reason));
        dropRecent();
        return false;
    }
    probe.close();
    if (!m_document->OnOpenDocument(path)) {
        dropRecent();
        return false;
    }
    m_document->SetPathName(path);
    // A damaged file opens as changed: what was read is not what the file holds.
    m_document->SetModifiedFlag(m_document->SaveAsRequired());
    if (CQuillaryToolView* view = View())
        view->OnInitialUpdate();
    return true;
}

void CQuillaryToolApp::OnAppExit() {
    if (m_frame)
        m_frame->close();
}

void CQuillaryToolApp::OnAppAbout() {
    CAboutDlg about(m_frame.get());
    host::services().runDialog(about);
}

void CQuillaryToolApp::OpenHelp(const QString& anchor) {
    QUrl url = QUrl::fromLocalFile(HelpFile());
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    host::services().openUrl(url);
}

void CQuillaryToolApp::OnHelpTopics() {
    OpenHelp(QString());
}
void CQuillaryToolApp::OnHelpTutorial() {
    OpenHelp(QStringLiteral("topic-98329"));
}
void CQuillaryToolApp::OnHelpFaq() {
    OpenHelp(QStringLiteral("topic-98326"));
}
void CQuillaryToolApp::OnHelpSearch() {
    OpenHelp(QStringLiteral("keywords"));
}

void CQuillaryToolApp::CleanUpPreviewFolder() {
    if (m_previewFolder)
        m_previewFolder->CleanUp();
    else
        host::CleanUpPreviewFolder(PreviewFolder());
}

QString CQuillaryToolApp::ProcessPreviewFolder() {
    if (!m_previewFolder)
        m_previewFolder = std::make_unique<host::CPreviewFolder>(PreviewFolder());
    return m_previewFolder->Path();
}

void CQuillaryToolApp::OnPreview(int kind) {
    if (m_document->HasComponent())
        host::RunPreview(*m_document->Component(), ProcessPreviewFolder(), kind, browser,
                         m_frame.get());
}

void CQuillaryToolApp::SetModernHtml(bool modern) {
    m_modernHtml = modern;
    if (auto profile = Profile())
        profile->setValue(kModernHtmlKey, modern);
    if (CQuillaryToolView* view = View())
        view->SetModernHtml(modern);
}

void CQuillaryToolApp::SetLivePreview(bool shown) {
    m_livePreview = shown;
    if (auto profile = Profile())
        profile->setValue(kLivePreviewKey, shown);
    if (m_frame)
        m_frame->ShowLivePreview(shown);
}

void CQuillaryToolApp::OnWebBrowser() {
    RunWebBrowserDialog(browser, m_frame.get());
}

void CQuillaryToolApp::OnSaveAsTemplate() {
    if (!m_document->HasComponent())
        return;
    CTessel& widget = *m_document->Component();
    std::string name = widget.GetTitle();
    std::string description = widget.GetDescription();
    std::string path;
    if (RunSaveAsTemplateDialog(name, description, path, m_frame.get()))
        m_document->SaveAsTemplateAt(name, description, path);
}

void CQuillaryToolApp::OnManageTemplates() {
    RunManageTemplatesDialog(m_frame.get());
}
