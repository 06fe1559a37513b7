// A small in-process component for the tests: one dispatch class with a few members, the four
// server exports and a resource table.
#include "ComCat.h"
#include "Registry.h"
#include "Resources.h"
#include "UnknownImpl.h"

#include <atomic>
#include <cstring>
#include <string>

namespace {

// {6A1E3C20-5B7D-4F0E-9A31-0C2D4E5F6A7B}
const CLSID CLSID_Fixture = {
    0x6A1E3C20, 0x5B7D, 0x4F0E, {0x9A, 0x31, 0x0C, 0x2D, 0x4E, 0x5F, 0x6A, 0x7B}};
// {11111111-2222-3333-4444-555555555555}
const CATID CATID_Fixture = {
    0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
constexpr const char* kProgId = "TesselTest.Fixture";

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

enum : DISPID { ID_Title = 1, ID_Add, ID_Echo, ID_Fail, ID_Half, ID_Nothing };
struct Member {
    const char* name;
    DISPID id;
};
const Member kMembers[] = {{"Title", ID_Title}, {"Add", ID_Add},   {"Echo", ID_Echo},
                           {"Fail", ID_Fail},   {"Half", ID_Half}, {"Nothing", ID_Nothing}};

bool SameNoCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        char x = *a >= 'A' && *a <= 'Z' ? static_cast<char>(*a - 'A' + 'a') : *a;
        char y = *b >= 'A' && *b <= 'Z' ? static_cast<char>(*b - 'A' + 'a') : *b;
        if (x != y)
            return false;
    }
    return *a == *b;
}

class CFixture final : public CUnknownImpl<IDispatch, IID_IDispatch> {
public:
    CFixture() { ++g_objects; }

    HRESULT GetIDsOfNames(REFIID, const LPCOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (count != 1 || !names || !ids)
            return E_INVALIDARG;
        for (const Member& m : kMembers) {
            if (SameNoCase(m.name, names[0])) {
                ids[0] = m.id;
                return S_OK;
            }
        }
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excep, UINT*) override {
        UINT argc = params ? params->cArgs : 0;
        bool put = flags & DISPATCH_PROPERTYPUT;
        if (put && (id != ID_Title || argc != 1))
            return id == ID_Title ? DISP_E_BADPARAMCOUNT : DISP_E_MEMBERNOTFOUND;
        auto arg = [&](UINT i) -> const VARIANT& { return params->rgvarg[argc - 1 - i]; };
        auto expect = [&](UINT n) { return argc == n; };
        VARIANT out;
        switch (id) {
        case ID_Title: {
            if (put) {
                VARIANT text;
                if (HRESULT hr = VariantChangeType(&text, &arg(0), 0, VT_BSTR); FAILED(hr))
                    return hr;
                m_title = text.bstrVal;
                return S_OK;
            }
            if (!expect(0))
                return DISP_E_BADPARAMCOUNT;
            out = MakeVariantBstr(m_title);
            break;
        }
        case ID_Add: {
            if (!expect(2))
                return DISP_E_BADPARAMCOUNT;
            VARIANT a, b;
            if (HRESULT hr = VariantChangeType(&a, &arg(0), 0, VT_I4); FAILED(hr))
                return hr;
            if (HRESULT hr = VariantChangeType(&b, &arg(1), 0, VT_I4); FAILED(hr))
                return hr;
            out = MakeVariantI4(a.lVal + b.lVal);
            break;
        }
        case ID_Echo:
            if (!expect(1))
                return DISP_E_BADPARAMCOUNT;
            out = arg(0);
            break;
        case ID_Fail:
            return Fail(excep);
        case ID_Half: {
            if (!expect(1))
                return DISP_E_BADPARAMCOUNT;
            VARIANT x;
            if (HRESULT hr = VariantChangeType(&x, &arg(0), 0, VT_R8); FAILED(hr))
                return hr;
            out = MakeVariantR8(x.dblVal / 2);
            break;
        }
        case ID_Nothing:
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
        if (result)
            *result = out;
        return S_OK;
    }

private:
    ~CFixture() override { --g_objects; }

    static HRESULT Fail(EXCEPINFO* excep) {
        if (excep) {
            excep->bstrSource = kProgId;
            excep->bstrDescription = "fixture failure";
            excep->scode = E_FAIL;
        }
        return DISP_E_EXCEPTION;
    }
    std::string m_title;
};

class CFixtureFactory final
    : public CUnknownImpl<IClassFactory, IID_IClassFactory, ComLifetime::Static> {
public:
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* object = new CFixture();
        HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    }
    HRESULT LockServer(bool lock) override {
        lock ? ++g_locks : --g_locks;
        return S_OK;
    }
};

CFixtureFactory g_factory;

const StringResource kStrings[] = {{100, "Fixture Name"}, {101, "Fixture Menu"}};
const unsigned char kIcon[] = {0x89, 'P', 'N', 'G', 0x00, 0x01};
const IconResource kIcons[] = {{4000, kIcon, sizeof kIcon}};
const ModuleResources kResources = {kStrings, 2, kIcons, 1};

const char g_anchor = 0;

std::string ClassKey() {
    return "CLSID\\" + StringFromCLSID(CLSID_Fixture);
}

} // namespace

TESSEL_MODULE_RESOURCES(kResources)

extern "C" __attribute__((visibility("default"))) HRESULT
DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (clsid != CLSID_Fixture)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, ppv);
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    std::string clsid = StringFromCLSID(CLSID_Fixture);
    RegSetValue(HKEY_CLASSES_ROOT, kProgId, kProgId);
    RegSetValue(HKEY_CLASSES_ROOT, (std::string(kProgId) + "\\CLSID").c_str(), clsid.c_str());
    RegSetValue(HKEY_CLASSES_ROOT, (ClassKey() + "\\ProgID").c_str(), kProgId);
    RegSetValue(HKEY_CLASSES_ROOT, (ClassKey() + "\\InProcServer32").c_str(),
                GetModulePathOf(&g_anchor).c_str());
    ICatRegister* reg = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_ICatRegister, reinterpret_cast<void**>(&reg));
    if (FAILED(hr))
        return hr;
    CATEGORYINFO info{CATID_Fixture, 0x409, u"Fixture Things"};
    hr = reg->RegisterCategories(1, &info);
    if (SUCCEEDED(hr))
        hr = reg->RegisterClassImplCategories(CLSID_Fixture, 1, &CATID_Fixture);
    reg->Release();
    return FAILED(hr) ? hr : S_OK;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    std::string progId;
    if (HRESULT hr = ProgIDFromCLSID(CLSID_Fixture, &progId); FAILED(hr))
        return hr;
    RegDeleteKey(HKEY_CLASSES_ROOT, progId.c_str());
    RegDeleteKey(HKEY_CLASSES_ROOT, ClassKey().c_str());
    return S_OK;
}
