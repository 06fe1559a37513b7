// The most recently used widget files, newest first, kept in the profile as "File1".."FileN".
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

class CRecentFileList {
public:
    explicit CRecentFileList(int size) : m_size(size) {}

    // Moves the file to the top; the oldest entry falls off beyond the size.
    void Add(const QString& path);
    void Remove(int index);
    void RemovePath(const QString& path);
    const QStringList& Entries() const { return m_entries; }
    int Size() const { return m_size; }

    void ReadList(QSettings& profile, const QString& section);
    void WriteList(QSettings& profile, const QString& section) const;

private:
    int m_size;
    QStringList m_entries;
};
