// Files written whole or not at all: a temporary file in the target's folder renamed over the
// target, so a failed write never leaves a half-written file. Plain C++, no Qt.
#pragma once

#include "FileResult.h"

#include <cstddef>
#include <string>
#include <string_view>

// Reads a whole file of at most maxBytes; false with the reason (too large, no file, the
// system's error). Never waits on a pipe named like a file.
bool ReadFileCapped(const std::string& path, std::size_t maxBytes, std::string& bytes,
                    std::string& reason);

// Copies source over target. Fails, with the reason, unless target now holds the source's
// contents.
FileResult CopyFileReplacing(const std::string& source, const std::string& target);

// Writes contents to target; a target that already holds them is left alone. A target that is
// replaced keeps its permissions.
FileResult WriteFileReplacing(std::string_view contents, const std::string& target);

// True when both paths are readable files with the same bytes.
bool SameFileContents(const std::string& first, const std::string& second);
