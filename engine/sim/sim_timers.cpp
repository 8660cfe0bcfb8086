// The simulated timers: SetTimer's WM_TIMER comes from the program's message
// loop once its time has passed on the simulated clock, which moves only when
// a test lets time pass or a call waits. Like Windows, a late timer fires
// once, not once for every period it missed.
#include <algorithm>
#include <cstdint>

#include "engine/sim/sim_world.h"

namespace sim {

namespace {
// USER_TIMER_MINIMUM and USER_TIMER_MAXIMUM: Windows keeps every period between them.
constexpr Dword kShortestPeriod = 10;
constexpr Dword kLongestPeriod = 0x7FFFFFFF;

// Whether a time on the 32-bit clock has come, across its wrap-around.
bool HasCome(Dword due, Dword now) { return static_cast<std::int32_t>(due - now) <= 0; }
}  // namespace

bool World::SetTimer(Hwnd hwnd, Dword id, Dword elapseMs, std::function<void()> fire) {
    // Only the thread that owns a window may give it a timer.
    if (!IsProgramWindow(hwnd) || !fire) return false;
    const Dword period = std::clamp(elapseMs, kShortestPeriod, kLongestPeriod);
    timers_[{hwnd, id}] = {period, tickCount + period, std::move(fire)};
    return true;
}

bool World::KillTimer(Hwnd hwnd, Dword id) { return timers_.erase({hwnd, id}) != 0; }

std::size_t World::Timers() const {
    return static_cast<std::size_t>(
        std::count_if(timers_.begin(), timers_.end(), [&](const auto& t) { return windows.Exists(t.first.first); }));
}

void World::DeliverDueTimers() {
    std::erase_if(timers_, [&](const auto& t) { return !windows.Exists(t.first.first); });
    // One pass over the timers due now: a timer set again while it fires waits
    // for its next period.
    std::vector<std::pair<Hwnd, Dword>> due;
    for (const auto& [key, timer] : timers_)
        if (HasCome(timer.due, tickCount)) due.push_back(key);
    const auto lateness = [&](const std::pair<Hwnd, Dword>& key) {
        return static_cast<std::int32_t>(timers_.at(key).due - tickCount);
    };
    std::sort(due.begin(), due.end(), [&](const auto& a, const auto& b) { return lateness(a) < lateness(b); });
    for (const auto& key : due) {
        if (ended || programDead_) return;
        auto it = timers_.find(key);
        if (it == timers_.end() || !HasCome(it->second.due, tickCount) || !windows.Exists(key.first)) continue;
        it->second.due = tickCount + it->second.elapse;
        const auto fire = it->second.fire;  // the handler may kill or replace its own timer
        try {
            fire();
        } catch (const ProcessEnded&) {
        }
    }
}

void World::PassTime(Dword ms) {
    const Dword end = tickCount + ms;
    for (;;) {
        std::erase_if(timers_, [&](const auto& t) { return !windows.Exists(t.first.first); });
        // The next timer to come before the end, if any.
        const Timer* next = nullptr;
        for (const auto& [key, timer] : timers_)
            if (static_cast<std::int32_t>(timer.due - end) <= 0 &&
                (!next || static_cast<std::int32_t>(timer.due - next->due) < 0))
                next = &timer;
        if (!next || ended || programDead_) break;
        if (!HasCome(next->due, tickCount)) tickCount = next->due;
        Deliver([this] { DeliverDueTimers(); });
    }
    tickCount = end;
}

}  // namespace sim
