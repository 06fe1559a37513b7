// The component object model stand-in: the Windows names and semantics on POSIX.
// Objects cross library boundaries only as these interfaces.
#pragma once

#include <cstdint>
#include <string>

// ---- basic types -------------------------------------------------------------------------------
using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using UINT = std::uint32_t;
using WORD = std::uint16_t;
using LCID = std::uint32_t;
using DISPID = std::int32_t;
using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;
using DATE = double;
using LPCOLESTR = const char*; // UTF-8; automation strings are std::string here

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
using CLSID = GUID;
using IID = GUID;
using CATID = GUID;
using REFGUID = const GUID&;
using REFCLSID = const GUID&;
using REFIID = const GUID&;

bool operator==(const GUID& a, const GUID& b);
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }

extern const GUID GUID_NULL;
extern const IID IID_NULL;
extern const IID IID_IUnknown;
extern const IID IID_IDispatch;
extern const IID IID_IClassFactory;

// ---- status codes ------------------------------------------------------------------------------
constexpr HRESULT MakeHr(std::uint32_t v) { return static_cast<HRESULT>(v); }
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = MakeHr(0x80004001);
constexpr HRESULT E_NOINTERFACE = MakeHr(0x80004002);
constexpr HRESULT E_POINTER = MakeHr(0x80004003);
constexpr HRESULT E_FAIL = MakeHr(0x80004005);
constexpr HRESULT E_UNEXPECTED = MakeHr(0x8000FFFF);
constexpr HRESULT E_ACCESSDENIED = MakeHr(0x80070005);
constexpr HRESULT E_OUTOFMEMORY = MakeHr(0x8007000E);
constexpr HRESULT E_INVALIDARG = MakeHr(0x80070057);
constexpr HRESULT CLASS_E_NOAGGREGATION = MakeHr(0x80040110);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeHr(0x80040111);
constexpr HRESULT REGDB_E_READREGDB = MakeHr(0x80040150);
constexpr HRESULT REGDB_E_WRITEREGDB = MakeHr(0x80040151);
constexpr HRESULT REGDB_E_KEYMISSING = MakeHr(0x80040152);
constexpr HRESULT REGDB_E_CLASSNOTREG = MakeHr(0x80040154);
constexpr HRESULT CO_E_CLASSSTRING = MakeHr(0x800401F3);
constexpr HRESULT CO_E_NOTINITIALIZED = MakeHr(0x800401F0);
constexpr HRESULT CO_E_DLLNOTFOUND = MakeHr(0x8004E021);
constexpr HRESULT CO_E_ERRORINDLL = MakeHr(0x800401F9);
constexpr HRESULT DISP_E_UNKNOWNINTERFACE = MakeHr(0x80020001);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeHr(0x80020003);
constexpr HRESULT DISP_E_PARAMNOTFOUND = MakeHr(0x80020004);
constexpr HRESULT DISP_E_TYPEMISMATCH = MakeHr(0x80020005);
constexpr HRESULT DISP_E_UNKNOWNNAME = MakeHr(0x80020006);
constexpr HRESULT DISP_E_NONAMEDARGS = MakeHr(0x80020007);
constexpr HRESULT DISP_E_BADVARTYPE = MakeHr(0x80020008);
constexpr HRESULT DISP_E_EXCEPTION = MakeHr(0x80020009);
constexpr HRESULT DISP_E_OVERFLOW = MakeHr(0x8002000A);
constexpr HRESULT DISP_E_BADPARAMCOUNT = MakeHr(0x8002000E);
constexpr HRESULT ERROR_FILE_NOT_FOUND_HR = MakeHr(0x80070002);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// ---- interfaces --------------------------------------------------------------------------------
struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** ppv) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

// ---- VARIANT -----------------------------------------------------------------------------------
enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R8 = 5,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
};
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

struct IDispatch;

// A value type: copying copies the string and AddRefs a held dispatch pointer.
struct VARIANT {
    VARTYPE vt = VT_EMPTY;
    union {
        std::int16_t iVal;
        std::int32_t lVal;
        double dblVal;
        DATE date;
        VARIANT_BOOL boolVal;
        HRESULT scode;
        IDispatch* pdispVal;
    };
    std::string bstrVal; // valid when vt == VT_BSTR

    VARIANT() : lVal(0) {}
    VARIANT(const VARIANT& other);
    VARIANT& operator=(const VARIANT& other);
    ~VARIANT();
};

