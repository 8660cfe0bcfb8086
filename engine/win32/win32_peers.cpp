#include "engine/win32/win32_peers.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/error.h"
#include "engine/scoped_flag.h"
#include "engine/win32/win32_engine.h"

namespace win32 {
using engine::ControlKind;
using engine::Long;
using engine::String;

namespace {

constexpr UINT_PTR kControlSubclass = 1;

int Pixels(double twips, double twipsPerPixel) { return static_cast<int>(std::lround(twips / twipsPerPixel)); }

Win32FormPeer* FormOf(HWND hwnd) {
    return reinterpret_cast<Win32FormPeer*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Every control window of the engine carries its peer in GWLP_USERDATA.
Win32ControlPeer* ControlOf(HWND child) {
    return child ? reinterpret_cast<Win32ControlPeer*>(::GetWindowLongPtrW(child, GWLP_USERDATA)) : nullptr;
}

bool IsOwnClass(HWND hwnd, const wchar_t* className) {
    wchar_t name[32] = {};
    return ::GetClassNameW(hwnd, name, 32) > 0 && wcscmp(name, className) == 0;
}

// Controls tell their parent (the form, or a picture box holding them) what
// happened; the parent hands it on to the control's peer. Only these messages
// carry a control's window in lParam.
bool RouteToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: break;
        default: return false;
    }
    Win32ControlPeer* control = ControlOf(reinterpret_cast<HWND>(lParam));
    if (!control) return false;
    if (message == WM_COMMAND) {
        control->OnCommand(HIWORD(wParam));
    } else if (message == WM_HSCROLL) {
        control->OnScroll(LOWORD(wParam));
    } else {
        HBRUSH brush = control->OnColor(reinterpret_cast<HDC>(wParam));
        if (!brush) return false;
        result = reinterpret_cast<LRESULT>(brush);
        return true;
    }
    result = 0;
    return true;
}

// No exception may cross into Windows: the shared layer reports every error of an
// event, and anything left over ends here, with the message handled as by default.
template <class Handle, class Fallback>
LRESULT Guarded(Handle&& handle, Fallback&& fallback) {
    try {
        return handle();
    } catch (...) {
        return fallback();
    }
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    Win32FormPeer* peer = FormOf(hwnd);
    if (!peer) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        peer->WindowDestroyed();
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return Guarded([&] { return peer->Handle(hwnd, message, wParam, lParam); },
                   [&] { return ::DefWindowProcW(hwnd, message, wParam, lParam); });
}

LRESULT CALLBACK PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    Win32ControlPeer* peer = ControlOf(hwnd);
    if (!peer) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        peer->WindowDestroyed();
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return Guarded(
        [&] {
            LRESULT routed = 0;
            if (RouteToControl(message, wParam, lParam, routed)) return routed;
            return peer->HandlePicture(hwnd, message, wParam, lParam);
        },
        [&] { return ::DefWindowProcW(hwnd, message, wParam, lParam); });
}

