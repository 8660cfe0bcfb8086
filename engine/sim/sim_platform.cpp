// The user32, dwmapi, shell32 and comdlg32 calls of the simulated Windows.
#include "engine/sim/sim_platform.h"

#include <algorithm>
#include <cstring>

#include "engine/sim/window_frame.h"
#include "engine/text.h"

namespace sim {
namespace win = engine::win;

Long SimPlatform::GetWindowLongA(Hwnd hwnd, Long index) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w) return 0;
    if (index == win::GWL_STYLE) return static_cast<Long>(w->style);
    if (index == win::GWL_EXSTYLE) return static_cast<Long>(w->exStyle);
    return 0;
}

Long SimPlatform::SetWindowLongA(Hwnd hwnd, Long index, Long value) {
    Window* w = world_.windows.Find(hwnd);
    if (!w) return 0;
    Dword* field = index == win::GWL_STYLE ? &w->style : index == win::GWL_EXSTYLE ? &w->exStyle : nullptr;
    if (!field) return 0;
    const Long before = static_cast<Long>(*field);
    *field = static_cast<Dword>(value);
    return before;
}

namespace {
// As GetWindowTextA and GetClassNameA fill a narrow buffer: the whole characters
// that fit in max bytes, then a NUL at the last place whatever it cuts.
Long CopyNarrow(const CodePage& cp, const engine::String& text, char* buffer, Long max) {
    if (!buffer || max <= 0) return 0;
    std::string bytes = cp.Encode(text);
    if (static_cast<Long>(bytes.size()) < max) {  // the whole text fits
        std::memcpy(buffer, bytes.c_str(), bytes.size() + 1);
        return static_cast<Long>(bytes.size());
    }
    bytes.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        std::string one = cp.Encode(text.substr(i, 1));
        if (static_cast<Long>(bytes.size() + one.size()) > max) break;
        bytes += one;
    }
    if (static_cast<Long>(bytes.size()) >= max) bytes.resize(static_cast<size_t>(max - 1));
    std::memcpy(buffer, bytes.c_str(), bytes.size() + 1);
    return static_cast<Long>(bytes.size());
}
}  // namespace

Long SimPlatform::GetWindowTextA(Hwnd hwnd, char* buffer, Long max) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w) {
        if (buffer && max > 0) buffer[0] = '\0';
        return 0;
    }
    return CopyNarrow(world_.codePage, w->title, buffer, max);
}

Long SimPlatform::GetClassNameA(Hwnd hwnd, char* buffer, Long max) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w) return 0;
    return CopyNarrow(world_.codePage, w->className, buffer, max);
}

Hwnd SimPlatform::FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className, const char* windowName) {
    const Window* p = world_.windows.Find(parent ? parent : world_.windows.Desktop());
    if (!p) return 0;
    bool started = childAfter == 0;
    for (Hwnd kid : p->children) {
        if (!started) {
            started = kid == childAfter;
            continue;
        }
        const Window& w = *world_.windows.Find(kid);
        if (className && !engine::EqualsIgnoreCase(w.className, FromAnsi(className))) continue;
        if (windowName && !engine::EqualsIgnoreCase(w.title, FromAnsi(windowName))) continue;
        return kid;
    }
    return 0;
}

Dword SimPlatform::GetWindowThreadProcessId(Hwnd hwnd, Dword* processId) {
    if (processId) *processId = 0;
    if (!world_.windows.Exists(hwnd)) return 0;
    if (processId) *processId = world_.windows.ThreadOf(hwnd);  // a process a thread
    return world_.windows.ThreadOf(hwnd);
}

bool SimPlatform::IsHungAppWindow(Hwnd hwnd) {
    return world_.windows.Exists(hwnd) && world_.windows.AnsweringOf(hwnd) == Answering::Hung;
}

