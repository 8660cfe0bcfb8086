// Drives the library's window class on real windows and prints one line per
// finding: "ok NAME", "fail NAME DETAIL", or "skip NAME REASON" for what the
// window manager at hand cannot show. Exits with 1 when anything failed.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "engine/win32/win32_platform.h"
#include "lib/ClsKwWinInterface.h"

#include "probe_windows.h"
#include "report.h"
#include "width_checks.h"

namespace {
using engine::Hwnd;
using libprobe::Report;
using win32::FromHwnd;

std::string Hex(unsigned long value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%lX", value);
    return buffer;
}

std::string RectText(const engine::Rect& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// The real calls, with what the library asked of TileWindows kept for the checks.
class RecordingPlatform : public win32::Win32Platform {
public:
    struct TileCall {
        Hwnd parent;
        Dword how;
        std::optional<engine::Rect> area;
        std::vector<Hwnd> kids;
        std::uint16_t arranged;
    };
    std::vector<TileCall> tileCalls;

    std::uint16_t TileWindows(Hwnd parent, Dword how, const engine::Rect* area, Dword count,
                              const Hwnd* kids) override {
        const std::uint16_t arranged = Win32Platform::TileWindows(parent, how, area, count, kids);
        TileCall call{parent, how, std::nullopt, {}, arranged};
        if (area) call.area = *area;
        if (kids) call.kids.assign(kids, kids + count);
        tileCalls.push_back(call);
        return arranged;
    }
};

bool UnderWine() { return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

void CheckTopMost(Report& report, lib::ClsKwWinInterface& wi, HWND window) {
    const Hwnd h = FromHwnd(window);
    const bool set = wi.TopMost(h);
    const bool topBit = (::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    report.Check(set && topBit && wi.IsWindowTopMost(h), "TopMost",
                 "returned " + std::to_string(set) + ", extended style " + Hex(::GetWindowLongA(window, GWL_EXSTYLE)));
    const bool cleared = wi.NoTopMost(h);
    report.Check(
        cleared && !wi.IsWindowTopMost(h) && !(::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST), "NoTopMost",
        "returned " + std::to_string(cleared) + ", extended style " + Hex(::GetWindowLongA(window, GWL_EXSTYLE)));
}

void CheckSetWindowStyle(Report& report, lib::ClsKwWinInterface& wi, HWND window) {
    const Hwnd h = FromHwnd(window);
    const DWORD before = static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE));
    wi.SetWindowStyle(h, WS_CLIPCHILDREN);
    const DWORD after = static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE));
    wi.SetWindowStyle(h, 0);
    const DWORD again = static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE));
    report.Check(!(before & WS_CLIPCHILDREN) && after == (before | WS_CLIPCHILDREN) && again == after, "SetWindowStyle",
                 "before " + Hex(before) + ", after " + Hex(after) + ", after adding 0 " + Hex(again));
}

