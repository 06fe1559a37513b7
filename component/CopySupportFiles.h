// Copies every support file of the widget into a destination folder and points the model's file
// references at the copies; name clashes are settled in the "Copy Resources" dialog.
#pragma once

#include <map>
#include <string>
#include <string_view>

class CAppletParameters;

// destinationFolder ends with "/" (one is added when missing); an empty folder copies nothing.
// Without a Qt application that can show dialogs, clashes are left as Escape leaves them.
void CopySupportFiles(CAppletParameters& model, const std::string& destinationFolder);

// Source path -> the copy made of it during one CopySupportFiles call.
using CopiedFiles = std::map<std::string, std::string>;

// Copies the file of one reference into the destination and points the reference at the copy.
// Empties a reference whose file is gone. False for a name clash: nothing is copied and the
// reference is unchanged. A failed copy also leaves the reference unchanged.
bool CopyResourceFile(std::string& reference, const std::string& destinationFolder,
                      CopiedFiles& copied);

// Copies source over target through a temporary file in the target's folder, so a failed copy
// never leaves a half-written target. True when target now holds the source's contents.
bool CopyFileReplacing(const std::string& source, const std::string& target);

// Writes contents to target the same way; a target that already holds them is left alone.
bool WriteFileReplacing(std::string_view contents, const std::string& target);

// True when both paths are readable files with the same bytes.
bool SameFileContents(const std::string& first, const std::string& second);
