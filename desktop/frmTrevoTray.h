// One virtual desktop: a hidden form that owns the desktop's notification-area icon
// and pop-up menu, knows its number and wallpaper, and performs the switch when it
// becomes the active desktop.
#pragma once

#include <memory>

#include "app/BasTrevo.h"
#include "desktop/controller.h"
#include "engine/forms.h"
#include "lib/ClsKwTray.h"

namespace desktop {

class FrmTrevoTray {
public:
    FrmTrevoTray(engine::Engine& engine, trevo::BasTrevo& bas, Controller& controller);
    FrmTrevoTray(const FrmTrevoTray&) = delete;
    FrmTrevoTray& operator=(const FrmTrevoTray&) = delete;

    void TrayNum(engine::Long number) { mTrayNum = number; }
    void Wallpaper(const engine::String& path) { mWallpaper = path; }
    // Makes the desktop active or inactive: icon, tip and, when the active desktop
    // really changes, wallpaper and windows.
    void TrayOn(bool on);
    // Fits the desktop's picture into the wallpaper bitmap and returns its path, or
    // "" when the desktop has no usable picture.
    engine::String ChangeWallpaper();
    // Removes the icon, then unloads the form.
    void CloseMe();
    void cTray_LClick();

    void Hide() { form_.Hide(); }
    engine::Form& form() { return form_; }
    engine::PictureBox& wallPicture() { return WallPicture; }

private:
    void Form_Load();
    void Form_Unload();
    void Switch();

    engine::Engine& engine_;
    trevo::BasTrevo& bas_;
    Controller& controller_;
    engine::Form form_;
    engine::PictureBox& WallPicture;
    engine::Menu& mnuPopup;
    engine::Long mTrayNum = 0;
    engine::String mWallpaper;
    bool mTrayOn = false;
    std::unique_ptr<lib::ClsKwTray> cTray;
};

}  // namespace desktop
