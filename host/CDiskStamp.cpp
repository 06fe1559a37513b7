#include "CDiskStamp.h"

#include <QCryptographicHash>
#include <QFile>
#include <QStringList>

#include <sys/stat.h>

namespace {

QByteArray HashOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

} // namespace

CDiskStamp CDiskStamp::Of(const QString& path) {
    CDiskStamp stamp;
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0 ||
        !S_ISREG(st.st_mode))
        return stamp;
    stamp.m_known = true;
    stamp.m_size = st.st_size;
    stamp.m_modifiedNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.m_hash = HashOf(path);
    return stamp;
}

bool CDiskStamp::ChangedOnDisk(const QString& path) const {
    if (!m_known)
        return false;
    const CDiskStamp now = Of(path);
    if (!now.m_known)
        return false;
    if (now.m_size == m_size && now.m_modifiedNs == m_modifiedNs)
        return false;
    return now.m_hash != m_hash;
}

QString CDiskStamp::ToText() const {
    if (!m_known)
        return QString();
    return QStringLiteral("%1 %2 %3")
        .arg(m_size)
        .arg(m_modifiedNs)
        .arg(QString::fromLatin1(m_hash.toHex()));
}

CDiskStamp CDiskStamp::FromText(const QString& text) {
    CDiskStamp stamp;
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    bool sizeRead = false;
    bool timeRead = false;
    if (parts.size() == 3) {
        stamp.m_size = parts[0].toLongLong(&sizeRead);
        stamp.m_modifiedNs = parts[1].toLongLong(&timeRead);
        stamp.m_hash = QByteArray::fromHex(parts[2].toLatin1());
    }
    stamp.m_known = sizeRead && timeRead && !stamp.m_hash.isEmpty();
    return stamp;
}
