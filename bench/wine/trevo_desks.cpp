#include "trevo_desks.h"

#include "trevo_tray.h"

namespace winbench {
namespace {
constexpr int kMostDesks = 5;
}  // namespace

bool TrevoDesks::MapDesks(const std::vector<HWND>& trays, std::string& why) {
    int active = 1;  // Trevo starts on desktop 1
    for (HWND tray : trays) {
        if (!ClickTrayIcon(tray, kAnswerMs)) return Failed(why, "Trevo did not answer a click");
        if (!Settle(why)) return false;
        const std::optional<LONG> shift = windows_.CommonShift(why);
        if (!shift) return Failed(why, "a calibrating click moved the windows unevenly: " + why);
        if (*shift % width_ != 0) return Failed(why, "a click moved the windows by " + std::to_string(*shift));
        const int desk = active - static_cast<int>(*shift / width_);
        if (desk < 1 || desk > kMostDesks || desks_.count(desk))
            return Failed(why, "a click led to desktop " + std::to_string(desk));
        desks_[desk] = tray;
        active = desk;
    }
    if (!desks_.count(1) || !desks_.count(2)) return Failed(why, "Trevo has no desktops 1 and 2");
    if (active != 1) return TrevoSwitch(desks_[1], (active - 1) * width_, nullptr, why);
    return true;
}

bool TrevoDesks::TrevoSwitch(HWND tray, LONG dx, SampleSet* into, std::string& why) {
    const long long start = Stopwatch::Now();
    if (!ClickTrayIcon(tray, kAnswerMs)) return Failed(why, "Trevo did not answer a click");
    const double ms = clock_.MsSince(start);
    if (!Checked(dx, "Trevo's switch", why)) return false;
    if (into) into->Add(ms);
    return true;
}

bool TrevoDesks::TrevoKeySwitch(HWND controller, int keyId, LONG dx, SampleSet& into, std::string& why) {
    const long long start = Stopwatch::Now();
    if (!PressHotKey(controller, keyId, kAnswerMs)) return Failed(why, "Trevo did not answer a hotkey");
    const double ms = clock_.MsSince(start);
    // A key Windows refused to Trevo is ignored: the windows stay.
    if (!Checked(dx, "Trevo's switch by hotkey", why)) return false;
    into.Add(ms);
    return true;
}

bool TrevoDesks::Checked(LONG dx, const char* what, std::string& why) {
    if (!Settle(why)) return false;
    const std::optional<LONG> shift = windows_.CommonShift(why);
    if (!shift) return Failed(why, std::string(what) + " did not move every window alike: " + why);
    if (*shift != dx)
        return Failed(why, std::string(what) + " moved the windows by " + std::to_string(*shift) + ", not " +
                               std::to_string(dx));
    return true;
}

bool TrevoDesks::Settle(std::string& why) {
    if (!windows_.HostCaughtUp(kAnswerMs)) return Failed(why, "the window host stopped answering");
    Sleep(settleMs_);
    return true;
}

}  // namespace winbench
