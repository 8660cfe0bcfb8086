#include "engine/sim/call_log.h"

#include <cstring>
#include <memory>

#include "engine/sim/sim_engine.h"

namespace sim {
namespace win = engine::win;

bool CallSpy::SendMessageTimeoutA(Hwnd hwnd, Dword message, Dword wParam, Long lParam, Dword flags, Dword timeoutMs,
                                  Dword* result) {
    const Dword before = world_.tickCount;
    const bool answered =
        ForwardingPlatform::SendMessageTimeoutA(hwnd, message, wParam, lParam, flags, timeoutMs, result);
    log_.timeSpentWaiting += world_.tickCount - before;
    return answered;
}

void CallSpy::NoteSystemParameter(Dword action) {
    if (action != win::SPI_SETDESKWALLPAPER) return;
    ++log_.wallpaperSets;
    log_.switchSteps.emplace_back("wallpaper");
}

bool CallSpy::SystemParametersInfoA(Dword action, Dword param, void* pv, Dword winIni) {
    NoteSystemParameter(action);
    return ForwardingPlatform::SystemParametersInfoA(action, param, pv, winIni);
}

bool CallSpy::SystemParametersInfoW(Dword action, Dword param, void* pv, Dword winIni) {
    NoteSystemParameter(action);
    return ForwardingPlatform::SystemParametersInfoW(action, param, pv, winIni);
}

bool CallSpy::Shell_NotifyIconA(Dword message, const engine::NotifyIconDataA* data) {
    // A record too short for the shell never reaches it.
    if (data && data->cbSize >= sizeof(engine::NotifyIconDataA))
    {
        log_.trayCalls.push_back({message, {static_cast<Hwnd>(data->hWnd), data->uID}});
        if (message == win::NIM_MODIFY) log_.switchSteps.push_back("icon " + std::to_string(data->hWnd));
    }
    return ForwardingPlatform::Shell_NotifyIconA(message, data);
}

Dword CallSpy::GetPrivateProfileStringA(const char* section, const char* key, const char* def, char* buffer,
                                        Dword size, const char* file) {
    log_.profileReads.emplace_back(section ? section : "");
    return ForwardingPlatform::GetPrivateProfileStringA(section, key, def, buffer, size, file);
}

bool CallSpy::GetOpenFileNameW(engine::OpenFileNameW* record) {
    if (!record) return ForwardingPlatform::GetOpenFileNameW(record);
    FileChooserCall call;
    call.wide = true;
    call.structSize = record->lStructSize;
    call.owner = record->hwndOwner;
    if (record->lpstrFilter) {
        const char16_t* p = record->lpstrFilter;
        while (*p) p += std::char_traits<char16_t>::length(p) + 1;
        call.filter = world_.codePage.Encode(
            std::u16string_view(record->lpstrFilter, static_cast<size_t>(p - record->lpstrFilter) + 1));
    }
    call.filterIndex = record->nFilterIndex;
    call.maxFile = record->nMaxFile;
    call.flags = record->Flags;
    call.otherMembersZero = record->hwndOwner == 0 && record->hInstance == 0 && !record->lpstrCustomFilter &&
                            record->nMaxCustFilter == 0 && !record->lpstrFileTitle && record->nMaxFileTitle == 0 &&
                            !record->lpstrInitialDir && !record->lpstrTitle && record->nFileOffset == 0 &&
                            record->nFileExtension == 0 && !record->lpstrDefExt && record->lCustData == 0 &&
                            record->lpfnHook == 0 && !record->lpTemplateName;
    for (Hwnd h : world_.windows.TopLevel()) {
        const Window& w = *world_.windows.Find(h);
        if (w.className == u"TrevoForm" && (w.style & win::WS_VISIBLE) && (w.style & win::WS_DISABLED))
            call.visibleFormDisabled = true;
    }
    log_.fileChooserCalls.push_back(call);
    return ForwardingPlatform::GetOpenFileNameW(record);
}

bool CallSpy::EndDeferWindowPos(Dword batch) {
    log_.switchSteps.emplace_back("moves");
    return ForwardingPlatform::EndDeferWindowPos(batch);
}

void AttachCallLog(SimEngine& engine, CallLog& log) {
    engine.RouteCallsThrough(std::make_unique<CallSpy>(engine.simulated(), engine.world(), log));
}

}  // namespace sim
