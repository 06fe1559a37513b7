#include "CQuillaryToolDoc.h"

#include "FoldlineDispatch.h"
#include "QtText.h"

#include "CQuillaryToolApp.h"
#include "CRecentFileList.h"
#include "HostServices.h"
#include "HostStrings.h"
#include "Prompts.h"
#include "Reasons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QUrl>

CQuillaryToolDoc::CQuillaryToolDoc(QObject* parent)
    : QObject(parent), m_title(QString::fromUtf8(host::kDocUntitled)) {}

CQuillaryToolDoc::~CQuillaryToolDoc() = default;

QString CQuillaryToolDoc::FileFilter() {
    return tr(host::kDocFilterName) + QStringLiteral("| *") +
           QString::fromUtf8(host::kDocExtension) + '|' + tr("All Files (*)") +
           QStringLiteral("|*");
}

namespace {

// The folder last chosen in any chooser, kept in the profile so the next run starts there too.
QString LastFolderKey() {
    return QString::fromUtf8(host::kSectionFiles) + QStringLiteral("/Last Folder");
}

} // namespace

QString CQuillaryToolDoc::ChooserFolder() const {
    if (!m_pathName.isEmpty())
        return QFileInfo(m_pathName).absolutePath();
    const QString last = CQuillaryToolApp::Profile()->value(LastFolderKey()).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return QDir::currentPath();
}

void CQuillaryToolDoc::RememberChosen(const QString& path, bool isFolder) {
    if (path.isEmpty())
        return;
    CQuillaryToolApp::Profile()->setValue(LastFolderKey(), isFolder
                                                               ? QFileInfo(path).absoluteFilePath()
                                                               : QFileInfo(path).absolutePath());
}

void CQuillaryToolDoc::SetTitle(const QString& title) {
    if (title == m_title)
        return;
    m_title = title;
    emit titleChanged(m_title);
}

void CQuillaryToolDoc::SetPathName(const QString& path) {
    m_pathName = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
    if (recentFiles != nullptr)
        recentFiles->Add(m_pathName);
}

void CQuillaryToolDoc::SetModifiedFlag(bool modified) {
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(m_modified);
}

void CQuillaryToolDoc::SetDialogEdit(bool editing) {
    if (editing == m_dialogEdit)
        return;
    m_dialogEdit = editing;
    emit dialogEditChanged(editing);
}

bool CQuillaryToolDoc::SaveModified() {
    if (!m_modified)
        return true;
    const int answer = ui::prompts().askYesNoCancel(window, QString::fromUtf8(host::kAppTitle),
                                                    tr("Save changes to %1?").arg(m_title));
    if (answer < 0)
        return false;
    if (answer == 0)
        return true;
    return DoFileSave();
}

bool CQuillaryToolDoc::DoFileSave() {
    if (m_pathName.isEmpty() || m_saveAsRequired ||
        (QFileInfo::exists(m_pathName) && !QFileInfo(m_pathName).isWritable()))
        return DoSave(QString());
    return DoSave(m_pathName);
}

bool CQuillaryToolDoc::MayOverwrite(const QString& target, bool* saveAs) {
    *saveAs = false;
    if (m_pathName.isEmpty() || QFileInfo(target).absoluteFilePath() != m_pathName ||
        !m_stamp.ChangedOnDisk(m_pathName))
        return true;
    const QStringList buttons = {tr("Save As..."), tr("Overwrite"), tr("Cancel")};
    const int answer = ui::prompts().askChoice(
        window, QString::fromUtf8(host::kAppTitle),
        tr("%1 was changed by another program since you opened it.").arg(m_pathName), buttons, 2);
    *saveAs = answer == 0;
    return answer == 1;
}

