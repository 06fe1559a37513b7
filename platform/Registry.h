// The classes root (HKEY_CLASSES_ROOT) kept in one text file in the registry export style.
// Every change is written to a temporary file and renamed over the old one under an exclusive
// lock, so concurrent writers never lose keys. A missing or damaged file reads as empty.
#pragma once

#include "Com.h"

#include <string>

using LONG = std::int32_t;
using HKEY = struct RegKey*; // opaque; a handle names a key path, it holds no data

extern const HKEY HKEY_CLASSES_ROOT;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_MORE_ITEMS = 259;
constexpr LONG ERROR_BADKEY = 1010; // a key name with a control character
constexpr LONG ERROR_CANTWRITE = 1013;

// The file behind HKEY_CLASSES_ROOT: $TESSEL_CLASSES_ROOT, else
// ${XDG_DATA_HOME:-$HOME/.local/share}/tessel/classes.reg.
std::string ClassesRootPath();

// Key names are paths with "\" between the parts and compare without regard to letter case.
// Opens an existing key (ERROR_FILE_NOT_FOUND when absent).
LONG RegOpenKey(HKEY key, LPCOLESTR subKey, HKEY* result);
// Creates the key and its missing parents.
LONG RegCreateKey(HKEY key, LPCOLESTR subKey, HKEY* result);
LONG RegCloseKey(HKEY key);
// Sets the default value of key\subKey (subKey may be null or empty), creating the key.
LONG RegSetValue(HKEY key, LPCOLESTR subKey, LPCOLESTR value);
// Reads the default value of key\subKey; ERROR_FILE_NOT_FOUND when the key is absent. A key
// without a default value reads as "". With a buffer: *size in bytes including the terminator;
// ERROR_MORE_DATA (and the needed size) when it is too small.
LONG RegQueryValue(HKEY key, LPCOLESTR subKey, char* buffer, LONG* size);
LONG RegQueryValue(HKEY key, LPCOLESTR subKey, std::string* value);
// Named values.
LONG RegSetValueEx(HKEY key, LPCOLESTR valueName, LPCOLESTR value);
LONG RegQueryValueEx(HKEY key, LPCOLESTR valueName, std::string* value);
// Deletes key\subKey with everything under it.
LONG RegDeleteKey(HKEY key, LPCOLESTR subKey);
// The name of the index-th direct subkey (in stored order); ERROR_NO_MORE_ITEMS past the end.
LONG RegEnumKey(HKEY key, std::uint32_t index, std::string* name);
