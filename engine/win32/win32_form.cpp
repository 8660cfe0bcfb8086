#include "engine/win32/win32_form.h"

#include <vector>

#include "engine/error.h"
#include "engine/scoped_flag.h"
#include "engine/win32/dpi.h"
#include "engine/win32/win32_control.h"
#include "engine/win32/win32_engine.h"
#include "engine/win32/win32_picture.h"
#include "engine/win32/window_procedures.h"

namespace win32 {
using engine::String;

namespace {

struct FormWalk {
    HWND except;
    std::vector<HWND> found;
};

BOOL CALLBACK NoteEnabledForm(HWND hwnd, LPARAM data) {
    auto& walk = *reinterpret_cast<FormWalk*>(data);
    if (hwnd != walk.except && WindowPeer::Of<Win32FormPeer>(hwnd) && ::IsWindowEnabled(hwnd))
        walk.found.push_back(hwnd);
    return TRUE;
}

// The program's forms other than `except` that are enabled now. Other top-level
// windows of the thread (the input method's, a message box) are left alone.
std::vector<HWND> EnabledForms(HWND except) {
    FormWalk walk{except, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), NoteEnabledForm, reinterpret_cast<LPARAM>(&walk));
    return walk.found;
}

}  // namespace

bool IsDialogForm(HWND hwnd) {
    return WindowPeer::Of<Win32FormPeer>(hwnd) && (::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) != 0;
}

Win32FormPeer::Win32FormPeer(Win32Engine& engine, const engine::FormDesign& design, engine::FormEvents& events)
    : engine_(engine), events_(events), dialog_(design.dialogFrame), iconResource_(design.iconResource) {
    const engine::ScreenMetrics screen = engine.Screen();
    // A dialog frame: caption and close box, no minimise or maximise box, and an
    // owner, so it has no task-bar button. Other forms are never shown.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN | (dialog_ ? WS_SYSMENU : 0u);
    const DWORD exStyle = dialog_ ? WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT : 0u;
    RECT r{0, 0, Pixels(design.clientWidth, screen.twipsPerPixelX), Pixels(design.clientHeight, screen.twipsPerPixelY)};
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    if (!::CreateWindowExW(exStyle, kFormClass, Wide(design.caption).c_str(), style, 0, 0, r.right - r.left,
                           r.bottom - r.top, dialog_ ? engine.Owner() : nullptr, nullptr, engine.Instance(),
                           CreationParameter()))
        engine::Raise(engine::err::kOutOfMemory);
    dpi_ = engine.FormDpi(Window());
}

HICON Win32FormPeer::LoadFormIcon(int size) const {
    return static_cast<HICON>(
        ::LoadImageW(engine_.Instance(), MAKEINTRESOURCEW(iconResource_), IMAGE_ICON, size, size, LR_SHARED));
}

engine::PicturePtr Win32FormPeer::Icon() const {
    if (!icon_) {
        const int small = SystemMetricForDpi(SM_CXSMICON, dpi_);
        icon_ = Win32Picture::FromIcon(LoadFormIcon(small), small, small, false);  // shared icons are never destroyed
    }
    return icon_;
}

void Win32FormPeer::GiveFrameIcons() {
    if (frameIcons_) return;
    frameIcons_ = true;
    ::SendMessageW(Window(), WM_SETICON, ICON_BIG,
                   reinterpret_cast<LPARAM>(LoadFormIcon(SystemMetricForDpi(SM_CXICON, dpi_))));
    ::SendMessageW(Window(), WM_SETICON, ICON_SMALL,
                   reinterpret_cast<LPARAM>(LoadFormIcon(SystemMetricForDpi(SM_CXSMICON, dpi_))));
}

