#include "engine/win32/notice_window.h"

#include "engine/notice_box.h"
#include "engine/win32/dpi.h"
#include "engine/win32/late_libraries.h"
#include "engine/win32/win32_engine.h"
#include "engine/win32/window_procedures.h"

namespace win32 {

namespace {

constexpr UINT_PTR kFadeTimer = 1;
// A dark box with white text reads on light and dark wallpapers alike; the
// light frame keeps it apart from a dark one.
constexpr COLORREF kBackground = RGB(32, 32, 32);
constexpr COLORREF kFrame = RGB(200, 200, 200);
constexpr COLORREF kText = RGB(255, 255, 255);
constexpr UINT kTextFormat = DT_CENTER | DT_NOPREFIX;

// The system's message font at a scale (Windows 10 1607 asks for it at any
// scale; before, the system's own is scaled), drawn larger for the panel.
UniqueFont PanelFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    LOGFONTW font{};
    if (LateSystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, dpi)) {
        font = metrics.lfMessageFont;
    } else if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        font = metrics.lfMessageFont;
        font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    } else {
        font.lfHeight = -engine::AtDpi(engine::kMessageFontPixels, dpi);
        font.lfCharSet = DEFAULT_CHARSET;
    }
    font.lfHeight *= engine::kNoticeTextScale;
    return UniqueFont(::CreateFontIndirectW(&font));
}

// The text's extent in the panel's font, measured on a DC like the screen's.
SIZE TextExtent(HFONT font, const std::wstring& text) {
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc) return {0, 0};
    Selection selected(dc.get(), font);
    RECT extent{0, 0, 0, 0};
    ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent, kTextFormat | DT_CALCRECT);
    return {extent.right - extent.left, extent.bottom - extent.top};
}

}  // namespace

bool Win32NoticePanel::Create() {
    // No owner: with WS_EX_TOOLWINDOW it gets no task-bar button and no place in Alt+Tab.
    constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    return ::CreateWindowExW(kExStyle, kNoticeClass, L"Trevo", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_,
                             CreationParameter()) != nullptr;
}

void Win32NoticePanel::Show(const engine::String& text, engine::Dword monitor) {
    HMONITOR target = HandleFrom32<HMONITOR>(monitor);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(target, &info)) {  // gone since it was chosen
        target = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
        if (!::GetMonitorInfoW(target, &info)) return;
    }
    if (!Window() && !Create()) return;
    const UINT dpi = MonitorDpi(target);
    if (!font_ || dpi != fontDpi_) {
        font_ = PanelFont(dpi);
        fontDpi_ = dpi;
    }
    text_ = Wide(text);
    const SIZE extent = font_ ? TextExtent(font_.get(), text_) : SIZE{0, 0};
    const RECT& m = info.rcMonitor;
    const engine::NoticeBox box =
        engine::LayOutNotice(extent.cx, extent.cy, dpi, engine::Rect{m.left, m.top, m.right, m.bottom});
    textRect_ = {box.text.left, box.text.top, box.text.right, box.text.bottom};
    border_ = box.border;

    HWND hwnd = Window();
    ::SetWindowTextW(hwnd, text_.c_str());  // what it says, for screen readers too
    // A layered window stays unseen until its translucency is set.
    ::SetLayeredWindowAttributes(hwnd, 0, engine::NoticeFade::kFullAlpha, LWA_ALPHA);
    const engine::Rect& r = box.window;
    ::SetWindowPos(hwnd, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    ::SetTimer(hwnd, kFadeTimer, fade_.Restart(), nullptr);
}

void Win32NoticePanel::Hide() {
    if (!Window()) return;
    ::KillTimer(Window(), kFadeTimer);
    ::ShowWindow(Window(), SW_HIDE);
}

void Win32NoticePanel::Tick() {
    BYTE alpha = 0;
    const engine::Dword next = fade_.Tick(&alpha);
    if (next == 0) {
        Hide();
        return;
    }
    ::SetLayeredWindowAttributes(Window(), 0, alpha, LWA_ALPHA);
    ::SetTimer(Window(), kFadeTimer, next, nullptr);  // the same timer, at the fade's pace
}

void Win32NoticePanel::Paint(HDC dc) const {
    RECT client{};
    ::GetClientRect(Window(), &client);
    const UniqueBrush background(::CreateSolidBrush(kBackground));
    ::FillRect(dc, &client, background.get());
    const UniqueBrush frame(::CreateSolidBrush(kFrame));
    RECT edge = client;
    for (int i = 0; i < border_; ++i) {
        ::FrameRect(dc, &edge, frame.get());
        ::InflateRect(&edge, -1, -1);
    }
    if (!font_) return;
    Selection selected(dc, font_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kText);
    RECT text = textRect_;
    ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &text, kTextFormat);
}

LRESULT Win32NoticePanel::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCHITTEST:
            return HTTRANSPARENT;  // the mouse reaches whatever lies below
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_DPICHANGED:
            return 0;  // laid out for its monitor's scale before every move
        case WM_ERASEBKGND:
            return 1;  // the painting covers it all
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            if (dc) Paint(dc);
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_TIMER:
            if (wParam != kFadeTimer) break;
            Tick();
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace win32
