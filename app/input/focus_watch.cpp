#include "app/input/focus_watch.h"

namespace trevo {
namespace win = engine::win;

FocusWatch::FocusWatch(engine::Platform& platform, std::function<void()> changed)
    : platform_(platform), changed_(std::move(changed)) {
    // Two narrow hooks: one range from the one event to the other would wake
    // Trevo for every window that moves or changes its name.
    const engine::Dword flags = win::WINEVENT_OUTOFCONTEXT | win::WINEVENT_SKIPOWNPROCESS;
    auto handler = [this](engine::Dword, engine::Hwnd, engine::Long, engine::Long) { changed_(); };
    foregroundHook_ =
        platform_.SetWinEventHook(win::EVENT_SYSTEM_FOREGROUND, win::EVENT_SYSTEM_FOREGROUND, flags, handler);
    focusHook_ = platform_.SetWinEventHook(win::EVENT_OBJECT_FOCUS, win::EVENT_OBJECT_FOCUS, flags, handler);
}

FocusWatch::~FocusWatch() {
    if (foregroundHook_) platform_.UnhookWinEvent(foregroundHook_);
    if (focusHook_) platform_.UnhookWinEvent(focusHook_);
}

}  // namespace trevo
