// The shared IUnknown: interfaces handed out, references counted, and the object's end.
#include "UnknownImpl.h"

#include <gtest/gtest.h>

namespace {

class CCountedFactory final : public CUnknownImpl<IClassFactory, IID_IClassFactory> {
public:
    explicit CCountedFactory(bool& destroyed) : m_destroyed(destroyed) {}
    HRESULT CreateInstance(IUnknown*, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT LockServer(bool) override { return S_OK; }

private:
    ~CCountedFactory() override { m_destroyed = true; }
    bool& m_destroyed;
};

class CStaticFactory final
    : public CUnknownImpl<IClassFactory, IID_IClassFactory, ComLifetime::Static> {
public:
    HRESULT CreateInstance(IUnknown*, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT LockServer(bool) override { return S_OK; }
};

TEST(UnknownImpl, HandsOutItsInterfaceAndIUnknownAndCountsThem) {
    bool destroyed = false;
    auto* object = new CCountedFactory(destroyed);
    void* asUnknown = nullptr;
    void* asFactory = nullptr;
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, &asUnknown), S_OK);
    EXPECT_EQ(object->QueryInterface(IID_IClassFactory, &asFactory), S_OK);
    EXPECT_EQ(asUnknown, static_cast<IClassFactory*>(object));
    EXPECT_EQ(asFactory, static_cast<IClassFactory*>(object));

    void* other = &destroyed;
    EXPECT_EQ(object->QueryInterface(IID_IDispatch, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

    // One reference from creation and one from each interface handed out.
    EXPECT_EQ(object->AddRef(), 4u);
    EXPECT_EQ(object->Release(), 3u);
    EXPECT_EQ(object->Release(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(destroyed);
}

TEST(UnknownImpl, AStaticObjectIsNeverDeleted) {
    static CStaticFactory factory;
    void* asFactory = nullptr;
    EXPECT_EQ(factory.QueryInterface(IID_IClassFactory, &asFactory), S_OK);
    EXPECT_EQ(asFactory, static_cast<IClassFactory*>(&factory));
    for (int i = 0; i < 3; ++i)
        EXPECT_GT(factory.Release(), 0u);
    EXPECT_GT(factory.AddRef(), 1u);
}

} // namespace
