// A running program's own folder inside the shared preview folder. Preview points the widget's
// file references at the copies it makes there, so no other program may empty it: each program
// claims a folder of its own (CClaimedFolder), and the folders whose lock nobody holds any more
// are the ones that can be cleaned.
#pragma once

#include "CClaimedFolder.h"

#include <QString>

namespace host {

class CPreviewFolder {
public:
    // shared: the preview folder all programs share ("tmp" beside the program, or its fallback).
    explicit CPreviewFolder(const QString& shared) : m_own(shared) {}

    const QString& Shared() const { return m_own.Shared(); }
    // This program's folder, created and claimed on first use; empty when it cannot be made.
    QString Path() { return m_own.Path(); }
    bool IsClaimed() const { return m_own.IsClaimed(); }

    // Removes this program's folder, then empties and removes the shared folder as the program
    // always did: its own files go, folders inside it (other programs' among them) stay.
    void CleanUp();

    // Removes the folders of programs that no longer run; folders still claimed stay untouched.
    static void RemoveStaleFolders(const QString& shared);

private:
    CClaimedFolder m_own;
};

} // namespace host
