#include "engine/win32/native_records.h"

#include <cstddef>
#include <cstring>

namespace win32 {

namespace {
// OPENFILENAME_SIZE_VERSION_400W, which the headers spell in a way no constant
// expression takes: the record up to its template name.
constexpr size_t kChooserRecordSizeNative = offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR);
}  // namespace

// The layouts Windows documents for each build; if a header ever disagrees the
// build stops here rather than hand the shell a record it misreads.
#ifdef _WIN64
static_assert(NOTIFYICONDATAA_V1_SIZE == 104);
static_assert(offsetof(NOTIFYICONDATAA, hWnd) == 8 && offsetof(NOTIFYICONDATAA, uID) == 16);
static_assert(offsetof(NOTIFYICONDATAA, uCallbackMessage) == 24 && offsetof(NOTIFYICONDATAA, hIcon) == 32);
static_assert(offsetof(NOTIFYICONDATAA, szTip) == 40);
static_assert(NOTIFYICONDATAW_V2_SIZE == 952 && offsetof(NOTIFYICONDATAW, szInfo) == 304);
static_assert(offsetof(NOTIFYICONDATAW, uTimeout) == 816 && offsetof(NOTIFYICONDATAW, szInfoTitle) == 820);
static_assert(offsetof(NOTIFYICONDATAW, dwInfoFlags) == 948);
static_assert(kChooserRecordSizeNative == 136);
static_assert(offsetof(OPENFILENAMEW, hwndOwner) == 8 && offsetof(OPENFILENAMEW, lpstrFile) == 48);
static_assert(offsetof(OPENFILENAMEW, Flags) == 96 && offsetof(OPENFILENAMEW, nFileOffset) == 100);
static_assert(offsetof(OPENFILENAMEW, lpfnHook) == 120 && offsetof(OPENFILENAMEW, lpTemplateName) == 128);
#else
static_assert(NOTIFYICONDATAA_V1_SIZE == kNotifyRecordSize32);
static_assert(offsetof(NOTIFYICONDATAA, hWnd) == 4 && offsetof(NOTIFYICONDATAA, uID) == 8);
static_assert(offsetof(NOTIFYICONDATAA, uCallbackMessage) == 16 && offsetof(NOTIFYICONDATAA, hIcon) == 20);
static_assert(offsetof(NOTIFYICONDATAA, szTip) == 24);
static_assert(NOTIFYICONDATAW_V2_SIZE == kNotifyRecordV2Size32);
static_assert(kChooserRecordSizeNative == kChooserRecordSize32);
static_assert(offsetof(OPENFILENAMEW, hwndOwner) == 4 && offsetof(OPENFILENAMEW, lpstrFile) == 28);
static_assert(offsetof(OPENFILENAMEW, Flags) == 52 && offsetof(OPENFILENAMEW, nFileOffset) == 56);
static_assert(offsetof(OPENFILENAMEW, lpfnHook) == 68 && offsetof(OPENFILENAMEW, lpTemplateName) == 72);
// Here the program's records are the native ones, byte for byte.
static_assert(sizeof(engine::NotifyIconDataA) == NOTIFYICONDATAA_V1_SIZE);
static_assert(offsetof(engine::NotifyIconDataA, hIcon) == offsetof(NOTIFYICONDATAA, hIcon));
static_assert(offsetof(engine::NotifyIconDataA, szTip) == offsetof(NOTIFYICONDATAA, szTip));
static_assert(offsetof(engine::NotifyIconDataV2W, dwState) == offsetof(NOTIFYICONDATAW, dwState));
static_assert(offsetof(engine::NotifyIconDataV2W, szInfo) == offsetof(NOTIFYICONDATAW, szInfo));
static_assert(offsetof(engine::NotifyIconDataV2W, uTimeout) == offsetof(NOTIFYICONDATAW, uTimeout));
static_assert(offsetof(engine::NotifyIconDataV2W, szInfoTitle) == offsetof(NOTIFYICONDATAW, szInfoTitle));
static_assert(offsetof(engine::NotifyIconDataV2W, dwInfoFlags) == offsetof(NOTIFYICONDATAW, dwInfoFlags));
static_assert(sizeof(engine::OpenFileNameW) == kChooserRecordSizeNative);
static_assert(offsetof(engine::OpenFileNameW, Flags) == offsetof(OPENFILENAMEW, Flags));
static_assert(offsetof(engine::OpenFileNameW, nFileExtension) == offsetof(OPENFILENAMEW, nFileExtension));
static_assert(offsetof(engine::OpenFileNameW, lpTemplateName) == offsetof(OPENFILENAMEW, lpTemplateName));
#endif
static_assert(sizeof(engine::NotifyIconDataA) == kNotifyRecordSize32);
static_assert(sizeof(engine::NotifyIconDataV2W) == kNotifyRecordV2Size32);
// The original tip: 64 bytes, where the newer records have 128.
static_assert(sizeof(engine::NotifyIconDataA::szTip) == 64 && sizeof(NOTIFYICONDATAA::szTip) >= 64);
static_assert(sizeof(engine::NotifyIconDataV2W::szTip) == sizeof(NOTIFYICONDATAW::szTip));
static_assert(sizeof(engine::NotifyIconDataV2W::szInfo) == sizeof(NOTIFYICONDATAW::szInfo));
static_assert(sizeof(engine::NotifyIconDataV2W::szInfoTitle) == sizeof(NOTIFYICONDATAW::szInfoTitle));
static_assert(sizeof(wchar_t) == sizeof(char16_t));

