// The scale of the simulated windows: which scale a window takes where it lies,
// and what a change of scale does to it. Before 8.1 every monitor has one
// scale, so no window ever changes scale there.
#include "engine/sim/window_model.h"

namespace sim {
namespace win = engine::win;

namespace {
constexpr Long kCellWidth = 8, kCellHeight = 16;  // a terminal's character cell at 96 DPI

bool PerMonitor(const Window& w) {
    return w.awareness == Awareness::PerMonitor || w.awareness == Awareness::PerMonitorV2;
}

const Rect& RestoredRect(const Window& w) {
    return (w.style & (win::WS_MINIMIZE | win::WS_MAXIMIZE)) ? w.normalRect : w.rect;
}

Long Scaled(Long length, Dword to, Dword from) { return MulDiv(length, Long(to), Long(from)); }

// Every child keeps its place in a window stretched about its top-left corner.
void StretchChildren(WindowModel& model, const Window& parent, Long left, Long top, Dword to, Dword from) {
    for (Hwnd kid : parent.children) {
        Window& k = model.Get(kid);
        for (Rect* r : {&k.rect, &k.normalRect})
            *r = {left + Scaled(r->left - left, to, from), top + Scaled(r->top - top, to, from),
                  left + Scaled(r->right - left, to, from), top + Scaled(r->bottom - top, to, from)};
        StretchChildren(model, k, left, top, to, from);
    }
}
}  // namespace

Dword WindowModel::DpiOf(Hwnd hwnd) const {
    const Window* w = Find(hwnd);
    while (w && w->parent != desktop_ && w->hwnd != desktop_) w = Find(w->parent);
    return w ? w->dpi : monitors_.Primary().dpi;
}

void WindowModel::NoteSize(Window& w) {
    const Rect& r = RestoredRect(w);
    const Long width = r.right - r.left, height = r.bottom - r.top;
    const bool asStretched = w.dpi == w.sizedDpi ? width == w.sizedWidth && height == w.sizedHeight
                                                 : width == Scaled(w.sizedWidth, w.dpi, w.sizedDpi) &&
                                                       height == Scaled(w.sizedHeight, w.dpi, w.sizedDpi);
    if (asStretched) return;
    w.sizedWidth = width;
    w.sizedHeight = height;
    w.sizedDpi = w.dpi;
}

void WindowModel::Rescale(Hwnd hwnd) {
    Window* w = Find(hwnd);
    if (!w || hwnd == desktop_) return;
    NoteSize(*w);
    if (w->parent != desktop_ || (w->style & (win::WS_MINIMIZE | win::WS_MAXIMIZE))) return;
    const Dword from = w->dpi, to = monitors_.Nearest(w->rect).dpi;
    if (from == to) return;
    w->dpi = to;
    if (!PerMonitor(*w)) {
        // Windows stretches it, even while its thread takes no messages.
        Stretch(*w, from);
        return;
    }
    const Rect& r = w->rect;
    const Rect suggested{r.left, r.top, r.left + Scaled(r.right - r.left, to, from),
                         r.top + Scaled(r.bottom - r.top, to, from)};
    if (AnsweringOf(hwnd) == Answering::Yes)
        AnswerDpiChange(hwnd, to, suggested);
    else
        handedOver_[ThreadOf(hwnd)].push_back([this, hwnd, to, suggested] { AnswerDpiChange(hwnd, to, suggested); });
}

void WindowModel::Stretch(Window& w, Dword from) {
    const Long width = w.dpi == w.sizedDpi ? w.sizedWidth : Scaled(w.sizedWidth, w.dpi, w.sizedDpi);
    const Long height = w.dpi == w.sizedDpi ? w.sizedHeight : Scaled(w.sizedHeight, w.dpi, w.sizedDpi);
    StretchChildren(*this, w, w.rect.left, w.rect.top, w.dpi, from);
    w.rect = {w.rect.left, w.rect.top, w.rect.left + width, w.rect.top + height};
    w.normalRect = w.rect;
}

void WindowModel::AnswerDpiChange(Hwnd hwnd, Dword dpi, const Rect& suggested) {
    Window* w = Find(hwnd);
    if (!w) return;
    if (w->onDpiChanged) {
        const auto answer = w->onDpiChanged;  // the program's code may replace it
        answer(dpi, suggested);
        return;
    }
    Rect r = suggested;
    switch (w->dpiReaction) {
        case DpiReaction::Ignores:
            return;
        case DpiReaction::SnapsToCells: {
            const Long cellWidth = Scaled(kCellWidth, dpi, kUnscaledDpi);
            const Long cellHeight = Scaled(kCellHeight, dpi, kUnscaledDpi);
            r.right = r.left + (r.right - r.left) / cellWidth * cellWidth;
            r.bottom = r.top + (r.bottom - r.top) / cellHeight * cellHeight;
            break;
        }
        case DpiReaction::TakesSuggested:
            break;
    }
    // The window sizes itself: no new change of scale comes of it.
    w->normalRect = r;
    if (!(w->style & (win::WS_MINIMIZE | win::WS_MAXIMIZE))) {
        MoveChildren(*w, r.left - w->rect.left, r.top - w->rect.top);
        w->rect = r;
    }
    NoteSize(*w);
}

}  // namespace sim
