#include "Paths.h"

namespace {

std::string::size_type LastSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

} // namespace

std::string FileNameOfPath(const std::string& path) {
    const auto pos = LastSeparator(path);
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string FolderOfPath(const std::string& path) {
    const auto pos = LastSeparator(path);
    return pos == std::string::npos ? std::string() : path.substr(0, pos);
}