bool CQuillaryToolDoc::DoSave(const QString& path, bool replace) {
    QString target = path;
    if (target.isEmpty()) {
        QString proposed = m_pathName.isEmpty() ? m_title : m_pathName;
        if (m_pathName.isEmpty()) {
            // Characters that cannot be part of a file name end the proposal.
            const int bad = proposed.indexOf(QRegularExpression(QStringLiteral("[:/\\\\]")));
            if (bad >= 0)
                proposed.truncate(bad);
            proposed =
                QDir(ChooserFolder()).filePath(proposed + QString::fromUtf8(host::kDocExtension));
        }
        target = ui::prompts().pickSaveFile(window, tr("Save As"), proposed, FileFilter());
        if (target.isEmpty())
            return false;
        RememberChosen(target);
        if (QFileInfo(target).suffix().isEmpty())
            target += QString::fromUtf8(host::kDocExtension);
    }
    bool saveAs = false;
    if (!MayOverwrite(target, &saveAs))
        return saveAs && DoSave(QString(), replace);
    if (!OnSaveDocument(target))
        return false;
    if (replace) {
        SetPathName(target);
        m_stamp = CDiskStamp::Of(m_pathName);
        m_saveAsRequired = false;
    }
    return true;
}

std::unique_ptr<CTessel> CQuillaryToolDoc::CreateComponent() {
    auto created = std::make_unique<CTessel>();
    if (!created->Create(kFoldlineProgID)) {
        host::Message(
            window,
            tr("Create the dispatch of the %1 Error!").arg(QString::fromUtf8(kFoldlineProgID)));
        return nullptr;
    }
    return created;
}

bool CQuillaryToolDoc::OnNewDocument() {
    // The current widget is replaced only once its successor exists, so a failed New leaves the
    // document as it was.
    std::unique_ptr<CTessel> created = CreateComponent();
    if (!created)
        return false;
    AdoptUntitled(std::move(created));
    if (firstNew) {
        firstNew = false;
        SetModifiedFlag(false);
        return true;
    }
    const bool confirmed = newDialog ? newDialog(*component) : false;
    SetModifiedFlag(confirmed);
    return true;
}

bool CQuillaryToolDoc::OnNewDocumentFrom(const std::function<void(CTessel& widget)>& fill) {
    std::unique_ptr<CTessel> created = CreateComponent();
    if (!created)
        return false;
    fill(*created);
    AdoptUntitled(std::move(created));
    SetModifiedFlag(true);
    return true;
}

void CQuillaryToolDoc::AdoptUntitled(std::unique_ptr<CTessel> created) {
    component = std::move(created);
    m_pathName.clear();
    m_stamp = CDiskStamp();
    m_saveAsRequired = false;
    SetTitle(QString::fromUtf8(host::kDocUntitled));
}

bool CQuillaryToolDoc::OnOpenDocument(const QString& path) {
    // The file is read into a new instance first; the current widget, its title and its modified
    // flag stay untouched unless the new one is complete.
    std::unique_ptr<CTessel> created = CreateComponent();
    if (!created)
        return false;
    const std::string file = path.toStdString();
    // Taken first: a change made while the file is read is then one more change, never one less.
    const CDiskStamp stamp = CDiskStamp::Of(path);
    if (!created->ReadConfigFile(file)) {
        host::Message(window,
                      host::WithReason(tr("Open %1 Error!").arg(path), host::LastError(*created)));
        return false;
    }
    if (const std::string progId = created->GetProgID(); progId != kFoldlineProgID) {
        const QString kind = progId.empty()
                                 ? tr("not a widget file")
                                 : tr("a widget file of %1").arg(QString::fromStdString(progId));
        host::Message(
            window, host::WithReason(
                        tr("This File is not saved by %1!").arg(QString::fromUtf8(host::kAppTitle)),
                        path + QStringLiteral(": ") + kind));
        return false;
    }
    const std::string damage = created->GetLastReadDamage();
    m_saveAsRequired = !damage.empty();
    if (m_saveAsRequired)
        host::Message(window,
                      tr("%1 is damaged: %2.\n\nWhat could be read is open. The next Save "
                         "asks for a file name, so the damaged file stays as it is unless you "
                         "choose it.")
                          .arg(path, QString::fromStdString(damage)));
    m_stamp = stamp;
    component = std::move(created);
    return true;
}

