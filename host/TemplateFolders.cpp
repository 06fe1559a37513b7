#include "TemplateFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

namespace host {

namespace {

FolderWritableCheck& WritableCheck() {
    static FolderWritableCheck check;
    return check;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0')
        return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

} // namespace

bool IsWritableFolder(const std::string& folder) {
    if (folder.empty())
        return false;
    if (const FolderWritableCheck& check = WritableCheck())
        return check(folder);
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string UserDataFolder() {
    // A relative XDG_DATA_HOME is to be ignored, like an unset one.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    std::string data =
        xdg != nullptr && xdg[0] == '/' ? std::string(xdg) : HomeFolder() + "/.local/share";
    while (data.size() > 1 && data.back() == '/')
        data.pop_back();
    return data + "/Velloran/Quillary Foldline";
}

std::string UserTemplateFolder() {
    return UserDataFolder() + "/templates";
}

std::vector<std::string> TemplateFolders(const std::string& componentFolder) {
    if (IsWritableFolder(componentFolder))
        return {componentFolder};
    std::vector<std::string> folders;
    if (!componentFolder.empty())
        folders.push_back(componentFolder);
    const std::string user = UserTemplateFolder();
    if (user != componentFolder)
        folders.push_back(user);
    return folders;
}

std::string TemplateWriteFolder(const std::string& componentFolder) {
    if (IsWritableFolder(componentFolder))
        return componentFolder;
    const std::string user = UserTemplateFolder();
    std::error_code ec;
    // A failure shows later, as the failed write of the template.
    std::filesystem::create_directories(user, ec);
    return user;
}

void SetFolderWritableCheck(FolderWritableCheck check) {
    WritableCheck() = std::move(check);
}

} // namespace host
