// One icon in the notification area, owned through a form whose window receives
// the shell's callbacks; left, middle and right releases on it become events, and
// one chosen button's release shows a pop-up menu.
#pragma once

#include <functional>
#include <memory>

#include "engine/forms.h"

namespace lib {

class ClsKwTray {
public:
    explicit ClsKwTray(engine::Engine& engine);
    ~ClsKwTray();
    ClsKwTray(const ClsKwTray&) = delete;
    ClsKwTray& operator=(const ClsKwTray&) = delete;

    engine::Form* TrayForm() const { return form_; }
    // Moves the subscription to the new form's events; nullptr ends it.
    void SetTrayForm(engine::Form* form);
    engine::Menu* TrayPopup() const { return popup_; }
    void SetTrayPopup(engine::Menu* menu) { popup_ = menu; }
    void SetTrayIcon(engine::PicturePtr icon) { icon_ = std::move(icon); }
    const engine::String& TrayTip() const { return tip_; }
    void SetTrayTip(engine::String tip) { tip_ = std::move(tip); }
    // Which button's release shows the menu: 0 left, 1 middle, 2 right, others none.
    engine::Long TrayButton() const { return button_; }
    void SetTrayButton(engine::Long button);  // raises 6 outside 0..255

    void AddNotifyIcon();
    void ModifyNotifyIcon();
    void DeleteNotifyIcon();
    // A notification from the icon, with a title and a sentence or two; false
    // when the shell did not take it (the icon is not there, say).
    bool ShowBalloon(const engine::String& title, const engine::String& text);

    std::function<void()> LClick;
    std::function<void()> MClick;
    std::function<void()> RClick;
    // The task bar was created again (Explorer restarted, or the scale
    // changed): raised before the icon is added to it again.
    std::function<void()> ShellRestarted;

    // The record the shell is given for an add or a modify (raises 9 for a tip
    // that does not fit, 91 without a form).
    engine::NotifyIconDataA BuildRecord() const;
    // The longer wide record that carries a notification, which spells it in
    // any language (raises 9 for a title of more than 63 units or a text of
    // more than 255, 91 without a form).
    engine::NotifyIconDataV2W BuildBalloonRecord(const engine::String& title, const engine::String& text) const;

private:
    void OnMouseMove(const engine::MouseArgs& args);
    void OnShellRestarted();
    void Raise(const std::function<void()>& event, engine::Long menuButton);

    engine::Engine& engine_;
    engine::Form* form_ = nullptr;
    engine::Menu* popup_ = nullptr;
    engine::PicturePtr icon_;
    engine::String tip_;
    std::uint8_t button_ = 0;
    bool shown_ = false;                                     // added and not yet deleted: the shell should show it
    std::shared_ptr<char> life_ = std::make_shared<char>();  // gone with the object
};

}  // namespace lib
