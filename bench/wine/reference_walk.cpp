#include "reference_walk.h"

namespace winbench {
namespace {

constexpr int kNameRoom = 259;  // as much as Trevo gives a title or class name

void ReadNames(HWND window, NameReads reads) {
    char name[kNameRoom + 1];
    if (reads != NameReads::None) GetWindowTextA(window, name, kNameRoom);
    if (reads == NameReads::TitleAndClass) GetClassNameA(window, name, kNameRoom);
}

}  // namespace

std::vector<HWND> WalkVisibleWindows(NameReads reads, size_t& restorable) {
    std::vector<HWND> taken;
    for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
        if ((static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)) & WS_VISIBLE) == 0) continue;
        ReadNames(h, reads);
        const DWORD maximised = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)) & WS_MAXIMIZE;
        const DWORD minimised = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)) & WS_MINIMIZE;
        if ((maximised | minimised) != 0) ++restorable;  // Trevo would restore it; the benchmark has none
        taken.push_back(h);
    }
    return taken;
}

}  // namespace winbench
