#include "keyboard.h"

#include <cwchar>
#include <cwctype>
#include <string_view>

namespace wintool {

namespace {

struct NamedKey {
    std::wstring_view name;
    WORD key;
};

constexpr NamedKey kNamedKeys[] = {
    {L"enter", VK_RETURN},  {L"return", VK_RETURN}, {L"tab", VK_TAB},        {L"esc", VK_ESCAPE},
    {L"escape", VK_ESCAPE}, {L"space", VK_SPACE},   {L"backspace", VK_BACK}, {L"delete", VK_DELETE},
    {L"insert", VK_INSERT}, {L"home", VK_HOME},     {L"end", VK_END},        {L"pageup", VK_PRIOR},
    {L"pagedown", VK_NEXT}, {L"left", VK_LEFT},     {L"right", VK_RIGHT},    {L"up", VK_UP},
    {L"down", VK_DOWN},     {L"ctrl", VK_CONTROL},  {L"shift", VK_SHIFT},    {L"alt", VK_MENU},
    {L"menu", VK_APPS},     {L"win", VK_LWIN},
};

struct NamedModifier {
    std::wstring_view name;
    UINT flag;
};

constexpr NamedModifier kModifiers[] = {
    {L"ctrl", MOD_CONTROL}, {L"alt", MOD_ALT}, {L"shift", MOD_SHIFT}, {L"win", MOD_WIN}};

std::wstring Lowered(std::wstring_view text) {
    std::wstring lowered(text);
    for (auto& c : lowered) c = static_cast<wchar_t>(std::towlower(c));
    return lowered;
}

std::optional<WORD> VirtualKey(std::wstring_view name) {
    const std::wstring lowered = Lowered(name);
    for (const auto& named : kNamedKeys) {
        if (named.name == lowered) return named.key;
    }
    if (lowered.size() == 1 &&
        ((lowered[0] >= L'a' && lowered[0] <= L'z') || (lowered[0] >= L'0' && lowered[0] <= L'9'))) {
        return static_cast<WORD>(std::towupper(lowered[0]));
    }
    if (lowered.size() >= 2 && lowered.size() <= 3 && lowered[0] == L'f') {
        wchar_t* end = nullptr;
        const long number = std::wcstol(lowered.c_str() + 1, &end, 10);
        if (*end == L'\0' && number >= 1 && number <= 24) return static_cast<WORD>(VK_F1 + number - 1);
    }
    return std::nullopt;
}

INPUT KeyEvent(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    // The navigation keys and Win sit outside the number pad: Windows tells them by this flag.
    const bool extended = (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE || key == VK_LWIN;
    if (extended) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    return input;
}

INPUT CharacterEvent(wchar_t character, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = character;
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

bool AddChord(std::wstring_view keystroke, std::vector<INPUT>& events) {
    std::vector<WORD> keys;
    while (true) {
        const auto plus = keystroke.find(L'+', 1);
        const auto part = keystroke.substr(0, plus);
        const auto key = VirtualKey(part);
        if (!key) return false;
        keys.push_back(*key);
        if (plus == std::wstring_view::npos) break;
        keystroke.remove_prefix(plus + 1);
    }
    for (const WORD key : keys) events.push_back(KeyEvent(key, false));
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) events.push_back(KeyEvent(*key, true));
    return true;
}

bool WaitForForeground(HWND top_level) {
    for (int attempt = 0; attempt < 40; ++attempt) {
        if (GetForegroundWindow() == top_level) return true;
        SetForegroundWindow(top_level);
        Sleep(50);
    }
    return GetForegroundWindow() == top_level;
}

}  // namespace

std::optional<std::vector<INPUT>> KeyEvents(const std::vector<std::wstring>& keystrokes, std::wstring& error) {
    std::vector<INPUT> events;
    constexpr std::wstring_view kTextPrefix = L"text:";
    for (const auto& keystroke : keystrokes) {
        if (std::wstring_view(keystroke).substr(0, kTextPrefix.size()) == kTextPrefix) {
            for (const wchar_t c : std::wstring_view(keystroke).substr(kTextPrefix.size())) {
                events.push_back(CharacterEvent(c, false));
                events.push_back(CharacterEvent(c, true));
            }
        } else if (keystroke.empty() || !AddChord(keystroke, events)) {
            error = L"unknown key \"" + keystroke + L"\"";
            return std::nullopt;
        }
    }
    return events;
}

std::optional<Hotkey> HotkeyOf(std::wstring_view chord) {
    Hotkey hotkey;
    while (true) {
        const auto plus = chord.find(L'+', 1);
        const std::wstring part = Lowered(chord.substr(0, plus));
        if (plus == std::wstring_view::npos) {
            const auto key = VirtualKey(part);
            if (!key) return std::nullopt;
            hotkey.key = *key;
            return hotkey;
        }
        bool known = false;
        for (const auto& modifier : kModifiers) {
            if (modifier.name == part) {
                hotkey.modifiers |= modifier.flag;
                known = true;
            }
        }
        if (!known) return std::nullopt;
        chord.remove_prefix(plus + 1);
    }
}

bool SendEvents(std::vector<INPUT> events, std::wstring& error) {
    const UINT sent = SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
    if (sent != events.size()) {
        error = L"SendInput took " + std::to_wstring(sent) + L" of " + std::to_wstring(events.size()) + L" events";
        return false;
    }
    return true;
}

bool SendKeysTo(HWND window, const std::vector<INPUT>& events, std::wstring& error) {
    const HWND top_level = GetAncestor(window, GA_ROOT);
    if (!WaitForForeground(top_level)) {
        error = L"the window did not come to the foreground";
        return false;
    }
    if (window != top_level) {
        const DWORD own_thread = GetCurrentThreadId();
        const DWORD target_thread = GetWindowThreadProcessId(window, nullptr);
        AttachThreadInput(own_thread, target_thread, TRUE);
        SetFocus(window);
        AttachThreadInput(own_thread, target_thread, FALSE);
    }
    return SendEvents(events, error);
}

}  // namespace wintool
