// The most recently used widget files, newest first, kept in the profile as "File1".."FileN".
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QSettings;

class CRecentFileList {
public:
    explicit CRecentFileList(int size) : m_size(size) {}

    using ProfileOpener = std::function<std::unique_ptr<QSettings>()>;
    // From now on the list lives in a profile section: it is read from there, and every change is
    // made to what is stored there at that moment (another running program may have changed it)
    // and written back at once, so neither a crash nor a second program loses an entry.
    void Store(ProfileOpener profile, const QString& section);
    // Rereads the stored list.
    void Refresh();

    // Moves the file to the top; the oldest entry falls off beyond the size.
    void Add(const QString& path);
    // Drops the file shown at the index.
    void Remove(int index);
    const QStringList& Entries() const { return m_entries; }
    int Size() const { return m_size; }

    void ReadList(QSettings& profile, const QString& section);
    void WriteList(QSettings& profile, const QString& section) const;

private:
    void RemovePath(const QString& path);
    // Runs a change on the stored list and stores the result.
    void Change(const std::function<void()>& change);

    int m_size;
    QStringList m_entries;
    ProfileOpener m_profile;
    QString m_section;
};
