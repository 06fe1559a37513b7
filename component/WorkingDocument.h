// The widget file a save would write, made without copying anything, so the program can keep a
// recovery copy of unsaved work; and the way back from such a file.
#pragma once

#include <string>

class CAppletParameters;
class CTesselFile;

// The file text for model (which may be changed: references to files that are gone are dropped)
// with the descriptions of document. Its resource list names the folder of every support file;
// it has no HTML segment.
std::string WorkingDocumentText(CAppletParameters& model, const CTesselFile& document);

// After a working document was read: the stored table keeps only file names, so each reference,
// in the order the resource list was built, goes back to the folder its entry names.
void RestoreReferenceFolders(CAppletParameters& model, const CTesselFile& document);
