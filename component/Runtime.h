// The widget's browser runtime (runtime/furlin.js and its style sheet furlin.css), embedded at
// build time so the component can place it beside every page it copies support files for.
#pragma once

#include <string>

// Writes the runtime's files into folder (ending with "/"; empty writes nothing). A file that is
// already there with the same bytes is left alone. False, with the file and the reason in
// `problem` when asked for, when one could not be written.
bool PlaceRuntimeFiles(const std::string& folder, std::string* problem = nullptr);
