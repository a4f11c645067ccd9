#include "framework/DispArgs.h"
#include "framework/DispatchTable.h"
#include "framework/OleVariant.h"

#include <gtest/gtest.h>

#include <vector>

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

TEST(VariantToLongTest, OnlyWholeNumbers) {
    long out = 5;
    VARIANT v = Typed(VT_UI4);
    V_UI4(&v) = 0x80000006u;
    EXPECT_TRUE(VariantToLong(&v, &out));
    EXPECT_EQ(static_cast<long>(0x80000006u), out);
    COleVariant text(L"12");
    out = 5;
    EXPECT_FALSE(VariantToLong(&text, &out));
    EXPECT_EQ(5, out);
    v = Typed(VT_BYREF | VT_I4);
    V_I4REF(&v) = nullptr;
    EXPECT_FALSE(VariantToLong(&v, &out));
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

class RecordingHandler : public CDispatchHandler {
public:
    HRESULT InvokeEntry(DISPID id, DISPPARAMS*, VARIANT*, UINT*) override {
        m_calls.push_back(id);
        return S_OK;
    }
    std::vector<DISPID> m_calls;
};

TEST(CDispatchTableTest, NamesIdsAndDetaching) {
    const DispatchEntry entries[] = {{L"first", 0}, {L"Second", 0}, {L"Fixed", 250}};
    RecordingHandler handler;
    CDispatchTable* table = CDispatchTable::Create(entries, 3, &handler);
    ASSERT_TRUE(table);
    EXPECT_EQ(1, table->FindName(L"FIRST"));
    EXPECT_EQ(2, table->FindName(L"second"));
    EXPECT_EQ(250, table->FindName(L"fIxEd"));
    EXPECT_EQ(DISPID_UNKNOWN, table->FindName(L"third"));
    EXPECT_EQ(DISPID_UNKNOWN, table->FindName(nullptr));

    LPOLESTR names[] = {const_cast<LPOLESTR>(L"second"), const_cast<LPOLESTR>(L"arg")};
    DISPID ids[2] = {};
    EXPECT_EQ(DISP_E_UNKNOWNNAME, table->GetIDsOfNames(IID_NULL, names, 2, 0, ids));
    EXPECT_EQ(2, ids[0]);
    EXPECT_EQ(DISPID_UNKNOWN, ids[1]);
    EXPECT_EQ(S_OK, table->GetIDsOfNames(IID_NULL, names, 1, 0, ids));

    DISPPARAMS none = {};
    EXPECT_EQ(S_OK, table->Invoke(250, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
              table->Invoke(3, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
              table->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &none, nullptr, nullptr, nullptr));
    EXPECT_EQ(DISP_E_UNKNOWNINTERFACE,
              table->Invoke(1, IID_IUnknown, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    EXPECT_EQ(std::vector<DISPID>{250}, handler.m_calls);

    table->Detach();
    EXPECT_EQ(E_UNEXPECTED, table->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    EXPECT_EQ(1u, handler.m_calls.size());
    EXPECT_EQ(0u, table->Release());
}

} // namespace
