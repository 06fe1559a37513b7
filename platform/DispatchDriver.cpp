#include "DispatchDriver.h"

namespace {

std::string ExceptionMessage(HRESULT hr, const std::string& description) {
    return description.empty() ? HResultDescription(hr) : description;
}

} // namespace

CDispatchException::CDispatchException(HRESULT hr_, const std::string& description_)
    : std::runtime_error(ExceptionMessage(hr_, description_)), hr(hr_), description(description_) {}

CDispatchDriver::~CDispatchDriver() {
    ReleaseDispatch();
}

bool CDispatchDriver::CreateDispatch(REFCLSID clsid, HRESULT* hr) {
    ReleaseDispatch();
    void* object = nullptr;
    HRESULT result = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, &object);
    if (hr)
        *hr = result;
    if (FAILED(result))
        return false;
    m_lpDispatch = static_cast<IDispatch*>(object);
    return true;
}

void CDispatchDriver::AttachDispatch(IDispatch* dispatch) {
    if (dispatch == m_lpDispatch)
        return;
    ReleaseDispatch();
    m_lpDispatch = dispatch;
}

void CDispatchDriver::ReleaseDispatch() {
    if (m_lpDispatch) {
        IDispatch* old = m_lpDispatch;
        m_lpDispatch = nullptr;
        old->Release();
    }
}

HRESULT CDispatchDriver::TryInvoke(DISPID id, WORD flags, const std::vector<VARIANT>& args,
                                   VARIANT* result, EXCEPINFO* excep) {
    if (result)
        VariantClear(result);
    if (excep)
        *excep = EXCEPINFO{};
    if (!m_lpDispatch)
        return E_POINTER;

    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params;
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<UINT>(reversed.size());
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO localExcep;
    EXCEPINFO* info = excep ? excep : &localExcep;
    UINT argErr = 0;
    VARIANT localResult;
    // A put has no result; passing none lets the object refuse a get-only use of it.
    VARIANT* target = (flags & DISPATCH_PROPERTYPUT) ? nullptr : (result ? result : &localResult);
    HRESULT hr = E_FAIL;
    try {
        hr = m_lpDispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, target, info,
                                  &argErr);
    } catch (const std::exception& e) {
        hr = DISP_E_EXCEPTION;
        info->bstrDescription = e.what();
    } catch (...) {
        hr = DISP_E_EXCEPTION;
    }
    if (FAILED(hr) && result)
        VariantClear(result);
    return hr;
}

VARIANT CDispatchDriver::Invoke(DISPID id, WORD flags, const std::vector<VARIANT>& args) {
    VARIANT result;
    EXCEPINFO excep;
    HRESULT hr = TryInvoke(id, flags, args, &result, &excep);
    if (FAILED(hr))
        throw CDispatchException(hr, hr == DISP_E_EXCEPTION ? excep.bstrDescription : "");
    return result;
}

DISPID CDispatchDriver::GetIDOfName(const std::string& name) {
    if (!m_lpDispatch)
        return DISPID_UNKNOWN;
    LPCOLESTR names[1] = {name.c_str()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = m_lpDispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return FAILED(hr) ? DISPID_UNKNOWN : id;
}

namespace {

// The result as vt; a missing result or one that cannot be converted is a type mismatch.
VARIANT Coerced(const VARIANT& value, VARTYPE vt) {
    if (value.vt == VT_EMPTY)
        throw CDispatchException(DISP_E_TYPEMISMATCH, "");
    VARIANT out;
    HRESULT hr = VariantChangeType(&out, &value, 0, vt);
    if (FAILED(hr))
        throw CDispatchException(hr, "");
    return out;
}

} // namespace

std::string CDispatchDriver::GetPropertyText(DISPID id) {
    return Coerced(Invoke(id, DISPATCH_PROPERTYGET), VT_BSTR).bstrVal;
}

void CDispatchDriver::SetPropertyText(DISPID id, const std::string& value) {
    Invoke(id, DISPATCH_PROPERTYPUT, {MakeVariantBstr(value)});
}

void CDispatchDriver::SetPropertyDate(DISPID id, DATE value) {
    Invoke(id, DISPATCH_PROPERTYPUT, {MakeVariantDate(value)});
}

DATE CDispatchDriver::GetPropertyDate(DISPID id) {
    return Coerced(Invoke(id, DISPATCH_PROPERTYGET), VT_DATE).date;
}

std::string CDispatchDriver::CallText(DISPID id, const std::vector<VARIANT>& args) {
    return Coerced(Invoke(id, DISPATCH_METHOD, args), VT_BSTR).bstrVal;
}

bool CDispatchDriver::CallBool(DISPID id, const std::vector<VARIANT>& args) {
    return Coerced(Invoke(id, DISPATCH_METHOD, args), VT_BOOL).boolVal != VARIANT_FALSE;
}

std::int32_t CDispatchDriver::CallInt(DISPID id, const std::vector<VARIANT>& args) {
    return Coerced(Invoke(id, DISPATCH_METHOD, args), VT_I4).lVal;
}
