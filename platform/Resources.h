// Module resources: the string table and icons a library carries, reachable by a module handle.
// A module handle is a 32-bit number that names a loaded module by its file path, so the program
// and a component library (each with its own copy of this layer) agree on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

using HINSTANCE = std::int32_t;

struct StringResource {
    unsigned id;
    const char* text;
};
struct IconResource {
    unsigned id;
    const unsigned char* data; // an image file (PNG or SVG) in memory
    std::size_t size;
};
struct ModuleResources {
    const StringResource* strings;
    std::size_t stringCount;
    const IconResource* icons;
    std::size_t iconCount;
};

// Every module with resources exports this (extern "C"), defined with TESSEL_MODULE_RESOURCES.
using PFN_TesselModuleResources = const ModuleResources* (*)();
#define TESSEL_MODULE_RESOURCES_SYMBOL "TesselModuleResources"

// Defines the export; use once, at namespace scope, in a shared library:
//   static const ModuleResources kResources = {...};
//   TESSEL_MODULE_RESOURCES(kResources)
#define TESSEL_MODULE_RESOURCES(table)                                                             \
    extern "C" __attribute__((visibility("default"))) const ModuleResources*                       \
    TesselModuleResources() {                                                                      \
        return &(table);                                                                           \
    }

// The handle of the module (program or shared library) that contains the given address.
HINSTANCE GetModuleHandleOf(const void* addressInModule);
// The file path of the module that contains the given address.
std::string GetModulePathOf(const void* addressInModule);

// The resource lookup of the current module, as the framework's resource handle: the program sets
// it to a component's handle to read that component's strings, then puts its own back.
void SetResourceHandle(HINSTANCE h);
HINSTANCE GetResourceHandle();
// Registers the calling module's own table as the one served for its own handle (the program does
// this at start-up; shared libraries are found through their exported symbol).
void RegisterOwnResources(const void* addressInModule, const ModuleResources* table);

// Copies string id of module h into buffer (at most bufferMax - 1 bytes, terminated); returns the
// length copied, 0 when the module or the string is unknown.
int LoadString(HINSTANCE h, unsigned id, char* buffer, int bufferMax);
std::string LoadStringText(HINSTANCE h, unsigned id);
// The icon's image bytes, or an empty string when unknown.
std::string LoadIconData(HINSTANCE h, unsigned id);
