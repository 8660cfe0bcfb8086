// Trevo's desktops as a timer drives them: each tray window's desktop found by
// clicking it once, and every switch checked to have moved all the bench
// windows by the distance expected (a switch that moved nothing is not timed).
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "bench_window_set.h"
#include "sample_set.h"
#include "stopwatch.h"

namespace winbench {

constexpr DWORD kAnswerMs = 60000;

class TrevoDesks {
public:
    TrevoDesks(BenchWindowSet& windows, LONG screenWidth, DWORD settleMs)
        : windows_(windows), width_(screenWidth), settleMs_(settleMs) {}

    // Clicks every tray window once and tells its desktop from how far the
    // windows moved; ends with desktop 1 active again.
    bool MapDesks(const std::vector<HWND>& trays, std::string& why);

    bool Has(int number) const { return desks_.count(number) != 0; }
    HWND Desk(int number) const { return desks_.at(number); }

    // One timed click; the windows must then have moved by dx.
    bool TrevoSwitch(HWND tray, LONG dx, SampleSet* into, std::string& why);

    // One timed hotkey; the windows must then have moved by dx, as for a click.
    bool TrevoKeySwitch(HWND controller, int keyId, LONG dx, SampleSet& into, std::string& why);

    // After a switch: the host has caught up and every window moved by dx.
    bool Checked(LONG dx, const char* what, std::string& why);

    BenchWindowSet& Windows() { return windows_; }
    LONG Width() const { return width_; }
    const Stopwatch& Clock() const { return clock_; }

    static bool Failed(std::string& why, const std::string& text) {
        why = text;
        return false;
    }

private:
    // Lets the host paint what the move uncovered before the next switch.
    bool Settle(std::string& why);

    BenchWindowSet& windows_;
    const LONG width_;
    const DWORD settleMs_;
    const Stopwatch clock_;
    std::map<int, HWND> desks_;
};

}  // namespace winbench
