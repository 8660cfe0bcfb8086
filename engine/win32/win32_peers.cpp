#include "engine/win32/win32_peers.h"

#include <cmath>

#include "engine/error.h"
#include "engine/win32/win32_engine.h"

namespace win32 {
using engine::ControlKind;
using engine::Long;
using engine::String;

namespace {

constexpr LONG_PTR kDialogFormTag = 0x7D1A;  // GWLP_USERDATA of a dialog-framed form's owner slot

int Pixels(double twips, double twipsPerPixel) { return static_cast<int>(std::lround(twips / twipsPerPixel)); }

Win32ControlPeer* ControlOf(HWND child) {
    return child ? reinterpret_cast<Win32ControlPeer*>(::GetWindowLongPtrW(child, GWLP_USERDATA)) : nullptr;
}

// Notifications of child controls come to their parent: hand them on.
bool RouteToControl(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && lParam) {
        if (Win32ControlPeer* control = ControlOf(reinterpret_cast<HWND>(lParam))) {
            control->Command(HIWORD(wParam));
            return true;
        }
    } else if (message == WM_HSCROLL && lParam) {
        if (Win32ControlPeer* control = ControlOf(reinterpret_cast<HWND>(lParam))) {
            control->Scroll(LOWORD(wParam), HIWORD(wParam));
            return true;
        }
    }
    return false;
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* peer = reinterpret_cast<Win32FormPeer*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!peer) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        return peer->Handle(hwnd, message, wParam, lParam);
    } catch (...) {
        // The shared layer reports every error; nothing may cross into Windows.
        return 0;
    }
}

LRESULT CALLBACK PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    Win32ControlPeer* peer = ControlOf(hwnd);
    if (!peer) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        if (RouteToControl(message, wParam, lParam)) return 0;
        return peer->HandlePicture(hwnd, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

}  // namespace

void RegisterWindowClasses(HINSTANCE instance) {
    WNDCLASSEXW form{};
    form.cbSize = sizeof(form);
    form.lpfnWndProc = FormProc;
    form.hInstance = instance;
    form.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    form.lpszClassName = kFormClass;
    ::RegisterClassExW(&form);

    WNDCLASSEXW picture{};
    picture.cbSize = sizeof(picture);
    picture.lpfnWndProc = PictureProc;
    picture.hInstance = instance;
    picture.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    picture.lpszClassName = kPictureClass;
    ::RegisterClassExW(&picture);
}

bool IsDialogForm(HWND hwnd) {
    wchar_t name[32] = {};
    ::GetClassNameW(hwnd, name, 32);
    return wcscmp(name, kFormClass) == 0 && (::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) != 0;
}

// ---------------------------------------------------------------- forms