bool SimPlatform::SendMessageTimeoutA(Hwnd hwnd, Dword /*message*/, Dword /*wParam*/, Long /*lParam*/, Dword flags,
                                      Dword timeoutMs, Dword* result) {
    if (result) *result = 0;
    if (!world_.windows.Exists(hwnd)) return false;
    switch (world_.windows.AnsweringOf(hwnd)) {
        case Answering::Yes:
            return true;
        case Answering::Hung:
            if (flags & win::SMTO_ABORTIFHUNG) return false;
            [[fallthrough]];
        case Answering::Stalled:
            world_.tickCount += timeoutMs;
            return false;
    }
    return false;
}

Long SimPlatform::DwmGetWindowAttribute(Hwnd hwnd, Dword attribute, void* value, Dword size) {
    const auto& o = world_.options;
    const bool nt6 = o.platformId == win::VER_PLATFORM_WIN32_NT && o.major >= 6;
    if (!nt6) return win::HRESULT_MOD_NOT_FOUND;  // no dwmapi before Windows Vista
    if (o.dwmNotImplemented) return win::E_NOTIMPL;
    // Cloaking came with Windows 8; earlier systems know no such attribute.
    const bool eight = o.major > 6 || o.minor >= 2;
    const Window* w = world_.windows.Find(hwnd);
    if (!w || !value || attribute != win::DWMWA_CLOAKED || size != sizeof(Dword) || !eight) return win::E_INVALIDARG;
    const Dword cloaked = w->cloaked ? win::DWM_CLOAKED_SHELL : 0;
    std::memcpy(value, &cloaked, sizeof cloaked);
    return win::S_OK;
}

bool SimPlatform::GetWindowPlacement(Hwnd hwnd, engine::WindowPlacement* placement) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w || !placement || placement->length != sizeof(engine::WindowPlacement)) return false;
    placement->flags = 0;
    placement->showCmd = (w->style & win::WS_MINIMIZE)   ? win::SW_SHOWMINIMIZED
                         : (w->style & win::WS_MAXIMIZE) ? win::SW_SHOWMAXIMIZED
                                                         : win::SW_SHOWNORMAL;
    placement->ptMinPosition = {-1, -1};
    placement->ptMaxPosition = {-1, -1};
    placement->rcNormalPosition = View().ToProgram(w->normalRect, world_.windows.DpiOf(hwnd));
    // A top-level window that is no tool window is placed in workspace
    // coordinates: from the corner of the work area.
    if (w->parent == world_.windows.Desktop() && !(w->exStyle & win::WS_EX_TOOLWINDOW)) {
        const Rect work = SeenWorkArea();
        Rect& r = placement->rcNormalPosition;
        r = {r.left - work.left, r.top - work.top, r.right - work.left, r.bottom - work.top};
    }
    return true;
}

bool SimPlatform::SetWindowPlacement(Hwnd hwnd, const engine::WindowPlacement* placement) {
    world_.windows.WaitFor(hwnd, "SetWindowPlacement");
    Window* w = world_.windows.Find(hwnd);
    if (!w || !placement || placement->length != sizeof(engine::WindowPlacement)) return false;
    Rect r = placement->rcNormalPosition;
    if (w->parent == world_.windows.Desktop() && !(w->exStyle & win::WS_EX_TOOLWINDOW)) {
        const Rect work = SeenWorkArea();
        r = {r.left + work.left, r.top + work.top, r.right + work.left, r.bottom + work.top};
    }
    r = View().ToScreen(r, world_.windows.DpiOf(hwnd));
    // A place wholly beside every monitor is brought back onto them.
    const Rect screen = world_.VirtualScreen();
    const bool beside =
        r.right <= screen.left || r.left >= screen.right || r.bottom <= screen.top || r.top >= screen.bottom;
    if (beside) {
        const Long width = r.right - r.left, height = r.bottom - r.top;
        const Long left = std::clamp(r.left, screen.left, std::max(screen.left, screen.right - width));
        const Long top = std::clamp(r.top, screen.top, std::max(screen.top, screen.bottom - height));
        r = {left, top, left + width, top + height};
    }
    w->normalRect = r;
    if (!(w->style & (win::WS_MINIMIZE | win::WS_MAXIMIZE))) {
        if (!(w->rect == r)) ++w->moveCount;
        w->rect = r;
    }
    world_.windows.Rescale(hwnd);
    return true;
}

