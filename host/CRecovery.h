// Crash recovery: while the document holds unsaved work (changes inside an open configuration
// dialog included), a copy of the widget is kept in this program's own claimed folder inside the
// per-user recovery folder, written off the user-interface thread. A clean save, close or exit
// removes it; copies left by programs that no longer run are offered at the next start.
#pragma once

#include "CBackgroundWriter.h"
#include "CClaimedFolder.h"
#include "CDiskStamp.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

class CQuillaryToolDoc;

namespace host {

// A copy left by a program that no longer runs; its folder stays claimed while this is held.
struct CRecoveryCopy {
    std::unique_ptr<CClaimedFolder> folder;
    QString file;         // the widget file inside the folder
    QString originalPath; // the file the work was opened from or saved to; empty if none
    CDiskStamp stamp;     // that file as the work last read or wrote it
    bool saveAsRequired = false;
};

class CRecovery : public QObject {
    Q_OBJECT

public:
    // At most this long after a change the copy holds it.
    static constexpr int kIntervalMs = 10000;

    CRecovery(CQuillaryToolDoc& document, const QString& shared);
    ~CRecovery() override;

    // The per-user folder the recovery copies live in.
    static QString SharedFolder();
    // The file name of the copy inside a program's folder.
    static QString CopyName() { return QStringLiteral("widget.tsl"); }

    // Looks at the work every interval from now on.
    void Start(int intervalMs = kIntervalMs);
    // A copy when the unsaved work changed since the last one; none when there is no unsaved work.
    void Tick();
    // Waits until the copies asked for so far are written or removed.
    void Flush();
    // The end of a clean run: the copy and this program's folder go.
    void Finish();
    // Where this program's copy is (or would be); empty when the folder cannot be made.
    QString CopyPath();

    // Claims every copy left by a program that no longer runs (folders without one are removed).
    static std::vector<CRecoveryCopy> TakeOverLeftCopies(const QString& shared);
    // Claims the copy in one such folder; none when it is held or holds no copy.
    static bool TakeOverCopy(const QString& folder, CRecoveryCopy& copy);

private:
    // Takes a claimed folder as a copy to offer; a folder without one is removed.
    static bool Adopt(std::unique_ptr<CClaimedFolder> folder, CRecoveryCopy& copy);
    void OnModifiedChanged(bool modified);
    void OnDialogEditChanged(bool editing);
    void RemoveCopy();
    // What goes before the widget text: the original file, its stamp, and whether it needs a name.
    QByteArray Header() const;

    CQuillaryToolDoc& m_document;
    CClaimedFolder m_folder;
    CBackgroundWriter m_writer;
    QTimer m_timer;
    // The widget text of the last copy, and of the saved state when a dialog opened on it.
    std::string m_written;
    std::string m_clean;
    bool m_hasCopy = false;
};

} // namespace host
