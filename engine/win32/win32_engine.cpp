#include "engine/win32/win32_engine.h"

#include <commctrl.h>

#include <vector>

#include "engine/error.h"
#include "engine/text.h"
#include "engine/win32/dpi.h"
#include "engine/win32/late_libraries.h"
#include "engine/win32/notice_window.h"
#include "engine/win32/win32_form.h"
#include "engine/win32/win32_picture.h"
#include "engine/win32/window_procedures.h"

namespace win32 {
using engine::Long;
using engine::String;

std::wstring Wide(const String& text) { return std::wstring(text.begin(), text.end()); }
String FromWide(std::wstring_view text) { return String(text.begin(), text.end()); }

namespace {

std::wstring ModulePath() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) return std::wstring(path.data(), n);
        path.resize(path.size() * 2);  // cut short: try a larger buffer
    }
}

// The program's folder, with no closing backslash except at a drive root ("C:\").
String ProgramFolder(const std::wstring& module) {
    const auto slash = module.find_last_of(L'\\');
    std::wstring folder = slash == std::wstring::npos ? module : module.substr(0, slash);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    return FromWide(folder);
}

// The program file's name, as the user may have renamed it.
String ProgramFile(const std::wstring& module) {
    const auto slash = module.find_last_of(L'\\');
    return FromWide(slash == std::wstring::npos ? module : module.substr(slash + 1));
}

// Major, minor and revision from the program's own version block (FILEVERSION
// major,minor,revision,0): the one place the number is kept.
void ReadVersion(const std::wstring& module, engine::AppInfo& app) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(module.c_str(), &ignored);
    if (size == 0) return;
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoW(module.c_str(), 0, size, block.data())) return;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO))
        return;
    app.major = HIWORD(fixed->dwFileVersionMS);
    app.minor = LOWORD(fixed->dwFileVersionMS);
    app.revision = HIWORD(fixed->dwFileVersionLS);
}

int CALLBACK NoteFontSeen(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM seen) {
    *reinterpret_cast<bool*>(seen) = true;
    return 0;  // one is enough
}

bool FontInstalled(HDC screen, const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
    bool seen = false;
    ::EnumFontFamiliesExW(screen, &wanted, NoteFontSeen, reinterpret_cast<LPARAM>(&seen), 0);
    return seen;
}

// The captions may be Japanese: a face with Japanese glyphs where the system has
// one (the IPA faces are what Wine finds on a free desktop). Without any, the
// stock GUI font stays, and Windows' font linking supplies the glyphs it lacks.
// At the system's DPI without such a face, the stock GUI font is used as it is.
HFONT MakeControlFont(UINT dpi, int points) {
    WindowDc screen(nullptr);
    const int height = -::MulDiv(points, static_cast<int>(dpi), 72);
    for (const wchar_t* face : {L"MS UI Gothic", L"Meiryo UI", L"Yu Gothic UI", L"IPAPGothic", L"IPAGothic"}) {
        if (!FontInstalled(screen.get(), face)) continue;
        return ::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
    }
    if (dpi == SystemDpi()) return nullptr;
    LOGFONTW stock{};
    if (!::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock)) return nullptr;
    stock.lfHeight = ::MulDiv(stock.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    return ::CreateFontIndirectW(&stock);
}

// The command line after the program's own name, which may be quoted.
engine::String CommandTail() {
    const wchar_t* p = ::GetCommandLineW();
    if (!p) return {};
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"') ++p;
        if (*p == L'"') ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t') ++p;
    }
    while (*p == L' ' || *p == L'\t') ++p;
    return engine::String(reinterpret_cast<const char16_t*>(p));
}

[[noreturn]] void RaiseResourceMissing(Long id) {
    engine::Raise(326, u"Resource with identifier '" + engine::DecimalText(id) + u"' not found");
}

}  // namespace

