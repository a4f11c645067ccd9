// Counts the bytes global operator new hands out on one thread while an object of this class lives,
// and past a budget fails as a full memory would (std::bad_alloc): a reading that allocates out of all
// proportion to its input then ends at once instead of running for minutes. Other threads, and this
// one outside the count, allocate as usual.
#pragma once

#include <cstddef>

class CAllocationCount {
public:
    explicit CAllocationCount(size_t budget);
    ~CAllocationCount();
    CAllocationCount(const CAllocationCount&) = delete;
    CAllocationCount& operator=(const CAllocationCount&) = delete;

    size_t Bytes() const;
};
