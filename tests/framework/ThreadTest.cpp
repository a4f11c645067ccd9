// AfxBeginThread and the thread object it hands back.
#include "framework/Thread.h"

#include "DebugOutput.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

UINT ReturnParam(LPVOID param) {
    return static_cast<UINT>(reinterpret_cast<UINT_PTR>(param));
}

DWORD ExitCodeAfterEnd(CWinThread& thread) {
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.GetHandle(), 10000));
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread.GetHandle(), &code));
    return code;
}

TEST(WorkerThread, RunsTheProcedureAndKeepsItsHandleAfterTheEnd) {
    EXPECT_EQ(nullptr, AfxBeginThread(nullptr, nullptr));
    auto thread = AfxBeginThread(&ReturnParam, reinterpret_cast<LPVOID>(42));
    ASSERT_NE(nullptr, thread);
    EXPECT_NE(0u, thread->GetThreadId());
    EXPECT_EQ(42u, ExitCodeAfterEnd(*thread));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread->GetHandle(), 0));
}

TEST(WorkerThread, ExceptionEndsOnlyTheThreadAndIsLogged) {
    DebugOutput log;
    auto thread = AfxBeginThread([](LPVOID) -> UINT { throw std::runtime_error("escaped"); }, nullptr);
    ASSERT_NE(nullptr, thread);
    EXPECT_EQ(0xFFFFFFFFu, ExitCodeAfterEnd(*thread));
    EXPECT_EQ(1, log.Count({"thread", "escaped"}));
}

TEST(WorkerThread, SuspendedThreadWaitsForResumeAndTakesItsPriority) {
    auto thread = AfxBeginThread(&ReturnParam, reinterpret_cast<LPVOID>(7), THREAD_PRIORITY_BELOW_NORMAL, 0,
                                 CREATE_SUSPENDED);
    ASSERT_NE(nullptr, thread);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(thread->GetHandle(), 100));
    EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, GetThreadPriority(thread->GetHandle()));
    thread->ResumeThread();
    EXPECT_EQ(7u, ExitCodeAfterEnd(*thread));
}

} // namespace