Win32Engine::Win32Engine(HINSTANCE instance) : instance_(instance) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    const std::wstring module = ModulePath();
    app_.path = ProgramFolder(module);
    app_.exeFile = ProgramFile(module);
    app_.title = u"Trevo";
    ReadVersion(module, app_);
    app_.command = CommandTail();
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    RegisterWindowClasses(instance_);
    owner_.reset(
        ::CreateWindowExW(0, kOwnerClass, L"Trevo", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, nullptr));
}

Win32Engine::~Win32Engine() {
    CollectRetired();
    EndLateCom();
}

HFONT Win32Engine::ControlFont(UINT dpi) {
    // Japanese at 9 points, as the dialog was designed; Latin letters at the
    // 8 points of Windows' own dialogs, where the English texts fit the boxes.
    const int points = latinTexts_ ? 8 : 9;
    auto [entry, made] = fonts_.try_emplace(std::make_pair(dpi, points));
    if (made) entry->second.reset(MakeControlFont(dpi, points));
    return entry->second ? entry->second.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

UINT Win32Engine::FormDpi(HWND form) const {
    // A form that is never shown stays at the system's scale, where the
    // program's own measures are counted (the wallpaper's canvas, the icons'
    // callbacks); a dialog takes its monitor's.
    return form && IsDialogForm(form) ? WindowDpi(form) : SystemDpi();
}

engine::ScreenMetrics Win32Engine::Screen() const {
    WindowDc screen(nullptr);
    const int dpiX = ::GetDeviceCaps(screen.get(), LOGPIXELSX), dpiY = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    engine::ScreenMetrics m;
    m.twipsPerPixelX = 1440.0 / (dpiX > 0 ? dpiX : 96);
    m.twipsPerPixelY = 1440.0 / (dpiY > 0 ? dpiY : 96);
    m.width = ::GetSystemMetrics(SM_CXSCREEN) * m.twipsPerPixelX;
    m.height = ::GetSystemMetrics(SM_CYSCREEN) * m.twipsPerPixelY;
    return m;
}

Long Win32Engine::MsgBox(const String& text, Long style, const String& title) {
    // Owned by the program's active window (the dialog, when one is open), so it
    // stays in front of it. From the tray there is none: then all the program's
    // windows wait for the box, and it comes to the front.
    const std::wstring caption = Wide(title.empty() ? app_.title : title);
    HWND owner = ::GetActiveWindow();
    UINT flags = static_cast<UINT>(style) | MB_SETFOREGROUND;
    if (!owner && (flags & MB_MODEMASK) == 0) flags |= MB_TASKMODAL;
    return ::MessageBoxW(owner, Wide(text).c_str(), caption.c_str(), flags);
}

void Win32Engine::Dispatch(MSG& msg) {
    HWND active = ::GetActiveWindow();
    if (active && IsDialogForm(active) && ::IsDialogMessageW(active, &msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

void Win32Engine::DoEvents() {
    // What is waiting now, not what handling it keeps posting: a bound, so a
    // message that posts itself again cannot hold the program here.
    constexpr int kMostMessages = 10000;
    MSG msg;
    for (int handled = 0; handled < kMostMessages && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++handled) {
        if (msg.message == WM_QUIT) {
            // The quit belongs to the outer loop: put it back for Run to see.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Dispatch(msg);
    }
}

engine::PicturePtr Win32Engine::LoadPicture(const String& path) {
    if (path.empty()) engine::Raise(engine::err::kInvalidPicture);
    return LoadPictureFile(Wide(path));
}

engine::PicturePtr Win32Engine::LoadResPicture(Long id, Long format) {
    // Only icons are asked for, and they go to the notification area: the
    // picture of its size at its scale, never one stretched to it.
    if (format != engine::kResIcon || id < 0 || id > 0xFFFF) RaiseResourceMissing(id);
    const UINT dpi = NotificationAreaDpi();
    const int cx = SystemMetricForDpi(SM_CXSMICON, dpi), cy = SystemMetricForDpi(SM_CYSMICON, dpi);
    auto* icon = static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(id), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
    if (!icon) RaiseResourceMissing(id);
    return Win32Picture::FromIcon(icon, cx, cy, true);
}

void Win32Engine::SavePicture(const engine::Picture& picture, const String& path) {
    SaveBitmapFile(picture, Wide(path));
}

String Win32Engine::LoadResString(Long id) {
    if (id < 0 || id > 0xFFFF) RaiseResourceMissing(id);
    const wchar_t* text = nullptr;
    // With no buffer, LoadStringW hands out the resource's own read-only text.
    const int n = ::LoadStringW(instance_, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    if (n <= 0 || !text) RaiseResourceMissing(id);
    return FromWide(std::wstring_view(text, static_cast<size_t>(n)));
}

namespace {
BOOL CALLBACK TakeFont(HWND control, LPARAM font) {
    ::SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}

BOOL CALLBACK RefontForm(HWND window, LPARAM engine) {
    auto& self = *reinterpret_cast<Win32Engine*>(engine);
    ::EnumChildWindows(window, TakeFont, reinterpret_cast<LPARAM>(self.ControlFont(self.FormDpi(window))));
    return TRUE;
}
}  // namespace

void Win32Engine::SetTextLanguage(std::uint16_t language) {
    // Chinese, Japanese and Korean letters are drawn larger than the Latin alphabet.
    const WORD primary = PRIMARYLANGID(language);
    const bool latin = primary != LANG_JAPANESE && primary != LANG_CHINESE && primary != LANG_KOREAN;
    if (latin == latinTexts_) return;
    latinTexts_ = latin;
    ::EnumThreadWindows(::GetCurrentThreadId(), RefontForm, reinterpret_cast<LPARAM>(this));
}

// A string table resource holds sixteen strings, each a count of UTF-16 units
// and that many units; string id lives in block id / 16 + 1, at place id % 16.
std::optional<String> Win32Engine::LoadResStringOf(Long id, std::uint16_t language) {
    if (id < 0 || id > 0xFFFF) return std::nullopt;
    const LPCWSTR block = MAKEINTRESOURCEW(id / 16 + 1);
    HRSRC found = ::FindResourceExW(instance_, RT_STRING, block, language);
    HGLOBAL loaded = found ? ::LoadResource(instance_, found) : nullptr;
    const auto* units = loaded ? static_cast<const WCHAR*>(::LockResource(loaded)) : nullptr;
    if (!units) return std::nullopt;
    const WCHAR* const end = units + ::SizeofResource(instance_, found) / sizeof(WCHAR);
    for (Long place = 0; units < end; ++place) {
        const size_t length = *units++;
        if (length > static_cast<size_t>(end - units)) return std::nullopt;  // a block cut short
        if (place == id % 16) {
            if (length == 0) return std::nullopt;
            return FromWide(std::wstring_view(units, length));
        }
        units += length;
    }
    return std::nullopt;
}

namespace {
BOOL CALLBACK NoteLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
    reinterpret_cast<std::vector<std::uint16_t>*>(found)->push_back(language);
    return TRUE;
}
}  // namespace

std::vector<std::uint16_t> Win32Engine::ResStringLanguages(Long id) {
    std::vector<std::uint16_t> languages;
    if (id < 0 || id > 0xFFFF) return languages;
    ::EnumResourceLanguagesW(instance_, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), NoteLanguage,
                             reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

std::unique_ptr<engine::FormPeer> Win32Engine::CreateFormPeer(const engine::FormDesign& design,
                                                              engine::FormEvents& events) {
    return std::make_unique<Win32FormPeer>(*this, design, events);
}

std::unique_ptr<engine::NoticePanel> Win32Engine::CreateNoticePanel() {
    return std::make_unique<Win32NoticePanel>(instance_);
}

Long Win32Engine::Run() {
    if (LoadedForms() == 0) return 0;
    MSG msg{};
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<Long>(msg.wParam);
        if (got < 0) return 1;  // the queue itself failed: nothing more will arrive
        Dispatch(msg);
        CollectRetired();  // nothing of an unloaded form is on the stack here
    }
}

void Win32Engine::End(Long exitCode) { ::ExitProcess(static_cast<UINT>(exitCode)); }

void Win32Engine::LastFormUnloaded() { ::PostQuitMessage(0); }

}  // namespace win32
