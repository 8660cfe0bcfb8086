#include "text_extent.h"

#include <cwchar>

#include "engine/win32/handles.h"
#include "text_extent_record.h"

namespace wintool {

namespace {

constexpr UINT kAnswerTimeoutMs = 5000;

struct Unhook : win32::NullEmpty<HHOOK> {
    void operator()(HHOOK hook) const { ::UnhookWindowsHookEx(hook); }
};
using UniqueHook = win32::Unique<HHOOK, Unhook>;

std::wstring BesideThisProgram(const std::wstring& name) {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + name;
}

TextExtent FromRecord(const TextExtentRecord& record) {
    TextExtent result;
    result.text.assign(record.text, wcsnlen(record.text, kMaxMeasuredText));
    result.face.assign(record.font.lfFaceName, wcsnlen(record.font.lfFaceName, LF_FACESIZE));
    result.font_height = record.font.lfHeight;
    result.extent = record.extent;
    result.line_height = record.line_height;
    result.client = record.client;
    result.style = record.style;
    return result;
}

}  // namespace

std::optional<TextExtent> MeasureControlText(HWND control, std::wstring& error) {
    const DWORD thread = GetWindowThreadProcessId(control, nullptr);
    const UINT request = RegisterWindowMessageW(kTextExtentMessage);
    const win32::UniqueHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                         sizeof(TextExtentRecord),
                                                         TextExtentMappingName(GetCurrentProcessId()).c_str()));
    const UniqueView view(mapping ? MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, sizeof(TextExtentRecord))
                                  : nullptr);
    if (thread == 0 || request == 0 || !view) {
        error = L"no shared memory for the answer";
        return std::nullopt;
    }
    const win32::UniqueModule hook_dll(LoadLibraryW(BesideThisProgram(kTextExtentHookDll).c_str()));
    const FARPROC found = hook_dll ? GetProcAddress(hook_dll.get(), kTextExtentHookProc) : nullptr;
    const auto hook_proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(found));
    const UniqueHook hook(hook_proc ? SetWindowsHookExW(WH_CALLWNDPROC, hook_proc, hook_dll.get(), thread) : nullptr);
    if (!hook) {
        error = std::wstring(L"cannot hook the control's thread with ") + kTextExtentHookDll;
        return std::nullopt;
    }
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(control, request, GetCurrentProcessId(), 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                             &ignored)) {
        error = L"the control's thread does not answer";
        return std::nullopt;
    }
    const auto& record = *static_cast<const TextExtentRecord*>(view.get());
    if (record.measured == 0) {
        error = L"the hook did not measure in the control's thread";
        return std::nullopt;
    }
    return FromRecord(record);
}

}  // namespace wintool