void CheckLayeredAlpha(Report& report, lib::ClsKwWinInterface& wi, HWND window) {
    if (!wi.Win2K() && !wi.WinXP()) {
        report.Fail("LayeredAlpha", "the system reports neither the 2000 nor the XP family");
        return;
    }
    const bool done = wi.LayeredAlpha(FromHwnd(window), 50);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    const bool read = ::GetLayeredWindowAttributes(window, &key, &alpha, &flags) != 0;
    const bool layered = (::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    report.Check(done && read && layered && alpha == 128 && flags == LWA_ALPHA, "LayeredAlpha",
                 "returned " + std::to_string(done) + ", layered " + std::to_string(layered) + ", alpha " +
                     std::to_string(alpha) + ", flags " + Hex(flags));
}

void CheckTiling(Report& report, lib::ClsKwWinInterface& wi, RecordingPlatform& platform,
                 const libprobe::DocumentFrame& frame) {
    const std::vector<HWND> stacked = libprobe::ChildrenInStackingOrder(frame.client());
    std::vector<Hwnd> order;
    for (HWND h : stacked) order.push_back(FromHwnd(h));
    RECT client;
    ::GetClientRect(frame.client(), &client);
    const LONG half = client.right / 2;

    platform.tileCalls.clear();
    wi.vbTileWindows(FromHwnd(frame.frame()));
    libprobe::HandlePendingMessages();

    const auto& calls = platform.tileCalls;
    if (order.size() != 5 || calls.size() != 2) {
        report.Fail("vbTileWindows-calls",
                    std::to_string(order.size()) + " children, " + std::to_string(calls.size()) + " TileWindows calls");
        return;
    }
    const engine::Rect left{client.left, client.top, half, client.bottom};
    const engine::Rect right{half, client.top, client.right, client.bottom};
    const Hwnd mdiClient = FromHwnd(frame.client());
    const bool leftOk = calls[0].parent == mdiClient && calls[0].how == 3 && calls[0].area == left &&
                        calls[0].kids == std::vector<Hwnd>(order.begin(), order.begin() + 3);
    const bool rightOk = calls[1].parent == mdiClient && calls[1].how == 3 && calls[1].area == right &&
                         calls[1].kids == std::vector<Hwnd>(order.begin() + 3, order.end());
    report.Check(leftOk && rightOk, "vbTileWindows-calls",
                 "left column " + std::to_string(calls[0].kids.size()) + " windows in " +
                     (calls[0].area ? RectText(*calls[0].area) : "no area") + ", right column " +
                     std::to_string(calls[1].kids.size()) + " windows in " +
                     (calls[1].area ? RectText(*calls[1].area) : "no area"));

    if (calls[0].arranged == 0 && calls[1].arranged == 0 && UnderWine()) {
        report.Skip("vbTileWindows-geometry", "this Wine's TileWindows arranges nothing (it returned 0)");
        return;
    }
    std::string misplaced;
    for (std::size_t i = 0; i < stacked.size(); ++i) {
        RECT r;
        ::GetWindowRect(stacked[i], &r);
        ::MapWindowPoints(nullptr, frame.client(), reinterpret_cast<POINT*>(&r), 2);
        const bool inLeft = r.left >= 0 && r.right <= half;
        const bool inRight = r.left >= half && r.right <= client.right;
        if (i < 3 ? !inLeft : !inRight)
            misplaced += " #" + std::to_string(i) + RectText({r.left, r.top, r.right, r.bottom});
    }
    report.Check(misplaced.empty(), "vbTileWindows-geometry", "outside its column:" + misplaced);
}

}  // namespace

int main() {
    Report report;
    RecordingPlatform platform;
    lib::ClsKwWinInterface wi(platform);

    libprobe::WindowClass plain("TrevoLibProbe", libprobe::PlainWindowProcedure);
    libprobe::WindowClass document("TrevoLibProbeDocument", libprobe::DocumentWindowProcedure);
    if (!plain.ok() || !document.ok()) {
        report.Fail("setup", "window classes not registered, error " + std::to_string(::GetLastError()));
        return 1;
    }
    win32::UniqueWindow topWindow = libprobe::OpenTopLevel(plain, "libprobe topmost");
    win32::UniqueWindow layeredWindow = libprobe::OpenTopLevel(plain, "libprobe layered");
    libprobe::DocumentFrame frame(plain, document, 5);
    if (!topWindow || !layeredWindow || !frame.ok()) {
        report.Fail("setup", "windows not created, error " + std::to_string(::GetLastError()));
        return 1;
    }
    libprobe::HandlePendingMessages();

    CheckTopMost(report, wi, topWindow.get());
    CheckSetWindowStyle(report, wi, topWindow.get());
    CheckLayeredAlpha(report, wi, layeredWindow.get());
    CheckTiling(report, wi, platform, frame);
    libprobe::CheckWidths(report, platform, topWindow.get());
    return report.failures() == 0 ? 0 : 1;
}
