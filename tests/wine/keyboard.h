// Keyboard input for another program's window. xdotool's key events do not
// reach Wine programs on a bare X server, so keys go in through SendInput.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace wintool {

// A keystroke is either a chord such as "enter", "alt+x", "ctrl+shift+tab",
// "f4", "a", or "text:" followed by characters typed one by one.
// Returns the input events, or nothing when a keystroke cannot be understood
// (error then says which).
std::optional<std::vector<INPUT>> KeyEvents(const std::vector<std::wstring>& keystrokes, std::wstring& error);

// Brings the window's top-level window to the foreground (and, for a
// control, gives it the focus), then sends the events. False with a reason
// when the window cannot be made the target of the keys.
bool SendKeysTo(HWND window, const std::vector<INPUT>& events, std::wstring& error);

}  // namespace wintool
