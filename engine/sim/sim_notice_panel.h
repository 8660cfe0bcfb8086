// The notice panel of the simulated engine: a top-level window of the
// program's own in the window model, with the styles of the real one, and
// its fade on the simulated clock.
#pragma once

#include "engine/notice_fade.h"
#include "engine/notice_panel.h"
#include "engine/sim/sim_world.h"

namespace sim {

inline constexpr char16_t kNoticeClass[] = u"TrevoNotice";

class SimNoticePanel : public engine::NoticePanel {
public:
    explicit SimNoticePanel(World& world) : world_(world) {}
    ~SimNoticePanel() override;
    SimNoticePanel(const SimNoticePanel&) = delete;
    SimNoticePanel& operator=(const SimNoticePanel&) = delete;

    void Show(const engine::String& text, Dword monitor) override;
    void Hide() override;
    Hwnd hWnd() const override { return hwnd_; }

private:
    void Create();
    void Tick();

    World& world_;
    Hwnd hwnd_ = 0;
    engine::NoticeFade fade_;
};

}  // namespace sim
