// The debug log, and the COM edges that catch a handler's exception: each leaves one line.
#include "framework/BrowserEventSink.h"
#include "framework/DebugLog.h"
#include "framework/DispatchTable.h"

#include "DebugOutput.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

TEST(DebugLog, OneLinePerCallEvenWhenTheTextIsTooLong) {
    DebugOutput log;
    DebugLog(L"here", L"what happened");
    DebugLog(nullptr, nullptr);
    DebugLog(L"long", std::wstring(5000, L'x').c_str());
    EXPECT_EQ(1, log.Count({"here: what happened\n"}));
    EXPECT_EQ(1, log.Count({"?: \n"}));
    EXPECT_EQ(1, log.Count({"long: xxx", "x\n"}));
}

struct Thrower : CDispatchHandler, CBrowserEventHandler {
    HRESULT InvokeEntry(DISPID, DISPPARAMS*, VARIANT*, UINT*) override {
        throw std::runtime_error("from a call");
    }
    void OnBrowserEvent(DISPID, DISPPARAMS*) override { throw 42; }
};

TEST(DebugLog, ComMethodsReportAHandlersExceptionAndLogIt) {
    Thrower thrower;
    DebugOutput log;
    const DispatchEntry entries[] = {{L"call", 0}};
    CDispatchTable* table = CDispatchTable::Create(entries, 1, &thrower);
    ASSERT_NE(nullptr, table);
    DISPPARAMS none = {};
    EXPECT_EQ(E_FAIL, table->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    table->Release();
    EXPECT_EQ(1, log.Count({"CDispatchTable::Invoke", "from a call"}));

    CBrowserEventSink* sink = CBrowserEventSink::Create(&thrower);
    ASSERT_NE(nullptr, sink);
    EXPECT_EQ(S_OK, sink->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    sink->Release();
    EXPECT_EQ(1, log.Count({"CBrowserEventSink::Invoke", "unknown type"}));
}

} // namespace
