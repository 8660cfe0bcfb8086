// Keyboard input for another program's window. xdotool's key events do not
// reach Wine programs on a bare X server, so keys go in through SendInput.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wintool {

// A keystroke is either a chord such as "enter", "alt+x", "ctrl+shift+tab",
// "f4", "a", "ctrl+win+f2", or "text:" followed by characters typed one by one.
// Returns the input events, or nothing when a keystroke cannot be understood
// (error then says which).
std::optional<std::vector<INPUT>> KeyEvents(const std::vector<std::wstring>& keystrokes, std::wstring& error);

// Sends the events to whichever window has the focus, if any: a hotkey
// reaches the program that registered it wherever the focus is.
bool SendEvents(std::vector<INPUT> events, std::wstring& error);

// A chord such as "ctrl+win+f2" as RegisterHotKey takes it: MOD_ flags
// for every part before the last, and the last part's virtual key.
struct Hotkey {
    UINT modifiers = 0;
    UINT key = 0;
};
std::optional<Hotkey> HotkeyOf(std::wstring_view chord);

// Brings the window's top-level window to the foreground (and, for a
// control, gives it the focus), then sends the events. False with a reason
// when the window cannot be made the target of the keys.
bool SendKeysTo(HWND window, const std::vector<INPUT>& events, std::wstring& error);

}  // namespace wintool