bool SimPlatform::GetWindowRect(Hwnd hwnd, Rect* rect) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w || !rect) return false;
    *rect = View().ToProgram(w->rect, world_.windows.DpiOf(hwnd));
    return true;
}

bool SimPlatform::SetWindowPos(Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy, Dword flags) {
    const DpiView view = View();
    const Dword dpi = world_.windows.DpiOf(hwnd);
    return world_.windows.Place(hwnd, insertAfter, view.ToScreen(x, dpi), view.ToScreen(y, dpi), view.ToScreen(cx, dpi),
                                view.ToScreen(cy, dpi), flags);
}

Dword SimPlatform::DeferWindowPos(Dword batch, Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy,
                                  Dword flags) {
    const DpiView view = View();
    const Dword dpi = world_.windows.DpiOf(hwnd);
    return world_.windows.Defer(batch, hwnd, insertAfter, view.ToScreen(x, dpi), view.ToScreen(y, dpi),
                                view.ToScreen(cx, dpi), view.ToScreen(cy, dpi), flags);
}

bool SimPlatform::GetClientRect(Hwnd hwnd, Rect* rect) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w || !rect) return false;
    *rect = View().ToProgram(ClientRect(*w), world_.windows.DpiOf(hwnd));
    return true;
}

bool SimPlatform::SystemParametersInfoA(Dword action, Dword param, void* pv, Dword /*winIni*/) {
    switch (action) {
        case win::SPI_SETDESKWALLPAPER:
            world_.wallpaper = pv ? FromAnsi(static_cast<const char*>(pv)) : engine::String();
            return true;
        case win::SPI_GETDESKWALLPAPER: {
            if (!pv || param == 0) return false;
            const std::string path = ToAnsi(world_.wallpaper);
            const size_t n = std::min<size_t>(path.size(), param - 1);
            std::memcpy(pv, path.data(), n);
            static_cast<char*>(pv)[n] = '\0';
            return true;
        }
        case win::SPI_GETWORKAREA:
            if (!pv) return false;
            *static_cast<Rect*>(pv) = SeenWorkArea();
            return true;
        default:
            return false;
    }
}

bool SimPlatform::SystemParametersInfoW(Dword action, Dword param, void* pv, Dword winIni) {
    switch (action) {
        case win::SPI_SETDESKWALLPAPER:
            world_.wallpaper = pv ? engine::String(static_cast<const char16_t*>(pv)) : engine::String();
            return true;
        case win::SPI_GETDESKWALLPAPER: {
            if (!pv || param == 0) return false;
            const size_t n = std::min<size_t>(world_.wallpaper.size(), param - 1);
            std::copy_n(world_.wallpaper.data(), n, static_cast<char16_t*>(pv));
            static_cast<char16_t*>(pv)[n] = u'\0';
            return true;
        }
        default:
            return SystemParametersInfoA(action, param, pv, winIni);  // the others carry no text
    }
}

Long SimPlatform::GetSystemMetrics(Long index) {
    // The whole virtual screen is seen at the primary monitor's scale: how
    // Windows shows monitors of other scales to a program that is not
    // per-monitor aware is not documented, and this is the model's assumption.
    const Rect v = View().ToProgram(world_.VirtualScreen(), PrimaryDpi());
    const Rect primary = View().ToProgram(world_.options.screen, PrimaryDpi());
    const bool multipleMonitors = world_.options.platformId == win::VER_PLATFORM_WIN32_NT
                                      ? world_.options.major >= 5
                                      : world_.options.minor >= 10;  // from Windows 98 and 2000 on
    switch (index) {
        case win::SM_CXSCREEN:
            return primary.right - primary.left;
        case win::SM_XVIRTUALSCREEN:
            return multipleMonitors ? v.left : 0;
        case win::SM_YVIRTUALSCREEN:
            return multipleMonitors ? v.top : 0;
        case win::SM_CXVIRTUALSCREEN:
            return multipleMonitors ? v.right - v.left : 0;
        case win::SM_CYVIRTUALSCREEN:
            return multipleMonitors ? v.bottom - v.top : 0;
        case win::SM_CMONITORS:
            return multipleMonitors ? static_cast<Long>(1 + world_.options.otherMonitors.size()) : 0;
        default:
            return 0;
    }
}

