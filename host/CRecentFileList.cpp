#include "CRecentFileList.h"

#include <QFileInfo>
#include <QSettings>

namespace {

QString Normalised(const QString& path) {
    const QFileInfo info(path);
    return info.isRelative() ? info.absoluteFilePath() : path;
}

} // namespace

void CRecentFileList::Store(ProfileOpener profile, const QString& section) {
    m_profile = std::move(profile);
    m_section = section;
    Refresh();
}

void CRecentFileList::Refresh() {
    if (!m_profile)
        return;
    if (const std::unique_ptr<QSettings> profile = m_profile())
        ReadList(*profile, m_section);
}

void CRecentFileList::Change(const std::function<void()>& change) {
    const std::unique_ptr<QSettings> profile = m_profile ? m_profile() : nullptr;
    if (profile)
        ReadList(*profile, m_section);
    change();
    if (profile) {
        WriteList(*profile, m_section);
        profile->sync();
    }
}

void CRecentFileList::Add(const QString& path) {
    const QString entry = Normalised(path);
    Change([&] {
        m_entries.removeAll(entry);
        m_entries.prepend(entry);
        while (m_entries.size() > m_size)
            m_entries.removeLast();
    });
}

void CRecentFileList::Remove(int index) {
    if (index < 0 || index >= m_entries.size())
        return;
    const QString path = m_entries[index];
    Change([&] { RemovePath(path); });
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
