// A running program's own folder inside the shared preview folder. Preview points the widget's
// file references at the copies it makes there, so no other program may empty it: each program
// claims a folder of its own with a lock that ends with the process however the process ends, and
// the folders whose lock nobody holds any more are the ones that can be cleaned.
#pragma once

#include <QString>

namespace host {

class CPreviewFolder {
public:
    // shared: the preview folder all programs share ("tmp" beside the program, or its fallback).
    explicit CPreviewFolder(const QString& shared);
    ~CPreviewFolder();
    CPreviewFolder(const CPreviewFolder&) = delete;
    CPreviewFolder& operator=(const CPreviewFolder&) = delete;

    const QString& Shared() const { return m_shared; }
    // This program's folder, created and claimed on first use; empty when it cannot be made.
    QString Path();
    bool IsClaimed() const { return m_lock >= 0; }

    // Removes this program's folder, then empties and removes the shared folder as the program
    // always did: its own files go, folders inside it (other programs' among them) stay.
    void CleanUp();

    // Removes the folders of programs that no longer run; folders still claimed stay untouched.
    static void RemoveStaleFolders(const QString& shared);

private:
    QString m_shared;
    QString m_path;
    int m_lock = -1;
};

} // namespace host
