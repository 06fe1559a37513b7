// Copies every support file of the widget into a destination folder and points the model's file
// references at the copies; name clashes are settled by a conflict resolver (the "Copy Resources"
// dialog is one). Copies that fail are collected with their reasons.
#pragma once

#include "FileResult.h"
#include "Files.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

class CAppletParameters;

// A support file whose name is already taken in the destination folder by another file.
struct CopyConflict {
    std::string source;                   // the file's full path
    std::vector<std::string*> references; // the model's references to it, rewritten by its copy
    std::string targetName;               // the resolver's answer: the copy's name; empty: no copy
};

// Settles the clashes of one copying pass.
class IConflictResolver {
public:
    virtual ~IConflictResolver() = default;
    // Gives each clash to copy a target name in destinationFolder; false copies none of them.
    virtual bool ResolveConflicts(const std::string& destinationFolder,
                                  std::vector<CopyConflict>& conflicts) = 0;
};

// The support files that could not be copied, each with the path it was copied to and why.
using CopyFailures = std::vector<FileResult>;

// destinationFolder ends with "/" (one is added when missing); an empty folder copies nothing.
// Without a resolver, clashes are left as Escape leaves them. A reference whose copy failed keeps
// its old path.
CopyFailures CopySupportFiles(CAppletParameters& model, const std::string& destinationFolder,
                              IConflictResolver* resolver);

// True when the reference names a file that exists; a reference to a file that is gone is
// emptied, as every output drops it.
bool ReferencesExistingFile(std::string& reference);

// Source path -> the copy made of it during one CopySupportFiles call.
using CopiedFiles = std::map<std::string, std::string>;

// Copies the file of one reference into the destination and points the reference at the copy.
// Empties a reference whose file is gone. False for a name clash: nothing is copied and the
// reference is unchanged. A failed copy also leaves the reference unchanged and is added to
// failures.
bool CopyResourceFile(std::string& reference, const std::string& destinationFolder,
                      CopiedFiles& copied, CopyFailures& failures);
