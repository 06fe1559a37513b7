// Path helpers. Paths split at the last "/" or "\", so documents written on Windows read here.
#pragma once

#include <string>

std::string FileNameOfPath(const std::string& path); // after the last separator, or the whole
std::string FolderOfPath(const std::string& path);   // before the last separator, or empty
