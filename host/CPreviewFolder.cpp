#include "CPreviewFolder.h"

#include "CPreview.h"

namespace host {

void CPreviewFolder::CleanUp() {
    m_own.Remove();
    CleanUpPreviewFolder(m_own.Shared());
}

void CPreviewFolder::RemoveStaleFolders(const QString& shared) {
    for (const auto& stale : CClaimedFolder::TakeOverUnclaimed(shared))
        stale->Remove();
}

} // namespace host
