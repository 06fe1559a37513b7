// The start-up offer of the recovery copies left by programs that no longer run.
#pragma once

#include "CRecovery.h"

class CQuillaryToolApp;

namespace host {

// The argument that starts a program on one recovery copy: "--recover FOLDER".
inline constexpr const char* kRecoverArgument = "--recover";

// Offers every copy left behind. "Recover" opens the first in this program when its document is
// a fresh, untouched one (useThisWindow) and every other in a program of its own; "Discard"
// deletes them; closing the question keeps them for the next start.
void OfferLeftCopies(CQuillaryToolApp& app, CRecovery& recovery, bool useThisWindow);

// Opens a claimed copy as this program's unsaved document; the old copy goes once this program
// holds a copy of its own.
bool OpenRecovered(CQuillaryToolApp& app, CRecovery& recovery, CRecoveryCopy copy);

} // namespace host
