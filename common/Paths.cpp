#include "Paths.h"

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
