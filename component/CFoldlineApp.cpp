#include "CFoldlineApp.h"

#include "CAppletParameters.h"
#include "CFoldline.h"
#include "ComCat.h"
#include "Paths.h"
#include "Registry.h"
#include "UnknownImpl.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <new>

const CLSID CLSID_Foldline = {
    0x0E58CB80, 0xD066, 0x11D2, {0x9E, 0x76, 0x52, 0x54, 0xAB, 0x10, 0xC8, 0x99}};
const CATID CATID_VelloranTessels = {
    0x2542EDC1, 0x7EFB, 0x11D2, {0x8C, 0xA5, 0x00, 0x88, 0xCC, 0x08, 0x15, 0x31}};

namespace {

// A menu panel whose second item has slid its sub-menu open beneath it.
const char kIconSvg[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">)"
    R"(<rect x="1.5" y="1.5" width="29" height="29" rx="3" fill="#f4f1e8" stroke="#3c4a63"/>)"
    R"(<rect x="4" y="4" width="24" height="5" rx="1" fill="#3c4a63"/>)"
    R"(<rect x="4" y="11" width="24" height="5" rx="1" fill="#c0562f"/>)"
    R"(<path d="M23 12.5l2 2 2-2" fill="none" stroke="#fff" stroke-width="1.2"/>)"
    R"(<path d="M7 16.5v9M7 19h3M7 23h3M7 25.5h3" fill="none" stroke="#8a7f6a"/>)"
    R"(<rect x="10" y="17.5" width="17" height="3" rx="0.8" fill="#e0a77f"/>)"
    R"(<rect x="10" y="21.5" width="17" height="3" rx="0.8" fill="#e0a77f"/>)"
    R"(<rect x="4" y="26.5" width="24" height="2" rx="0.8" fill="#3c4a63"/>)"
    R"(</svg>)";

const StringResource kStrings[] = {
    {IDS_TESSEL_TYPE, "Java Applet"},
    {IDS_TESSEL_NAME, "Quillary Foldline 1.1"},
    {IDS_MENU_TEXT, "Quillary Foldline 1.1"},
    {IDS_MESSAGE_TEXT,
     "Build a perfect navigation tree in which the sub-menu will slide downwards"},
    {IDS_TIPS_TEXT, "Quillary Foldline 1.1"},
};

const IconResource kIcons[] = {
    {IDI_TESSEL, reinterpret_cast<const unsigned char*>(kIconSvg), sizeof(kIconSvg) - 1},
};

const ModuleResources kResources = {kStrings, sizeof(kStrings) / sizeof(kStrings[0]), kIcons,
                                    sizeof(kIcons) / sizeof(kIcons[0])};

std::atomic<long> g_locks{0};

// Found through an address inside this library, whatever name it was loaded by.
std::string OwnLibraryPath() {
    Dl_info info{};
    if (::dladdr(static_cast<const void*>(&kResources), &info) == 0 || !info.dli_fname)
        return std::string();
    if (char* real = ::realpath(info.dli_fname, nullptr)) {
        std::string path = real;
        std::free(real);
        return path;
    }
    return info.dli_fname;
}

// The component folder has to be known before the first object is created.
struct CModuleStart {
    CModuleStart() { CFoldlineApp::Instance(); }
} g_moduleStart;

// One static factory: it lives as long as the library.
class CFoldlineFactory final
    : public CUnknownImpl<IClassFactory, IID_IClassFactory, ComLifetime::Static> {
public:
    HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (pUnkOuter)
            return CLASS_E_NOAGGREGATION;
        CFoldline* object = nullptr;
        try {
            object = new CFoldline();
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        const HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    }
    HRESULT LockServer(bool fLock) override {
        if (fLock)
            ++g_locks;
        else if (g_locks > 0)
            --g_locks;
        return S_OK;
    }
};

CFoldlineFactory g_factory;

std::string ClassKey() {
    return "CLSID\\" + StringFromCLSID(CLSID_Foldline);
}

bool HasDefaultValue(const std::string& key) {
    std::string value;
    return RegQueryValue(HKEY_CLASSES_ROOT, key.c_str(), &value) == ERROR_SUCCESS && !value.empty();
}

bool HasSubkeys(const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKey(HKEY_CLASSES_ROOT, key.c_str(), &handle) != ERROR_SUCCESS)
        return false;
    std::string name;
    const bool any = RegEnumKey(handle, 0, &name) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return any;
}

bool KeyExists(const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKey(HKEY_CLASSES_ROOT, key.c_str(), &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

// Deletes the key unless something is still registered under it, then each parent it leaves
// empty.
void DeleteKeyAndEmptyParents(std::string key) {
    while (!key.empty()) {
        if (!KeyExists(key))
            return;
        if (HasSubkeys(key))
            return;
        RegDeleteKey(HKEY_CLASSES_ROOT, key.c_str());
        const std::size_t slash = key.rfind('\\');
        if (slash == std::string::npos)
            return;
        key.resize(slash);
    }
}

HRESULT CreateCategoryManager(ICatRegister** manager) {
    *manager = nullptr;
    return CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                            IID_ICatRegister, reinterpret_cast<void**>(manager));
}

} // namespace

CFoldlineApp::CFoldlineApp() : m_libraryPath(OwnLibraryPath()) {
    m_componentFolder = FolderOfPath(m_libraryPath);
    CAppletParameters::SetComponentFolder(m_componentFolder);
}

CFoldlineApp& CFoldlineApp::Instance() {
    static CFoldlineApp app;
    return app;
}

HINSTANCE CFoldlineApp::ResourceInstance() const {
    return GetModuleHandleOf(static_cast<const void*>(&kResources));
}

const ModuleResources& CFoldlineApp::Resources() {
    return kResources;
}

void CFoldlineApp::AttachTranslation() {
    // Translators belong to the application's thread; a host without one shows no dialogs.
    const QCoreApplication* application = QCoreApplication::instance();
    if (application != nullptr && QThread::currentThread() == application->thread())
        m_translation.Install(QString::fromStdString(m_componentFolder), false);
}

void CFoldlineApp::DetachTranslation() {
    m_translation.Remove();
}

extern "C" {

HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_Foldline)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, ppv);
}

