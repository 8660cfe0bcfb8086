// The simulated keyboard, foreground and WinEvents: hotkeys reach the window
// that registered them, the foreground follows the user and the foreground
// rules, and the events of a foreground change wait for the program's next
// message, as out-of-context WinEvents do.
#include <algorithm>

#include "engine/sim/sim_peers.h"
#include "engine/sim/sim_world.h"

namespace sim {
namespace win = engine::win;

void World::TakeHotKeyElsewhere(Dword modifiers, Dword key) {
    hotKeys[{modifiers & ~win::MOD_NOREPEAT, key}] = HotKeyHolder{};
}

bool World::PressHotKey(Dword modifiers, Dword key, int repeats) {
    auto it = hotKeys.find({modifiers, key});
    if (it == hotKeys.end()) return false;
    const HotKeyHolder holder = it->second;
    auto form = forms.find(holder.hwnd);
    if (form == forms.end()) return true;  // another program's
    programHadLastInput = true;
    // The first press, then the keyboard's repeats while the key is held.
    const int messages = 1 + (holder.noRepeat ? 0 : repeats);
    for (int i = 0; i < messages && !ended; ++i) {
        auto still = forms.find(holder.hwnd);
        if (still == forms.end()) break;
        SimFormPeer* peer = still->second;
        Deliver([&] { peer->DeliverHotKey(holder.id); });
    }
    return true;
}

bool World::IsProgramWindow(Hwnd hwnd) const {
    const Window* w = windows.Find(hwnd);
    return w && w->thread == programProcess;
}

bool World::ProgramMayActivate() const {
    return !options.foregroundLock || programHadLastInput || IsProgramWindow(foreground);
}

void World::Activate(Hwnd hwnd) {
    if (!IsProgramWindow(hwnd)) programHadLastInput = false;
    windows.BringToTop(hwnd);
    ForegroundChanged(hwnd);
    DeliverWinEvents();  // the program's message loop waits for them
}

void World::ForegroundChanged(Hwnd to) {
    if (foreground == to) return;
    foreground = to;
    if (options.foregroundEvents) pendingWinEvents_.emplace_back(win::EVENT_SYSTEM_FOREGROUND, to);
    pendingWinEvents_.emplace_back(win::EVENT_OBJECT_FOCUS, to);
}

void World::DeliverWinEvents() {
    while (!pendingWinEvents_.empty() && !ended && !programDead_) {
        const auto [event, hwnd] = pendingWinEvents_.front();
        pendingWinEvents_.pop_front();
        std::vector<engine::Platform::WinEventHandler> handlers;
        for (const auto& [handle, hook] : winEventHooks) {
            if (event < hook.eventMin || event > hook.eventMax) continue;
            if ((hook.flags & win::WINEVENT_SKIPOWNPROCESS) && IsProgramWindow(hwnd)) continue;
            handlers.push_back(hook.handler);
        }
        for (const auto& handler : handlers) {
            if (ended || programDead_) break;
            try {
                handler(event, hwnd, 0, 0);  // OBJID_WINDOW, CHILDID_SELF
            } catch (const ProcessEnded&) {
            } catch (const ProcessKilled&) {
                if (deliveries_ > 0) throw;  // the event it came inside dies with it
                return;
            }
        }
    }
}

}  // namespace sim
