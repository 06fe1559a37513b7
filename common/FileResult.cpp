#include "FileResult.h"

#include <cstring>
#include <utility>

std::string FileResult::Describe() const {
    if (Ok())
        return std::string();
    return path.empty() ? reason : path + ": " + reason;
}

FileResult FileResult::Failure(Stage stage, std::string path, std::string reason) {
    FileResult result;
    result.failed = stage == Stage::None ? Stage::Open : stage;
    result.path = std::move(path);
    result.reason = std::move(reason);
    return result;
}

FileResult FileResult::FromErrno(Stage stage, std::string path, int error) {
    return Failure(stage, std::move(path), error != 0 ? std::strerror(error) : "unknown error");
}
