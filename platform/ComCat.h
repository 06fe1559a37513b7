// The standard component categories manager, built into the platform layer.
#pragma once

#include "Com.h"

extern const CLSID CLSID_StdComponentCategoriesMgr; // {0002E005-0000-0000-C000-000000000046}
extern const IID IID_ICatRegister;                   // {0002E012-0000-0000-C000-000000000046}

struct CATEGORYINFO {
    CATID catid;
    LCID lcid;
    std::u16string szDescription; // at most 127 characters are stored
};

// Stores what the Windows manager stores: "Component Categories\{CATID}" with a value named by
// the locale in hexadecimal ("409") holding the description, and
// "CLSID\{clsid}\Implemented Categories\{CATID}" for each class.
struct ICatRegister : IUnknown {
    virtual HRESULT RegisterCategories(ULONG cCategories, const CATEGORYINFO* rgCategoryInfo) = 0;
    virtual HRESULT UnRegisterCategories(ULONG cCategories, const CATID* rgcatid) = 0;
    virtual HRESULT RegisterClassImplCategories(REFCLSID rclsid, ULONG cCategories,
                                                const CATID* rgcatid) = 0;
    virtual HRESULT UnRegisterClassImplCategories(REFCLSID rclsid, ULONG cCategories,
                                                  const CATID* rgcatid) = 0;
};
