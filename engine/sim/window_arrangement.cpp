// CascadeWindows and TileWindows on the simulated Windows. The program never
// arranges windows itself; the calls are part of the platform it is written against.
#include <cmath>

#include "engine/sim/sim_platform.h"
#include "engine/sim/window_frame.h"

namespace sim {
namespace win = engine::win;

namespace {
// The windows an arrangement moves: the list given, or the parent's children in
// stacking order; of those only shown windows that are not minimised (nor
// disabled, when asked), and no top-level window that is topmost or a tool window.
std::vector<Hwnd> Arranged(const WindowModel& model, Hwnd parent, Dword how, Dword count, const Hwnd* kids) {
    std::vector<Hwnd> list;
    if (kids) {
        list.assign(kids, kids + count);
    } else if (const Window* p = model.Find(parent)) {
        list = p->children;
    }
    std::vector<Hwnd> out;
    for (Hwnd h : list) {
        const Window* w = model.Find(h);
        if (!w || h == model.Desktop() || !(w->style & win::WS_VISIBLE) || (w->style & win::WS_MINIMIZE)) continue;
        if ((how & win::MDITILE_SKIPDISABLED) && (w->style & win::WS_DISABLED)) continue;
        if (w->parent == model.Desktop() && (w->exStyle & (win::WS_EX_TOPMOST | win::WS_EX_TOOLWINDOW))) continue;
        out.push_back(h);
    }
    return out;
}

// Arranging restores a maximised window first.
void Restore(Window& w) { w.style &= ~win::WS_MAXIMIZE; }

// The area of an arrangement in screen coordinates: the rectangle given (in the
// parent's client coordinates), else the parent's client area, which for the
// desktop is the work area. An arrangement works in physical pixels.
Rect ArrangementArea(World& world, Hwnd parent, const Rect* area) {
    const Window& p = world.windows.Get(parent);
    Rect box;
    if (area)
        box = *area;
    else if (parent == world.windows.Desktop())
        box = world.workArea;
    else
        box = ClientRect(p);
    const auto o = ClientOrigin(p);
    return {box.left + o.x, box.top + o.y, box.right + o.x, box.bottom + o.y};
}

constexpr Long kCascadeStep = kCaptionHeight + kSizingFrame + kDialogFrame;  // a caption and a sizing frame
}  // namespace

std::uint16_t SimPlatform::CascadeWindows(Hwnd parent, Dword how, const Rect* area, Dword count, const Hwnd* kids) {
    if (!parent) parent = world_.windows.Desktop();
    if (!world_.windows.Exists(parent)) return 0;
    const Rect box = ArrangementArea(world_, parent, area);
    const auto list = Arranged(world_.windows, parent, how, count, kids);
    const Long step = kCascadeStep;
    const Long width = (box.right - box.left) * 3 / 4, height = (box.bottom - box.top) * 3 / 4;
    // The bottom of the stacking order goes first, so the top window ends in front.
    Long i = 0;
    for (auto it = list.rbegin(); it != list.rend(); ++it, ++i) {
        Restore(world_.windows.Get(*it));
        world_.windows.Place(*it, 0, box.left + i * step, box.top + i * step, width, height,
                             win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    }
    return static_cast<std::uint16_t>(list.size());
}

std::uint16_t SimPlatform::TileWindows(Hwnd parent, Dword how, const Rect* area, Dword count, const Hwnd* kids) {
    if (!parent) parent = world_.windows.Desktop();
    if (!world_.windows.Exists(parent)) return 0;
    const Rect box = ArrangementArea(world_, parent, area);
    const auto list = Arranged(world_.windows, parent, how, count, kids);
    const Long n = static_cast<Long>(list.size());
    if (n == 0) return 0;
    // Up to three windows share one band; more make a grid of about sqrt(n)
    // bands, the later bands taking the windows left over.
    const Long bands = n < 4 ? 1 : static_cast<Long>(std::sqrt(static_cast<double>(n)));
    const bool stacked = (how & win::MDITILE_HORIZONTAL) != 0;  // bands are columns, windows one above the other
    const Long width = box.right - box.left, height = box.bottom - box.top;
    const Long across = stacked ? width : height;  // the extent the bands share
    const Long along = stacked ? height : width;   // the extent the windows of one band share
    Long next = 0;
    for (Long band = 0; band < bands; ++band) {
        const Long inBand = n / bands + (band >= bands - n % bands ? 1 : 0);
        const Long bandSize = across / bands, cell = along / inBand;
        for (Long k = 0; k < inBand; ++k, ++next) {
            const Hwnd h = list[static_cast<std::size_t>(next)];
            Restore(world_.windows.Get(h));
            if (stacked)
                world_.windows.Place(h, 0, box.left + band * bandSize, box.top + k * cell, bandSize, cell,
                                     win::SWP_NOZORDER | win::SWP_NOACTIVATE);
            else
                world_.windows.Place(h, 0, box.left + k * cell, box.top + band * bandSize, cell, bandSize,
                                     win::SWP_NOZORDER | win::SWP_NOACTIVATE);
        }
    }
    return static_cast<std::uint16_t>(n);
}

}  // namespace sim
