#include "CopySupportFiles.h"

#include "CAppletParameters.h"
#include "CDlgCopyResources.h"
#include "Paths.h"
#include "Prompts.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

bool PathExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(fs::path(path), ec));
}

// The references in the order of the support-file list.
std::vector<std::string*> ModelReferences(CAppletParameters& model) {
    std::vector<std::string*> references;
    model.ForEachFileReference(
        [&references](std::string& file, const std::string&) { references.push_back(&file); });
    return references;
}

} // namespace

bool CopyResourceFile(std::string& reference, const std::string& destinationFolder,
                      CopiedFiles& copied) {
    if (reference.empty())
        return true;
    if (!NamesExistingFile(reference)) {
        reference.clear();
        return true;
    }
    const std::string folder = FolderOfPath(reference) + "/";
    const std::string name = FileNameOfPath(reference);
    if (folder == destinationFolder)
        return true;

    // A second reference to a file this call already copied is not a clash with that copy.
    if (auto it = copied.find(reference); it != copied.end()) {
        reference = it->second;
        return true;
    }

    const std::string target = destinationFolder + name;
    if (!PathExists(target)) {
        if (CopyFileReplacing(reference, target)) {
            copied.emplace(reference, target);
            reference = target;
        }
        return true;
    }
    // The same file already sits there, e.g. from an earlier save or preview.
    if (SameFileContents(reference, target)) {
        reference = target;
        return true;
    }
    return false;
}

void CopySupportFiles(CAppletParameters& model, const std::string& destinationFolder) {
    if (destinationFolder.empty())
        return;
    std::string destination = destinationFolder;
    if (!IsSeparator(destination.back()))
        destination += '/';

    CopyFileReplacing(CAppletParameters::ComponentFolder() + "/furlin.class",
                      destination + "furlin.class");

    CopiedFiles copied;
    std::vector<std::string*> conflicts;
    for (std::string* reference : ModelReferences(model)) {
        if (!CopyResourceFile(*reference, destination, copied))
            conflicts.push_back(reference);
    }
    if (conflicts.empty() || !ui::canShowDialogs())
        return;

    CDlgCopyResources dialog(destination);
    for (std::string* reference : conflicts)
        dialog.AddConflict(reference);
    CDlgCopyResources::Runner()(dialog);
}
