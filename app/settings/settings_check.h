// The settings Trevo starts with. The desktop count and the wallpaper size must
// be numbers, the count from 1 to 5. When one is not, the user is told which
// file, which setting and which value, and the program stops before it has added
// an icon or written anything.
#pragma once

#include <array>
#include <exception>

#include "app/BasTrevo.h"
#include "app/language/texts.h"
#include "engine/platform.h"
#include "engine/types.h"
#include "lib/ClsKwini.h"

namespace trevo {

// Told in the user's language when it is shown: the language may be read
// only after the setting that stops the start.
class BadSetting : public std::exception {
public:
    BadSetting(Phrase message) : message_(std::move(message)) {}
    const Phrase& Message() const { return message_; }
    const char* what() const noexcept override { return "bad setting"; }

private:
    Phrase message_;
};

struct SettingPlace {
    const engine::String& iniPath;
    bool fileExists;
    engine::String section;
    engine::String key;
};

// Tells the user which file, setting and value, and why the value is not valid.
[[noreturn]] void RefuseSetting(const SettingPlace& place, const engine::String& text, const Phrase& rule);

// The desktop count: a whole number from 1 to 5 (after the usual rounding).
engine::Long CheckedDeskCount(const SettingPlace& place, const engine::String& text);
// A wallpaper size: any whole number that fits in 32 bits.
engine::Long CheckedWholeNumber(const SettingPlace& place, const engine::String& text);

struct StartSettings {
    bool fileExists = false;
    engine::Long deskCount = 0;
    std::array<engine::String, kMaxDesks> wallpapers;  // "" for none
    bool keepSize = false;
    // The size as the file writes it, for the dialog, and as the number it is.
    engine::String widthText, heightText;
    engine::Long width = 0, height = 0;
};

// Reads every start-up setting from the file, in the order a user finds them in
// it; raises BadSetting for the first that is not valid.
StartSettings ReadStartSettings(lib::ClsKwini& ini, engine::Platform& platform, const engine::String& iniPath);

}  // namespace trevo
