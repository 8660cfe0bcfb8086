// The simulated window manager: every window with its rectangle, styles, title,
// class and owner, and the stacking order of each window's children (the desktop's
// children are the top-level windows), with the show, move and deferred-move rules
// the program relies on.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/platform.h"
#include "engine/sim/dpi_view.h"
#include "engine/sim/monitors.h"

namespace sim {

using engine::Dword;
using engine::Hwnd;
using engine::Long;
using engine::Rect;
using engine::String;

// What a per-monitor-aware window does with the rectangle WM_DPICHANGED suggests.
enum class DpiReaction {
    TakesSuggested,  // the size scaled linearly to the new scale
    SnapsToCells,    // that size rounded down to whole cells of its grid (a terminal's characters)
    Ignores,         // keeps its size
};

// A per-monitor window is the default: Windows neither stretches it nor shows
// it to any program in other pixels than its own, so the rectangle a test
// gives it is the one every caller sees at every scale, and at 96 DPI (every
// test written before monitors had scales) no window's awareness changes
// anything at all.
struct WindowSpec {
    String className;
    String title;
    Rect rect;  // physical pixels
    Dword style = 0;
    Dword exStyle = 0;
    Hwnd parent = 0;  // 0: a top-level window
    Hwnd owner = 0;
    Awareness awareness = Awareness::PerMonitorV2;
    DpiReaction dpiReaction = DpiReaction::TakesSuggested;
};

// Whether the thread of a window takes its messages.
enum class Answering {
    Yes,
    Stalled,  // stopped a moment ago: a bounded question times out, the system does not call it hung yet
    Hung,     // stopped for seconds: IsHungAppWindow says so
};

struct Window {
    Hwnd hwnd = 0;
    Dword thread = 0;  // 0: a thread of the window's own
    Hwnd parent = 0;   // the desktop window for top-level windows
    Hwnd owner = 0;
    String className;
    String title;
    Rect rect;        // screen coordinates, as GetWindowRect gives them
    Rect normalRect;  // where a maximised or minimised window goes back to
    Dword style = 0;
    Dword exStyle = 0;
    std::vector<Hwnd> children;  // the top of the stacking order first
    bool refusesMoves = false;   // a window of a more privileged program
    // Accepted into a deferred batch, refused when the batch is carried out, which
    // then fails as a whole (an elevated program's window on Windows Vista and later).
    bool refusesBatchedMoves = false;
    bool cloaked = false;  // shown, but kept off the screen by the system
    int moveCount = 0;     // how often the window was really moved
    // Layered attributes, as SetLayeredWindowAttributes leaves them.
    Dword layeredKey = 0;
    std::uint8_t layeredAlpha = 255;
    Dword layeredFlags = 0;
    // Scale (window_scale.cpp).
    Awareness awareness = Awareness::PerMonitorV2;
    DpiReaction dpiReaction = DpiReaction::TakesSuggested;
    Dword dpi = kUnscaledDpi;  // the scale Windows gave a top-level window: its monitor's
    // The size a window that Windows stretches was last given, and the scale it
    // was given at: its size in its own pixels, so that coming back to that
    // scale gives back that size.
    Long sizedWidth = 0, sizedHeight = 0;
    Dword sizedDpi = kUnscaledDpi;
    // A window of the program answers WM_DPICHANGED with its own code.
    std::function<void(Dword dpi, const Rect& suggested)> onDpiChanged;
};

class WindowModel {
public:
    explicit WindowModel(Monitors monitors);

    Hwnd Desktop() const { return desktop_; }
    const Rect& Screen() const { return screen_; }  // the primary monitor
    Monitors& monitors() { return monitors_; }
    const Monitors& monitors() const { return monitors_; }

    Hwnd Create(const WindowSpec& request);
    void Destroy(Hwnd hwnd);
    bool Exists(Hwnd hwnd) const { return windows_.count(hwnd) != 0; }
    Window* Find(Hwnd hwnd);
    const Window* Find(Hwnd hwnd) const;
    Window& Get(Hwnd hwnd);  // throws std::out_of_range for a test asking after a missing window

