// Reads the parts of a widget file into a document's tables and notes what a damaged file lacks.
#pragma once

#include "CTesselFile.h"

#include <iosfwd>
#include <string>
#include <vector>

// Reads the parts in file order as far as the file goes, as much of each as it holds. Answers
// what was missing or could not be read, empty for a whole file; throws std::runtime_error when
// the file cannot be read on.
std::vector<std::string> ReadTesselParts(std::ifstream& in, CTesselMap& descriptions,
                                         CTesselMap& parameters,
                                         std::vector<ResourceEntry>& resources,
                                         std::vector<HtmlSegment>& segments);
