// The library's module object: its identity, its folder, its resources and its registration.
#pragma once

#include "Com.h"
#include "FoldlineDispatch.h"
#include "Resources.h"
#include "Translation.h"

#include <string>

extern const CLSID CLSID_Foldline;        // {0E58CB80-D066-11D2-9E76-5254AB10C899}
extern const CATID CATID_VelloranTessels; // {2542EDC1-7EFB-11D2-8CA5-0088CC081531}
inline constexpr const char* kTesselCategoryName = "Velloran Tessels";
inline constexpr LCID kTesselCategoryLocale = 0x409;

// String-table and icon identifiers returned by the ID getters.
enum : unsigned {
    IDS_TESSEL_TYPE = 1,
    IDS_TESSEL_NAME = 2,
    IDS_MENU_TEXT = 3,
    IDS_MESSAGE_TEXT = 4,
    IDS_TIPS_TEXT = 5,
    IDI_TESSEL = 4000,
};

class CFoldlineApp {
public:
    static CFoldlineApp& Instance();

    // The full path of the library file and its folder (no trailing separator).
    const std::string& LibraryPath() const { return m_libraryPath; }
    const std::string& ComponentFolder() const { return m_componentFolder; }
    // The handle under which the library's string table and icons are found.
    HINSTANCE ResourceInstance() const;

    static const ModuleResources& Resources();

    // The component's texts in the user's language (from the component folder's
    // "translations"), whatever the host: installed with the first object, taken out with the
    // last, so no translator outlives the objects that show the texts.
    void AttachTranslation();
    void DetachTranslation();

private:
    CFoldlineApp();

    std::string m_libraryPath;
    std::string m_componentFolder;
    ui::CTranslation m_translation;
};

extern "C" {
HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);
HRESULT DllCanUnloadNow();
HRESULT DllRegisterServer();
HRESULT DllUnregisterServer();
const ModuleResources* TesselModuleResources();
}
