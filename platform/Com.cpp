#include "Com.h"

#include "ComCat.h"
#include "RegTree.h"
#include "Registry.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

// Defined in ComCat.cpp.
HRESULT CreateStdComponentCategoriesMgr(REFIID riid, void** ppv);

bool operator==(const GUID& a, const GUID& b) {
    return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
           std::memcmp(a.Data4, b.Data4, sizeof a.Data4) == 0;
}

const GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
const IID IID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// ---- status texts -------------------------------------------------------------------------------

std::string HResultToHex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

std::string HResultDescription(HRESULT hr) {
    struct Entry {
        HRESULT hr;
        const char* text;
    };
    static const Entry table[] = {
        {S_OK, "The operation completed successfully."},
        {E_NOTIMPL, "Not implemented."},
        {E_NOINTERFACE, "No such interface supported."},
        {E_POINTER, "Invalid pointer."},
        {E_FAIL, "Unspecified error."},
        {E_UNEXPECTED, "Catastrophic failure."},
        {E_ACCESSDENIED, "Access is denied."},
        {E_OUTOFMEMORY, "Not enough memory resources are available."},
        {E_INVALIDARG, "The parameter is incorrect."},
        {CLASS_E_NOAGGREGATION, "Class does not support aggregation."},
        {CLASS_E_CLASSNOTAVAILABLE, "Class factory cannot supply requested class."},
        {REGDB_E_READREGDB, "Could not read key from registry."},
        {REGDB_E_WRITEREGDB, "Could not write key to registry."},
        {REGDB_E_KEYMISSING, "Could not find the key in the registry."},
        {REGDB_E_CLASSNOTREG, "Class not registered."},
        {CO_E_CLASSSTRING, "Invalid class string."},
        {CO_E_NOTINITIALIZED, "CoInitialize has not been called."},
        {CO_E_DLLNOTFOUND, "The component library could not be found."},
        {CO_E_ERRORINDLL, "The component library is not a valid component."},
        {DISP_E_UNKNOWNINTERFACE, "Unknown interface."},
        {DISP_E_MEMBERNOTFOUND, "Member not found."},
        {DISP_E_PARAMNOTFOUND, "Parameter not found."},
        {DISP_E_TYPEMISMATCH, "Type mismatch."},
        {DISP_E_UNKNOWNNAME, "Unknown name."},
        {DISP_E_NONAMEDARGS, "No named arguments."},
        {DISP_E_BADVARTYPE, "Bad variable type."},
        {DISP_E_EXCEPTION, "Exception occurred."},
        {DISP_E_OVERFLOW, "Out of present range."},
        {DISP_E_BADPARAMCOUNT, "Invalid number of parameters."},
        {ERROR_FILE_NOT_FOUND_HR, "The system cannot find the file specified."},
    };
    for (const Entry& e : table)
        if (e.hr == hr)
            return e.text;
    return "Error " + HResultToHex(hr) + ".";
}

// ---- class identifiers --------------------------------------------------------------------------

std::string StringFromCLSID(REFCLSID clsid) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(clsid.Data1), static_cast<unsigned>(clsid.Data2),
                  static_cast<unsigned>(clsid.Data3), clsid.Data4[0], clsid.Data4[1],
                  clsid.Data4[2], clsid.Data4[3], clsid.Data4[4], clsid.Data4[5], clsid.Data4[6],
                  clsid.Data4[7]);
    return text;
}

HRESULT StringFromCLSID(REFCLSID clsid, std::string* out) {
    if (!out)
        return E_POINTER;
    *out = StringFromCLSID(clsid);
    return S_OK;
}

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads count hex digits at text[pos].
bool ReadHex(const char* text, std::size_t pos, int count, std::uint32_t* out) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        int d = HexDigit(text[pos + static_cast<std::size_t>(i)]);
        if (d < 0)
            return false;
        value = value * 16 + static_cast<std::uint32_t>(d);
    }
    *out = value;
    return true;
}

} // namespace

HRESULT CLSIDFromString(LPCOLESTR text, CLSID* out) {
    if (!out)
        return E_POINTER;
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    if (!text || std::strlen(text) != 38 || text[0] != '{' || text[37] != '}' || text[9] != '-' ||
        text[14] != '-' || text[19] != '-' || text[24] != '-')
        return CO_E_CLASSSTRING;
    CLSID id{};
    std::uint32_t v = 0;
    if (!ReadHex(text, 1, 8, &v))
        return CO_E_CLASSSTRING;
    id.Data1 = v;
    if (!ReadHex(text, 10, 4, &v))
        return CO_E_CLASSSTRING;
    id.Data2 = static_cast<std::uint16_t>(v);
    if (!ReadHex(text, 15, 4, &v))
        return CO_E_CLASSSTRING;
    id.Data3 = static_cast<std::uint16_t>(v);
    static const std::size_t bytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        if (!ReadHex(text, bytePos[i], 2, &v))
            return CO_E_CLASSSTRING;
        id.Data4[i] = static_cast<std::uint8_t>(v);
    }
    *out = id;
    return S_OK;
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* out) {
    if (!out)
        return E_POINTER;
    *out = GUID_NULL;
    // An empty ProgID or one with a separator would name some other key of the classes root.
    if (!progId || !*progId || std::strchr(progId, '\\'))
        return CO_E_CLASSSTRING;
    std::string value;
    std::string key = std::string(progId) + "\\CLSID";
    if (RegQueryValue(HKEY_CLASSES_ROOT, key.c_str(), &value) != ERROR_SUCCESS)
        return REGDB_E_CLASSNOTREG;
    return CLSIDFromString(value.c_str(), out);
}

