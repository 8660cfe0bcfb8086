#include "engine/sim/sim_notice_panel.h"

#include <algorithm>

#include "engine/notice_box.h"

namespace sim {
namespace win = engine::win;

namespace {
constexpr Dword kFadeTimer = 1;

// The text's extent in the panel's font at a scale. The simulated Windows has
// no fonts: a character is half as wide as the font is high.
std::pair<Long, Long> TextExtent(const engine::String& text, Dword dpi) {
    const Long height = engine::AtDpi(engine::kMessageFontPixels * engine::kNoticeTextScale, dpi);
    Long lines = 1, longest = 0, current = 0;
    for (char16_t c : text) {
        if (c == u'\n') {
            ++lines;
            current = 0;
            continue;
        }
        longest = std::max(longest, ++current);
    }
    return {longest * (height / 2), lines * height};
}
}  // namespace

SimNoticePanel::~SimNoticePanel() {
    if (hwnd_) world_.windows.Destroy(hwnd_);  // its timer goes with it
}

void SimNoticePanel::Create() {
    WindowSpec panel;
    panel.className = kNoticeClass;
    panel.title = u"Trevo";
    panel.style = win::WS_POPUP;
    panel.exStyle = win::WS_EX_LAYERED | win::WS_EX_TRANSPARENT | win::WS_EX_NOACTIVATE | win::WS_EX_TOOLWINDOW |
                    win::WS_EX_TOPMOST;
    panel.awareness = world_.ProgramView().awareness();
    hwnd_ = world_.windows.Create(panel);
    Window& made = world_.windows.Get(hwnd_);
    made.thread = world_.programProcess;
    // Laid out for its monitor's scale before every move: the size Windows
    // suggests on a change of scale is not taken.
    made.onDpiChanged = [](Dword, const Rect&) {};
}

void SimNoticePanel::Show(const engine::String& text, Dword monitor) {
    const Monitors& monitors = world_.windows.monitors();
    const Monitor* target = monitors.ByHandle(monitor);
    if (!target) target = &monitors.Primary();
    // Drawn in the program's own pixels of that monitor; Windows stretches a
    // program that does not see the monitor's scale.
    const DpiView view = world_.ProgramView();
    const Dword dpi = view.SeenDpi(target->dpi);
    const auto [width, height] = TextExtent(text, dpi);
    const engine::NoticeBox box = engine::LayOutNotice(width, height, dpi, view.ToProgram(target->rect, target->dpi));
    const Rect r = view.ToScreen(box.window, target->dpi);
    if (!hwnd_) Create();
    Window& w = world_.windows.Get(hwnd_);
    w.title = text;  // what the panel says, for the screen readers too
    w.layeredAlpha = engine::NoticeFade::kFullAlpha;
    w.layeredFlags = win::LWA_ALPHA;
    world_.windows.Place(hwnd_, win::HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         win::SWP_NOACTIVATE | win::SWP_SHOWWINDOW);
    world_.SetTimer(hwnd_, kFadeTimer, fade_.Restart(), [this] { Tick(); });
}

void SimNoticePanel::Hide() {
    if (!hwnd_) return;
    world_.KillTimer(hwnd_, kFadeTimer);
    world_.windows.Show(hwnd_, win::SW_HIDE);
}

void SimNoticePanel::Tick() {
    std::uint8_t alpha = 0;
    const Dword next = fade_.Tick(&alpha);
    if (next == 0) {
        Hide();
        return;
    }
    world_.windows.Get(hwnd_).layeredAlpha = alpha;
    world_.SetTimer(hwnd_, kFadeTimer, next, [this] { Tick(); });
}

}  // namespace sim
