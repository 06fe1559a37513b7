#include "Files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

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

// Reads the open file whole, unless it is no file or larger than maxBytes.
bool ReadOpenFile(int fd, std::size_t maxBytes, std::string& bytes, std::string& reason) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = "not a file";
        return false;
    }
    if (static_cast<std::size_t>(info.st_size) > maxBytes) {
        reason = "larger than " + std::to_string(maxBytes >> 20) + " MB";
        return false;
    }
    bytes.assign(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            reason = std::strerror(errno);
            return false;
        }
        if (got == 0)
            bytes.resize(done); // it shrank meanwhile
        done += static_cast<std::size_t>(got);
    }
    // It may have grown meanwhile: one byte more is enough to tell.
    char extra = 0;
    if (::read(fd, &extra, 1) > 0) {
        reason = "changed while it was read";
        return false;
    }
    return true;
}

} // namespace

bool ReadFileCapped(const std::string& path, std::size_t maxBytes, std::string& bytes,
                    std::string& reason) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    const bool read = ReadOpenFile(fd, maxBytes, bytes, reason);
    ::close(fd);
    return read;
}

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
    std::error_code ec;
    const fs::file_status before = fs::status(target, ec);
    return ReplaceThroughTemporary(target, [contents, &before](const fs::path& temporary) {
        // "x": never opens a file that is already there.
        std::FILE* file = std::fopen(temporary.c_str(), "wbx");
        if (file == nullptr)
            return std::error_code(errno, std::generic_category());
        const bool written =
            std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
        const int writeError = written ? 0 : errno;
        const bool closed = std::fclose(file) == 0;
        const int closeError = closed ? 0 : errno;
        if (!written || !closed) {
            const int error = writeError != 0 ? writeError : closeError;
            return std::error_code(error != 0 ? error : EIO, std::generic_category());
        }
        // A page written again keeps who may read it.
        std::error_code ignored;
        if (fs::is_regular_file(before))
            fs::permissions(temporary, before.permissions(), ignored);
        return std::error_code();
    });
}
