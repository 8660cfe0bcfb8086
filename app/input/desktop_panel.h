// After a switch the user made without looking at the icons (a key, or the
// foreground followed), a panel says which desktop is on the screen now: its
// number and name, for a moment, on the monitor the user works on.
#pragma once

#include <memory>

#include "app/language/texts.h"
#include "engine/engine.h"

namespace trevo {

class DesktopPanel {
public:
    DesktopPanel(engine::Engine& engine, const Texts& texts) : engine_(engine), texts_(texts) {}

    // Desktop n, with that name ("" for none), is on the screen now: the panel
    // says so, in place of whatever it said.
    void Tell(engine::Long desk, const engine::String& name);
    // Desktop n is on the screen now, and the user saw it come (a click on its
    // icon): a panel still naming another desktop goes at once.
    void Seen(engine::Long desk);

private:
    // The monitor of the foreground window, else the pointer's.
    engine::Dword MonitorInUse();

    engine::Engine& engine_;
    const Texts& texts_;
    std::unique_ptr<engine::NoticePanel> panel_;  // made at the first Tell
    engine::Long told_ = 0;
};

// "Desktop 3", with its name on a line of its own when it has one.
engine::String DesktopPanelText(const Texts& texts, engine::Long desk, const engine::String& name);

}  // namespace trevo
