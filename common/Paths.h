// Path helpers. Paths split at the last "/" or "\", so documents written on Windows read here.
#pragma once

#include <string>
#include <string_view>

std::string FileNameOfPath(const std::string& path); // after the last separator, or the whole
std::string FolderOfPath(const std::string& path);   // before the last separator, or empty
// FileNameOfPath without a copy: a view into `path`.
std::string_view FileNamePart(std::string_view path);
// True when `path`, taken literally (no wildcards), names an existing file; a folder is no file.
bool NamesExistingFile(const std::string& path);