bool CQuillaryToolDoc::OnOpenRecovered(const QString& copyPath, const QString& originalPath,
                                       const CDiskStamp& stamp, bool saveAsRequired) {
    std::unique_ptr<CTessel> created = CreateComponent();
    if (!created)
        return false;
    if (!created->ReadRecoveryFile(copyPath.toStdString())) {
        host::Message(window, host::WithReason(tr("Open %1 Error!").arg(copyPath),
                                               host::LastError(*created)));
        return false;
    }
    component = std::move(created);
    // Not put on the recent list: nothing was opened from or saved to that file yet.
    m_pathName = originalPath.isEmpty() ? QString() : QFileInfo(originalPath).absoluteFilePath();
    SetTitle(m_pathName.isEmpty() ? QString::fromUtf8(host::kDocUntitled)
                                  : QFileInfo(m_pathName).fileName());
    m_stamp = stamp;
    m_saveAsRequired = saveAsRequired;
    SetModifiedFlag(true);
    return true;
}

bool CQuillaryToolDoc::OnSaveDocument(const QString& path) {
    // Reporting success without a widget would leave the user believing the file was written.
    if (!HasComponent())
        return false;
    component->SetProgID(kFoldlineProgID);
    component->SetLastUpdateTime(CurrentLocalDate());
    const host::WriteOutcome outcome = host::WriteWidget(*component, path.toStdString());
    if (!outcome.written) {
        host::Message(window, host::WithReasons(tr("Save to %1 Error!").arg(path), outcome));
        return false;
    }
    SetModifiedFlag(false);
    host::ReportCopyFailures(window, outcome.copyFailures);
    return true;
}

bool CQuillaryToolDoc::SaveAsTemplateAt(const std::string& name, const std::string& description,
                                        const std::string& templatePath) {
    if (!HasComponent())
        return false;
    const std::string oldTitle = component->GetTitle();
    const std::string oldDescription = component->GetDescription();
    host::WriteOutcome outcome;
    try {
        component->SetTitle(name);
        component->SetDescription(description);
        outcome = host::WriteWidget(*component, templatePath);
    } catch (...) {
        component->SetTitle(oldTitle);
        component->SetDescription(oldDescription);
        throw;
    }
    // Success only when the template and every one of its support files were written.
    const bool complete = outcome.written && outcome.copyFailures.isEmpty();
    host::Message(window, host::WithReasons(complete ? tr("Save as the template success!")
                                                     : tr("Save as the template failure!"),
                                            outcome));
    component->SetTitle(oldTitle);
    component->SetDescription(oldDescription);
    return outcome.written;
}

void CQuillaryToolDoc::OnCopySupportFiles() {
    if (!HasComponent())
        return;
    QString folder = ui::prompts().pickFolder(window, tr("Choose a directory"), ChooserFolder());
    if (folder.isEmpty())
        return;
    RememberChosen(folder, true);
    while (folder.size() > 1 && (folder.endsWith('/') || folder.endsWith('\\')))
        folder.chop(1);

    // The scratch document only carries the copying; a file of the author's that happens to
    // have its name must not be overwritten and then deleted.
    QString scratch = folder + QStringLiteral("/copyres.tsl");
    for (int n = 1; QFileInfo::exists(scratch); ++n)
        scratch = folder + QStringLiteral("/copyres%1.tsl").arg(n);

    host::WriteOutcome outcome;
    try {
        outcome = host::WriteWidget(*component, scratch.toStdString());
    } catch (...) {
        QFile::remove(scratch);
        throw;
    }
    QFile::remove(scratch);
    // "success!" only when every file was copied; otherwise why not, and which.
    const bool complete = outcome.written && outcome.copyFailures.isEmpty();
    const QString text = complete ? tr("Copy support files to %1 success!")
                                  : tr("Copy support files to %1 failure!");
    host::Message(window, host::WithReasons(text.arg(folder), outcome));
}

bool CQuillaryToolDoc::CanCopySupportFiles() {
    return HasComponent() && component->GetResourceNumber() != 0;
}

void CQuillaryToolDoc::OnViewSample() {
    if (!HasComponent())
        return;
    if (launchBrowser) {
        launchBrowser(component->samplePath);
        return;
    }
    if (!component->samplePath.empty())
        host::services().openUrl(QUrl::fromLocalFile(ToQt(component->samplePath)));
}