void VariantInit(VARIANT* v);
HRESULT VariantClear(VARIANT* v);
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// Coerces src to vt into dest (dest may equal src). Numbers convert between each other with
// range checks (DISP_E_OVERFLOW), texts parse as numbers in the C locale (DISP_E_TYPEMISMATCH when
// they are not numbers), VT_BOOL from any number is "non-zero", numbers to VT_BSTR in the C locale.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, WORD flags, VARTYPE vt);

// VariantChangeType flag: VT_BOOL to text gives "True"/"False" rather than "-1"/"0".
constexpr WORD VARIANT_ALPHABOOL = 0x2;

// Convenience constructors.
VARIANT MakeVariantI2(std::int16_t v);
VARIANT MakeVariantI4(std::int32_t v);
VARIANT MakeVariantR8(double v);
VARIANT MakeVariantDate(DATE v);
VARIANT MakeVariantBool(bool v);
VARIANT MakeVariantBstr(std::string v);

// ---- IDispatch ---------------------------------------------------------------------------------
constexpr WORD DISPATCH_METHOD = 0x1;
constexpr WORD DISPATCH_PROPERTYGET = 0x2;
constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_PROPERTYPUT = -3;
constexpr LCID LOCALE_USER_DEFAULT = 0x400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x800;

// As on Windows: rgvarg holds the arguments in reverse order (last argument first).
struct DISPPARAMS {
    VARIANT* rgvarg = nullptr;
    DISPID* rgdispidNamedArgs = nullptr;
    UINT cArgs = 0;
    UINT cNamedArgs = 0;
};

struct EXCEPINFO {
    WORD wCode = 0;
    std::string bstrSource;
    std::string bstrDescription;
    HRESULT scode = S_OK;
};

struct IDispatch : IUnknown {
    // Names compare without regard to letter case, as on Windows.
    virtual HRESULT GetIDsOfNames(REFIID riid, const LPCOLESTR* rgszNames, UINT cNames, LCID lcid,
                                  DISPID* rgDispId) = 0;
    virtual HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                           DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                           UINT* puArgErr) = 0;
};

struct IClassFactory : IUnknown {
    virtual HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) = 0;
    virtual HRESULT LockServer(bool fLock) = 0;
};

// ---- class registry and object creation ----------------------------------------------------------
constexpr std::uint32_t CLSCTX_INPROC_SERVER = 0x1;

HRESULT CoInitialize(void* reserved);
void CoUninitialize();
// Looks up CLSID\{clsid}\InprocServer32 in the classes root, dlopens that library (kept loaded),
// calls its DllGetClassObject and asks the factory for riid. The built-in component categories
// manager answers without any library.
HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, std::uint32_t dwClsContext,
                         REFIID riid, void** ppv);
HRESULT CoGetClassObject(REFCLSID rclsid, std::uint32_t dwClsContext, void* reserved, REFIID riid,
                         void** ppv);
// Asks every library loaded by CoCreateInstance whether it can be unloaded and unloads it if so.
void CoFreeUnusedLibraries();

// "{0E58CB80-D066-11D2-9E76-5254AB10C899}": braces, upper-case hexadecimal.
std::string StringFromCLSID(REFCLSID clsid);
HRESULT StringFromCLSID(REFCLSID clsid, std::string* out);
// Accepts the braced registry form in either letter case.
HRESULT CLSIDFromString(LPCOLESTR text, CLSID* out);
// ProgID key's CLSID subkey; REGDB_E_CLASSNOTREG when absent, CO_E_CLASSSTRING when malformed.
HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* out);
// CLSID\{clsid}\ProgID default value; REGDB_E_CLASSNOTREG when absent.
HRESULT ProgIDFromCLSID(REFCLSID clsid, std::string* out);

// Signatures of a component library's extern "C" exports.
using PFN_DllGetClassObject = HRESULT (*)(REFCLSID, REFIID, void**);
using PFN_DllCanUnloadNow = HRESULT (*)();
using PFN_DllRegisterServer = HRESULT (*)();
using PFN_DllUnregisterServer = HRESULT (*)();

// Text form of an HRESULT: "0x80020003".
std::string HResultToHex(HRESULT hr);
// A short English description of a well-known HRESULT ("Member not found."), else its hex form.
std::string HResultDescription(HRESULT hr);
