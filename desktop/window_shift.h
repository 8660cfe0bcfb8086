// The window side of a desktop switch: which top-level windows take part, and
// moving them all by whole screen widths together.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <vector>

#include "desktop/never_move.h"
#include "engine/collection.h"
#include "engine/platform.h"
#include "lib/ClsKwWinInterface.h"

namespace desktop {

// Why a window of the walk stays where it is (or that it takes part).
enum class WalkVerdict { Takes, NotVisible, Own, Cloaked, NeverMove, Pinned };

// Windows the user pinned to every desktop: they stay on the screen at every
// switch, as if the never-move list named them, while Trevo runs.
class PinnedWindows {
public:
    // Pins the window, or unpins it when it is pinned; true when it is pinned now.
    bool Toggle(engine::Hwnd hwnd);
    bool Has(engine::Hwnd hwnd) const { return pinned_.count(hwnd) != 0; }
    // A closed window's handle may be given to a new window: its pin goes.
    void ForgetClosed(engine::Platform& platform);
    bool Empty() const { return pinned_.empty(); }

private:
    std::set<engine::Hwnd> pinned_;
};

// What a switch does beyond the never-move list.
struct CollectOptions {
    const PinnedWindows* pinned = nullptr;
    // A minimised window stays minimised (where it belongs is kept apart).
    bool keepMinimised = false;
};

// A window that takes part in a switch.
struct WindowToMove {
    engine::Hwnd hwnd = 0;
    // Its thread takes messages. One that does not is never waited for: its
    // changes are handed to its thread, to be carried out when it answers again.
    bool answers = true;
    // For a window that does not answer and was maximised or minimised: the
    // screen rectangle its restore (still on its way) will give it.
    bool restoring = false;
    engine::Rect restoredRect;
    bool keptMinimised = false;  // it stays minimised and is not moved
};

// Whether the thread of a window takes messages, asked once a thread for a walk:
// a hung one is known at once, one that has just stopped costs a short wait.
class AnswerProbe {
public:
    static constexpr engine::Dword kAnswerWaitMs = 250;
    explicit AnswerProbe(engine::Platform& platform) : platform_(platform) {}
    bool Answers(engine::Hwnd hwnd);

private:
    engine::Platform& platform_;
    std::map<engine::Dword, bool> answers_;  // by thread
};

// Where a maximised or minimised window goes back to: its placement, and the
// normal rectangle in screen coordinates (the placement counts it from the
// corner of the work area).
bool NormalPlacement(engine::Platform& platform, engine::Hwnd hwnd, engine::WindowPlacement* placement,
                     engine::Rect* onScreen);

// Walks the top-level windows from the top of the stacking order, skips the
// invisible ones, Trevo's own, the cloaked ones and those a never-move pattern
// spares, restores the maximised and minimised ones among the rest and returns
// them in walk order.
std::vector<WindowToMove> CollectWindows(lib::ClsKwWinInterface& wi, engine::Platform& platform,
                                         const std::vector<NeverMoveRule>& rules, const CollectOptions& options = {});
// One window that takes part, made ready to move as a switch makes it ready.
WindowToMove PrepareWindow(lib::ClsKwWinInterface& wi, engine::Platform& platform, AnswerProbe& probe,
                           engine::Hwnd hwnd, bool keepMinimised);
std::vector<NeverMoveRule> ScanPatterns(const engine::Collection<engine::String>& entries);
WalkVerdict Judge(lib::ClsKwWinInterface& wi, engine::Platform& platform, const std::vector<NeverMoveRule>& rules,
                  engine::Hwnd hwnd, const PinnedWindows* pinned = nullptr);

// One window's move in a shift: from the left edge it has (or its pending
// restore gives it) to the one it is sent to.
struct PlannedMove {
    engine::Hwnd hwnd = 0;
    engine::Long fromLeft = 0;
    engine::Long toLeft = 0;
};

// Told of a shift before its first move and as soon as its last move has
// returned, so that what is kept about the windows never names a place they
// have already left.
struct ShiftWitness {
    std::function<void(const std::vector<PlannedMove>&)> planned;
    std::function<void()> moved;
};

// Moves every answering window by dx pixels in one deferred batch, and hands
// the move of each other one to its thread. A window that cannot be moved
// (closed meanwhile, or a more privileged program's) is left out and the others
// still move. Raises 6 when a target does not fit in 32 bits.
void ShiftWindows(engine::Platform& platform, const std::vector<WindowToMove>& windows, engine::Long dx,
                  const ShiftWitness& witness = {});

// A window that takes part in a shift, with the distance it goes.
struct WindowShift {
    WindowToMove window;
    engine::Long dx = 0;
};

// Every window by the same distance.
std::vector<WindowShift> AllBy(const std::vector<WindowToMove>& windows, engine::Long dx);

// As above, each window by its own distance, all in one batch.
void ShiftWindows(engine::Platform& platform, const std::vector<WindowShift>& shifts, const ShiftWitness& witness = {});

// Moves one window to (x, y) without activating it; the move of a window
// whose thread does not answer is handed to that thread.
bool MoveWithoutActivating(engine::Platform& platform, engine::Hwnd hwnd, engine::Long x, engine::Long y, bool answers);

// The value, raising 6 when it does not fit in 32 bits.
engine::Long CheckedLong(long long value);

// (old - new) × screen width, raising 6 when it does not fit in 32 bits.
engine::Long ShiftDistance(engine::Long oldDesk, engine::Long newDesk, engine::Long screenWidth);

}  // namespace desktop
