#include "CClaimedFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

CClaimedFolder::CClaimedFolder(const QString& shared) : m_shared(shared) {}

CClaimedFolder::~CClaimedFolder() {
    if (m_lock >= 0)
        ::close(m_lock);
}

QString CClaimedFolder::Path() {
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

void CClaimedFolder::Remove() {
    if (m_lock < 0)
        return;
    QDir(m_path).removeRecursively();
    ::close(m_lock);
    m_lock = -1;
    m_path.clear();
}

std::unique_ptr<CClaimedFolder> CClaimedFolder::TakeOver(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir() || info.isSymLink())
        return nullptr;
    const int lock = TryLockClaim(info.absoluteFilePath(), false);
    if (lock < 0)
        return nullptr;
    auto taken = std::make_unique<CClaimedFolder>(info.absolutePath());
    taken->m_path = info.absoluteFilePath();
    taken->m_lock = lock;
    return taken;
}

std::vector<std::unique_ptr<CClaimedFolder>>
CClaimedFolder::TakeOverUnclaimed(const QString& shared) {
    std::vector<std::unique_ptr<CClaimedFolder>> taken;
    if (shared.isEmpty())
        return taken;
    for (const QFileInfo& entry : QDir(shared).entryInfoList(
             QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks, QDir::Name)) {
        if (auto folder = TakeOver(entry.absoluteFilePath()))
            taken.push_back(std::move(folder));
    }
    return taken;
}

} // namespace host
