// What a desktop asks of the one controller.
#pragma once

#include "engine/types.h"

namespace desktop {

enum class MenuEntry { Properties, Settings, StartWithWindows, Exit };

class Controller {
public:
    virtual void TrayLClick(engine::Long desk) = 0;
    virtual void PropertiesClick() = 0;
    virtual void CloseAll() = 0;
    // The menu entry "Start with Windows": whether Trevo.ini offers it (asked
    // once, as the menu is made), whether it is on now, and its choice.
    virtual bool OffersStartWithWindows() const = 0;
    virtual bool StartsWithWindows() = 0;
    virtual void StartWithWindowsClick() = 0;
    // The menu entry "Settings...": offered where Trevo.ini has a section of
    // the everyday settings, and its choice.
    virtual bool OffersSettings() const = 0;
    virtual void SettingsClick() = 0;
    // An entry's caption in the user's language, with its access key.
    virtual engine::String MenuCaption(MenuEntry entry) const = 0;

protected:
    ~Controller() = default;
};

}  // namespace desktop
