#include "lib/ClsKwTray.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "engine/error.h"
#include "engine/text.h"

namespace lib {
using engine::Dword;
using engine::Long;
namespace win = engine::win;

ClsKwTray::ClsKwTray(engine::Engine& engine) : engine_(engine) {}

ClsKwTray::~ClsKwTray() {
    // Releasing the object leaves the icon to the shell: the owner deletes it first.
    SetTrayForm(nullptr);
}

void ClsKwTray::SetTrayForm(engine::Form* form) {
    if (form_) {
        form_->MouseMove = nullptr;
        form_->ShellRestarted = nullptr;
    }
    form_ = form;
    if (form_) {
        form_->MouseMove = [this](const engine::MouseArgs& args) { OnMouseMove(args); };
        form_->ShellRestarted = [this] { OnShellRestarted(); };
    }
}

void ClsKwTray::SetTrayButton(Long button) {
    if (button < 0 || button > 255) engine::Raise(engine::err::kOverflow);
    button_ = static_cast<std::uint8_t>(button);
}

engine::NotifyIconDataA ClsKwTray::BuildRecord() const {
    if (!form_) engine::Raise(engine::err::kObjectNotSet);
    engine::NotifyIconDataA record;
    record.cbSize = sizeof(record);
    record.hWnd = form_->hWnd();
    record.uID = 0;
    record.uFlags =
        tip_.empty() ? (win::NIF_MESSAGE | win::NIF_ICON) : (win::NIF_MESSAGE | win::NIF_ICON | win::NIF_TIP);
    record.uCallbackMessage = win::WM_MOUSEMOVE;
    const engine::PicturePtr icon = icon_ ? icon_ : form_->Icon();
    record.hIcon = icon ? icon->Handle() : 0;
    if (!tip_.empty()) {
        const std::string bytes = engine_.platform().ToAnsi(tip_ + u'\0');
        // The tip and its NUL must fit the record's 64 bytes.
        if (bytes.size() > sizeof(record.szTip)) engine::Raise(engine::err::kSubscript);
        std::memcpy(record.szTip, bytes.data(), bytes.size());
    }
    return record;
}

namespace {
// The text with its NUL, into a field of the record.
template <size_t Size>
void CopyField(const engine::String& text, char16_t (&field)[Size]) {
    if (text.size() + 1 > Size) engine::Raise(engine::err::kSubscript);
    std::copy(text.begin(), text.end(), field);
    field[text.size()] = u'\0';
}
}  // namespace

engine::NotifyIconDataV2W ClsKwTray::BuildBalloonRecord(const engine::String& title, const engine::String& text) const {
    if (!form_) engine::Raise(engine::err::kObjectNotSet);
    engine::NotifyIconDataV2W record;
    record.cbSize = sizeof(record);
    record.hWnd = form_->hWnd();
    record.uID = 0;
    // The icon, its tip and its callback stay as they are: only the balloon is new.
    record.uFlags = win::NIF_INFO;
    record.uTimeout = 15000;  // read up to Windows XP only; later ones follow the user's settings
    record.dwInfoFlags = win::NIIF_INFO;
    CopyField(title, record.szInfoTitle);
    CopyField(text, record.szInfo);
    return record;
}

bool ClsKwTray::ShowBalloon(const engine::String& title, const engine::String& text) {
    const auto record = BuildBalloonRecord(title, text);
    return engine_.platform().Shell_NotifyIconV2W(win::NIM_MODIFY, &record);
}

void ClsKwTray::AddNotifyIcon() {
    const auto record = BuildRecord();
    engine_.platform().Shell_NotifyIconA(win::NIM_ADD, &record);
    shown_ = true;
}

void ClsKwTray::ModifyNotifyIcon() {
    const auto record = BuildRecord();
    engine_.platform().Shell_NotifyIconA(win::NIM_MODIFY, &record);
}

void ClsKwTray::DeleteNotifyIcon() {
    if (!form_) engine::Raise(engine::err::kObjectNotSet);
    engine::NotifyIconDataA record;
    record.cbSize = sizeof(record);
    record.hWnd = form_->hWnd();
    engine_.platform().Shell_NotifyIconA(win::NIM_DELETE, &record);
    shown_ = false;
}

void ClsKwTray::OnShellRestarted() {
    // A new task bar knows no icons: show this one again as it is now.
    if (ShellRestarted) ShellRestarted();
    if (shown_) AddNotifyIcon();
}

void ClsKwTray::OnMouseMove(const engine::MouseArgs& args) {
    const double code = engine::RoundHalfEven(args.x / engine_.Screen().twipsPerPixelX);
    if (code == win::WM_LBUTTONUP)
        Raise(LClick, 0);
    else if (code == win::WM_MBUTTONUP)
        Raise(MClick, 1);
    else if (code == win::WM_RBUTTONUP)
        Raise(RClick, 2);
}

void ClsKwTray::Raise(const std::function<void()>& event, Long menuButton) {
    // The event runs to completion before the menu is shown. It may end the
    // program, and with it this object (an Exit held while it ran): then
    // nothing of the object is touched again.
    std::function<void()> handler = event;
    const std::weak_ptr<char> alive = life_;
    if (handler) handler();
    if (alive.expired() || button_ != menuButton) return;
    try {
        if (!form_ || !popup_) engine::Raise(engine::err::kObjectNotSet);
        // A menu entry may end the program, and with it this object: nothing of it
        // is touched after the menu.
        form_->PopupMenu(*popup_);
    } catch (const engine::RuntimeError&) {
        // a menu that cannot be shown is no reason to stop
    }
}

}  // namespace lib