HRESULT DllCanUnloadNow() {
    return CFoldline::ObjectCount() == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

HRESULT DllRegisterServer() {
    const std::string classKey = ClassKey();
    const std::string clsid = StringFromCLSID(CLSID_Foldline);
    const std::string progIdKey = kFoldlineProgID;

    // Failures of the server keys are not reported; the category membership below is.
    if (!HasDefaultValue(progIdKey))
        RegSetValue(HKEY_CLASSES_ROOT, progIdKey.c_str(), kFoldlineProgID);
    if (!HasDefaultValue(classKey))
        RegSetValue(HKEY_CLASSES_ROOT, classKey.c_str(), kFoldlineProgID);
    RegSetValue(HKEY_CLASSES_ROOT, (progIdKey + "\\CLSID").c_str(), clsid.c_str());
    RegSetValue(HKEY_CLASSES_ROOT, (classKey + "\\ProgID").c_str(), kFoldlineProgID);
    RegSetValue(HKEY_CLASSES_ROOT, (classKey + "\\InProcServer32").c_str(),
                CFoldlineApp::Instance().LibraryPath().c_str());

    ICatRegister* manager = nullptr;
    if (SUCCEEDED(CreateCategoryManager(&manager)) && manager) {
        CATEGORYINFO info{};
        info.catid = CATID_VelloranTessels;
        info.lcid = kTesselCategoryLocale;
        const std::string name = kTesselCategoryName;
        info.szDescription.assign(name.begin(), name.end()); // ASCII
        manager->RegisterCategories(1, &info);
        manager->Release();
    }

    HRESULT hr = CreateCategoryManager(&manager);
    if (FAILED(hr))
        return hr;
    if (!manager)
        return E_FAIL;
    hr = manager->RegisterClassImplCategories(CLSID_Foldline, 1, &CATID_VelloranTessels);
    manager->Release();
    if (FAILED(hr))
        return hr;
    return S_OK;
}

HRESULT DllUnregisterServer() {
    const std::string classKey = ClassKey();

    ICatRegister* manager = nullptr;
    if (SUCCEEDED(CreateCategoryManager(&manager)) && manager) {
        manager->UnRegisterClassImplCategories(CLSID_Foldline, 1, &CATID_VelloranTessels);
        RegDeleteKey(HKEY_CLASSES_ROOT, (classKey + "\\Implemented Categories").c_str());
        manager->Release();
    }

    std::string progId;
    const HRESULT hr = ProgIDFromCLSID(CLSID_Foldline, &progId);
    if (FAILED(hr))
        return hr;
    if (!progId.empty()) {
        DeleteKeyAndEmptyParents(progId + "\\CLSID");
        DeleteKeyAndEmptyParents(progId);
    }
    DeleteKeyAndEmptyParents(classKey + "\\ProgID");
    DeleteKeyAndEmptyParents(classKey + "\\InProcServer32");
    DeleteKeyAndEmptyParents(classKey);
    return S_OK;
}

const ModuleResources* TesselModuleResources() {
    return &kResources;
}

} // extern "C"
