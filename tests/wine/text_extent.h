// How much room a control's text needs in the font the control draws it with,
// so that a test can tell whether a caption is cut.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace wintool {

struct TextExtent {
    std::wstring text;     // as drawn: without mnemonic marks where the control hides them
    std::wstring face;     // of the control's font
    LONG font_height = 0;  // the font's lfHeight
    SIZE extent{};         // of the text on one line
    LONG line_height = 0;  // tmHeight, what one line takes even when the text is empty
    RECT client{};
    LONG style = 0;
};

// Measures inside the control's own thread (WM_GETFONT, the system font when
// it has none, on a DC of the control) through text_extent_hook.dll, which
// lies beside wintool.exe. nullopt with error set on failure.
std::optional<TextExtent> MeasureControlText(HWND control, std::wstring& error);

}  // namespace wintool
