// Copies every support file of the widget into a destination folder and points the model's file
// references at the copies; name clashes are settled in the "Copy Resources" dialog.
#pragma once

#include "Files.h"

#include <map>
#include <string>

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