bool SimPlatform::AdjustWindowRect(Rect* rect, Dword style, bool menu) {
    return AdjustWindowRectEx(rect, style, menu, 0);
}

bool SimPlatform::AdjustWindowRectEx(Rect* rect, Dword style, bool menu, Dword exStyle) {
    return AddFrame(rect, style, menu, exStyle);
}

bool SimPlatform::SetLayeredWindowAttributes(Hwnd hwnd, Dword colorKey, std::uint8_t alpha, Dword flags) {
    Window* w = world_.windows.Find(hwnd);
    if (!w || !(w->exStyle & win::WS_EX_LAYERED)) return false;
    // Child windows can be layered from Windows 8 (6.2) on only.
    const bool childLayering = world_.options.platformId == win::VER_PLATFORM_WIN32_NT &&
                               (world_.options.major > 6 || (world_.options.major == 6 && world_.options.minor >= 2));
    if (w->parent != world_.windows.Desktop() && !childLayering) return false;
    w->layeredKey = colorKey;
    w->layeredAlpha = alpha;
    w->layeredFlags = flags;
    return true;
}

engine::Point SimPlatform::SeenClientOrigin(const Window& w) const {
    const engine::Point o = ClientOrigin(w);
    const Dword dpi = world_.windows.DpiOf(w.hwnd);
    return {View().ToProgram(o.x, dpi), View().ToProgram(o.y, dpi)};
}

bool SimPlatform::ClientToScreen(Hwnd hwnd, engine::Point* point) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w || !point) return false;
    const auto o = SeenClientOrigin(*w);
    point->x += o.x;
    point->y += o.y;
    return true;
}

bool SimPlatform::ScreenToClient(Hwnd hwnd, engine::Point* point) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w || !point) return false;
    const auto o = SeenClientOrigin(*w);
    point->x -= o.x;
    point->y -= o.y;
    return true;
}

Long SimPlatform::MapWindowPoints(Hwnd from, Hwnd to, engine::Point* points, Dword count) {
    // 0 stands for the screen, as the desktop window does.
    engine::Point o1{0, 0}, o2{0, 0};
    if (from) {
        const Window* w = world_.windows.Find(from);
        if (!w) return 0;
        o1 = SeenClientOrigin(*w);
    }
    if (to) {
        const Window* w = world_.windows.Find(to);
        if (!w) return 0;
        o2 = SeenClientOrigin(*w);
    }
    const Long dx = o1.x - o2.x, dy = o1.y - o2.y;
    for (Dword i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return static_cast<Long>((static_cast<std::uint32_t>(dy & 0xFFFF) << 16) | static_cast<std::uint32_t>(dx & 0xFFFF));
}

bool SimPlatform::GetOpenFileNameW(engine::OpenFileNameW* record) {
    // OPENFILENAME as 32-bit Windows knows it: the older record, or the one of
    // Windows 2000 with three members more.
    constexpr Dword kOlderSize = 76, kWindows2000Size = 88;
    if (!record || (record->lStructSize != kOlderSize && record->lStructSize != kWindows2000Size)) return false;
    if (world_.fileChoices.empty()) return false;
    const std::optional<engine::String> choice = world_.fileChoices.front();
    world_.fileChoices.pop_front();
    if (!choice || !record->lpstrFile || choice->size() + 1 > record->nMaxFile) return false;
    std::copy(choice->begin(), choice->end(), record->lpstrFile);
    record->lpstrFile[choice->size()] = u'\0';
    const auto slash = choice->find_last_of(u'\\');
    record->nFileOffset = static_cast<std::uint16_t>(slash == engine::String::npos ? 0 : slash + 1);
    const auto dot = choice->find_last_of(u'.');
    record->nFileExtension =
        static_cast<std::uint16_t>(dot == engine::String::npos || dot < record->nFileOffset ? 0 : dot + 1);
    return true;
}

}  // namespace sim