#include "CPreviewFolder.h"

#include "CPreview.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace host {
namespace {

// The file inside a program's folder whose lock marks the folder as in use.
const char* const kClaimFile = ".claim";

// Locks the claim file of a folder without waiting; -1 when another process holds it, when it
// does not exist (a folder that is being claimed right now, or none of ours), or when the file
// was removed while we locked it.
int TryLockClaim(const QString& folder, bool create) {
    const QByteArray path = QFile::encodeName(folder + '/' + QString::fromUtf8(kClaimFile));
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0600);
    if (fd < 0)
        return -1;
    struct stat held {};
    struct stat named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0 ||
        ::stat(path.constData(), &named) != 0 || held.st_ino != named.st_ino ||
        held.st_dev != named.st_dev) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

CPreviewFolder::CPreviewFolder(const QString& shared) : m_shared(shared) {}

CPreviewFolder::~CPreviewFolder() {
    // The folder stays for the next start to clean; the lock ends here as it would at any exit.
    if (m_lock >= 0)
        ::close(m_lock);
}

QString CPreviewFolder::Path() {
    // Another program's clean-up may remove the shared folder, or a new folder between its
    // creation and its lock; then start again.
    for (int attempt = 0; m_lock < 0 && attempt < 8; ++attempt) {
        if (m_shared.isEmpty() || !QDir().mkpath(m_shared))
            return QString();
        QByteArray pattern =
            QFile::encodeName(m_shared + QStringLiteral("/%1-XXXXXX").arg(::getpid()));
        if (::mkdtemp(pattern.data()) == nullptr)
            continue;
        const QString folder = QFile::decodeName(pattern);
        m_lock = TryLockClaim(folder, true);
        if (m_lock >= 0)
            m_path = folder;
        else
            QDir(folder).removeRecursively();
    }
    return m_lock >= 0 ? m_path : QString();
}

void CPreviewFolder::CleanUp() {
    if (m_lock >= 0) {
        QDir(m_path).removeRecursively();
        ::close(m_lock);
        m_lock = -1;
        m_path.clear();
    }
    CleanUpPreviewFolder(m_shared);
}

void CPreviewFolder::RemoveStaleFolders(const QString& shared) {
    if (shared.isEmpty())
        return;
    const QDir folder(shared);
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot |
                                                       QDir::Hidden | QDir::NoSymLinks)) {
        const QString path = entry.absoluteFilePath();
        const int lock = TryLockClaim(path, false);
        if (lock < 0)
            continue;
        QDir(path).removeRecursively();
        ::close(lock);
    }
}

} // namespace host
