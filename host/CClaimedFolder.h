// A running program's own folder inside a folder that all programs share. The program claims it
// with a lock that ends with the process however the process ends, so the folders whose lock
// nobody holds are those of programs that no longer run: the ones to clean up or recover from.
#pragma once

#include <QString>

#include <memory>
#include <vector>

namespace host {

class CClaimedFolder {
public:
    // shared: the folder all programs share; this program's folder is made inside it.
    explicit CClaimedFolder(const QString& shared);
    // The lock ends here as it would at any exit; the folder stays.
    ~CClaimedFolder();
    CClaimedFolder(const CClaimedFolder&) = delete;
    CClaimedFolder& operator=(const CClaimedFolder&) = delete;

    const QString& Shared() const { return m_shared; }
    // This program's folder, created and claimed on first use; empty when it cannot be made.
    QString Path();
    bool IsClaimed() const { return m_lock >= 0; }
    // Removes the folder with everything in it and gives up the claim.
    void Remove();

    // Claims a folder inside shared that a program left behind; none when another program holds
    // it (it still runs, or is taking the folder over) or it is none of ours.
    static std::unique_ptr<CClaimedFolder> TakeOver(const QString& folder);
    // Claims every folder inside shared whose program no longer runs.
    static std::vector<std::unique_ptr<CClaimedFolder>> TakeOverUnclaimed(const QString& shared);

private:
    QString m_shared;
    QString m_path;
    int m_lock = -1;
};

} // namespace host
