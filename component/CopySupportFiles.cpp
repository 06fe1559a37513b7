#include "CopySupportFiles.h"

#include "CAppletParameters.h"
#include "Paths.h"

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

bool ReferencesExistingFile(std::string& reference) {
    if (reference.empty())
        return false;
    if (NamesExistingFile(reference))
        return true;
    reference.clear();
    return false;
}

bool CopyResourceFile(std::string& reference, const std::string& destinationFolder,
                      CopiedFiles& copied, CopyFailures& failures) {
    if (!ReferencesExistingFile(reference))
        return true;
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
        FileResult result = CopyFileReplacing(reference, target);
        if (result) {
            copied.emplace(reference, target);
            reference = target;
        } else {
            failures.push_back(std::move(result));
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

namespace {

// The clashes grouped by source path, in the order of the paths.
std::vector<CopyConflict> GroupConflicts(const std::vector<std::string*>& references) {
    std::map<std::string, std::vector<std::string*>> bySource;
    for (std::string* reference : references)
        bySource[*reference].push_back(reference);
    std::vector<CopyConflict> conflicts;
    for (auto& [source, shared] : bySource)
        conflicts.push_back(CopyConflict{source, std::move(shared), std::string()});
    return conflicts;
}

// Copies each clash the resolver named a target for, once, and points its references there.
void CopyResolved(const std::vector<CopyConflict>& conflicts, const std::string& destination,
                  CopyFailures& failures) {
    for (const CopyConflict& conflict : conflicts) {
        if (conflict.targetName.empty())
            continue;
        const std::string target = destination + conflict.targetName;
        FileResult result = CopyFileReplacing(conflict.source, target);
        if (!result) {
            failures.push_back(std::move(result));
            continue;
        }
        for (std::string* reference : conflict.references)
            *reference = target;
    }
}

} // namespace

CopyFailures CopySupportFiles(CAppletParameters& model, const std::string& destinationFolder,
                              IConflictResolver* resolver) {
    CopyFailures failures;
    if (destinationFolder.empty())
        return failures;
    std::string destination = destinationFolder;
    if (!IsSeparator(destination.back()))
        destination += '/';

    // A component folder without the class file has nothing to copy; only a copy that was
    // possible and failed is reported.
    const std::string classFile = CAppletParameters::ComponentFolder() + "/furlin.class";
    if (FileResult result = CopyFileReplacing(classFile, destination + "furlin.class");
        !result && NamesExistingFile(classFile))
        failures.push_back(std::move(result));

    CopiedFiles copied;
    std::vector<std::string*> clashes;
    for (std::string* reference : ModelReferences(model)) {
        if (!CopyResourceFile(*reference, destination, copied, failures))
            clashes.push_back(reference);
    }
    if (clashes.empty() || resolver == nullptr)
        return failures;
    std::vector<CopyConflict> conflicts = GroupConflicts(clashes);
    if (resolver->ResolveConflicts(destination, conflicts))
        CopyResolved(conflicts, destination, failures);
    return failures;
}
