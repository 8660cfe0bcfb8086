// The host's bench windows as the timer sees them: found by class, and their
// left edges, so that every timed switch can be checked to have moved them all.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace winbench {

class BenchWindowSet {
public:
    // Waits until exactly `count` visible bench windows exist; empty on timeout.
    static std::optional<BenchWindowSet> WaitFor(size_t count, DWORD timeoutMs);

    HWND Any() const { return windows_.front(); }
    size_t Size() const { return windows_.size(); }

    // Reads the left edges again. When every window moved by the same distance
    // since the last reading, that distance; otherwise empty, and `why` says
    // what was seen.
    std::optional<LONG> CommonShift(std::string& why);

    // Reads each window in turn until it lies dx from where the last reading
    // saw it (without taking that reading's place); the moment the last one
    // was seen there, or empty when one was not within timeoutMs.
    std::optional<long long> WaitAllMovedBy(LONG dx, DWORD timeoutMs) const;

    // True when the host has no painting or posted message left to handle.
    bool HostCaughtUp(DWORD timeoutMs) const;

private:
    explicit BenchWindowSet(std::vector<HWND> windows);
    std::vector<LONG> ReadLeftEdges() const;

    std::vector<HWND> windows_;
    std::vector<LONG> lastLeft_;
};

}  // namespace winbench
