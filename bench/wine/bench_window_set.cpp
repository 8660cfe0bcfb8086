#include "bench_window_set.h"

#include <climits>
#include <map>

#include "bench_protocol.h"
#include "stopwatch.h"

namespace winbench {
namespace {

std::vector<HWND> VisibleBenchWindows() {
    std::vector<HWND> found;
    for (HWND h = FindWindowExW(nullptr, nullptr, kBenchWindowClass, nullptr); h != nullptr;
         h = FindWindowExW(nullptr, h, kBenchWindowClass, nullptr)) {
        if (IsWindowVisible(h)) found.push_back(h);
    }
    return found;
}

constexpr LONG kGone = LONG_MIN;

}  // namespace

BenchWindowSet::BenchWindowSet(std::vector<HWND> windows) : windows_(std::move(windows)) {
    lastLeft_ = ReadLeftEdges();
}

std::optional<BenchWindowSet> BenchWindowSet::WaitFor(size_t count, DWORD timeoutMs) {
    const Stopwatch clock;
    const long long start = Stopwatch::Now();
    for (;;) {
        std::vector<HWND> found = VisibleBenchWindows();
        if (found.size() == count) return BenchWindowSet(std::move(found));
        if (clock.MsSince(start) > timeoutMs) return std::nullopt;
        Sleep(50);
    }
}

std::vector<LONG> BenchWindowSet::ReadLeftEdges() const {
    std::vector<LONG> left;
    left.reserve(windows_.size());
    for (HWND h : windows_) {
        RECT r;
        left.push_back(GetWindowRect(h, &r) ? r.left : kGone);
    }
    return left;
}

std::optional<LONG> BenchWindowSet::CommonShift(std::string& why) {
    const std::vector<LONG> now = ReadLeftEdges();
    std::map<LONG, size_t> shifts;  // distance -> how many windows moved by it
    size_t gone = 0;
    for (size_t i = 0; i < now.size(); ++i) {
        if (now[i] == kGone || lastLeft_[i] == kGone)
            ++gone;
        else
            ++shifts[now[i] - lastLeft_[i]];
    }
    lastLeft_ = now;
    if (gone == 0 && shifts.size() == 1) return shifts.begin()->first;
    why = std::to_string(gone) + " of " + std::to_string(now.size()) + " windows gone;";
    for (const auto& [distance, windows] : shifts)
        why += " " + std::to_string(windows) + " moved by " + std::to_string(distance) + ";";
    return std::nullopt;
}

std::optional<long long> BenchWindowSet::WaitAllMovedBy(LONG dx, DWORD timeoutMs) const {
    const Stopwatch clock;
    const long long start = Stopwatch::Now();
    for (size_t i = 0; i < windows_.size(); ++i) {
        for (;;) {
            RECT r;
            if (GetWindowRect(windows_[i], &r) && r.left == lastLeft_[i] + dx) break;
            if (clock.MsSince(start) > timeoutMs) return std::nullopt;
            // Each reading is a round trip to the server the switch itself
            // needs: a short sleep keeps the watching from slowing the switch.
            Sleep(1);
        }
    }
    return Stopwatch::Now();
}

bool BenchWindowSet::HostCaughtUp(DWORD timeoutMs) const {
    const Stopwatch clock;
    const long long start = Stopwatch::Now();
    for (;;) {
        DWORD_PTR busy = 1;
        if (!SendMessageTimeoutW(windows_.front(), kAskBusy, 0, 0, SMTO_NORMAL, timeoutMs, &busy)) return false;
        if (busy == 0) return true;
        if (clock.MsSince(start) > timeoutMs) return false;
        Sleep(1);
    }
}

}  // namespace winbench
