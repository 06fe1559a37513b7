#include "Paths.h"

#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kSeparators = "/\\";

} // namespace

std::string FileNameOfPath(const std::string& path) {
    return std::string(FileNamePart(path));
}

std::string_view FileNamePart(std::string_view path) {
    const auto pos = path.find_last_of(kSeparators);
    return pos == std::string_view::npos ? path : path.substr(pos + 1);
}

std::string FolderOfPath(const std::string& path) {
    const auto pos = path.find_last_of(kSeparators);
    return pos == std::string::npos ? std::string() : path.substr(0, pos);
}

bool NamesExistingFile(const std::string& path) {
    if (FileNamePart(path).empty())
        return false;
    std::error_code ec;
    const auto status = std::filesystem::status(std::filesystem::path(path), ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}
