#include "framework/DispArgs.h"
#include "framework/OleVariant.h"

#include <gtest/gtest.h>

namespace {

VARIANT Typed(VARTYPE vt) {
    VARIANT v = {}; // every pointer in the value is null
    V_VT(&v) = vt;
    return v;
}

TEST(VariantToTextTest, ReadsTextWithoutTrustingTheValue) {
    EXPECT_STREQ(L"", VariantToText(nullptr));
    // Nothing, a null string, and objects, arrays and references without a target hold no text.
    for (int vt : {int(VT_EMPTY), int(VT_NULL), int(VT_BSTR), int(VT_DISPATCH), VT_ARRAY | VT_I4,
                   VT_BYREF | VT_BSTR, VT_BYREF | VT_VARIANT}) {
        VARIANT v = Typed(static_cast<VARTYPE>(vt));
        EXPECT_STREQ(L"", VariantToText(&v)) << vt;
    }
    VARIANT v = Typed(VT_I4);
    V_I4(&v) = -17;
    EXPECT_STREQ(L"-17", VariantToText(&v));

    VARIANT loop = Typed(VT_BYREF | VT_VARIANT), back = Typed(VT_BYREF | VT_VARIANT);
    V_VARIANTREF(&loop) = &back;
    V_VARIANTREF(&back) = &loop;
    EXPECT_STREQ(L"", VariantToText(&loop));

    // One level of by-reference value, as the browser control sends its addresses.
    COleVariant text(L"网址 url");
    VARIANT ref = Typed(VT_BYREF | VT_VARIANT);
    V_VARIANTREF(&ref) = &text;
    EXPECT_STREQ(L"网址 url", VariantToText(&ref));
    BSTR raw = V_BSTR(&text);
    VARIANT bstrRef = Typed(VT_BYREF | VT_BSTR);
    V_BSTRREF(&bstrRef) = &raw;
    EXPECT_STREQ(L"网址 url", VariantToText(&bstrRef));
}

TEST(CDispArgsTest, ArgumentsArePositionalAndTypeChecked) {
    VARIANT_BOOL flag = VARIANT_FALSE;
    VARIANT args[3] = {Typed(VT_BYREF | VT_BOOL), Typed(VT_I4), Typed(VT_I4)}; // last declared first
    V_BOOLREF(&args[0]) = &flag;
    V_I4(&args[1]) = 0x1234; // a number where a flag pointer is expected
    V_I4(&args[2]) = 7;
    DISPPARAMS params = {args, nullptr, 3, 0};
    CDispArgs a(&params);
    EXPECT_EQ(S_OK, a.Expect(3));
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, a.Expect(2));
    EXPECT_STREQ(L"7", a.Text(0));
    EXPECT_EQ(nullptr, a.BoolRef(1));
    EXPECT_EQ(&flag, a.BoolRef(2));
    EXPECT_EQ(nullptr, a.Raw(3));
    EXPECT_STREQ(L"", a.Text(3));
    EXPECT_FALSE(a.IsObjectOrNothing(0));
    EXPECT_EQ(nullptr, a.Dispatch(0));
    EXPECT_EQ(nullptr, a.DispatchRef(0));

    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS withNames = {args, &named, 3, 1};
    EXPECT_EQ(DISP_E_NONAMEDARGS, CDispArgs(&withNames).Expect(3));
    DISPPARAMS broken = {nullptr, nullptr, 2, 0};
    EXPECT_EQ(E_INVALIDARG, CDispArgs(&broken).Expect(2));
    EXPECT_EQ(nullptr, CDispArgs(&broken).Raw(0));
    EXPECT_EQ(S_OK, CDispArgs(nullptr).Expect(0));
}

} // namespace
