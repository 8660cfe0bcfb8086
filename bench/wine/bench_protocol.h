// What the window host and the switch timer agree on.
#pragma once

#include <windows.h>

namespace winbench {

// The class of every window bench_windows.exe opens.
inline constexpr const wchar_t* kBenchWindowClass = L"TrevoBenchWindow";

// Sent to a bench window: answers 1 while the host still has painting, posted
// messages or input waiting, 0 once it has caught up.
inline constexpr UINT kAskBusy = WM_APP + 0x42;

}  // namespace winbench
