#include "engine/win32/win32_control.h"

#include <algorithm>

#include "engine/error.h"
#include "engine/win32/control_kinds.h"
#include "engine/win32/picture_box.h"
#include "engine/win32/win32_engine.h"
#include "engine/win32/window_procedures.h"

namespace win32 {
using engine::ControlKind;
using engine::String;

namespace {

template <class Peer>
std::unique_ptr<Win32ControlPeer> MakeKind(Win32Engine& engine, const engine::ControlDesign& design,
                                           engine::ControlEvents& events) {
    return std::make_unique<Peer>(engine, design, events);
}

std::unique_ptr<Win32ControlPeer> MakeKind(Win32Engine& engine, const engine::ControlDesign& design,
                                           engine::ControlEvents& events) {
    switch (design.kind) {
        case ControlKind::Label:
            return MakeKind<LabelPeer>(engine, design, events);
        case ControlKind::TextBox:
            return MakeKind<TextBoxPeer>(engine, design, events);
        case ControlKind::CommandButton:
            return MakeKind<CommandButtonPeer>(engine, design, events);
        case ControlKind::CheckBox:
            return MakeKind<CheckBoxPeer>(engine, design, events);
        case ControlKind::OptionButton:
            return MakeKind<OptionButtonPeer>(engine, design, events);
        case ControlKind::HScrollBar:
            return MakeKind<HScrollBarPeer>(engine, design, events);
        case ControlKind::PictureBox:
            return MakeKind<PictureBoxPeer>(engine, design, events);
        case ControlKind::HotKey:
            return MakeKind<HotKeyPeer>(engine, design, events);
    }
    return MakeKind<LabelPeer>(engine, design, events);  // a kind unknown here shows as a plain label
}

}  // namespace

std::unique_ptr<engine::ControlPeer> MakeControlPeer(Win32Engine& engine, HWND parent,
                                                     const engine::ControlDesign& design,
                                                     engine::ControlEvents& events) {
    // The window is made once the peer is whole, so that its kind answers every
    // message from the first.
    std::unique_ptr<Win32ControlPeer> peer = MakeKind(engine, design, events);
    peer->Create(parent);
    return peer;
}

Win32ControlPeer::Win32ControlPeer(Win32Engine& engine, const engine::ControlDesign& design,
                                   engine::ControlEvents& events)
    : engine_(engine), design_(design), events_(events) {}

void Win32ControlPeer::Create(HWND parent) {
    form_ = ::GetAncestor(parent, GA_ROOT);
    const ClassAndStyle cls = Class();
    HWND hwnd = ::CreateWindowExW(cls.exStyle, cls.className, Wide(design_.text).c_str(),
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | cls.style, Pixels(design_.left, Tx()),
                                  Pixels(design_.top, Ty()), Pixels(design_.width, Tx()), Pixels(design_.height, Ty()),
                                  parent, reinterpret_cast<HMENU>(Id()), engine_.Instance(),
                                  cls.ownClass ? CreationParameter() : nullptr);
    if (!hwnd) engine::Raise(engine::err::kOutOfMemory);
    if (!cls.ownClass) {
        Adopt(hwnd);
        SubclassStandardControl(hwnd);
    }
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(engine_.ControlFont(engine_.FormDpi(form_))), FALSE);
    TakeTabPlace(parent);
    Prepare();
}

// The tab order is the order of the children: this one goes after the last
// sibling whose tab index is not larger.
void Win32ControlPeer::TakeTabPlace(HWND parent) {
    HWND hwnd = Window();
    HWND after = HWND_TOP;
    for (HWND sibling = ::GetWindow(parent, GW_CHILD); sibling; sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
        const auto* other = WindowPeer::Of<Win32ControlPeer>(sibling);
        if (sibling != hwnd && other && other->design_.tabIndex <= design_.tabIndex) after = sibling;
    }
    ::SetWindowPos(hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

double Win32ControlPeer::Tx() const { return 1440.0 / engine_.FormDpi(form_); }
double Win32ControlPeer::Ty() const { return 1440.0 / engine_.FormDpi(form_); }

String Win32ControlPeer::Text() const {
    const int n = ::GetWindowTextLengthW(Window());
    if (n <= 0) return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    const int got = ::GetWindowTextW(Window(), text.data(), n + 1);
    return FromWide(std::wstring_view(text.data(), static_cast<size_t>(std::max(got, 0))));
}

void Win32ControlPeer::SetText(const String& text) { ::SetWindowTextW(Window(), Wide(text).c_str()); }

bool Win32ControlPeer::Enabled() const { return ::IsWindowEnabled(Window()) != 0; }
void Win32ControlPeer::SetEnabled(bool enabled) { ::EnableWindow(Window(), enabled); }
bool Win32ControlPeer::Visible() const { return (::GetWindowLongW(Window(), GWL_STYLE) & WS_VISIBLE) != 0; }
void Win32ControlPeer::SetVisible(bool visible) { ::ShowWindow(Window(), visible ? SW_SHOWNA : SW_HIDE); }
void Win32ControlPeer::SetFocus() { focus_.Give(Window()); }

void Win32ControlPeer::OnFocusLeft(HWND next) {
    if (ControlFocus::LeavesForSameForm(Window(), next)) events_.PeerLostFocus();
}

RECT Win32ControlPeer::OuterRect() const {
    RECT r{};
    ::GetWindowRect(Window(), &r);
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
    ::SetWindowPos(Window(), nullptr, 0, 0, std::max(widthPixels, 1), std::max(heightPixels, 1),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Resized();
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
    ::GetClientRect(Window(), &r);
    return r.right * Tx();
}

double Win32ControlPeer::ScaleHeight() const {
    RECT r{};
    ::GetClientRect(Window(), &r);
    return r.bottom * Ty();
}

void Win32ControlPeer::Refresh() {
    ::InvalidateRect(Window(), nullptr, FALSE);
    ::UpdateWindow(Window());
}

void Win32ControlPeer::PaintPicture(const engine::Picture& picture, double, double, double, double, engine::Dword) {
    Drawable(picture);  // a picture of no use is reported before a control that cannot draw
    engine::Raise(engine::err::kInvalidCall);
}

engine::PicturePtr Win32ControlPeer::Image() const { engine::Raise(engine::err::kInvalidCall); }

HBRUSH Win32ControlPeer::ButtonFaceColors(HDC dc) const {
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    if (Enabled()) ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    return ::GetSysColorBrush(COLOR_BTNFACE);
}

const Win32Picture& Win32ControlPeer::Drawable(const engine::Picture& picture) {
    const auto* source = dynamic_cast<const Win32Picture*>(&picture);
    if (!source) engine::Raise(engine::err::kInvalidPicture);
    return *source;
}

}  // namespace win32
