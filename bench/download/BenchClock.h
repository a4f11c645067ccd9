// Wall-clock seconds for the benchmark programs, and their one result line:
//   RESULT <name> <count> <unit> <seconds>
#pragma once

#include <windows.h>

#include <cstdio>

class BenchClock {
public:
    BenchClock() { QueryPerformanceCounter(&m_start); }
    double Seconds() const {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(now.QuadPart - m_start.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER m_start;
};

inline void PrintResult(const char* name, unsigned long long count, const char* unit, double seconds) {
    printf("RESULT %s %llu %s %.6f\n", name, count, unit, seconds);
    fflush(stdout);
}
