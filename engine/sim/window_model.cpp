#include "engine/sim/window_model.h"

#include <algorithm>
#include <stdexcept>

namespace sim {
namespace win = engine::win;

namespace {
// Where Windows parks a minimised top-level window.
constexpr Long kMinimizedX = -32000;
constexpr Long kMinimizedY = -32000;
constexpr Long kMinimizedWidth = 160;
constexpr Long kMinimizedHeight = 28;

bool IsTopMost(const Window& w) { return (w.exStyle & win::WS_EX_TOPMOST) != 0; }
}  // namespace

WindowModel::WindowModel(Monitors monitors) : monitors_(std::move(monitors)), screen_(monitors_.Primary().rect) {
    Window desktop;
    desktop.hwnd = nextHandle_;
    nextHandle_ += 4;
    desktop.className = u"#32769";
    desktop.rect = screen_;
    desktop.normalRect = screen_;
    desktop.style = win::WS_VISIBLE;
    desktop.dpi = monitors_.Primary().dpi;
    desktop_ = desktop.hwnd;
    windows_.emplace(desktop_, std::move(desktop));
}

Window* WindowModel::Find(Hwnd hwnd) {
    auto it = windows_.find(hwnd);
    return it == windows_.end() ? nullptr : &it->second;
}

const Window* WindowModel::Find(Hwnd hwnd) const {
    auto it = windows_.find(hwnd);
    return it == windows_.end() ? nullptr : &it->second;
}

Window& WindowModel::Get(Hwnd hwnd) {
    Window* w = Find(hwnd);
    if (!w) throw std::out_of_range("no such simulated window");
    return *w;
}

std::vector<Hwnd>& WindowModel::Siblings(Hwnd hwnd) { return Get(Get(hwnd).parent).children; }

void WindowModel::Unlink(Hwnd hwnd) {
    auto& s = Siblings(hwnd);
    s.erase(std::remove(s.begin(), s.end(), hwnd), s.end());
}

void WindowModel::InsertAtTop(Hwnd hwnd) {
    auto& s = Siblings(hwnd);
    const bool topMost = IsTopMost(Get(hwnd));
    auto pos = s.begin();
    if (!topMost)
        while (pos != s.end() && IsTopMost(Get(*pos))) ++pos;
    s.insert(pos, hwnd);
}

Hwnd WindowModel::Create(const WindowSpec& request) {
    Window w;
    w.hwnd = nextHandle_;
    nextHandle_ += 4;
    w.parent = request.parent ? request.parent : desktop_;
    if (!Exists(w.parent)) return 0;
    w.owner = request.owner;
    w.className = request.className;
    w.title = request.title;
    w.rect = request.rect;
    w.normalRect = request.rect;
    w.style = request.style;
    w.exStyle = request.exStyle;
    w.awareness = request.awareness;
    w.dpiReaction = request.dpiReaction;
    const Hwnd h = w.hwnd;
    windows_.emplace(h, std::move(w));
    Window& made = Get(h);
    if (made.style & win::WS_MINIMIZE) {
        made.rect = {kMinimizedX, kMinimizedY, kMinimizedX + kMinimizedWidth, kMinimizedY + kMinimizedHeight};
    } else if (made.style & win::WS_MAXIMIZE) {
        made.rect = screen_;
    }
    made.dpi = made.parent == desktop_ ? monitors_.Nearest(made.normalRect).dpi : DpiOf(made.parent);
    NoteSize(made);
    InsertAtTop(h);
    return h;
}

void WindowModel::Destroy(Hwnd hwnd) {
    Window* w = Find(hwnd);
    if (!w || hwnd == desktop_) return;
    const auto kids = w->children;
    for (Hwnd kid : kids) Destroy(kid);
    Unlink(hwnd);
    windows_.erase(hwnd);
}

Hwnd WindowModel::GetWindow(Hwnd hwnd, Dword cmd) const {
    const Window* w = Find(hwnd);
    if (!w) return 0;
    switch (cmd) {
        case win::GW_CHILD:
            return w->children.empty() ? 0 : w->children.front();
        case win::GW_OWNER:
            return w->owner;
        case win::GW_HWNDNEXT: {
            if (hwnd == desktop_) return 0;
            const auto& s = Find(w->parent)->children;
            // A walk asks for the window after the one it was given last.
            std::size_t at = walkHint_ < s.size() && s[walkHint_] == hwnd
                                 ? walkHint_
                                 : static_cast<std::size_t>(std::find(s.begin(), s.end(), hwnd) - s.begin());
            if (at + 1 >= s.size()) return 0;
            walkHint_ = at + 1;
            return s[at + 1];
        }
        default:
            return 0;
    }
}

void WindowModel::BringToTop(Hwnd hwnd) {
    if (!Exists(hwnd) || hwnd == desktop_) return;
    Unlink(hwnd);
    InsertAtTop(hwnd);
}

void WindowModel::SetTopMost(Hwnd hwnd, bool topMost) {
    Window* w = Find(hwnd);
    if (!w || hwnd == desktop_) return;
    if (topMost)
        w->exStyle |= win::WS_EX_TOPMOST;
    else
        w->exStyle &= ~win::WS_EX_TOPMOST;
    BringToTop(hwnd);
}

Dword WindowModel::ThreadOf(Hwnd hwnd) const {
    const Window* w = Find(hwnd);
    if (!w) return 0;
    return w->thread ? w->thread : hwnd;
}

Answering WindowModel::AnsweringOf(Hwnd hwnd) const {
    auto it = answering_.find(ThreadOf(hwnd));
    return it == answering_.end() ? Answering::Yes : it->second;
}

void WindowModel::SetAnswering(Dword thread, Answering answering) {
    if (answering != Answering::Yes) {
        answering_[thread] = answering;
        return;
    }
    answering_.erase(thread);
    auto queued = std::move(handedOver_[thread]);
    handedOver_.erase(thread);
    for (auto& change : queued) change();
}

void WindowModel::WaitFor(Hwnd hwnd, const char* call) {
    if (Exists(hwnd) && AnsweringOf(hwnd) != Answering::Yes)
        waits_.push_back(std::string(call) + " waited for window " + std::to_string(hwnd));
}

bool WindowModel::Show(Hwnd hwnd, Long cmd) {
    WaitFor(hwnd, "ShowWindow");
    return ShowNow(hwnd, cmd);
}

bool WindowModel::ShowAsync(Hwnd hwnd, Long cmd) {
    if (!Exists(hwnd) || hwnd == desktop_) return false;
    if (AnsweringOf(hwnd) == Answering::Yes) {
        ShowNow(hwnd, cmd);
        return true;  // "the change was handed over", whatever the window's state was
    }
    handedOver_[ThreadOf(hwnd)].push_back([this, hwnd, cmd] { ShowNow(hwnd, cmd); });
    return true;
}

bool WindowModel::ShowNow(Hwnd hwnd, Long cmd) {
    Window* w = Find(hwnd);
    if (!w || hwnd == desktop_) return false;
    const bool wasVisible = (w->style & win::WS_VISIBLE) != 0;
    switch (cmd) {
        case win::SW_HIDE:
            w->style &= ~win::WS_VISIBLE;
            break;
        case win::SW_RESTORE:
        case win::SW_SHOWNORMAL:
            if (w->style & (win::WS_MINIMIZE | win::WS_MAXIMIZE)) {
                w->style &= ~(win::WS_MINIMIZE | win::WS_MAXIMIZE);
                w->rect = w->normalRect;
                Rescale(hwnd);
                w = Find(hwnd);
                if (!w) return wasVisible;
            }
            w->style |= win::WS_VISIBLE;
            BringToTop(hwnd);  // restoring activates the window
            if (onActivate && w->parent == desktop_) onActivate(hwnd);
            break;
        case win::SW_SHOWMINIMIZED:
            if (!(w->style & (win::WS_MINIMIZE | win::WS_MAXIMIZE))) w->normalRect = w->rect;
            w->style = (w->style & ~win::WS_MAXIMIZE) | win::WS_MINIMIZE | win::WS_VISIBLE;
            w->rect = {kMinimizedX, kMinimizedY, kMinimizedX + kMinimizedWidth, kMinimizedY + kMinimizedHeight};
            break;
        case win::SW_SHOWMAXIMIZED:
            if (!(w->style & (win::WS_MINIMIZE | win::WS_MAXIMIZE))) w->normalRect = w->rect;
            w->style = (w->style & ~win::WS_MINIMIZE) | win::WS_MAXIMIZE | win::WS_VISIBLE;
            w->rect = screen_;
            BringToTop(hwnd);
            break;
        default:
            w->style |= win::WS_VISIBLE;
            break;
    }
    return wasVisible;
}

bool WindowModel::Place(Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy, Dword flags) {
    if (!(flags & win::SWP_ASYNCWINDOWPOS)) {
        WaitFor(hwnd, "SetWindowPos");
        return PlaceNow(hwnd, insertAfter, x, y, cx, cy, flags);
    }
    const Window* w = Find(hwnd);
    if (!w || hwnd == desktop_ || w->refusesMoves || w->refusesBatchedMoves) return false;
    if (AnsweringOf(hwnd) == Answering::Yes) return PlaceNow(hwnd, insertAfter, x, y, cx, cy, flags);
    handedOver_[ThreadOf(hwnd)].push_back(
        [=, this] { PlaceNow(hwnd, insertAfter, x, y, cx, cy, flags & ~win::SWP_ASYNCWINDOWPOS); });
    return true;
}

void WindowModel::MoveChildren(const Window& parent, Long dx, Long dy) {
    for (Hwnd kid : parent.children) {
        Window& k = Get(kid);
        k.rect = {k.rect.left + dx, k.rect.top + dy, k.rect.right + dx, k.rect.bottom + dy};
        k.normalRect = {k.normalRect.left + dx, k.normalRect.top + dy, k.normalRect.right + dx,
                        k.normalRect.bottom + dy};
        MoveChildren(k, dx, dy);
    }
}

bool WindowModel::PlaceNow(Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy, Dword flags) {
    Window* w = Find(hwnd);
    if (!w || hwnd == desktop_ || w->refusesMoves || w->refusesBatchedMoves) return false;
    Rect r = w->rect;
    if (!(flags & win::SWP_NOMOVE)) {
        const Long width = r.right - r.left, height = r.bottom - r.top;
        r = {x, y, x + width, y + height};
    }
    if (!(flags & win::SWP_NOSIZE)) {
        r.right = r.left + cx;
        r.bottom = r.top + cy;
    }
    if (!(r == w->rect)) {
        // Children keep their place in the window: they move with it.
        const Long dx = r.left - w->rect.left, dy = r.top - w->rect.top;
        if (dx != 0 || dy != 0) MoveChildren(*w, dx, dy);
        w->rect = r;
        ++w->moveCount;
        if (!(w->style & (win::WS_MINIMIZE | win::WS_MAXIMIZE))) w->normalRect = r;
    }
    if (flags & win::SWP_SHOWWINDOW) w->style |= win::WS_VISIBLE;
    if (!(flags & win::SWP_NOZORDER)) {
        if (insertAfter == win::HWND_TOPMOST)
            SetTopMost(hwnd, true);
        else if (insertAfter == win::HWND_NOTOPMOST)
            SetTopMost(hwnd, false);
    }
    // A move without SWP_NOACTIVATE activates the window, as far as the foreground rules let it.
    if (!(flags & win::SWP_NOACTIVATE) && onActivate && w->parent == desktop_ && (w->style & win::WS_VISIBLE))
        onActivate(hwnd);
    Rescale(hwnd);
    return true;
}

Dword WindowModel::BeginBatch(Long count) {
    if (count < 0) return 0;
    const Dword batch = nextBatch_++;
    batches_[batch].reserve(static_cast<size_t>(count));
    ++batchesBegun_;
    return batch;
}

Dword WindowModel::Defer(Dword batch, Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy, Dword flags) {
    auto it = batches_.find(batch);
    if (it == batches_.end()) return 0;
    const Window* w = Find(hwnd);
    if (!w || hwnd == desktop_ || w->refusesMoves) {
        // Windows frees the batch when a move cannot be deferred.
        batches_.erase(it);
        return 0;
    }
    it->second.push_back({hwnd, insertAfter, x, y, cx, cy, flags});
    return batch;
}

bool WindowModel::EndBatch(Dword batch) {
    auto it = batches_.find(batch);
    if (it == batches_.end()) return false;
    auto moves = std::move(it->second);
    batches_.erase(it);
    ++batchesEnded_;
    for (const Move& m : moves) WaitFor(m.hwnd, "EndDeferWindowPos");
    // A window the program may not move refuses the whole batch: nothing moves.
    for (const Move& m : moves)
        if (const Window* w = Find(m.hwnd); w && w->refusesBatchedMoves) return false;
    bool all = true;
    for (const Move& m : moves) {
        if (beforeDeferredMove) beforeDeferredMove(m.hwnd);
        if (!PlaceNow(m.hwnd, m.insertAfter, m.x, m.y, m.cx, m.cy, m.flags)) all = false;
    }
    return all;
}

}  // namespace sim
