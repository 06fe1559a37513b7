// Where templates are read and written. An installed component folder is usually read-only, so
// the user's own templates then live in a per-user folder that is listed beside it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace host {

// The program's per-user data folder, ${XDG_DATA_HOME:-~/.local/share}/Velloran/Quillary Foldline,
// used for what an installed (read-only) program folder or component folder cannot hold.
std::string UserDataFolder();
// UserDataFolder() + "/templates"
std::string UserTemplateFolder();

// Whether a folder can be written (see SetFolderWritableCheck); an empty name cannot.
bool IsWritableFolder(const std::string& folder);

// The component folder, followed by the per-user folder when the component folder cannot be
// written. An empty component folder (its registration unreadable) counts as not writable.
std::vector<std::string> TemplateFolders(const std::string& componentFolder);

// The folder new templates go to: the component folder when writable, else the per-user
// folder, created on demand.
std::string TemplateWriteFolder(const std::string& componentFolder);

// Decides whether a folder can be written; access(W_OK) unless replaced. Tests replace it,
// because under root every folder passes access(). An empty function restores the default.
using FolderWritableCheck = std::function<bool(const std::string& folder)>;
void SetFolderWritableCheck(FolderWritableCheck check);

} // namespace host
