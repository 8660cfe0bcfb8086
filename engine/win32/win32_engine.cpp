#include "engine/win32/win32_engine.h"

#include <objbase.h>

#include <vector>

#include "engine/error.h"
#include "engine/text.h"
#include "engine/win32/win32_peers.h"
#include "engine/win32/win32_picture.h"

namespace win32 {
using engine::Long;
using engine::String;

std::wstring Wide(const String& text) { return std::wstring(text.begin(), text.end()); }

String FromWide(const wchar_t* text) {
    String out;
    for (; text && *text; ++text) out += static_cast<char16_t>(*text);
    return out;
}

namespace {

// The program's folder, with no closing backslash except at a drive root.
String ProgramFolder() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) break;
        path.resize(path.size() * 2);
    }
    std::wstring full(path.data());
    const auto slash = full.find_last_of(L'\\');
    std::wstring folder = slash == std::wstring::npos ? full : full.substr(0, slash);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    return String(folder.begin(), folder.end());
}

// Major, minor and revision from the program's own version block.
void ReadVersion(engine::AppInfo& app) {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(self, &ignored);
    if (size == 0) return;
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoW(self, 0, size, block.data())) return;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) return;
    app.major = HIWORD(fixed->dwFileVersionMS);
    app.minor = LOWORD(fixed->dwFileVersionMS);
    app.revision = HIWORD(fixed->dwFileVersionLS);
}

int CALLBACK FontSeen(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FontInstalled(const wchar_t* face) {
    WindowDc screen(nullptr);
    LOGFONTW want{};
    want.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(want.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    ::EnumFontFamiliesExW(screen.get(), &want, FontSeen, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// A dialog font that has Japanese glyphs where the system has one.
HFONT MakeDialogFont() {
    const wchar_t* face = L"MS Shell Dlg";
    for (const wchar_t* candidate : {L"MS UI Gothic", L"Meiryo UI", L"IPAPGothic", L"IPAGothic", L"MS PGothic"}) {
        if (FontInstalled(candidate)) {
            face = candidate;
            break;
        }
    }
    WindowDc screen(nullptr);
    const int height = -MulDiv(9, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    return ::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

}  // namespace

Win32Engine::Win32Engine(HINSTANCE instance) : instance_(instance) {
    comReady_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    app_.path = ProgramFolder();
    app_.title = u"Trevo";
    ReadVersion(app_);
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    font_.reset(MakeDialogFont());
    RegisterWindowClasses(instance_);
    owner_.reset(::CreateWindowExW(0, kFormClass, L"Trevo", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, nullptr));
}

Win32Engine::~Win32Engine() {
    CollectRetired();
    owner_.reset();
    if (comReady_) ::CoUninitialize();
}

engine::ScreenMetrics Win32Engine::Screen() const {
    WindowDc screen(nullptr);
    engine::ScreenMetrics m;
    m.twipsPerPixelX = 1440.0 / ::GetDeviceCaps(screen.get(), LOGPIXELSX);
    m.twipsPerPixelY = 1440.0 / ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    m.width = ::GetSystemMetrics(SM_CXSCREEN) * m.twipsPerPixelX;
    m.height = ::GetSystemMetrics(SM_CYSCREEN) * m.twipsPerPixelY;
    return m;
}

Long Win32Engine::MsgBox(const String& text, Long style, const String& title) {
    HWND active = ::GetActiveWindow();
    const std::wstring caption = Wide(title.empty() ? app_.title : title);
    return ::MessageBoxW(active, Wide(text).c_str(), caption.c_str(), static_cast<UINT>(style) | MB_SETFOREGROUND);
}

void Win32Engine::Dispatch(MSG& msg) {
    HWND active = ::GetActiveWindow();
    if (active && IsDialogForm(active) && ::IsDialogMessageW(active, &msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

void Win32Engine::DoEvents() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
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
    const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    HICON icon = format == engine::kResIcon ? static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(id), IMAGE_ICON,
                                                                              cx, cy, LR_DEFAULTCOLOR))
                                            : nullptr;
    if (!icon) engine::Raise(326, u"Resource with identifier '" + engine::DecimalText(id) + u"' not found");
    return Win32Picture::FromIcon(icon, cx, cy, true);
}

void Win32Engine::SavePicture(const engine::Picture& picture, const String& path) {
    SaveBitmapFile(picture, Wide(path));
}

String Win32Engine::LoadResString(Long id) {
    const wchar_t* text = nullptr;
    const int n = ::LoadStringW(instance_, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    if (n <= 0 || !text) engine::Raise(326, u"Resource with identifier '" + engine::DecimalText(id) + u"' not found");
    return String(text, text + n);
}

std::unique_ptr<engine::FormPeer> Win32Engine::CreateFormPeer(const engine::FormDesign& design,
                                                              engine::FormEvents& events) {
    return std::make_unique<Win32FormPeer>(*this, design, events);
}

Long Win32Engine::Run() {
    MSG msg;
    while (LoadedForms() > 0 && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        Dispatch(msg);
        CollectRetired();  // nothing of an unloaded form is on the stack here
    }
    return 0;
}

void Win32Engine::End(Long exitCode) { ::ExitProcess(static_cast<UINT>(exitCode)); }

void Win32Engine::LastFormUnloaded() { ::PostQuitMessage(0); }

}  // namespace win32
