// The calling side of late-bound automation: holds one IDispatch and invokes it by DISPID.
#pragma once

#include "Com.h"

#include <stdexcept>
#include <string>
#include <vector>

// A failed call: the HRESULT and, for DISP_E_EXCEPTION, the object's description.
class CDispatchException : public std::runtime_error {
public:
    CDispatchException(HRESULT hr, const std::string& description);
    HRESULT hr;
    std::string description;
};

class CDispatchDriver {
public:
    CDispatchDriver() = default;
    ~CDispatchDriver();
    CDispatchDriver(const CDispatchDriver&) = delete;
    CDispatchDriver& operator=(const CDispatchDriver&) = delete;

    // CoCreateInstance for IID_IDispatch; false (with *hr set when given) on failure.
    bool CreateDispatch(REFCLSID clsid, HRESULT* hr = nullptr);
    void AttachDispatch(IDispatch* dispatch); // takes over one reference
    void ReleaseDispatch();
    IDispatch* GetDispatch() const { return m_lpDispatch; }
    bool IsValid() const { return m_lpDispatch != nullptr; }

    // Arguments in their natural order (first argument first). A property put passes the new
    // value as the last argument with DISPID_PROPERTYPUT named. Returns the HRESULT; never throws.
    HRESULT TryInvoke(DISPID id, WORD flags, const std::vector<VARIANT>& args, VARIANT* result,
                      EXCEPINFO* excep);
    // As TryInvoke, but a failure throws CDispatchException.
    VARIANT Invoke(DISPID id, WORD flags, const std::vector<VARIANT>& args = {});
    DISPID GetIDOfName(const std::string& name); // DISPID_UNKNOWN when unknown

    // Typed helpers that throw CDispatchException on failure or on a result of the wrong type.
    std::string GetPropertyText(DISPID id);
    void SetPropertyText(DISPID id, const std::string& value);
    void SetPropertyDate(DISPID id, DATE value);
    DATE GetPropertyDate(DISPID id);
    std::string CallText(DISPID id, const std::vector<VARIANT>& args = {});
    bool CallBool(DISPID id, const std::vector<VARIANT>& args = {});
    std::int32_t CallInt(DISPID id, const std::vector<VARIANT>& args = {});

private:
    IDispatch* m_lpDispatch = nullptr;
};
