// One component instance driven through IDispatch::Invoke exactly as a host drives it.
#pragma once

#include "CFoldline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Holds one reference; calls go through IDispatch::Invoke exactly as a host makes them.
class CObjectRef {
public:
    CObjectRef() : m_object(new CFoldline()) {}
    ~CObjectRef() { m_object->Release(); }
    CObjectRef(const CObjectRef&) = delete;
    CObjectRef& operator=(const CObjectRef&) = delete;
    CFoldline* operator->() const { return m_object; }
    CFoldline& operator*() const { return *m_object; }

    // Arguments in natural order.
    HRESULT Call(DISPID id, std::vector<VARIANT> args, VARIANT* result = nullptr,
                 EXCEPINFO* excep = nullptr, UINT* argErr = nullptr,
                 WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET) {
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPPARAMS params;
        params.rgvarg = reversed.empty() ? nullptr : reversed.data();
        params.cArgs = static_cast<UINT>(reversed.size());
        return m_object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, excep,
                                argErr);
    }
    HRESULT Put(DISPID id, VARIANT value) {
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params;
        params.rgvarg = &value;
        params.cArgs = 1;
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
        return m_object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                                nullptr, nullptr, nullptr);
    }
    std::string Text(DISPID id, std::vector<VARIANT> args = {}) {
        VARIANT result;
        EXPECT_EQ(Call(id, std::move(args), &result), S_OK);
        EXPECT_EQ(result.vt, VT_BSTR);
        return result.bstrVal;
    }
    std::int32_t Int(DISPID id, std::vector<VARIANT> args = {}) {
        VARIANT result;
        EXPECT_EQ(Call(id, std::move(args), &result), S_OK);
        VARIANT asInt;
        EXPECT_EQ(VariantChangeType(&asInt, &result, 0, VT_I4), S_OK);
        return asInt.lVal;
    }
    bool Bool(DISPID id, std::vector<VARIANT> args = {}) {
        VARIANT result;
        EXPECT_EQ(Call(id, std::move(args), &result), S_OK);
        EXPECT_EQ(result.vt, VT_BOOL);
        return result.boolVal != VARIANT_FALSE;
    }

private:
    CFoldline* m_object;
};

inline VARIANT S(const std::string& s) {
    return MakeVariantBstr(s);
}
inline VARIANT I(int v) {
    return MakeVariantI4(v);
}