namespace {
wchar_t* Wide(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }
const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
}  // namespace

namespace {
// The fields every layout of the notification record begins with.
template <class Record, class Native>
void CopyNotifyHead(const Record& record, DWORD nativeSize, Native& native) {
    std::memset(&native, 0, sizeof native);
    native.cbSize = nativeSize;
    native.hWnd = HandleFrom32<HWND>(record.hWnd);
    native.uID = record.uID;
    native.uFlags = record.uFlags;
    native.uCallbackMessage = record.uCallbackMessage;
    native.hIcon = HandleFrom32<HICON>(record.hIcon);
    std::memcpy(native.szTip, record.szTip, sizeof record.szTip);
}
}  // namespace

bool ToNativeNotifyRecord(const engine::NotifyIconDataA& record, NOTIFYICONDATAA& native) {
    if (record.cbSize != kNotifyRecordSize32) return false;
    CopyNotifyHead(record, NOTIFYICONDATAA_V1_SIZE, native);
    return true;
}

bool ToNativeNotifyRecordV2(const engine::NotifyIconDataV2W& record, NOTIFYICONDATAW& native) {
    if (record.cbSize != kNotifyRecordV2Size32) return false;
    CopyNotifyHead(record, NOTIFYICONDATAW_V2_SIZE, native);
    native.dwState = record.dwState;
    native.dwStateMask = record.dwStateMask;
    std::memcpy(native.szInfo, record.szInfo, sizeof record.szInfo);
    native.uTimeout = record.uTimeout;
    std::memcpy(native.szInfoTitle, record.szInfoTitle, sizeof record.szInfoTitle);
    native.dwInfoFlags = record.dwInfoFlags;
    return true;
}

bool ToNativeChooserRecord(const engine::OpenFileNameW& record, OPENFILENAMEW& native) {
    if (record.lStructSize != kChooserRecordSize32 || record.hInstance != 0 || record.lpfnHook != 0) return false;
    std::memset(&native, 0, sizeof native);
    native.lStructSize = kChooserRecordSizeNative;
    native.hwndOwner = HandleFrom32<HWND>(record.hwndOwner);
    native.lpstrFilter = Wide(record.lpstrFilter);
    native.lpstrCustomFilter = Wide(record.lpstrCustomFilter);
    native.nMaxCustFilter = record.nMaxCustFilter;
    native.nFilterIndex = record.nFilterIndex;
    native.lpstrFile = Wide(record.lpstrFile);
    native.nMaxFile = record.nMaxFile;
    native.lpstrFileTitle = Wide(record.lpstrFileTitle);
    native.nMaxFileTitle = record.nMaxFileTitle;
    native.lpstrInitialDir = Wide(record.lpstrInitialDir);
    native.lpstrTitle = Wide(record.lpstrTitle);
    native.Flags = record.Flags;
    native.nFileOffset = record.nFileOffset;
    native.nFileExtension = record.nFileExtension;
    native.lpstrDefExt = Wide(record.lpstrDefExt);
    native.lCustData = record.lCustData;  // the program's own number, handed back to a hook it never has
    native.lpTemplateName = Wide(record.lpTemplateName);
    return true;
}

void CopyChooserAnswer(const OPENFILENAMEW& native, engine::OpenFileNameW& record) {
    record.Flags = native.Flags;
    record.nFilterIndex = native.nFilterIndex;
    record.nFileOffset = native.nFileOffset;
    record.nFileExtension = native.nFileExtension;
}

}  // namespace win32
