// The widget's browser runtime (runtime/furlin.js and its style sheet furlin.css), embedded at
// build time so the component can place it beside every page it copies support files for.
#pragma once

#include "CopySupportFiles.h"

#include <string>

// Writes the runtime's files into folder (ending with "/"; empty writes nothing). A file that is
// already there with the same bytes is left alone. Answers the files that could not be written.
CopyFailures PlaceRuntimeFiles(const std::string& folder);
