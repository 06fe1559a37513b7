#include "CAppletParameters.h"
#include "CTesselFile.h"
#include "Paths.h"

#include <filesystem>
#include <system_error>

namespace {

// The path is taken literally (no wildcards). A folder is not a support file.
bool NamesExistingFile(const std::string& path) {
    if (FileNameOfPath(path).empty())
        return false;
    std::error_code ec;
    const auto status = std::filesystem::status(std::filesystem::path(path), ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

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

std::uint16_t CAppletParameters::BuildResourceList(CTesselFile& document) {
    document.ClearResources();
    document.AddResource("furlin.class", ComponentFolder() + "/", WebPath);
    ListReference(document, BackImage, BackImageWebPath);
    ListReference(document, Audio, AudioWebPath);
    for (CFurlinItem* item : NumberMenus(false)) {
        ListReference(document, item->NormalImage, item->NormalImageWebPath);
        ListReference(document, item->OverImage, item->OverImageWebPath);
        ListReference(document, item->ClickImage, item->ClickImageWebPath);
        ListReference(document, item->OverAudio, item->OverAudioWebPath);
        ListReference(document, item->ClickAudio, item->ClickAudioWebPath);
    }
    return document.GetResourceCount();
}
