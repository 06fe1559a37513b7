#include "CRecentFileList.h"

#include <QFileInfo>
#include <QSettings>

namespace {

QString Normalised(const QString& path) {
    const QFileInfo info(path);
    return info.isRelative() ? info.absoluteFilePath() : path;
}

} // namespace

void CRecentFileList::Add(const QString& path) {
    const QString entry = Normalised(path);
    m_entries.removeAll(entry);
    m_entries.prepend(entry);
    while (m_entries.size() > m_size)
        m_entries.removeLast();
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < m_entries.size())
        m_entries.removeAt(index);
}

void CRecentFileList::RemovePath(const QString& path) {
    m_entries.removeAll(Normalised(path));
}

void CRecentFileList::ReadList(QSettings& profile, const QString& section) {
    m_entries.clear();
    profile.beginGroup(section);
    for (int i = 1; i <= m_size; ++i) {
        const QString entry = profile.value(QStringLiteral("File%1").arg(i)).toString();
        if (!entry.isEmpty() && !m_entries.contains(entry))
            m_entries.append(entry);
    }
    profile.endGroup();
}

void CRecentFileList::WriteList(QSettings& profile, const QString& section) const {
    profile.beginGroup(section);
    for (int i = 1; i <= m_size; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= m_entries.size())
            profile.setValue(key, m_entries[i - 1]);
        else
            profile.remove(key);
    }
    profile.endGroup();
}
