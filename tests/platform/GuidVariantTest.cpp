#include "Com.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const CLSID kFoldline = {
    0x0E58CB80, 0xD066, 0x11D2, {0x9E, 0x76, 0x52, 0x54, 0xAB, 0x10, 0xC8, 0x99}};

TEST(Guid, RegistryTextFormRoundTrips) {
    EXPECT_EQ(StringFromCLSID(kFoldline), "{0E58CB80-D066-11D2-9E76-5254AB10C899}");
    CLSID parsed{};
    ASSERT_EQ(CLSIDFromString("{0e58cb80-d066-11d2-9e76-5254ab10c899}", &parsed), S_OK);
    EXPECT_EQ(parsed, kFoldline);
    EXPECT_NE(parsed, GUID_NULL);
}

TEST(Guid, MalformedTextIsRefused) {
    CLSID parsed{};
    for (const char* bad :
         {"", "0E58CB80-D066-11D2-9E76-5254AB10C899", "{0E58CB80-D066-11D2-9E76-5254AB10C89}",
          "{0E58CB80-D066-11D2-9E76-5254AB10C8999}", "{0E58CB80+D066-11D2-9E76-5254AB10C899}",
          "{0E58CB8G-D066-11D2-9E76-5254AB10C899}", "(0E58CB80-D066-11D2-9E76-5254AB10C899)"})
        EXPECT_EQ(CLSIDFromString(bad, &parsed), CO_E_CLASSSTRING) << bad;
    EXPECT_EQ(CLSIDFromString(nullptr, &parsed), CO_E_CLASSSTRING);
}

TEST(HResult, HexAndDescription) {
    EXPECT_EQ(HResultToHex(REGDB_E_CLASSNOTREG), "0x80040154");
    EXPECT_EQ(HResultToHex(S_OK), "0x00000000");
    EXPECT_EQ(HResultDescription(DISP_E_MEMBERNOTFOUND), "Member not found.");
    EXPECT_EQ(HResultDescription(MakeHr(0x80071234)), "Error 0x80071234.");
}

HRESULT Change(const VARIANT& src, VARTYPE vt, VARIANT* out, WORD flags = 0) {
    return VariantChangeType(out, &src, flags, vt);
}

TEST(Variant, IntegerRangesOverflow) {
    VARIANT out;
    EXPECT_EQ(Change(MakeVariantI4(32767), VT_I2, &out), S_OK);
    EXPECT_EQ(out.iVal, 32767);
    EXPECT_EQ(Change(MakeVariantI4(32768), VT_I2, &out), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(MakeVariantI4(-32769), VT_I2, &out), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(MakeVariantR8(-32768.4), VT_I2, &out), S_OK);
    EXPECT_EQ(out.iVal, -32768);
    EXPECT_EQ(Change(MakeVariantR8(32767.5), VT_I2, &out), DISP_E_OVERFLOW); // rounds to 32768
    EXPECT_EQ(Change(MakeVariantR8(2147483648.0), VT_I4, &out), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(MakeVariantBstr("2147483648"), VT_I4, &out), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(MakeVariantBstr("-2147483648"), VT_I4, &out), S_OK);
    EXPECT_EQ(out.lVal, INT32_MIN);
    EXPECT_EQ(Change(MakeVariantR8(std::nan("")), VT_I4, &out), DISP_E_OVERFLOW);
}

TEST(Variant, RoundsHalfToEven) {
    VARIANT out;
    ASSERT_EQ(Change(MakeVariantR8(2.5), VT_I4, &out), S_OK);
    EXPECT_EQ(out.lVal, 2);
    ASSERT_EQ(Change(MakeVariantR8(3.5), VT_I2, &out), S_OK);
    EXPECT_EQ(out.iVal, 4);
    ASSERT_EQ(Change(MakeVariantBstr("-1.5"), VT_I4, &out), S_OK);
    EXPECT_EQ(out.lVal, -2);
}

TEST(Variant, TextToNumber) {
    VARIANT out;
    ASSERT_EQ(Change(MakeVariantBstr(" 42 "), VT_I4, &out), S_OK);
    EXPECT_EQ(out.vt, VT_I4);
    EXPECT_EQ(out.lVal, 42);
    ASSERT_EQ(Change(MakeVariantBstr("+1.25e2"), VT_R8, &out), S_OK);
    EXPECT_DOUBLE_EQ(out.dblVal, 125.0);
    ASSERT_EQ(Change(MakeVariantBstr("1e-400"), VT_R8, &out), S_OK);
    EXPECT_EQ(out.dblVal, 0.0);
    EXPECT_EQ(Change(MakeVariantBstr("1e400"), VT_R8, &out), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(MakeVariantBstr("123456789012345678901234567890e300"), VT_R8, &out),
              DISP_E_OVERFLOW);
    for (const char* bad : {"", "  ", "12abc", "abc", "1,5", "inf", "nan", "0x10", "-", "1 2"})
        EXPECT_EQ(Change(MakeVariantBstr(bad), VT_I4, &out), DISP_E_TYPEMISMATCH) << bad;
}