// The standard controls are subclassed for the focus (where it goes when it
// leaves, how it arrives) and the end of the window; the rest is theirs.
LRESULT CALLBACK ControlSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) {
    auto* peer = reinterpret_cast<Win32ControlPeer*>(data);
    switch (message) {
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(hwnd, ControlSubclassProc, kControlSubclass);
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            peer->WindowDestroyed();
            return ::DefSubclassProc(hwnd, message, wParam, lParam);
        case WM_KILLFOCUS:
        case WM_SETFOCUS: {
            const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
            return Guarded(
                [&] {
                    if (message == WM_KILLFOCUS)
                        peer->OnFocusLeft(reinterpret_cast<HWND>(wParam));
                    else
                        peer->OnFocusArrived();
                    return result;
                },
                [&] { return result; });
        }
        default: return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
}

struct FormWalk {
    HWND except;
    std::vector<HWND> found;
};

BOOL CALLBACK NoteEnabledForm(HWND hwnd, LPARAM data) {
    auto& walk = *reinterpret_cast<FormWalk*>(data);
    if (hwnd != walk.except && IsOwnClass(hwnd, kFormClass) && ::IsWindowEnabled(hwnd)) walk.found.push_back(hwnd);
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

void RegisterWindowClasses(HINSTANCE instance) {
    WNDCLASSEXW form{};
    form.cbSize = sizeof(form);
    form.lpfnWndProc = FormProc;
    form.hInstance = instance;
    form.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = kFormClass;
    ::RegisterClassExW(&form);

    WNDCLASSEXW picture{};
    picture.cbSize = sizeof(picture);
    picture.lpfnWndProc = PictureProc;
    picture.hInstance = instance;
    picture.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    picture.lpszClassName = kPictureClass;  // no background brush: the persistent image covers it
    ::RegisterClassExW(&picture);

    WNDCLASSEXW owner{};
    owner.cbSize = sizeof(owner);
    owner.lpfnWndProc = ::DefWindowProcW;
    owner.hInstance = instance;
    owner.lpszClassName = kOwnerClass;
    ::RegisterClassExW(&owner);
}

bool IsDialogForm(HWND hwnd) {
    return IsOwnClass(hwnd, kFormClass) && (::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) != 0;
}

// ---------------------------------------------------------------- forms

Win32FormPeer::Win32FormPeer(Win32Engine& engine, const engine::FormDesign& design, engine::FormEvents& events)
    : engine_(engine), events_(events), dialog_(design.dialogFrame) {
    const engine::ScreenMetrics screen = engine.Screen();
    // A dialog frame: caption and close box, no minimise or maximise box, and an
    // owner, so it has no task-bar button. Other forms are never shown.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN | (dialog_ ? WS_SYSMENU : 0u);
    const DWORD exStyle = dialog_ ? WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT : 0u;
    RECT r{0, 0, Pixels(design.clientWidth, screen.twipsPerPixelX), Pixels(design.clientHeight, screen.twipsPerPixelY)};
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    window_.reset(::CreateWindowExW(exStyle, kFormClass, Wide(design.caption).c_str(), style, 0, 0, r.right - r.left,
                                    r.bottom - r.top, dialog_ ? engine.Owner() : nullptr, nullptr, engine.Instance(),
                                    this));
    if (!window_) engine::Raise(engine::err::kOutOfMemory);

    const int big = ::GetSystemMetrics(SM_CXICON), small = ::GetSystemMetrics(SM_CXSMICON);
    auto load = [&](int size) {
        return static_cast<HICON>(::LoadImageW(engine.Instance(), MAKEINTRESOURCEW(design.iconResource), IMAGE_ICON,
                                               size, size, LR_SHARED));
    };
    HICON bigIcon = load(big), smallIcon = load(small);
    ::SendMessageW(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    ::SendMessageW(window_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    icon_ = Win32Picture::FromIcon(smallIcon, small, small, false);  // shared icons are never destroyed
}

Win32FormPeer::~Win32FormPeer() {
    // The window's last messages find no peer: nothing is reported while it goes.
    if (window_) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

bool Win32FormPeer::Visible() const { return ::IsWindowVisible(window_.get()) != 0; }

void Win32FormPeer::SetVisible(bool visible) {
    ::ShowWindow(window_.get(), visible ? SW_SHOW : SW_HIDE);
    if (visible) ::SetForegroundWindow(window_.get());
}

bool Win32FormPeer::Enabled() const { return ::IsWindowEnabled(window_.get()) != 0; }
void Win32FormPeer::SetEnabled(bool enabled) { ::EnableWindow(window_.get(), enabled); }
void Win32FormPeer::BringToFront() { ::SetForegroundWindow(window_.get()); }

void Win32FormPeer::Move(double leftTwips, double topTwips) {
    const engine::ScreenMetrics s = engine_.Screen();
    ::SetWindowPos(window_.get(), nullptr, Pixels(leftTwips, s.twipsPerPixelX), Pixels(topTwips, s.twipsPerPixelY), 0,
                   0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

double Win32FormPeer::Width() const {
    RECT r{};
    ::GetWindowRect(window_.get(), &r);
    return (r.right - r.left) * engine_.Screen().twipsPerPixelX;
}

double Win32FormPeer::Height() const {
    RECT r{};
    ::GetWindowRect(window_.get(), &r);
    return (r.bottom - r.top) * engine_.Screen().twipsPerPixelY;
}

void Win32FormPeer::RunModal(const std::function<bool()>& done) {
    // The program's other forms take no input meanwhile; posted messages (the
    // icons' callbacks) still reach them.
    const std::vector<HWND> others = EnabledForms(window_.get());
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

int Win32FormPeer::TrackPopup(const std::vector<String>& captions) {
    UniqueMenu menu(::CreatePopupMenu());
    if (!menu) return -1;
    for (size_t i = 0; i < captions.size(); ++i) {
        if (captions[i] == u"-")
            ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuW(menu.get(), MF_STRING, i + 1, Wide(captions[i]).c_str());
    }
    POINT at{};
    ::GetCursorPos(&at);
    HWND hwnd = window_.get();
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
    HWND parentWindow = parent ? ToHwnd(parent->hWnd()) : window_.get();
    return std::make_unique<Win32ControlPeer>(engine_, parentWindow, design, events);
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

void Win32FormPeer::SaveFocus(HWND hwnd) {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(hwnd, focus)) lastFocus_ = focus;
}

void Win32FormPeer::RestoreFocus(HWND hwnd) {
    HWND target = lastFocus_;
    if (!target || !::IsWindow(target) || !::IsChild(hwnd, target) || !::IsWindowVisible(target) ||
        !::IsWindowEnabled(target))
        target = ::GetNextDlgTabItem(hwnd, nullptr, FALSE);  // the first stop of the tab order
    ::SetFocus(target && ::IsChild(hwnd, target) ? target : hwnd);
}

LRESULT Win32FormPeer::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == engine_.TaskbarCreatedMessage() && message != 0) {
        events_.PeerShellRestarted();
        return 0;
    }
    LRESULT routed = 0;
    if (RouteToControl(message, wParam, lParam, routed)) return routed;
    switch (message) {
        case WM_MOUSEMOVE: events_.PeerMouseMove(MouseArgsOf(wParam, lParam)); return 0;
        case WM_CLOSE: events_.PeerCloseRequest(); return 0;  // the program decides
        case WM_QUERYENDSESSION: events_.PeerSessionEnding(); return TRUE;  // never in the way of the end
        case WM_ENDSESSION:
            if (wParam) events_.PeerSessionEnding();
            return 0;
        case WM_ACTIVATE:
            if (!dialog_) break;
            if (LOWORD(wParam) == WA_INACTIVE)
                SaveFocus(hwnd);
            else
                RestoreFocus(hwnd);
            return 0;
        case WM_SETFOCUS:
            if (!dialog_) break;
            RestoreFocus(hwnd);
            return 0;
        case WM_NEXTDLGCTL: {
            // What the dialog manager asks of a dialog (arrow keys between controls).
            HWND next = lParam ? reinterpret_cast<HWND>(wParam)
                               : ::GetNextDlgTabItem(hwnd, ::GetFocus(), static_cast<BOOL>(wParam != 0));
            if (next && ::IsChild(hwnd, next)) ::SetFocus(next);
            return 0;
        }
        default: break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// ---------------------------------------------------------------- controls

namespace {

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

// Every control but an option button starts a group, so the arrow keys move only
// between the option buttons that stand together.
ControlClass ClassFor(const engine::ControlDesign& d) {
    switch (d.kind) {
        case ControlKind::Label: return {L"STATIC", WS_GROUP | SS_LEFT, 0};
        case ControlKind::TextBox:
            return {L"EDIT", WS_GROUP | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | (d.readOnly ? ES_READONLY : 0u),
                    WS_EX_CLIENTEDGE};
        case ControlKind::CommandButton: return {L"BUTTON", WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 0};
        // Three states, so that the grayed value 2 shows; the clicks are toggled here.
        case ControlKind::CheckBox: return {L"BUTTON", WS_GROUP | WS_TABSTOP | BS_3STATE, 0};
        // Only the chosen button of a group is a tab stop (see SetValue).
        case ControlKind::OptionButton:
            return {L"BUTTON", BS_RADIOBUTTON | (d.buttonStyle ? BS_PUSHLIKE : 0u) | (d.value ? WS_TABSTOP : 0u), 0};
        case ControlKind::HScrollBar: return {L"SCROLLBAR", WS_GROUP | WS_TABSTOP | SBS_HORZ, 0};
        case ControlKind::PictureBox:
            return {kPictureClass, WS_GROUP | WS_CLIPCHILDREN | (d.border ? WS_BORDER : 0u), WS_EX_CONTROLPARENT};
    }
    return {L"STATIC", WS_GROUP, 0};
}

// The pixels of the system's window background in a persistent image.
COLORREF WindowBackground() { return ::GetSysColor(COLOR_WINDOW); }

}  // namespace

Win32ControlPeer::Win32ControlPeer(Win32Engine& engine, HWND parent, const engine::ControlDesign& design,
                                   engine::ControlEvents& events)
    : engine_(engine), design_(design), events_(events) {
    const ControlClass cls = ClassFor(design);
    const bool picture = design.kind == ControlKind::PictureBox;
    window_.reset(::CreateWindowExW(cls.exStyle, cls.name, Wide(design.text).c_str(),
                                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | cls.style, Pixels(design.left, Tx()),
                                    Pixels(design.top, Ty()), Pixels(design.width, Tx()), Pixels(design.height, Ty()),
                                    parent, nullptr, engine.Instance(), picture ? this : nullptr));
    if (!window_) engine::Raise(engine::err::kOutOfMemory);
    HWND hwnd = window_.get();
    if (!picture) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::SetWindowSubclass(hwnd, ControlSubclassProc, kControlSubclass, reinterpret_cast<DWORD_PTR>(this));
    }
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(engine.ControlFont()), FALSE);

    // The tab order is the order of the children: this one goes after the last
    // sibling whose tab index is not larger.
    HWND after = HWND_TOP;
    for (HWND sibling = ::GetWindow(parent, GW_CHILD); sibling; sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
        Win32ControlPeer* other = ControlOf(sibling);
        if (sibling != hwnd && other && other->design_.tabIndex <= design.tabIndex) after = sibling;
    }
    ::SetWindowPos(hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    switch (design.kind) {
        case ControlKind::TextBox: ::SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0); break;  // no limit but the system's
        case ControlKind::HScrollBar:
            ::SetScrollRange(hwnd, SB_CTL, design.min, design.max, FALSE);
            ::SetScrollPos(hwnd, SB_CTL, design.value, TRUE);
            break;
        case ControlKind::CheckBox:
        case ControlKind::OptionButton: SetValue(design.value); break;
        case ControlKind::PictureBox: ResizeImage(); break;
        default: break;
    }
}

Win32ControlPeer::~Win32ControlPeer() {
    if (!window_) return;  // already gone with its parent
    HWND hwnd = window_.get();
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (design_.kind != ControlKind::PictureBox) ::RemoveWindowSubclass(hwnd, ControlSubclassProc, kControlSubclass);
}

double Win32ControlPeer::Tx() const { return engine_.Screen().twipsPerPixelX; }
double Win32ControlPeer::Ty() const { return engine_.Screen().twipsPerPixelY; }

String Win32ControlPeer::Text() const {
    const int n = ::GetWindowTextLengthW(window_.get());
    if (n <= 0) return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    const int got = ::GetWindowTextW(window_.get(), text.data(), n + 1);
    return FromWide(std::wstring_view(text.data(), static_cast<size_t>(std::max(got, 0))));
}

void Win32ControlPeer::SetText(const String& text) {
    // The change is the program's own: EN_CHANGE is not reported as the user's.
    const engine::ScopedFlag setting(settingText_);
    ::SetWindowTextW(window_.get(), Wide(text).c_str());
}

Long Win32ControlPeer::Value() const {
    switch (design_.kind) {
        case ControlKind::HScrollBar: return ::GetScrollPos(window_.get(), SB_CTL);
        case ControlKind::CheckBox:
            switch (::SendMessageW(window_.get(), BM_GETCHECK, 0, 0)) {
                case BST_CHECKED: return 1;
                case BST_INDETERMINATE: return 2;
                default: return 0;
            }
        case ControlKind::OptionButton:
            return ::SendMessageW(window_.get(), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        default: return 0;
    }
}

void Win32ControlPeer::SetValue(Long value) {
    HWND hwnd = window_.get();
    switch (design_.kind) {
        case ControlKind::HScrollBar: ::SetScrollPos(hwnd, SB_CTL, value, TRUE); break;
        case ControlKind::CheckBox:
            ::SendMessageW(hwnd, BM_SETCHECK, value == 2 ? BST_INDETERMINATE : value ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case ControlKind::OptionButton: {
            ::SendMessageW(hwnd, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
            // Tab reaches a group at its chosen button: focus coming to an unchosen one
            // from the keyboard would choose it.
            const LONG style = ::GetWindowLongW(hwnd, GWL_STYLE);
            ::SetWindowLongW(hwnd, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
            break;
        }
        default: break;
    }
}

bool Win32ControlPeer::Enabled() const { return ::IsWindowEnabled(window_.get()) != 0; }
void Win32ControlPeer::SetEnabled(bool enabled) { ::EnableWindow(window_.get(), enabled); }
bool Win32ControlPeer::Visible() const { return (::GetWindowLongW(window_.get(), GWL_STYLE) & WS_VISIBLE) != 0; }
void Win32ControlPeer::SetVisible(bool visible) { ::ShowWindow(window_.get(), visible ? SW_SHOWNA : SW_HIDE); }
void Win32ControlPeer::SetFocus() {
    // Focus given by the program chooses no option button.
    const engine::ScopedFlag setting(settingFocus_);
    ::SetFocus(window_.get());
}

void Win32ControlPeer::OnCommand(WORD code) {
    switch (design_.kind) {
        case ControlKind::TextBox:
            if (code == EN_CHANGE && !settingText_) events_.PeerChange();
            break;
        case ControlKind::CheckBox:
            if (code == BN_CLICKED) {
                SetValue(Value() == 0 ? 1 : 0);  // grayed goes to clear, as a click on it does
                events_.PeerClick();
            }
            break;
        case ControlKind::OptionButton:
            if (code == BN_CLICKED && !settingFocus_) events_.PeerClick();
            break;
        case ControlKind::CommandButton:
            if (code == BN_CLICKED) events_.PeerClick();
            break;
        default: break;
    }
}

void Win32ControlPeer::OnScroll(WORD code) {
    if (design_.kind != ControlKind::HScrollBar) return;
    HWND hwnd = window_.get();
    const Long before = Value();
    Long value = before;
    switch (code) {
        case SB_LINELEFT:
        case SB_PAGELEFT: value = before - 1; break;
        case SB_LINERIGHT:
        case SB_PAGERIGHT: value = before + 1; break;
        case SB_LEFT: value = design_.min; break;
        case SB_RIGHT: value = design_.max; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_TRACKPOS;
            if (!::GetScrollInfo(hwnd, SB_CTL, &info)) return;
            value = info.nTrackPos;
            break;
        }
        default: return;  // SB_ENDSCROLL
    }
    value = std::clamp<Long>(value, design_.min, design_.max);
    if (value == before) return;
    SetValue(value);
    events_.PeerChange();
}

HBRUSH Win32ControlPeer::OnColor(HDC dc) const {
    const bool enabled = Enabled();
    switch (design_.kind) {
        case ControlKind::TextBox: {
            // Read-only and disabled boxes keep the background the design gives them.
            const int back = design_.buttonFaceBack ? COLOR_BTNFACE : COLOR_WINDOW;
            ::SetBkColor(dc, ::GetSysColor(back));
            ::SetTextColor(dc, ::GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
            return ::GetSysColorBrush(back);
        }
        case ControlKind::Label:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
            ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
            if (enabled) ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
            return ::GetSysColorBrush(COLOR_BTNFACE);
        default: return nullptr;
    }
}

void Win32ControlPeer::OnFocusLeft(HWND next) {
    // Only a move to another control of the same form is the control's LostFocus;
    // switching to another program or a message box is not.
    HWND hwnd = window_.get();
    if (!hwnd || !next || next == hwnd) return;
    if (::GetAncestor(next, GA_ROOT) != ::GetAncestor(hwnd, GA_ROOT)) return;
    events_.PeerLostFocus();
}

void Win32ControlPeer::OnFocusArrived() {
    // The arrow keys move the focus along a group of option buttons, choosing as
    // they go; a press of the mouse chooses on its release (BN_CLICKED) instead.
    if (design_.kind != ControlKind::OptionButton || settingFocus_) return;
    if (::GetKeyState(VK_LBUTTON) < 0 || Value() != 0) return;
    events_.PeerClick();
}

RECT Win32ControlPeer::OuterRect() const {
    RECT r{};
    ::GetWindowRect(window_.get(), &r);
    return r;
}

double Win32ControlPeer::Width() const {
    const RECT r = OuterRect();
    return (r.right - r.left) * Tx();
}

double Win32ControlPeer::Height() const {
    const RECT r = OuterRect();
    return (r.bottom - r.top) * Ty();
}

void Win32ControlPeer::Resize(int widthPixels, int heightPixels) {
    ::SetWindowPos(window_.get(), nullptr, 0, 0, std::max(widthPixels, 1), std::max(heightPixels, 1),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ResizeImage();
}

void Win32ControlPeer::SetWidth(double twips) {
    const RECT r = OuterRect();
    Resize(Pixels(twips, Tx()), r.bottom - r.top);
}

void Win32ControlPeer::SetHeight(double twips) {
    const RECT r = OuterRect();
    Resize(r.right - r.left, Pixels(twips, Ty()));
}

double Win32ControlPeer::ScaleWidth() const {
    RECT r{};
    ::GetClientRect(window_.get(), &r);
    return r.right * Tx();
}

double Win32ControlPeer::ScaleHeight() const {
    RECT r{};
    ::GetClientRect(window_.get(), &r);
    return r.bottom * Ty();
}

// The persistent image follows the client size; what was drawn stays in place.
void Win32ControlPeer::ResizeImage() {
    if (design_.kind != ControlKind::PictureBox) return;
    RECT r{};
    ::GetClientRect(window_.get(), &r);
    const int w = std::max<int>(1, r.right), h = std::max<int>(1, r.bottom);
    if (image_ && image_->PixelWidth() == w && image_->PixelHeight() == h) return;
    auto next = Win32Picture::NewBitmap(w, h, WindowBackground());
    if (image_) {
        ::GdiFlush();
        const int keepW = std::min<int>(w, image_->PixelWidth()), keepH = std::min<int>(h, image_->PixelHeight());
        for (int y = 0; y < keepH; ++y) {
            const std::uint32_t* from = image_->Bits() + static_cast<size_t>(y) * image_->PixelWidth();
            std::copy(from, from + keepW, next->Bits() + static_cast<size_t>(y) * w);
        }
    }
    image_ = std::move(next);
    ::InvalidateRect(window_.get(), nullptr, FALSE);
}

void Win32ControlPeer::Cls() {
    if (!image_) return;
    // Drawing made without AutoRedraw lives only on the screen: a repaint from the
    // persistent image clears it. With AutoRedraw the image itself is cleared.
    if (autoRedraw_) image_->Fill(WindowBackground());
    ::InvalidateRect(window_.get(), nullptr, FALSE);
}

void Win32ControlPeer::PaintPicture(const engine::Picture& picture, double x, double y, double width, double height,
                                    engine::Dword rop) {
    const auto* source = dynamic_cast<const Win32Picture*>(&picture);
    if (!source) engine::Raise(engine::err::kInvalidPicture);
    if (!image_) engine::Raise(engine::err::kInvalidCall);  // only picture boxes draw
    const int px = Pixels(x, Tx()), py = Pixels(y, Ty()), pw = Pixels(width, Tx()), ph = Pixels(height, Ty());
    if (autoRedraw_) {
        UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
        if (!dc) engine::Raise(engine::err::kOutOfMemory);
        {
            Selection selected(dc.get(), image_->Bitmap());
            source->StretchTo(dc.get(), px, py, pw, ph, rop);
        }
        ::GdiFlush();
        ::InvalidateRect(window_.get(), nullptr, FALSE);
    } else {
        WindowDc dc(window_.get());
        source->StretchTo(dc.get(), px, py, pw, ph, rop);
    }
}

void Win32ControlPeer::Refresh() {
    ::InvalidateRect(window_.get(), nullptr, FALSE);
    ::UpdateWindow(window_.get());
}

engine::PicturePtr Win32ControlPeer::Image() const {
    if (!image_) engine::Raise(engine::err::kInvalidCall);
    return image_->CopyAsBitmap();
}

LRESULT Win32ControlPeer::HandlePicture(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;  // the persistent image covers the whole client area
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            if (image_) {
                UniqueMemoryDc source(::CreateCompatibleDC(dc));
                if (source) {
                    Selection selected(source.get(), image_->Bitmap());
                    ::BitBlt(dc, 0, 0, image_->PixelWidth(), image_->PixelHeight(), source.get(), 0, 0, SRCCOPY);
                }
            }
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        default: break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace win32