namespace {
struct Rescale {
    UINT from, to;
    HFONT font;
};

BOOL CALLBACK RescaleControl(HWND control, LPARAM data) {
    const auto& rescale = *reinterpret_cast<const Rescale*>(data);
    const auto scaled = [&](LONG v) { return ::MulDiv(v, static_cast<int>(rescale.to), static_cast<int>(rescale.from)); };
    RECT r{};
    if (::GetWindowRect(control, &r)) {
        ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
        ::SetWindowPos(control, nullptr, scaled(r.left), scaled(r.top), scaled(r.right) - scaled(r.left),
                       scaled(r.bottom) - scaled(r.top), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(rescale.font), TRUE);
    return TRUE;
}
}  // namespace

void Win32FormPeer::TakeScale(UINT dpi, const RECT& suggested) {
    // Every control (the nested ones too, each within its own parent) at the
    // new scale, as Windows lays out a dialog of its own.
    if (dpi_ != 0 && dpi != dpi_) {
        Rescale rescale{dpi_, dpi, engine_.ControlFont(dpi)};
        ::EnumChildWindows(Window(), RescaleControl, reinterpret_cast<LPARAM>(&rescale));
    }
    dpi_ = dpi;
    ::SetWindowPos(Window(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    icon_.reset();
    if (frameIcons_) {
        frameIcons_ = false;
        GiveFrameIcons();
    }
}

bool Win32FormPeer::Visible() const { return ::IsWindowVisible(Window()) != 0; }

void Win32FormPeer::SetVisible(bool visible) {
    if (visible) GiveFrameIcons();
    ::ShowWindow(Window(), visible ? SW_SHOW : SW_HIDE);
    if (visible) ::SetForegroundWindow(Window());
}

bool Win32FormPeer::Enabled() const { return ::IsWindowEnabled(Window()) != 0; }
void Win32FormPeer::SetEnabled(bool enabled) { ::EnableWindow(Window(), enabled); }
void Win32FormPeer::BringToFront() { ::SetForegroundWindow(Window()); }

void Win32FormPeer::SetCaption(const String& caption) { ::SetWindowTextW(Window(), Wide(caption).c_str()); }

void Win32FormPeer::Move(double leftTwips, double topTwips) {
    const engine::ScreenMetrics s = engine_.Screen();
    ::SetWindowPos(Window(), nullptr, Pixels(leftTwips, s.twipsPerPixelX), Pixels(topTwips, s.twipsPerPixelY), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

double Win32FormPeer::Width() const {
    RECT r{};
    ::GetWindowRect(Window(), &r);
    return (r.right - r.left) * engine_.Screen().twipsPerPixelX;
}

double Win32FormPeer::Height() const {
    RECT r{};
    ::GetWindowRect(Window(), &r);
    return (r.bottom - r.top) * engine_.Screen().twipsPerPixelY;
}

void Win32FormPeer::RunModal(const std::function<bool()>& done) {
    // The program's other forms take no input meanwhile; posted messages (the
    // icons' callbacks) still reach them.
    const std::vector<HWND> others = EnabledForms(Window());
    const engine::ScopeExit reenable([&others] {
        for (HWND form : others)
            if (::IsWindow(form)) ::EnableWindow(form, TRUE);
    });
    for (HWND form : others) ::EnableWindow(form, FALSE);

    MSG msg{};
    while (!done()) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
            return;
        }
        if (got < 0) return;
        engine_.Dispatch(msg);
    }
}

int Win32FormPeer::TrackPopup(const std::vector<engine::PopupEntry>& entries) {
    UniqueMenu menu(::CreatePopupMenu());
    if (!menu) return -1;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].caption == u"-")
            ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuW(menu.get(), MF_STRING | (entries[i].checked ? MF_CHECKED : MF_UNCHECKED), i + 1,
                          Wide(entries[i].caption).c_str());
    }
    POINT at{};
    ::GetCursorPos(&at);
    HWND hwnd = Window();
    // A menu of a window that is not in front would not close on a click elsewhere.
    ::SetForegroundWindow(hwnd);
    const UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_RIGHTBUTTON;
    const int chosen = static_cast<int>(::TrackPopupMenu(menu.get(), flags, at.x, at.y, 0, hwnd, nullptr));
    ::PostMessageW(hwnd, WM_NULL, 0, 0);  // lets the task switch that closes the menu happen
    return chosen - 1;
}

std::unique_ptr<engine::ControlPeer> Win32FormPeer::CreateControl(const engine::ControlDesign& design,
                                                                  engine::ControlPeer* parent,
                                                                  engine::ControlEvents& events) {
    HWND parentWindow = parent ? ToHwnd(parent->hWnd()) : Window();
    return MakeControlPeer(engine_, parentWindow, design, events);
}

engine::MouseArgs Win32FormPeer::MouseArgsOf(WPARAM wParam, LPARAM lParam) const {
    const engine::ScreenMetrics s = engine_.Screen();
    engine::MouseArgs args;
    args.button = static_cast<engine::Integer>(((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0) |
                                               ((wParam & MK_MBUTTON) ? 4 : 0));
    args.shift = static_cast<engine::Integer>(((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0) |
                                              ((::GetKeyState(VK_MENU) < 0) ? 4 : 0));
    // The notification area calls back with this message and the mouse message in
    // lParam, which the program reads from x: the words are taken unsigned.
    args.x = static_cast<float>(LOWORD(lParam) * s.twipsPerPixelX);
    args.y = static_cast<float>(HIWORD(lParam) * s.twipsPerPixelY);
    return args;
}

LRESULT Win32FormPeer::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == engine_.TaskbarCreatedMessage() && message != 0) {
        events_.PeerShellRestarted();
        return 0;
    }
    if (focus_.Handle(hwnd, dialog_, message, wParam, lParam)) return 0;
    switch (message) {
        case WM_MOUSEMOVE:
            events_.PeerMouseMove(MouseArgsOf(wParam, lParam));
            return 0;
        case WM_CLOSE:
            events_.PeerCloseRequest();
            return 0;  // the program decides
        case WM_QUERYENDSESSION:
            events_.PeerSessionEnding();
            return TRUE;  // never in the way of the end
        case WM_HOTKEY:
            events_.PeerHotKey(static_cast<engine::Long>(wParam));
            return 0;
        case WM_DPICHANGED:
            TakeScale(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            events_.PeerScaleChanged();
            return 0;
        case WM_DISPLAYCHANGE:
            events_.PeerDisplayChanged();
            break;
        case WM_ENDSESSION:
            if (wParam) events_.PeerSessionEnding();
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace win32
