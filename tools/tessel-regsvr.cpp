// tessel-regsvr [-u] LIBRARY: registers (or with -u unregisters) a component library in the
// classes root by calling its DllRegisterServer (DllUnregisterServer).
#include "Com.h"
#include "Registry.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Fail(const std::string& message, HRESULT hr) {
    std::fprintf(stderr, "tessel-regsvr: %s (%s)\n", message.c_str(), HResultToHex(hr).c_str());
    return 1;
}

const char kHelp[] = "usage: tessel-regsvr [-u] LIBRARY\n"
                     "Registers the component library LIBRARY in the classes root by calling its\n"
                     "DllRegisterServer; with -u, unregisters it by calling DllUnregisterServer.\n"
                     "\n"
                     "The classes root is $TESSEL_CLASSES_ROOT when set, else\n"
                     "${XDG_DATA_HOME:-$HOME/.local/share}/tessel/classes.reg.\n"
                     "\n"
                     "  -u         unregister instead of register\n"
                     "  --help     show this text and exit\n"
                     "  --version  show the version and exit\n"
                     "\n"
                     "Exit status: 0 on success, 1 on any failure.\n";

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("tessel-regsvr %s\n", FOLDLINE_VERSION);
        return 0;
    }
    bool unregister = argc == 3 && std::strcmp(argv[1], "-u") == 0;
    const char* library = argc == 2 ? argv[1] : unregister ? argv[2] : nullptr;
    if (!library || !*library || (argc == 2 && std::strcmp(library, "-u") == 0)) {
        std::fprintf(stderr, "usage: tessel-regsvr [-u] LIBRARY\n");
        return 1;
    }
    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";

    if (HRESULT hr = CoInitialize(nullptr); FAILED(hr))
        return Fail("cannot use the classes root \"" + ClassesRootPath() + "\"", hr);

    // The library records its own load path as its location, so load it by its full path.
    char resolved[PATH_MAX];
    if (!::realpath(library, resolved)) {
        CoUninitialize();
        return Fail(std::string("cannot find ") + library, CO_E_DLLNOTFOUND);
    }
    void* handle = ::dlopen(resolved, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        CoUninitialize();
        return Fail(std::string("cannot load ") + library + ": " + (why ? why : "unknown error"),
                    CO_E_ERRORINDLL);
    }
    void* symbol = ::dlsym(handle, entry);
    if (!symbol) {
        CoUninitialize();
        return Fail(std::string(library) + " has no entry point " + entry, CO_E_ERRORINDLL);
    }
    PFN_DllRegisterServer fn = nullptr;
    static_assert(sizeof fn == sizeof symbol);
    std::memcpy(&fn, &symbol, sizeof fn);

    HRESULT hr = E_FAIL;
    try {
        hr = fn();
    } catch (...) {
        hr = E_UNEXPECTED;
    }
    // The library stays loaded: objects or handlers it left behind may still refer to it.
    CoUninitialize();
    if (FAILED(hr))
        return Fail(std::string(entry) + " in " + library + " failed", hr);
    std::printf("%s in %s succeeded.\n", entry, library);
    return 0;
}
