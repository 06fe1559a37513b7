#include "Registry.h"

#include "RegTree.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_set>

struct RegKey {
    std::string path; // normalized; "" is the root
};

namespace {

RegKey g_root;

std::mutex& HandleMutex() {
    static std::mutex m;
    return m;
}
std::unordered_set<RegKey*>& LiveHandles() {
    static std::unordered_set<RegKey*> handles;
    return handles;
}

// Validates the handle and forms the full key path of key\subKey.
LONG ResolvePath(HKEY key, LPCOLESTR subKey, std::string* path) {
    std::string base;
    if (key == HKEY_CLASSES_ROOT) {
        base.clear();
    } else {
        std::lock_guard lock(HandleMutex());
        if (!key || !LiveHandles().count(key))
            return ERROR_INVALID_HANDLE;
        base = key->path;
    }
    std::string sub;
    if (subKey && !NormalizeKeyPath(subKey, &sub))
        return ERROR_BADKEY;
    *path = JoinKeyPath(base, sub);
    return ERROR_SUCCESS;
}

HKEY NewHandle(const std::string& path) {
    auto* key = new RegKey{path};
    std::lock_guard lock(HandleMutex());
    LiveHandles().insert(key);
    return key;
}

} // namespace

const HKEY HKEY_CLASSES_ROOT = &g_root;

std::string ClassesRootPath() {
    const char* explicitPath = std::getenv("TESSEL_CLASSES_ROOT");
    if (explicitPath && *explicitPath)
        return explicitPath;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/')
        return std::string(dataHome) + "/tessel/classes.reg";
    std::string home;
    if (const char* h = std::getenv("HOME"); h && *h) {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    if (home.empty())
        return {};
    return home + "/.local/share/tessel/classes.reg";
}

LONG RegOpenKey(HKEY key, LPCOLESTR subKey, HKEY* result) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    std::string path;
    if (LONG rc = ResolvePath(key, subKey, &path); rc != ERROR_SUCCESS)
        return rc;
    if (!path.empty() && !ReadClassesRoot().Find(path))
        return ERROR_FILE_NOT_FOUND;
    *result = NewHandle(path);
    return ERROR_SUCCESS;
}

LONG RegCreateKey(HKEY key, LPCOLESTR subKey, HKEY* result) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    std::string path;
    if (LONG rc = ResolvePath(key, subKey, &path); rc != ERROR_SUCCESS)
        return rc;
    if (!path.empty()) {
        bool written = ModifyClassesRoot([&](CRegTree& tree) {
            if (tree.Find(path))
                return false;
            tree.Create(path);
            return true;
        });
        if (!written)
            return ERROR_CANTWRITE;
    }
    *result = NewHandle(path);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (key == HKEY_CLASSES_ROOT)
        return ERROR_SUCCESS;
    {
        std::lock_guard lock(HandleMutex());
        if (!key || LiveHandles().erase(key) == 0)
            return ERROR_INVALID_HANDLE;
    }
    delete key;
    return ERROR_SUCCESS;
}

