#include "contract_click.h"

namespace winbench {
namespace {

constexpr const wchar_t* kClass = L"TrevoContractClick";

HWND HiddenWindow() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered) return nullptr;
    return CreateWindowExW(0, kClass, L"TrevoTray", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

ContractDesks::ContractDesks(int count) : desks_(static_cast<size_t>(count)) {
    for (int n = 1; n <= count && valid_; ++n) {
        Desk& desk = desks_[static_cast<size_t>(n - 1)];
        desk.window.reset(HiddenWindow());
        if (!desk.window) {
            valid_ = false;
            break;
        }
        desk.icon = std::make_unique<ContractIcon>(desk.window.get(), n);
        // Both pictures loaded now; desktop 1 active, as Trevo starts.
        valid_ = desk.icon->Add() && desk.icon->ShowState(n != 1) && desk.icon->ShowState(n == 1);
    }
}

ContractPhases ContractDesks::Select(int active, LONG dx, NameReads reads, const Stopwatch& clock,
                                     const WallpaperJob* wallpaper) {
    ContractPhases phases;
    const long long start = Stopwatch::Now();
    for (size_t i = 0; i < desks_.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        const long long iconStart = Stopwatch::Now();
        desks_[i].icon->ShowState(n == active);
        phases.iconsMs += clock.MsSince(iconStart);
        if (n == active) phases.selection = ReferenceSwitch(dx, reads, clock, wallpaper);
    }
    phases.totalMs = clock.MsSince(start);
    return phases;
}

}  // namespace winbench
