// Wall time from the performance counter, in milliseconds.
#pragma once

#include <windows.h>

namespace winbench {

class Stopwatch {
public:
    Stopwatch() {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        ticksPerMs_ = static_cast<double>(frequency.QuadPart) / 1000.0;
    }

    static long long Now() {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return now.QuadPart;
    }

    double Ms(long long from, long long to) const { return static_cast<double>(to - from) / ticksPerMs_; }
    double MsSince(long long from) const { return Ms(from, Now()); }

private:
    double ticksPerMs_ = 1.0;
};

}  // namespace winbench
