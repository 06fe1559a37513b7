#include "RecoveryOffer.h"

#include "CQuillaryToolApp.h"
#include "CQuillaryToolDoc.h"
#include "CQuillaryToolView.h"
#include "HostServices.h"
#include "HostStrings.h"
#include "Prompts.h"

#include <QCoreApplication>

namespace host {

bool OpenRecovered(CQuillaryToolApp& app, CRecovery& recovery, CRecoveryCopy copy) {
    CQuillaryToolDoc& document = *app.Document();
    if (!document.OnOpenRecovered(copy.file, copy.originalPath, copy.stamp, copy.saveAsRequired))
        return false;
    if (CQuillaryToolView* view = app.View())
        view->OnInitialUpdate();
    recovery.Tick();
    recovery.Flush();
    copy.folder->Remove();
    return true;
}

void OfferLeftCopies(CQuillaryToolApp& app, CRecovery& recovery, bool useThisWindow) {
    std::vector<CRecoveryCopy> copies = CRecovery::TakeOverLeftCopies(CRecovery::SharedFolder());
    if (copies.empty())
        return;
    QStringList names;
    for (const CRecoveryCopy& copy : copies)
        names << (copy.originalPath.isEmpty() ? QString::fromUtf8(kDocUntitled)
                                              : copy.originalPath);
    const QString text = QCoreApplication::translate(
                             "host", "Quillary Foldline ended without saving this work:\n%1\n\n"
                                     "Recover opens it as unsaved work; Discard deletes it.")
                             .arg(names.join(QLatin1Char('\n')));
    const int answer =
        ui::prompts().askChoice(app.Document()->window, QString::fromUtf8(kAppTitle), text,
                                {QCoreApplication::translate("host", "Recover"),
                                 QCoreApplication::translate("host", "Discard")},
                                0);
    if (answer < 0)
        return; // kept, and offered again at the next start
    for (CRecoveryCopy& copy : copies) {
        if (answer == 1) {
            copy.folder->Remove();
        } else if (useThisWindow) {
            useThisWindow = !OpenRecovered(app, recovery, std::move(copy));
        } else {
            // Released just before the other program claims it.
            const QString folder = copy.folder->Path();
            copy.folder.reset();
            services().startProgram(QCoreApplication::applicationFilePath(),
                                    {QString::fromUtf8(kRecoverArgument), folder}, QString());
        }
    }
}

} // namespace host
