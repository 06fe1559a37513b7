#include "CopySupportFiles.h"

#include "CAppletParameters.h"
#include "Paths.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>
#include <vector>

#include <fcntl.h>
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
template <typename Make> FileResult ReplaceThroughTemporary(const std::string& target, Make make) {
    static std::atomic<unsigned> counter{0};
    const fs::path targetPath(target);
    const fs::path folder = targetPath.parent_path();
    // Appended piece by piece: GCC 12 warns (-Wrestrict) about "." + a temporary string.
    std::string stem(".");
    stem += targetPath.filename().string();
    stem += ".copy-" + std::to_string(::getpid()) + "-";
    std::error_code ec = std::make_error_code(std::errc::file_exists);
    for (int attempt = 0; attempt < 100 && ec == std::errc::file_exists; ++attempt) {
        const fs::path temporary = folder / (stem + std::to_string(counter++));
        ec = make(temporary);
        if (ec == std::errc::file_exists)
            continue;
        if (!ec)
            fs::rename(temporary, targetPath, ec);
        if (ec) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
        }
    }
    return ec ? FileResult::Failure(FileResult::Stage::Open, target, ec.message()) : FileResult();
}

std::error_code LastError() {
    return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

// Copies the bytes into a new file (never one that is already there). Unlike the library's
// copy, a failure keeps the system's reason: a full disk is "No space left on device".
std::error_code CopyBytes(const std::string& source, const fs::path& target) {
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return LastError();
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out < 0) {
        const std::error_code error = LastError();
        ::close(in);
        return error;
    }
    std::error_code error;
    char buffer[65536];
    for (ssize_t got; !error && (got = ::read(in, buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno != EINTR)
            error = LastError();
        for (ssize_t done = 0; !error && got > 0 && done < got;) {
            const ssize_t put = ::write(out, buffer + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno != EINTR)
                error = LastError();
            done += put > 0 ? put : 0;
        }
    }
    if (::close(out) != 0 && !error)
        error = LastError();
    ::close(in);
    return error;
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

FileResult CopyFileReplacing(const std::string& source, const std::string& target) {
    std::error_code ec;
    if (fs::equivalent(source, target, ec) && !ec)
        return FileResult(); // copying a file onto itself would truncate it
    ec.clear();
    if (!fs::is_regular_file(source, ec))
        return FileResult::Failure(FileResult::Stage::Open, source,
                                   ec ? ec.message() : "not a regular file");
    return ReplaceThroughTemporary(
        target, [&source](const fs::path& temporary) { return CopyBytes(source, temporary); });
}

FileResult WriteFileReplacing(std::string_view contents, const std::string& target) {
    if (SameContents(target, contents))
        return FileResult();
    return ReplaceThroughTemporary(target, [contents](const fs::path& temporary) {
        // "x": never opens a file that is already there.
        std::FILE* file = std::fopen(temporary.c_str(), "wbx");
        if (file == nullptr)
            return std::error_code(errno, std::generic_category());
        const bool written =
            std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
        const int writeError = written ? 0 : errno;
        const bool closed = std::fclose(file) == 0;
        const int error = writeError != 0 ? writeError : closed ? 0 : errno;
        return written && closed
                   ? std::error_code()
                   : std::error_code(error != 0 ? error : EIO, std::generic_category());
    });
}

bool CopyResourceFile(std::string& reference, const std::string& destinationFolder,
                      CopiedFiles& copied, CopyFailures& failures) {
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
