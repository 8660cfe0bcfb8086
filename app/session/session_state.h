// What Trevo keeps for the length of one log-on session, beside its settings:
// that it is running, and which desktop is active, so that a Trevo that ended
// without Exit (a crash, Task Manager) leaves no window out of reach.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "desktop/window_shift.h"
#include "desktop/window_sizes.h"
#include "engine/platform.h"

namespace trevo {

// The one Trevo of the log-on session: a named mutex, held while the process
// lives (Windows gives it back when the process ends, however it ends).
class SessionLock {
public:
    SessionLock(engine::Platform& platform, bool win9x);
    ~SessionLock();
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;

    // False when another Trevo of this session holds it.
    bool Held() const { return held_; }

private:
    engine::Platform& platform_;
    engine::Dword handle_ = 0;
    bool held_ = false;
};

// The active desktop and the width of a desktop, in a registry key that
// Windows keeps only until it starts again (a volatile key), written as soon as
// a switch's moves have returned and removed at Exit. Beside them, while a
// shift's moves are under way, the moves themselves (a process killed among
// them leaves some windows moved and some not, which no desktop number alone
// describes), and the sizes kept for windows beside the screen.
class DesktopRecord {
public:
    struct Left {
        engine::Long desk;
        engine::Long width;
    };
    struct MoveUnderWay {
        engine::Long to = 0;
        engine::Long width = 0;
        std::vector<desktop::PlannedMove> moves;
    };

    explicit DesktopRecord(engine::Platform& platform);
    ~DesktopRecord();
    DesktopRecord(const DesktopRecord&) = delete;
    DesktopRecord& operator=(const DesktopRecord&) = delete;

    // What a Trevo that ended without Exit left behind, when it makes sense.
    std::optional<Left> Read();
    // The windows now lie on desktop `desk`'s arrangement: the move under way is done.
    void Write(engine::Long desk, engine::Long width);
    void Clear();

    // Before a shift's first move: where it takes each window, and the desktop
    // they are on once it is done.
    void Moving(engine::Long to, engine::Long width, const std::vector<desktop::PlannedMove>& moves);
    std::optional<MoveUnderWay> ReadMove();
    void WriteSizes(const std::vector<desktop::WindowSizes::Kept>& sizes);
    std::vector<desktop::WindowSizes::Kept> ReadSizes();

    // The wallpaper Windows showed before the session's first Trevo changed it
    // ("" for none). It outlives Exit and crashes alike: only putting it back
    // forgets it.
    void KeepWallpaperBefore(const engine::String& path);
    std::optional<engine::String> WallpaperBefore();
    void ForgetWallpaperBefore();

private:
    std::optional<engine::Dword> ReadNumber(const char* name);
    std::vector<engine::Long> ReadNumbers(const char* name);
    void WriteNumbers(const char* name, const std::vector<engine::Long>& numbers);

    engine::Platform& platform_;
    engine::Dword key_ = 0;  // 0 when the registry refused the key: then nothing is kept
};

}  // namespace trevo
