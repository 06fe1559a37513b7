#include "CopySupportFiles.h"

#include "CAppletParameters.h"
#include "CDlgCopyResources.h"
#include "Paths.h"
#include "Prompts.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include <unistd.h>

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

// Makes target from a temporary file in its folder that `make` creates (failing with
// file_exists when the name is taken) and renames over it, so a failed write never leaves a
// half-written target.
template <typename Make> bool ReplaceThroughTemporary(const std::string& target, Make make) {
    static std::atomic<unsigned> counter{0};
    const fs::path targetPath(target);
    const fs::path folder = targetPath.parent_path();
    // Appended piece by piece: GCC 12 warns (-Wrestrict) about "." + a temporary string.
    std::string stem(".");
    stem += targetPath.filename().string();
    stem += ".copy-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path temporary = folder / (stem + std::to_string(counter++));
        std::error_code ec = make(temporary);
        if (ec == std::errc::file_exists)
            continue;
        if (!ec)
            fs::rename(temporary, targetPath, ec);
        if (ec) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
        return true;
    }
    return false;
}

bool SameContents(const std::string& path, std::string_view contents) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || fs::file_size(path, ec) != contents.size() || ec)
        return false;
    std::ifstream in(path, std::ios::binary);
    std::string held(contents.size(), '\0');
    return in.read(held.data(), static_cast<std::streamsize>(held.size())) && held == contents;
}

} // namespace

bool SameFileContents(const std::string& first, const std::string& second) {
    std::error_code ec;
    if (!fs::is_regular_file(first, ec) || !fs::is_regular_file(second, ec))
        return false;
    const auto size = fs::file_size(first, ec);
    if (ec || fs::file_size(second, ec) != size || ec)
        return false;
    std::ifstream a(first, std::ios::binary);
    std::ifstream b(second, std::ios::binary);
    if (!a || !b)
        return false;
    char bufferA[65536];
    char bufferB[65536];
    while (a && b) {
        a.read(bufferA, sizeof bufferA);
        b.read(bufferB, sizeof bufferB);
        if (a.gcount() != b.gcount() || !std::equal(bufferA, bufferA + a.gcount(), bufferB))
            return false;
    }
    return a.eof() && b.eof();
}

bool CopyFileReplacing(const std::string& source, const std::string& target) {
    std::error_code ec;
    if (fs::equivalent(source, target, ec) && !ec)
        return true; // copying a file onto itself would truncate it
    ec.clear();
    if (!fs::is_regular_file(source, ec))
        return false;
    return ReplaceThroughTemporary(target, [&source](const fs::path& temporary) {
        std::error_code copyError;
        fs::copy_file(source, temporary, fs::copy_options::none, copyError);
        return copyError;
    });
}

bool WriteFileReplacing(std::string_view contents, const std::string& target) {
    if (SameContents(target, contents))
        return true;
    return ReplaceThroughTemporary(target, [contents](const fs::path& temporary) {
        // "x": never opens a file that is already there.
        std::FILE* file = std::fopen(temporary.c_str(), "wbx");
        if (file == nullptr)
            return std::error_code(errno, std::generic_category());
        const bool written =
            std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
        const bool closed = std::fclose(file) == 0;
        return written && closed ? std::error_code() : std::make_error_code(std::errc::io_error);
    });
}

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
