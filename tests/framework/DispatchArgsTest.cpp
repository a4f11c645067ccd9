#include "framework/DispArgs.h"
#include "framework/OleVariant.h"

#include <gtest/gtest.h>

namespace {

VARIANT Typed(VARTYPE vt) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = vt;
    return v;
}

TEST(VariantToTextTest, ReadsTextWithoutTrustingTheValue) {
    EXPECT_STREQ(L"", VariantToText(nullptr));
    VARIANT v = Typed(VT_EMPTY);
    EXPECT_STREQ(L"", VariantToText(&v));
    v = Typed(VT_NULL);
    EXPECT_STREQ(L"", VariantToText(&v));
    v = Typed(VT_BSTR); // a null system string is the empty text
    EXPECT_STREQ(L"", VariantToText(&v));
    COleVariant text(L"网址 url");
    EXPECT_STREQ(L"网址 url", VariantToText(&text));
    v = Typed(VT_I4);
    V_I4(&v) = -17;
    EXPECT_STREQ(L"-17", VariantToText(&v));
    v = Typed(VT_BOOL);
    V_BOOL(&v) = VARIANT_TRUE;
    EXPECT_FALSE(VariantToText(&v).IsEmpty());

    // Objects, arrays and references without a target hold no text.
    v = Typed(VT_DISPATCH);
    V_DISPATCH(&v) = nullptr;
    EXPECT_STREQ(L"", VariantToText(&v));
    v = Typed(VT_ARRAY | VT_I4);
    V_ARRAY(&v) = nullptr;
    EXPECT_STREQ(L"", VariantToText(&v));
    v = Typed(VT_BYREF | VT_BSTR);
    V_BSTRREF(&v) = nullptr;
    EXPECT_STREQ(L"", VariantToText(&v));
    v = Typed(VT_BYREF | VT_VARIANT);
    V_VARIANTREF(&v) = nullptr;
    EXPECT_STREQ(L"", VariantToText(&v));
    VARIANT nested = Typed(VT_BYREF | VT_VARIANT);
    V_VARIANTREF(&nested) = &v;
    V_VARIANTREF(&v) = &nested; // a loop of references is not followed
    EXPECT_STREQ(L"", VariantToText(&nested));

    // One level of by-reference variant, as the browser control sends its addresses.
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
    VARIANT args[3]; // reversed: args[2] is the first declared argument
    args[2] = Typed(VT_I4);
    V_I4(&args[2]) = 7;
    args[1] = Typed(VT_I4); // a number where a flag pointer is expected
    V_I4(&args[1]) = 0x1234;
    args[0] = Typed(VT_BYREF | VT_BOOL);
    V_BOOLREF(&args[0]) = &flag;
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
