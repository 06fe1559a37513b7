// Files written whole or not at all: a temporary file in the target's folder renamed over the
// target, so a failed write never leaves a half-written file. Plain C++, no Qt.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Reads a whole file of at most maxBytes; false with the reason (too large, no file, the
// system's error). Never waits on a pipe named like a file.
bool ReadFileCapped(const std::string& path, std::size_t maxBytes, std::string& bytes,
                    std::string& reason);

// Copies source over target. True when target now holds the source's contents; on failure,
// `reason` (when given) says why.
bool CopyFileReplacing(const std::string& source, const std::string& target,
                       std::string* reason = nullptr);

// Writes contents to target; a target that already holds them is left alone. A target that is
// replaced keeps its permissions. On failure, `reason` (when given) says why.
bool WriteFileReplacing(std::string_view contents, const std::string& target,
                        std::string* reason = nullptr);

// True when both paths are readable files with the same bytes.
bool SameFileContents(const std::string& first, const std::string& second);
