// The hotkey, foreground and WinEvent calls of the simulated Windows, with the
// refusals of real Windows.
#include <algorithm>

#include "engine/sim/sim_platform.h"

namespace sim {
namespace win = engine::win;

namespace {
constexpr Dword kKnownModifiers = win::MOD_ALT | win::MOD_CONTROL | win::MOD_SHIFT | win::MOD_WIN | win::MOD_NOREPEAT;
constexpr Dword ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr Dword ERROR_HOTKEY_NOT_REGISTERED = 1419;
constexpr Dword ERROR_INVALID_PARAMETER = 87;
}  // namespace

bool SimPlatform::RegisterHotKey(Hwnd hwnd, Long id, Dword modifiers, Dword key) {
    const bool knowsNoRepeat = world_.options.major > 6 || (world_.options.major == 6 && world_.options.minor >= 1);
    if (!world_.IsProgramWindow(hwnd)) {
        lastError_ = ERROR_INVALID_WINDOW_HANDLE;
        return false;
    }
    if ((modifiers & ~kKnownModifiers) || ((modifiers & win::MOD_NOREPEAT) && !knowsNoRepeat)) {
        lastError_ = win::ERROR_INVALID_FLAGS;
        return false;
    }
    if (key == 0 || key > 0xFE) {
        lastError_ = ERROR_INVALID_PARAMETER;
        return false;
    }
    const std::pair<Dword, Dword> combination{modifiers & ~win::MOD_NOREPEAT, key};
    if (world_.hotKeys.count(combination)) {
        lastError_ = win::ERROR_HOTKEY_ALREADY_REGISTERED;
        return false;
    }
    world_.hotKeys[combination] = {hwnd, id, (modifiers & win::MOD_NOREPEAT) != 0};
    return true;
}

bool SimPlatform::UnregisterHotKey(Hwnd hwnd, Long id) {
    const auto erased = std::erase_if(
        world_.hotKeys, [&](const auto& entry) { return entry.second.hwnd == hwnd && entry.second.id == id; });
    if (erased == 0) lastError_ = ERROR_HOTKEY_NOT_REGISTERED;
    return erased != 0;
}

Hwnd SimPlatform::GetForegroundWindow() { return world_.windows.Exists(world_.foreground) ? world_.foreground : 0; }

bool SimPlatform::SetForegroundWindow(Hwnd hwnd) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w || hwnd == world_.windows.Desktop()) return false;
    // Windows keeps the foreground from a process the user is not working with
    // (it flashes the window's task bar button instead).
    if (!world_.ProgramMayActivate()) return false;
    world_.windows.BringToTop(hwnd);
    world_.ForegroundChanged(hwnd);
    return true;
}

Hwnd SimPlatform::GetAncestor(Hwnd hwnd, Dword flags) {
    if (flags != win::GA_ROOT || !world_.windows.Exists(hwnd) || hwnd == world_.windows.Desktop()) return 0;
    Hwnd h = hwnd;
    for (const Window* w = world_.windows.Find(h); w && w->parent != world_.windows.Desktop() && w->parent != 0;
         w = world_.windows.Find(h))
        h = w->parent;
    return h;
}

Dword SimPlatform::SetWinEventHook(Dword eventMin, Dword eventMax, Dword flags, WinEventHandler handler) {
    // Only out-of-context hooks exist here: no code of Trevo's enters another program.
    if ((flags & 0x4) /* WINEVENT_INCONTEXT */ || eventMin > eventMax || !handler) {
        lastError_ = ERROR_INVALID_PARAMETER;
        return 0;
    }
    const Dword hook = world_.nextHook++;
    world_.winEventHooks[hook] = {eventMin, eventMax, flags, std::move(handler)};
    hooks_.push_back(hook);
    return hook;
}

bool SimPlatform::UnhookWinEvent(Dword hook) {
    std::erase(hooks_, hook);
    return world_.winEventHooks.erase(hook) != 0;
}

}  // namespace sim