// Switches to a locale with a decimal comma, compiling one into a temporary folder when none is
// installed; false when neither works.
bool UseDecimalCommaLocale(const std::string& scratch) {
    if (std::setlocale(LC_ALL, "de_DE.UTF-8"))
        return true;
    std::string command =
        "localedef -i de_DE -f UTF-8 '" + scratch + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return false;
    ::setenv("LOCPATH", scratch.c_str(), 1);
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

TEST(Variant, NumbersUseTheCLocaleWhateverTheUserLocale) {
    char pattern[] = "/tmp/tessel-locale-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const char* previous = std::setlocale(LC_ALL, nullptr);
    std::string saved = previous ? previous : "C";
    if (!UseDecimalCommaLocale(pattern)) {
        std::filesystem::remove_all(pattern);
        GTEST_SKIP() << "no locale with a decimal comma can be made here";
    }
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5"); // the locale really is in force

    VARIANT out;
    EXPECT_EQ(Change(MakeVariantBstr("1.5"), VT_R8, &out), S_OK);
    EXPECT_DOUBLE_EQ(out.dblVal, 1.5);
    EXPECT_EQ(Change(MakeVariantBstr("1,5"), VT_R8, &out), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Change(MakeVariantBstr("1.5e400"), VT_R8, &out), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(MakeVariantR8(0.1), VT_BSTR, &out), S_OK);
    EXPECT_EQ(out.bstrVal, "0.1");
    EXPECT_EQ(Change(MakeVariantBstr("1999-11-23 12:00:00"), VT_DATE, &out), S_OK);
    EXPECT_DOUBLE_EQ(out.date, 36487.5);
    std::setlocale(LC_ALL, saved.c_str());
    ::unsetenv("LOCPATH");
    std::filesystem::remove_all(pattern);
}

TEST(Variant, BooleansAndTexts) {
    VARIANT out;
    ASSERT_EQ(Change(MakeVariantI4(7), VT_BOOL, &out), S_OK);
    EXPECT_EQ(out.boolVal, VARIANT_TRUE);
    ASSERT_EQ(Change(MakeVariantBstr("false"), VT_BOOL, &out), S_OK);
    EXPECT_EQ(out.boolVal, VARIANT_FALSE);
    ASSERT_EQ(Change(MakeVariantBstr("TRUE"), VT_I2, &out), S_OK);
    EXPECT_EQ(out.iVal, -1);
    EXPECT_EQ(Change(MakeVariantBstr("yes"), VT_BOOL, &out), DISP_E_TYPEMISMATCH);
    ASSERT_EQ(Change(MakeVariantBool(true), VT_BSTR, &out), S_OK);
    EXPECT_EQ(out.bstrVal, "-1");
    ASSERT_EQ(Change(MakeVariantBool(false), VT_BSTR, &out, VARIANT_ALPHABOOL), S_OK);
    EXPECT_EQ(out.bstrVal, "False");
    ASSERT_EQ(Change(MakeVariantI2(-12), VT_BSTR, &out), S_OK);
    EXPECT_EQ(out.bstrVal, "-12");
    ASSERT_EQ(Change(VARIANT{}, VT_BSTR, &out), S_OK);
    EXPECT_EQ(out.vt, VT_BSTR);
    EXPECT_EQ(out.bstrVal, "");
    VARIANT null;
    null.vt = VT_NULL;
    EXPECT_EQ(Change(null, VT_I4, &out), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Change(MakeVariantI4(1), 77, &out), DISP_E_BADVARTYPE);
}

TEST(Variant, Dates) {
    VARIANT out;
    ASSERT_EQ(Change(MakeVariantDate(36487.5), VT_BSTR, &out), S_OK);
    EXPECT_EQ(out.bstrVal, "1999-11-23 12:00:00");
    VARIANT back;
    ASSERT_EQ(Change(out, VT_DATE, &back), S_OK);
    EXPECT_DOUBLE_EQ(back.date, 36487.5);
    ASSERT_EQ(Change(MakeVariantDate(-1.25), VT_BSTR, &out), S_OK);
    EXPECT_EQ(out.bstrVal, "1899-12-29 06:00:00");
    ASSERT_EQ(Change(out, VT_DATE, &back), S_OK);
    EXPECT_DOUBLE_EQ(back.date, -1.25);
    ASSERT_EQ(Change(MakeVariantBstr("36487.5"), VT_DATE, &back), S_OK);
    EXPECT_DOUBLE_EQ(back.date, 36487.5);
    EXPECT_EQ(Change(MakeVariantBstr("2001-02-30"), VT_DATE, &back), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Change(MakeVariantR8(3e6), VT_DATE, &back), DISP_E_OVERFLOW);
    ASSERT_EQ(Change(MakeVariantDate(36487.5), VT_R8, &back), S_OK);
    EXPECT_EQ(back.vt, VT_R8);
    EXPECT_DOUBLE_EQ(back.dblVal, 36487.5);
}

TEST(Variant, InPlaceConversionAndFailureLeavesDestination) {
    VARIANT v = MakeVariantBstr("17");
    ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_I4), S_OK);
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(v.lVal, 17);
    EXPECT_TRUE(v.bstrVal.empty());
    VARIANT dest = MakeVariantBstr("keep");
    EXPECT_EQ(Change(MakeVariantBstr("x"), VT_I4, &dest), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(dest.vt, VT_BSTR);
    EXPECT_EQ(dest.bstrVal, "keep");
}

// Counts references so copies of a VARIANT holding it can be checked.
struct CountingDispatch : IDispatch {
    ULONG refs = 1;
    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    HRESULT GetIDsOfNames(REFIID, const LPCOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    ~CountingDispatch() override = default;
};

TEST(Variant, CopiesHoldTheirOwnReference) {
    CountingDispatch object;
    {
        VARIANT a;
        a.vt = VT_DISPATCH;
        a.pdispVal = &object;
        object.AddRef();
        VARIANT b = a;
        EXPECT_EQ(object.refs, 3u);
        b = a; // assigning the same object keeps the count
        EXPECT_EQ(object.refs, 3u);
        b = MakeVariantI4(1);
        EXPECT_EQ(object.refs, 2u);
        EXPECT_EQ(VariantChangeType(&b, &a, 0, VT_I4), DISP_E_TYPEMISMATCH);
    }
    EXPECT_EQ(object.refs, 1u);
}

} // namespace