namespace {

// Sets the default value (valueName null or empty) or a named value of the key at path.
LONG SetValueAt(const std::string& path, LPCOLESTR valueName, LPCOLESTR value) {
    if (path.empty())
        return ERROR_ACCESS_DENIED; // the root itself carries no values
    std::string text = value ? value : "";
    std::string name = valueName ? valueName : "";
    bool written = ModifyClassesRoot([&](CRegTree& tree) {
        CRegKeyEntry& entry = tree.Create(path);
        if (name.empty()) {
            if (entry.defaultValue == text)
                return false;
            entry.defaultValue = text;
            return true;
        }
        std::string folded = FoldCase(name);
        for (CRegValue& v : entry.values) {
            if (FoldCase(v.name) == folded) {
                if (v.value == text)
                    return false;
                v.value = text;
                return true;
            }
        }
        entry.values.push_back(CRegValue{name, text});
        return true;
    });
    return written ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

} // namespace

LONG RegSetValue(HKEY key, LPCOLESTR subKey, LPCOLESTR value) {
    std::string path;
    if (LONG rc = ResolvePath(key, subKey, &path); rc != ERROR_SUCCESS)
        return rc;
    return SetValueAt(path, nullptr, value);
}

LONG RegQueryValue(HKEY key, LPCOLESTR subKey, std::string* value) {
    if (!value)
        return ERROR_INVALID_PARAMETER;
    std::string path;
    if (LONG rc = ResolvePath(key, subKey, &path); rc != ERROR_SUCCESS)
        return rc;
    value->clear();
    if (path.empty())
        return ERROR_SUCCESS;
    CRegTree tree = ReadClassesRoot();
    const CRegKeyEntry* entry = tree.Find(path);
    if (!entry)
        return ERROR_FILE_NOT_FOUND;
    if (entry->defaultValue)
        *value = *entry->defaultValue;
    return ERROR_SUCCESS;
}

LONG RegQueryValue(HKEY key, LPCOLESTR subKey, char* buffer, LONG* size) {
    if (!size)
        return ERROR_INVALID_PARAMETER;
    std::string value;
    if (LONG rc = RegQueryValue(key, subKey, &value); rc != ERROR_SUCCESS)
        return rc;
    LONG needed = static_cast<LONG>(value.size() + 1);
    if (!buffer) {
        *size = needed;
        return ERROR_SUCCESS;
    }
    if (*size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    std::memcpy(buffer, value.c_str(), value.size() + 1);
    *size = needed;
    return ERROR_SUCCESS;
}

LONG RegSetValueEx(HKEY key, LPCOLESTR valueName, LPCOLESTR value) {
    std::string path;
    if (LONG rc = ResolvePath(key, nullptr, &path); rc != ERROR_SUCCESS)
        return rc;
    return SetValueAt(path, valueName, value);
}

LONG RegQueryValueEx(HKEY key, LPCOLESTR valueName, std::string* value) {
    if (!value)
        return ERROR_INVALID_PARAMETER;
    value->clear();
    std::string path;
    if (LONG rc = ResolvePath(key, nullptr, &path); rc != ERROR_SUCCESS)
        return rc;
    CRegTree tree = ReadClassesRoot();
    const CRegKeyEntry* entry = tree.Find(path);
    if (!entry)
        return ERROR_FILE_NOT_FOUND;
    if (!valueName || !*valueName) {
        if (!entry->defaultValue)
            return ERROR_FILE_NOT_FOUND;
        *value = *entry->defaultValue;
        return ERROR_SUCCESS;
    }
    std::string folded = FoldCase(valueName);
    for (const CRegValue& v : entry->values) {
        if (FoldCase(v.name) == folded) {
            *value = v.value;
            return ERROR_SUCCESS;
        }
    }
    return ERROR_FILE_NOT_FOUND;
}

LONG RegDeleteKey(HKEY key, LPCOLESTR subKey) {
    std::string path;
    if (LONG rc = ResolvePath(key, subKey, &path); rc != ERROR_SUCCESS)
        return rc;
    if (path.empty())
        return ERROR_ACCESS_DENIED;
    bool existed = false;
    bool written = ModifyClassesRoot([&](CRegTree& tree) {
        existed = tree.Remove(path);
        return existed;
    });
    if (!written)
        return ERROR_CANTWRITE;
    return existed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LONG RegEnumKey(HKEY key, std::uint32_t index, std::string* name) {
    if (!name)
        return ERROR_INVALID_PARAMETER;
    name->clear();
    std::string path;
    if (LONG rc = ResolvePath(key, nullptr, &path); rc != ERROR_SUCCESS)
        return rc;
    CRegTree tree = ReadClassesRoot();
    if (!path.empty() && !tree.Find(path))
        return ERROR_FILE_NOT_FOUND;
    std::vector<std::string> children = tree.Children(path);
    if (index >= children.size())
        return ERROR_NO_MORE_ITEMS;
    *name = children[index];
    return ERROR_SUCCESS;
}
