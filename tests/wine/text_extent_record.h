// What wintool and its hook inside another program share to measure a
// control's text there: a font handle means nothing outside the process that
// made it, and Wine does not answer WM_GETFONT from another process at all.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "engine/win32/handles.h"

namespace wintool {

// Sent to the control with wintool's process id as wParam; the hook, called
// in the control's thread before the control's own procedure, measures.
constexpr wchar_t kTextExtentMessage[] = L"wintool.text-extent";
constexpr wchar_t kTextExtentHookDll[] = L"text_extent_hook.dll";
constexpr char kTextExtentHookProc[] = "TextExtentHook";
constexpr std::size_t kMaxMeasuredText = 1024;

// Lies in memory that wintool makes and names after its process id.
struct TextExtentRecord {
    LONG measured;  // nonzero once the hook has written everything below
    LONG style;
    LOGFONTW font;
    SIZE extent;       // of the text on one line
    LONG line_height;  // tmHeight
    RECT client;
    wchar_t text[kMaxMeasuredText];  // as drawn, NUL-terminated
};

inline std::wstring TextExtentMappingName(DWORD wintool_process_id) {
    return std::wstring(kTextExtentMessage) + L"." + std::to_wstring(wintool_process_id);
}

struct UnmapView : win32::NullEmpty<void*> {
    void operator()(void* view) const { ::UnmapViewOfFile(view); }
};
using UniqueView = win32::Unique<void*, UnmapView>;

}  // namespace wintool