    // The top-level windows, the top of the stacking order first.
    std::vector<Hwnd> TopLevel() const { return Find(desktop_)->children; }

    Hwnd GetWindow(Hwnd hwnd, Dword cmd) const;
    Dword ThreadOf(Hwnd hwnd) const;
    Answering AnsweringOf(Hwnd hwnd) const;
    // A thread stops or starts taking messages; when it starts again, the
    // changes that were handed to it meanwhile are carried out in order.
    void SetAnswering(Dword thread, Answering answering);
    // The calls that would have waited for a thread that takes no messages.
    const std::vector<std::string>& Waits() const { return waits_; }
    // Records a call that Windows would block until the window's thread answers.
    void WaitFor(Hwnd hwnd, const char* call);

    // ShowWindow: SW_HIDE, SW_SHOW..., SW_RESTORE (back to the normal rectangle,
    // raised to the top of its band), SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED.
    bool Show(Hwnd hwnd, Long cmd);
    // ShowWindowAsync: carried out once the window's thread takes messages.
    bool ShowAsync(Hwnd hwnd, Long cmd);
    // The window goes to the top of its band (topmost windows stay above the rest).
    void BringToTop(Hwnd hwnd);
    void SetTopMost(Hwnd hwnd, bool topMost);
    // A move or resize as SetWindowPos makes it (flags SWP_*); false when refused.
    // With SWP_ASYNCWINDOWPOS it waits for the window's thread to take messages.
    bool Place(Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy, Dword flags);

    // A window was moved or sized: a top-level one takes the scale of the
    // monitor it now lies on (a maximised or minimised one keeps its own until
    // it is restored). Windows stretches an unaware or system-aware window to
    // the new scale itself; a per-monitor one gets WM_DPICHANGED, inside the
    // mover's call, or when its thread answers again.
    void Rescale(Hwnd hwnd);
    // The scale of a window: that of its top-level window.
    Dword DpiOf(Hwnd hwnd) const;

    // Deferred moves: a batch collects moves and carries them out together.
    // Like Windows, a move that cannot be deferred ends the whole batch.
    Dword BeginBatch(Long count);
    Dword Defer(Dword batch, Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy, Dword flags);
    bool EndBatch(Dword batch);
    bool BatchAlive(Dword batch) const { return batches_.count(batch) != 0; }
    int BatchesEnded() const { return batchesEnded_; }
    int BatchesBegun() const { return batchesBegun_; }

    // Called between a batch's collection and its moves, so a test can close a
    // window "between the walk and the move".
    std::function<void(Hwnd)> beforeDeferredMove;
    // A restore, or a move without SWP_NOACTIVATE, activates the window, as far
    // as the foreground rules let it.
    std::function<void(Hwnd)> onActivate;

private:
    struct Move {
        Hwnd hwnd;
        Hwnd insertAfter;
        Long x, y, cx, cy;
        Dword flags;
    };
    std::vector<Hwnd>& Siblings(Hwnd hwnd);
    bool ShowNow(Hwnd hwnd, Long cmd);
    void MoveChildren(const Window& parent, Long dx, Long dy);
    bool PlaceNow(Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy, Dword flags);

    void Unlink(Hwnd hwnd);
    void InsertAtTop(Hwnd hwnd);

    void NoteSize(Window& w);
    void Stretch(Window& w, Dword from);
    void AnswerDpiChange(Hwnd hwnd, Dword dpi, const Rect& suggested);

    Monitors monitors_;
    Rect screen_;
    Hwnd desktop_ = 0;
    Hwnd nextHandle_ = 0x10010;
    std::map<Hwnd, Window> windows_;
    Dword nextBatch_ = 0x7000;
    std::map<Dword, std::vector<Move>> batches_;
    int batchesEnded_ = 0;
    int batchesBegun_ = 0;
    std::map<Dword, Answering> answering_;                            // threads that are not Answering::Yes
    std::map<Dword, std::vector<std::function<void()>>> handedOver_;  // per thread, in order
    std::vector<std::string> waits_;
    mutable std::size_t walkHint_ = 0;  // where the last GW_HWNDNEXT answer stands among its siblings
};

}  // namespace sim
