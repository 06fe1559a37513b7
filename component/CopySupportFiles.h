// Copies every support file of the widget into a destination folder and points the model's file
// references at the copies; name clashes are settled in the "Copy Resources" dialog.
#pragma once

#include <string>

class CAppletParameters;

// destinationFolder ends with "/".
void CopySupportFiles(CAppletParameters& model, const std::string& destinationFolder);