HRESULT ProgIDFromCLSID(REFCLSID clsid, std::string* out) {
    if (!out)
        return E_POINTER;
    out->clear();
    std::string value;
    std::string key = "CLSID\\" + StringFromCLSID(clsid) + "\\ProgID";
    if (RegQueryValue(HKEY_CLASSES_ROOT, key.c_str(), &value) != ERROR_SUCCESS || value.empty())
        return REGDB_E_CLASSNOTREG;
    *out = value;
    return S_OK;
}

// ---- libraries and object creation --------------------------------------------------------------

namespace {

struct LoadedLibrary {
    void* handle = nullptr;
    PFN_DllGetClassObject getClassObject = nullptr;
    PFN_DllCanUnloadNow canUnloadNow = nullptr;
};

std::recursive_mutex& LibraryMutex() {
    static std::recursive_mutex m;
    return m;
}
std::map<std::string, LoadedLibrary>& Libraries() {
    static std::map<std::string, LoadedLibrary> libraries;
    return libraries;
}
int g_initCount = 0;

template <typename T> T SymbolAs(void* handle, const char* name) {
    void* symbol = ::dlsym(handle, name);
    T fn = nullptr;
    static_assert(sizeof fn == sizeof symbol);
    std::memcpy(&fn, &symbol, sizeof fn);
    return fn;
}

HRESULT LoadServer(const std::string& path, LoadedLibrary** out) {
    auto& libraries = Libraries();
    if (auto it = libraries.find(path); it != libraries.end()) {
        *out = &it->second;
        return S_OK;
    }
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return CO_E_DLLNOTFOUND;
    // RTLD_NOW: a library with unresolved symbols fails here instead of crashing on first call.
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return CO_E_ERRORINDLL;
    LoadedLibrary lib;
    lib.handle = handle;
    lib.getClassObject = SymbolAs<PFN_DllGetClassObject>(handle, "DllGetClassObject");
    lib.canUnloadNow = SymbolAs<PFN_DllCanUnloadNow>(handle, "DllCanUnloadNow");
    if (!lib.getClassObject) {
        ::dlclose(handle);
        return CO_E_ERRORINDLL;
    }
    *out = &libraries.emplace(path, lib).first->second;
    return S_OK;
}

} // namespace

HRESULT CoInitialize(void*) {
    std::lock_guard lock(LibraryMutex());
    if (g_initCount > 0) {
        ++g_initCount;
        return S_FALSE;
    }
    if (!EnsureClassesRootFolder())
        return REGDB_E_WRITEREGDB;
    ++g_initCount;
    return S_OK;
}

void CoUninitialize() {
    std::lock_guard lock(LibraryMutex());
    if (g_initCount == 0)
        return;
    if (--g_initCount == 0)
        CoFreeUnusedLibraries();
}

HRESULT CoGetClassObject(REFCLSID rclsid, std::uint32_t, void*, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    std::string path;
    std::string key = "CLSID\\" + StringFromCLSID(rclsid) + "\\InprocServer32";
    if (RegQueryValue(HKEY_CLASSES_ROOT, key.c_str(), &path) != ERROR_SUCCESS)
        return REGDB_E_CLASSNOTREG;
    if (path.empty())
        return CO_E_DLLNOTFOUND;

    std::lock_guard lock(LibraryMutex());
    LoadedLibrary* lib = nullptr;
    if (HRESULT hr = LoadServer(path, &lib); FAILED(hr))
        return hr;
    HRESULT hr = E_FAIL;
    try {
        hr = lib->getClassObject(rclsid, riid, ppv);
    } catch (...) {
        hr = CO_E_ERRORINDLL;
    }
    if (SUCCEEDED(hr) && !*ppv)
        hr = CO_E_ERRORINDLL;
    if (FAILED(hr))
        *ppv = nullptr;
    return hr;
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, std::uint32_t dwClsContext,
                         REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    if (rclsid == CLSID_StdComponentCategoriesMgr)
        return CreateStdComponentCategoriesMgr(riid, ppv);

    void* factoryPtr = nullptr;
    HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, &factoryPtr);
    if (FAILED(hr))
        return hr;
    auto* factory = static_cast<IClassFactory*>(factoryPtr);
    try {
        hr = factory->CreateInstance(nullptr, riid, ppv);
    } catch (...) {
        hr = E_UNEXPECTED;
    }
    factory->Release();
    if (SUCCEEDED(hr) && !*ppv)
        hr = E_UNEXPECTED;
    if (FAILED(hr))
        *ppv = nullptr;
    return hr;
}

void CoFreeUnusedLibraries() {
    std::lock_guard lock(LibraryMutex());
    auto& libraries = Libraries();
    for (auto it = libraries.begin(); it != libraries.end();) {
        bool unload = false;
        if (it->second.canUnloadNow) {
            try {
                unload = it->second.canUnloadNow() == S_OK;
            } catch (...) {
                unload = false;
            }
        }
        if (unload) {
            ::dlclose(it->second.handle);
            it = libraries.erase(it);
        } else {
            ++it;
        }
    }
}
