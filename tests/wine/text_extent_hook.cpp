// text_extent_hook.dll: wintool hooks a control's thread with it, so that the
// control's text is measured where its font lives, on a DC of the control.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "captions.h"
#include "engine/win32/handles.h"
#include "text_extent_record.h"

namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A control without a font of its own draws with the DC's, the system font.
bool Measure(HWND control, wintool::TextExtentRecord& record) {
    record.style = GetWindowLongW(control, GWL_STYLE);
    GetClientRect(control, &record.client);
    const std::wstring raw = TextOf(control);
    std::wstring text = wintool::HidesMnemonics(ClassOf(control), record.style) ? wintool::WithoutMnemonics(raw) : raw;
    text.resize(std::min(text.size(), wintool::kMaxMeasuredText - 1));
    wcsncpy(record.text, text.c_str(), wintool::kMaxMeasuredText);

    const win32::WindowDc dc(control);
    if (dc.get() == nullptr) return false;
    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
    const win32::Selection selected(dc.get(), font != nullptr ? font : GetCurrentObject(dc.get(), OBJ_FONT));
    TEXTMETRICW metrics{};
    if (!selected.ok() || !GetTextMetricsW(dc.get(), &metrics)) return false;
    if (GetObjectW(GetCurrentObject(dc.get(), OBJ_FONT), sizeof record.font, &record.font) != sizeof record.font) {
        return false;
    }
    record.line_height = metrics.tmHeight;
    return GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &record.extent) != FALSE;
}

void Answer(HWND control, DWORD wintool_process_id) {
    const win32::UniqueHandle mapping(
        OpenFileMappingW(FILE_MAP_WRITE, FALSE, wintool::TextExtentMappingName(wintool_process_id).c_str()));
    if (!mapping) return;
    const wintool::UniqueView view(
        MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, sizeof(wintool::TextExtentRecord)));
    if (!view) return;
    auto& record = *static_cast<wintool::TextExtentRecord*>(view.get());
    if (Measure(control, record)) record.measured = 1;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK TextExtentHook(int code, WPARAM sent_here, LPARAM call) {
    static const UINT request = RegisterWindowMessageW(wintool::kTextExtentMessage);
    if (code == HC_ACTION) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(call);
        if (request != 0 && message->message == request) Answer(message->hwnd, static_cast<DWORD>(message->wParam));
    }
    return CallNextHookEx(nullptr, code, sent_here, call);
}
