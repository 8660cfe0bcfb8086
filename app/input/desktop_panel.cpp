#include "app/input/desktop_panel.h"

#include "engine/text.h"

namespace trevo {
using engine::Dword;
using engine::Long;
using engine::String;
namespace win = engine::win;

String DesktopPanelText(const Texts& texts, Long desk, const String& name) {
    const String number = engine::DecimalText(desk);
    return name.empty() ? texts.Say(Phrase(IDS_PANEL_DESKTOP, {number}))
                        : texts.Say(Phrase(IDS_PANEL_NAMED_DESKTOP, {number, name}));
}

void DesktopPanel::Tell(Long desk, const String& name) {
    if (!panel_) panel_ = engine_.CreateNoticePanel();
    panel_->Show(DesktopPanelText(texts_, desk, name), MonitorInUse());
    told_ = desk;
}

void DesktopPanel::Seen(Long desk) {
    if (!panel_ || told_ == desk) return;
    panel_->Hide();
    told_ = 0;
}

Dword DesktopPanel::MonitorInUse() {
    engine::Platform& platform = engine_.platform();
    // A foreground window beside every screen (on no monitor) tells nothing:
    // the pointer is where the user looks then.
    if (const engine::Hwnd foreground = platform.GetForegroundWindow())
        if (const Dword monitor = platform.MonitorFromWindow(foreground, win::MONITOR_DEFAULTTONULL)) return monitor;
    engine::Point pointer;
    if (platform.GetCursorPos(&pointer)) return platform.MonitorFromPoint(pointer, win::MONITOR_DEFAULTTONEAREST);
    return platform.MonitorFromPoint({0, 0}, win::MONITOR_DEFAULTTOPRIMARY);
}

}  // namespace trevo
