#include "Resources.h"

#include <dlfcn.h>
#include <limits.h>
#include <link.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace {

std::string Canonical(const std::string& path) {
    char resolved[PATH_MAX];
    if (!path.empty() && ::realpath(path.c_str(), resolved))
        return resolved;
    return path;
}

// The main program's link-map name is empty; its file is /proc/self/exe.
std::string ModuleFilePath(const char* linkMapName) {
    if (!linkMapName || !*linkMapName)
        return Canonical("/proc/self/exe");
    return Canonical(linkMapName);
}

HINSTANCE HandleOfPath(const std::string& path) {
    if (path.empty())
        return 0;
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (unsigned char c : path) {
        hash ^= c;
        hash *= 16777619u;
    }
    hash &= 0x7FFFFFFFu;
    return static_cast<HINSTANCE>(hash == 0 ? 1 : hash);
}

std::mutex& TableMutex() {
    static std::mutex m;
    return m;
}
std::map<HINSTANCE, const ModuleResources*>& OwnTables() {
    static std::map<HINSTANCE, const ModuleResources*> tables;
    return tables;
}

const char g_anchor = 0; // an address inside the module that holds this copy of the layer

HINSTANCE& CurrentResourceHandle() {
    static HINSTANCE handle = GetModuleHandleOf(&g_anchor);
    return handle;
}

struct ModuleName {
    std::string linkName; // as the dynamic loader knows it ("" for the program)
    std::string path;
};

int CollectModule(dl_phdr_info* info, std::size_t, void* data) {
    auto* modules = static_cast<std::vector<ModuleName>*>(data);
    const char* name = info->dlpi_name ? info->dlpi_name : "";
    modules->push_back(ModuleName{name, ModuleFilePath(name)});
    return 0;
}

// The exported table of the loaded module with handle h, found without loading anything.
const ModuleResources* ExportedTable(HINSTANCE h) {
    std::vector<ModuleName> modules;
    ::dl_iterate_phdr(CollectModule, &modules);
    for (const ModuleName& module : modules) {
        if (HandleOfPath(module.path) != h)
            continue;
        void* lib = ::dlopen(module.linkName.empty() ? nullptr : module.linkName.c_str(),
                             RTLD_LAZY | RTLD_NOLOAD);
        if (!lib)
            continue;
        void* symbol = ::dlsym(lib, TESSEL_MODULE_RESOURCES_SYMBOL);
        const ModuleResources* table = nullptr;
        // dlsym also searches the module's dependencies: accept only the module's own table.
        if (symbol && GetModuleHandleOf(symbol) == h) {
            PFN_TesselModuleResources fn = nullptr;
            static_assert(sizeof fn == sizeof symbol);
            std::memcpy(&fn, &symbol, sizeof fn);
            table = fn();
        }
        ::dlclose(lib);
        if (table)
            return table;
    }
    return nullptr;
}

const ModuleResources* TableOf(HINSTANCE h) {
    if (h == 0)
        return nullptr;
    {
        std::lock_guard lock(TableMutex());
        auto it = OwnTables().find(h);
        if (it != OwnTables().end())
            return it->second;
    }
    return ExportedTable(h);
}

} // namespace

std::string GetModulePathOf(const void* addressInModule) {
    Dl_info info{};
    link_map* map = nullptr;
    if (!addressInModule ||
        !::dladdr1(addressInModule, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) || !map)
        return {};
    return ModuleFilePath(map->l_name);
}

HINSTANCE GetModuleHandleOf(const void* addressInModule) {
    return HandleOfPath(GetModulePathOf(addressInModule));
}

void SetResourceHandle(HINSTANCE h) {
    CurrentResourceHandle() = h;
}

HINSTANCE GetResourceHandle() {
    return CurrentResourceHandle();
}

void RegisterOwnResources(const void* addressInModule, const ModuleResources* table) {
    HINSTANCE h = GetModuleHandleOf(addressInModule);
    if (h == 0)
        return;
    std::lock_guard lock(TableMutex());
    if (table)
        OwnTables()[h] = table;
    else
        OwnTables().erase(h);
}

std::string LoadStringText(HINSTANCE h, unsigned id) {
    const ModuleResources* table = TableOf(h);
    if (!table || !table->strings)
        return {};
    for (std::size_t i = 0; i < table->stringCount; ++i)
        if (table->strings[i].id == id && table->strings[i].text)
            return table->strings[i].text;
    return {};
}

int LoadString(HINSTANCE h, unsigned id, char* buffer, int bufferMax) {
    if (!buffer || bufferMax <= 0)
        return 0;
    buffer[0] = '\0';
    std::string text = LoadStringText(h, id);
    std::size_t n = std::min(text.size(), static_cast<std::size_t>(bufferMax - 1));
    // Cut before a partial UTF-8 sequence.
    if (n < text.size())
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

std::string LoadIconData(HINSTANCE h, unsigned id) {
    const ModuleResources* table = TableOf(h);
    if (!table || !table->icons)
        return {};
    for (std::size_t i = 0; i < table->iconCount; ++i) {
        const IconResource& icon = table->icons[i];
        if (icon.id == id && icon.data)
            return std::string(reinterpret_cast<const char*>(icon.data), icon.size);
    }
    return {};
}
