// The replacement of global operator new and delete lives alone in this file: inlined into a file that
// also says `new`, the compiler would take the malloc/free pair for a mismatch.
#include "tests/client/AllocationCount.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<DWORD> g_countingThread{0};
size_t g_allocated = 0, g_budget = 0; // touched by the counting thread only

} // namespace

CAllocationCount::CAllocationCount(size_t budget) {
    g_allocated = 0;
    g_budget = budget;
    g_countingThread = GetCurrentThreadId();
}

CAllocationCount::~CAllocationCount() {
    g_countingThread = 0;
}

size_t CAllocationCount::Bytes() const {
    return g_allocated;
}

void* operator new(size_t size) {
    if (g_countingThread == GetCurrentThreadId() && (g_allocated += size) > g_budget) throw std::bad_alloc();
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, size_t) noexcept {
    std::free(block);
}
