#include "DispatchDriver.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records each call; answers with a preset result.
class CRecordingDispatch final : public IDispatch {
public:
    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    HRESULT GetIDsOfNames(REFIID, const LPCOLESTR* names, UINT, LCID, DISPID* ids) override {
        if (std::string(names[0]) == "Known") {
            ids[0] = 7;
            return S_OK;
        }
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excep, UINT*) override {
        lastId = id;
        lastFlags = flags;
        hadResult = result != nullptr;
        received.assign(params->rgvarg, params->rgvarg + params->cArgs);
        named = params->cNamedArgs == 1 ? params->rgdispidNamedArgs[0] : 0;
        if (answer == DISP_E_EXCEPTION && excep)
            excep->bstrDescription = "it broke";
        if (result)
            *result = reply;
        return answer;
    }
    ULONG refs = 1;
    DISPID lastId = 0;
    WORD lastFlags = 0;
    bool hadResult = false;
    std::vector<VARIANT> received; // as passed: last argument first
    DISPID named = 0;
    VARIANT reply;
    HRESULT answer = S_OK;
};

TEST(DispatchDriver, PassesArgumentsReversedAndPutsNamed) {
    CRecordingDispatch object;
    CDispatchDriver driver;
    object.AddRef();
    driver.AttachDispatch(&object);

    object.reply = MakeVariantBstr("html");
    EXPECT_EQ(driver.CallText(18, {MakeVariantI2(0), MakeVariantI2(1)}), "html");
    EXPECT_EQ(object.lastFlags, DISPATCH_METHOD);
    ASSERT_EQ(object.received.size(), 2u);
    EXPECT_EQ(object.received[0].iVal, 1);
    EXPECT_EQ(object.received[1].iVal, 0);

    driver.SetPropertyText(2, "Menu2");
    EXPECT_EQ(object.lastFlags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(object.named, DISPID_PROPERTYPUT);
    EXPECT_FALSE(object.hadResult);
    ASSERT_EQ(object.received.size(), 1u);
    EXPECT_EQ(object.received[0].bstrVal, "Menu2");

    EXPECT_EQ(driver.GetIDOfName("Known"), 7);
    EXPECT_EQ(driver.GetIDOfName("Other"), DISPID_UNKNOWN);
    driver.ReleaseDispatch();
    EXPECT_EQ(object.refs, 1u);
    EXPECT_FALSE(driver.IsValid());
    VARIANT result;
    EXPECT_EQ(driver.TryInvoke(1, DISPATCH_METHOD, {}, &result, nullptr), E_POINTER);
}

TEST(DispatchDriver, TypedResultsCoerceOrThrow) {
    CRecordingDispatch object;
    CDispatchDriver driver;
    object.AddRef();
    driver.AttachDispatch(&object);

    object.reply = MakeVariantI2(3);
    EXPECT_EQ(driver.CallInt(16), 3);
    EXPECT_TRUE(driver.CallBool(7));
    object.reply = MakeVariantBstr("36487.5");
    EXPECT_DOUBLE_EQ(driver.GetPropertyDate(6), 36487.5);
    object.reply = MakeVariantBstr("not a number");
    try {
        driver.CallInt(16);
        FAIL() << "no exception";
    } catch (const CDispatchException& e) {
        EXPECT_EQ(e.hr, DISP_E_TYPEMISMATCH);
    }
    object.reply = VARIANT{};
    EXPECT_THROW(driver.GetPropertyText(2), CDispatchException); // nothing came back

    object.answer = DISP_E_EXCEPTION;
    try {
        driver.Invoke(8, DISPATCH_METHOD, {MakeVariantBstr("/x")});
        FAIL() << "no exception";
    } catch (const CDispatchException& e) {
        EXPECT_EQ(e.hr, DISP_E_EXCEPTION);
        EXPECT_EQ(e.description, "it broke");
        EXPECT_STREQ(e.what(), "it broke");
    }
    object.answer = DISP_E_MEMBERNOTFOUND;
    try {
        driver.Invoke(99, DISPATCH_METHOD);
        FAIL() << "no exception";
    } catch (const CDispatchException& e) {
        EXPECT_EQ(e.hr, DISP_E_MEMBERNOTFOUND);
        EXPECT_STREQ(e.what(), "Member not found.");
    }
}

} // namespace
