// IUnknown written once for the objects that cross the library boundary: each hands out one
// interface besides IUnknown. A counted object starts with one reference and deletes itself with
// its last Release; a static one (a class factory living as long as its library) counts nothing.
#pragma once

#include "Com.h"

#include <atomic>

enum class ComLifetime { Counted, Static };

template <class Interface, const IID& kInterfaceId, ComLifetime kLifetime = ComLifetime::Counted>
class CUnknownImpl : public Interface {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == kInterfaceId) {
            *ppv = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override {
        if constexpr (kLifetime == ComLifetime::Static)
            return 2;
        else
            return ++m_refs;
    }
    ULONG Release() override {
        if constexpr (kLifetime == ComLifetime::Static) {
            return 1;
        } else {
            const ULONG refs = --m_refs;
            if (refs == 0)
                delete this;
            return refs;
        }
    }

protected:
    CUnknownImpl() = default;
    ~CUnknownImpl() override = default;

private:
    std::atomic<ULONG> m_refs{1};
};