Win32FormPeer::Win32FormPeer(Win32Engine& engine, const engine::FormDesign& design, engine::FormEvents& events)
    : engine_(engine), events_(events) {
    const engine::ScreenMetrics screen = engine.Screen();
    DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    HWND owner = nullptr;
    if (design.dialogFrame) {
        style |= WS_SYSMENU;
        exStyle |= WS_EX_DLGMODALFRAME;
        owner = engine.Owner();  // an owned window has no task-bar button
    }
    RECT r{0, 0, Pixels(design.clientWidth, screen.twipsPerPixelX), Pixels(design.clientHeight, screen.twipsPerPixelY)};
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    window_.reset(::CreateWindowExW(exStyle, kFormClass, Wide(design.caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                                    r.right - r.left, r.bottom - r.top, owner, nullptr, engine.Instance(), this));
    if (!window_) engine::Raise(engine::err::kOutOfMemory);
    const int big = ::GetSystemMetrics(SM_CXICON), small = ::GetSystemMetrics(SM_CXSMICON);
    auto* bigIcon = static_cast<HICON>(::LoadImageW(engine.Instance(), MAKEINTRESOURCEW(design.iconResource), IMAGE_ICON,
                                                    big, big, LR_SHARED));
    auto* smallIcon = static_cast<HICON>(::LoadImageW(engine.Instance(), MAKEINTRESOURCEW(design.iconResource),
                                                      IMAGE_ICON, small, small, LR_SHARED));
    ::SendMessageW(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    ::SendMessageW(window_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    icon_ = Win32Picture::FromIcon(smallIcon, small, small, false);
}

Win32FormPeer::~Win32FormPeer() {
    if (window_) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

engine::Hwnd Win32FormPeer::hWnd() const { return static_cast<engine::Hwnd>(FromHwnd(window_.get())); }
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
    ::SetWindowPos(window_.get(), nullptr, Pixels(leftTwips, s.twipsPerPixelX), Pixels(topTwips, s.twipsPerPixelY), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

double Win32FormPeer::Width() const {
    RECT r;
    ::GetWindowRect(window_.get(), &r);
    return (r.right - r.left) * engine_.Screen().twipsPerPixelX;
}

double Win32FormPeer::Height() const {
    RECT r;
    ::GetWindowRect(window_.get(), &r);
    return (r.bottom - r.top) * engine_.Screen().twipsPerPixelY;
}

void Win32FormPeer::RunModal(const std::function<bool()>& done) {
    MSG msg;
    while (!done()) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            ::PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
            return;
        }
        engine_.Dispatch(msg);
    }
}

int Win32FormPeer::TrackPopup(const std::vector<String>& captions) {
    UniqueMenu menu(::CreatePopupMenu());
    for (size_t i = 0; i < captions.size(); ++i) {
        if (captions[i] == u"-")
            ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuW(menu.get(), MF_STRING, i + 1, Wide(captions[i]).c_str());
    }
    POINT at;
    ::GetCursorPos(&at);
    HWND hwnd = window_.get();
    // A pop-up menu of a background window closes only if the window is in front.
    ::SetForegroundWindow(hwnd);
    const int chosen = static_cast<int>(::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x,
                                                         at.y, 0, hwnd, nullptr));
    ::PostMessageW(hwnd, WM_NULL, 0, 0);
    return chosen - 1;
}

std::unique_ptr<engine::ControlPeer> Win32FormPeer::CreateControl(const engine::ControlDesign& design,
                                                                  engine::ControlPeer* parent,
                                                                  engine::ControlEvents& events) {
    HWND parentWindow = parent ? ToHwnd(parent->hWnd()) : window_.get();
    return std::make_unique<Win32ControlPeer>(engine_, parentWindow, design, events);
}

LRESULT Win32FormPeer::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == engine_.TaskbarCreated() && message != 0) {
        events_.PeerShellRestarted();
        return 0;
    }
    if (RouteToControl(message, wParam, lParam)) return 0;
    switch (message) {
        case WM_MOUSEMOVE: {
            // The shell's callback for an icon arrives as this message with the
            // mouse message in the place of x: hand x on in twips as it is.
            const engine::ScreenMetrics s = engine_.Screen();
            engine::MouseArgs args;
            args.button = static_cast<engine::Integer>(((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0) |
                                                       ((wParam & MK_MBUTTON) ? 4 : 0));
            args.shift = static_cast<engine::Integer>(((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0) |
                                                      ((::GetKeyState(VK_MENU) < 0) ? 4 : 0));
            args.x = static_cast<float>(LOWORD(lParam) * s.twipsPerPixelX);
            args.y = static_cast<float>(HIWORD(lParam) * s.twipsPerPixelY);
            events_.PeerMouseMove(args);
            return 0;
        }
        case WM_CLOSE:
            events_.PeerCloseRequest();
            return 0;
        case WM_CTLCOLORSTATIC: {
            HWND child = reinterpret_cast<HWND>(lParam);
            wchar_t name[16] = {};
            ::GetClassNameW(child, name, 16);
            if (_wcsicmp(name, L"Edit") == 0) break;  // read-only boxes keep their own colours
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
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

ControlClass ClassFor(const engine::ControlDesign& d) {
    switch (d.kind) {
        case ControlKind::Label: return {L"STATIC", SS_LEFT, 0};
        case ControlKind::TextBox:
            return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | (d.readOnly ? ES_READONLY : 0u), WS_EX_CLIENTEDGE};
        case ControlKind::CommandButton: return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
        case ControlKind::CheckBox: return {L"BUTTON", WS_TABSTOP | BS_CHECKBOX, 0};
        case ControlKind::OptionButton:
            return {L"BUTTON", WS_TABSTOP | BS_RADIOBUTTON | (d.buttonStyle ? BS_PUSHLIKE : 0u), 0};
        case ControlKind::HScrollBar: return {L"SCROLLBAR", WS_TABSTOP | SBS_HORZ, 0};
        case ControlKind::PictureBox:
            return {kPictureClass, WS_CLIPCHILDREN | (d.border ? WS_BORDER : 0u), WS_EX_CONTROLPARENT};
    }
    return {L"STATIC", 0, 0};
}
}  // namespace

Win32ControlPeer::Win32ControlPeer(Win32Engine& engine, HWND parent, const engine::ControlDesign& design,
                                   engine::ControlEvents& events)
    : engine_(engine), design_(design), events_(events) {
    const ControlClass cls = ClassFor(design);
    const bool picture = design.kind == ControlKind::PictureBox;
    window_.reset(::CreateWindowExW(cls.exStyle, cls.name, Wide(design.text).c_str(), WS_CHILD | WS_VISIBLE | cls.style,
                                    Pixels(design.left, Tx()), Pixels(design.top, Ty()), Pixels(design.width, Tx()),
                                    Pixels(design.height, Ty()), parent, nullptr, engine.Instance(),
                                    picture ? this : nullptr));
    if (!window_) engine::Raise(engine::err::kOutOfMemory);
    ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SendMessageW(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(engine.DialogFont()), FALSE);
    // The tab order follows the design's tab index: later stops go below earlier ones.
    HWND after = HWND_BOTTOM;
    for (HWND sibling = ::GetWindow(parent, GW_CHILD); sibling; sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
        Win32ControlPeer* other = ControlOf(sibling);
        if (sibling == window_.get() || !other) continue;
        if (other->design_.tabIndex < design.tabIndex) after = sibling;
    }
    ::SetWindowPos(window_.get(), after == HWND_BOTTOM ? HWND_TOP : after, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (design.kind == ControlKind::HScrollBar) {
        ::SetScrollRange(window_.get(), SB_CTL, design.min, design.max, FALSE);
        ::SetScrollPos(window_.get(), SB_CTL, design.value, TRUE);
    }
    if (design.kind == ControlKind::CheckBox) SetValue(design.value);
    if (picture) ResizeImage();
}

Win32ControlPeer::~Win32ControlPeer() {
    if (window_) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

double Win32ControlPeer::Tx() const { return engine_.Screen().twipsPerPixelX; }
double Win32ControlPeer::Ty() const { return engine_.Screen().twipsPerPixelY; }

engine::Hwnd Win32ControlPeer::hWnd() const { return static_cast<engine::Hwnd>(FromHwnd(window_.get())); }

String Win32ControlPeer::Text() const {
    const int n = ::GetWindowTextLengthW(window_.get());
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    ::GetWindowTextW(window_.get(), text.data(), n + 1);
    return FromWide(text.c_str());
}

void Win32ControlPeer::SetText(const String& text) {
    settingText_ = true;  // the change is the code's: not reported as the user's
    ::SetWindowTextW(window_.get(), Wide(text).c_str());
    settingText_ = false;
}

Long Win32ControlPeer::Value() const {
    switch (design_.kind) {
        case ControlKind::HScrollBar: return ::GetScrollPos(window_.get(), SB_CTL);
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
            return static_cast<Long>(::SendMessageW(window_.get(), BM_GETCHECK, 0, 0));
        default: return 0;
    }
}

void Win32ControlPeer::SetValue(Long value) {
    switch (design_.kind) {
        case ControlKind::HScrollBar: ::SetScrollPos(window_.get(), SB_CTL, value, TRUE); break;
        case ControlKind::CheckBox:
        case ControlKind::OptionButton: ::SendMessageW(window_.get(), BM_SETCHECK, static_cast<WPARAM>(value), 0); break;
        default: break;
    }
}

bool Win32ControlPeer::Enabled() const { return ::IsWindowEnabled(window_.get()) != 0; }
void Win32ControlPeer::SetEnabled(bool enabled) { ::EnableWindow(window_.get(), enabled); }
bool Win32ControlPeer::Visible() const { return (::GetWindowLongW(window_.get(), GWL_STYLE) & WS_VISIBLE) != 0; }
void Win32ControlPeer::SetVisible(bool visible) { ::ShowWindow(window_.get(), visible ? SW_SHOW : SW_HIDE); }
void Win32ControlPeer::SetFocus() { ::SetFocus(window_.get()); }

void Win32ControlPeer::Command(WORD code) {
    switch (design_.kind) {
        case ControlKind::TextBox:
            if (code == EN_CHANGE && !settingText_) events_.PeerChange();
            if (code == EN_KILLFOCUS) events_.PeerLostFocus();
            break;
        case ControlKind::CheckBox:
            if (code == BN_CLICKED) {
                SetValue(Value() == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
                events_.PeerClick();
            }
            break;
        case ControlKind::OptionButton:
        case ControlKind::CommandButton:
            if (code == BN_CLICKED) events_.PeerClick();
            break;
        default: break;
    }
}

void Win32ControlPeer::Scroll(WORD code, WORD position) {
    Long value = Value();
    switch (code) {
        case SB_LINELEFT:
        case SB_PAGELEFT: --value; break;
        case SB_LINERIGHT:
        case SB_PAGERIGHT: ++value; break;
        case SB_LEFT: value = design_.min; break;
        case SB_RIGHT: value = design_.max; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: value = position; break;
        default: return;
    }
    value = std::max<Long>(design_.min, std::min<Long>(design_.max, value));
    if (value == Value()) return;
    SetValue(value);
    events_.PeerChange();
}

double Win32ControlPeer::Width() const {
    RECT r;
    ::GetWindowRect(window_.get(), &r);
    return (r.right - r.left) * Tx();
}

double Win32ControlPeer::Height() const {
    RECT r;
    ::GetWindowRect(window_.get(), &r);
    return (r.bottom - r.top) * Ty();
}

void Win32ControlPeer::SetWidth(double twips) {
    ::SetWindowPos(window_.get(), nullptr, 0, 0, Pixels(twips, Tx()), Pixels(Height(), Ty()),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ResizeImage();
}

void Win32ControlPeer::SetHeight(double twips) {
    ::SetWindowPos(window_.get(), nullptr, 0, 0, Pixels(Width(), Tx()), Pixels(twips, Ty()),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ResizeImage();
}

double Win32ControlPeer::ScaleWidth() const {
    RECT r;
    ::GetClientRect(window_.get(), &r);
    return r.right * Tx();
}

double Win32ControlPeer::ScaleHeight() const {
    RECT r;
    ::GetClientRect(window_.get(), &r);
    return r.bottom * Ty();
}

void Win32ControlPeer::ResizeImage() {
    if (design_.kind != ControlKind::PictureBox) return;
    RECT r;
    ::GetClientRect(window_.get(), &r);
    const int w = std::max<int>(1, r.right), h = std::max<int>(1, r.bottom);
    if (image_ && image_->PixelWidth() == w && image_->PixelHeight() == h) return;
    auto next = Win32Picture::NewBitmap(w, h);
    const std::uint32_t back = ::GetSysColor(COLOR_WINDOW);
    const std::uint32_t px = 0xFF000000u | ((back & 0xFF) << 16) | (back & 0xFF00) | ((back >> 16) & 0xFF);
    std::fill(next->Bits(), next->Bits() + static_cast<size_t>(w) * h, px);
    if (image_) {
        for (int y = 0; y < std::min<int>(h, image_->PixelHeight()); ++y)
            for (int x = 0; x < std::min<int>(w, image_->PixelWidth()); ++x)
                next->Bits()[static_cast<size_t>(y) * w + x] =
                    image_->Bits()[static_cast<size_t>(y) * image_->PixelWidth() + x];
    }
    image_ = std::move(next);
}

void Win32ControlPeer::Cls() {
    if (!image_) return;
    const std::uint32_t back = ::GetSysColor(COLOR_WINDOW);
    const std::uint32_t px = 0xFF000000u | ((back & 0xFF) << 16) | (back & 0xFF00) | ((back >> 16) & 0xFF);
    std::fill(image_->Bits(), image_->Bits() + static_cast<size_t>(image_->PixelWidth()) * image_->PixelHeight(), px);
    ::InvalidateRect(window_.get(), nullptr, FALSE);
}

void Win32ControlPeer::PaintPicture(const engine::Picture& picture, double x, double y, double width, double height,
                                    engine::Dword /*rop*/) {
    const auto* source = dynamic_cast<const Win32Picture*>(&picture);
    if (!source || !image_) engine::Raise(engine::err::kInvalidPicture);
    const int px = Pixels(x, Tx()), py = Pixels(y, Ty()), pw = Pixels(width, Tx()), ph = Pixels(height, Ty());
    if (autoRedraw_) {
        UniqueDc dc(::CreateCompatibleDC(nullptr));
        Selection selected(dc.get(), image_->Bitmap());
        source->StretchTo(dc.get(), px, py, pw, ph);
        ::GdiFlush();
        ::InvalidateRect(window_.get(), nullptr, FALSE);
    } else {
        WindowDc dc(window_.get());
        source->StretchTo(dc.get(), px, py, pw, ph);
    }
}

void Win32ControlPeer::Refresh() {
    ::InvalidateRect(window_.get(), nullptr, FALSE);
    ::UpdateWindow(window_.get());
}

engine::PicturePtr Win32ControlPeer::Image() const {
    if (!image_) engine::Raise(engine::err::kInvalidPicture);
    auto copy = Win32Picture::NewBitmap(image_->PixelWidth(), image_->PixelHeight());
    std::copy(image_->Bits(), image_->Bits() + static_cast<size_t>(image_->PixelWidth()) * image_->PixelHeight(),
              copy->Bits());
    return copy;
}

LRESULT Win32ControlPeer::HandlePicture(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;  // the persistent image covers the box
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            if (image_) {
                UniqueDc source(::CreateCompatibleDC(dc));
                Selection selected(source.get(), image_->Bitmap());
                ::BitBlt(dc, 0, 0, image_->PixelWidth(), image_->PixelHeight(), source.get(), 0, 0, SRCCOPY);
            }
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_CTLCOLORSTATIC:
            return ::SendMessageW(::GetParent(hwnd), message, wParam, lParam);
        default: break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace win32
