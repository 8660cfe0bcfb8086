// The notice panel on Windows: a layered pop-up of its own class that never
// activates, lets the mouse through, stays off the task bar and Alt+Tab, and
// fades on a timer of its own window. Nothing runs while it is hidden.
#pragma once

#include <string>

#include "engine/notice_fade.h"
#include "engine/notice_panel.h"
#include "engine/win32/window_peer.h"

namespace win32 {

class Win32NoticePanel final : public engine::NoticePanel, public WindowPeer {
public:
    explicit Win32NoticePanel(HINSTANCE instance) : instance_(instance) {}

    void Show(const engine::String& text, engine::Dword monitor) override;
    void Hide() override;
    engine::Hwnd hWnd() const override { return FromHwnd(Window()); }

    // The window procedure's work.
    LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    bool Create();
    void Tick();
    void Paint(HDC dc) const;

    HINSTANCE instance_;
    engine::NoticeFade fade_;
    std::wstring text_;
    UniqueFont font_;
    UINT fontDpi_ = 0;
    RECT textRect_{};
    int border_ = 1;
};

}  // namespace win32
