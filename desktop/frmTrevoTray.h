// One virtual desktop: a hidden form that owns the desktop's notification-area icon
// and pop-up menu, knows its number and wallpaper, and performs the switch when it
// becomes the active desktop.
#pragma once

#include <array>
#include <memory>

#include "desktop/controller.h"
#include "desktop/kept_wallpapers.h"
#include "desktop/switch_order.h"
#include "engine/forms.h"
#include "lib/ClsKwTray.h"

namespace desktop {

class FrmTrevoTray {
public:
    FrmTrevoTray(engine::Engine& engine, Controller& controller);
    FrmTrevoTray(const FrmTrevoTray&) = delete;
    FrmTrevoTray& operator=(const FrmTrevoTray&) = delete;

    void TrayNum(engine::Long number) {
        mTrayNum = number;
        icons_ = {};  // they show the number
    }
    void Wallpaper(const engine::String& path) { mWallpaper = path; }
    // The desktop's own name, shown in its tip; "" for none.
    void Name(const engine::String& name) { mName = name; }
    // A new name, in the tip at once.
    void Rename(const engine::String& name);
    // A notification from the desktop's icon; false when there is none to show it.
    bool ShowBalloon(const engine::String& title, const engine::String& text);
    // Loads the hidden form, whose loading adds the desktop's icon, inactive.
    void Load() { form_.Load(); }
    // Makes the desktop active or inactive: icon, tip and, when the active desktop
    // really changes, wallpaper and windows (unless the order moves the windows
    // first: then the controller asks for each step itself).
    void TrayOn(bool on, const SwitchOrder& order);
    // The two halves of a switch to this desktop.
    void MoveWindows(const SwitchOrder& order);
    void SetWallpaper(const SwitchOrder& order);
    // Fits the desktop's picture into the wallpaper bitmap as the order says and
    // returns its path, or "" when the desktop has no usable picture.
    engine::String ChangeWallpaper(const SwitchOrder& order);
    // The picture decoded, fitted and written: into the desktop's kept bitmap
    // when there is one, else into Trevo.bmp.
    engine::String FitWallpaper(const SwitchOrder& order, KeptWallpapers* kept);
    // The icon removed and added again as it is: the shell puts it where it
    // puts a new one.
    void AddIconAgain();
    // The menu's entries that Trevo.ini offers, shown or left out as it offers them now.
    void OfferMenuEntries();
    // Removes the icon, then unloads the form.
    void CloseMe();
    void cTray_LClick();

    engine::Form& form() { return form_; }
    engine::PictureBox& wallPicture() { return WallPicture; }

private:
    void Form_Load();
    void Form_Unload();
    void ShowState(bool on);
    // The pictures again, at the notification area's size now.
    void ReloadIcons();
    const engine::PicturePtr& StateIcon(bool on);
    bool SaveAs(const engine::Picture& image, const engine::String& path);  // false when it cannot be written

    engine::Engine& engine_;
    Controller& controller_;
    engine::Form form_;
    engine::PictureBox& WallPicture;
    engine::Menu& mnuPopup;
    engine::Menu* mnuSettings = nullptr;          // offered by Trevo.ini only
    engine::Menu* mnuStartWithWindows = nullptr;  // offered by Trevo.ini only
    engine::Long mTrayNum = 0;
    engine::String mWallpaper;
    engine::String mName;
    bool mTrayOn = false;
    std::array<engine::PicturePtr, 2> icons_;  // inactive, active; loaded at first use
    std::unique_ptr<lib::ClsKwTray> cTray;
};

}  // namespace desktop
