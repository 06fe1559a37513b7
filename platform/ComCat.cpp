#include "ComCat.h"

#include "Json.h"
#include "RegTree.h"
#include "UnknownImpl.h"

#include <algorithm>
#include <cstdio>

const CLSID CLSID_StdComponentCategoriesMgr = {
    0x0002E005, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_ICatRegister = {0x0002E012, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace {

constexpr std::size_t kMaxDescription = 127;

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        foldline::AppendUtf8(out, c);
    }
    return out;
}

std::u16string_view Truncated(const std::u16string& text) {
    std::size_t n = std::min(text.size(), kMaxDescription);
    // Never split a surrogate pair.
    if (n > 0 && n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF)
        --n;
    return std::u16string_view(text).substr(0, n);
}

std::string LocaleName(LCID lcid) {
    char text[16];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(lcid));
    return text;
}

std::string CategoryKey(const CATID& catid) {
    return "Component Categories\\" + StringFromCLSID(catid);
}

std::string ImplementedKey(REFCLSID clsid, const CATID& catid) {
    return "CLSID\\" + StringFromCLSID(clsid) + "\\Implemented Categories\\" +
           StringFromCLSID(catid);
}

class CStdComponentCategoriesMgr final : public CUnknownImpl<ICatRegister, IID_ICatRegister> {
public:
    HRESULT RegisterCategories(ULONG count, const CATEGORYINFO* infos) override {
        if (count > 0 && !infos)
            return E_POINTER;
        bool ok = ModifyClassesRoot([&](CRegTree& tree) {
            for (ULONG i = 0; i < count; ++i) {
                CRegKeyEntry& key = tree.Create(CategoryKey(infos[i].catid));
                std::string name = LocaleName(infos[i].lcid);
                std::string text = ToUtf8(Truncated(infos[i].szDescription));
                bool found = false;
                for (CRegValue& v : key.values) {
                    if (FoldCase(v.name) == name) {
                        v.value = text;
                        found = true;
                    }
                }
                if (!found)
                    key.values.push_back(CRegValue{name, text});
            }
            return count > 0;
        });
        return ok ? S_OK : REGDB_E_WRITEREGDB;
    }

    HRESULT UnRegisterCategories(ULONG count, const CATID* catids) override {
        if (count > 0 && !catids)
            return E_POINTER;
        bool ok = ModifyClassesRoot([&](CRegTree& tree) {
            bool changed = false;
            for (ULONG i = 0; i < count; ++i)
                changed = tree.Remove(CategoryKey(catids[i])) || changed;
            return changed;
        });
        return ok ? S_OK : REGDB_E_WRITEREGDB;
    }

    HRESULT RegisterClassImplCategories(REFCLSID clsid, ULONG count, const CATID* catids) override {
        if (count > 0 && !catids)
            return E_POINTER;
        bool ok = ModifyClassesRoot([&](CRegTree& tree) {
            bool changed = false;
            for (ULONG i = 0; i < count; ++i) {
                std::string path = ImplementedKey(clsid, catids[i]);
                if (!tree.Find(path)) {
                    tree.Create(path);
                    changed = true;
                }
            }
            return changed;
        });
        return ok ? S_OK : REGDB_E_WRITEREGDB;
    }

    HRESULT UnRegisterClassImplCategories(REFCLSID clsid, ULONG count,
                                          const CATID* catids) override {
        if (count > 0 && !catids)
            return E_POINTER;
        bool ok = ModifyClassesRoot([&](CRegTree& tree) {
            bool changed = false;
            for (ULONG i = 0; i < count; ++i)
                changed = tree.Remove(ImplementedKey(clsid, catids[i])) || changed;
            return changed;
        });
        return ok ? S_OK : REGDB_E_WRITEREGDB;
    }

private:
    ~CStdComponentCategoriesMgr() override = default;
};

} // namespace

HRESULT CreateStdComponentCategoriesMgr(REFIID riid, void** ppv) {
    auto* manager = new CStdComponentCategoriesMgr();
    HRESULT hr = manager->QueryInterface(riid, ppv);
    manager->Release();
    return hr;
}
