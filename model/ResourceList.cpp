#include "CTesselFile.h"
#include "Encoders.h"
#include "Paths.h"
#include "RuntimeFiles.h"

namespace {

// Lists one reference, or drops it from the model when its file is gone. Once the list is full
// further references stay in the model unlisted.
void ListReference(CTesselFile& document, std::string& reference, const std::string& webFolder) {
    if (reference.empty())
        return;
    if (!NamesExistingFile(reference)) {
        reference.clear();
        return;
    }
    document.AddResource(FileNameOfPath(reference), FolderOfPath(reference), webFolder);
}

} // namespace

std::uint16_t encoders::BuildResourceList(CAppletParameters& applet, CTesselFile& document) {
    document.ClearResources();
    document.AddResource(kAppletClassFile, CAppletParameters::ComponentFolder() + "/",
                         applet.WebPath);
    applet.ForEachFileReference([&document](std::string& file, const std::string& webFolder) {
        ListReference(document, file, webFolder);
    });
    return document.GetResourceCount();
}
