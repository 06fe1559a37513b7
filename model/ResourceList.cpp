#include "CAppletParameters.h"
#include "CTesselFile.h"
#include "Paths.h"
#include "Records.h"
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

void CAppletParameters::ForEachFileReference(
    const std::function<void(std::string& file, const std::string& webFolder)>& visit) {
    const auto visitFiles = [&visit](auto& record, const auto& fields) {
        for (const auto& f : fields)
            if (f.kind == foldline::FieldKind::File)
                visit(foldline::TextOf(record, f), record.*f.webFolder);
    };
    visitFiles(*this, foldline::kAppletFields);
    for (CFurlinItem* item : CollectItems(false))
        visitFiles(*item, foldline::kItemFields);
}

std::uint16_t CAppletParameters::BuildResourceList(CTesselFile& document) {
    document.ClearResources();
    document.AddResource(kAppletClassFile, ComponentFolder() + "/", WebPath);
    ForEachFileReference([&document](std::string& file, const std::string& webFolder) {
        ListReference(document, file, webFolder);
    });
    return document.GetResourceCount();
}
