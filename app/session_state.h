// What Trevo keeps for the length of one log-on session, beside its settings:
// that it is running, and which desktop is active, so that a Trevo that ended
// without Exit (a crash, Task Manager) leaves no window out of reach.
#pragma once

#include <optional>

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
// Windows keeps only until it starts again (a volatile key), written at every
// switch and removed at Exit.
class DesktopRecord {
public:
    struct Left {
        engine::Long desk;
        engine::Long width;
    };

    explicit DesktopRecord(engine::Platform& platform);
    ~DesktopRecord();
    DesktopRecord(const DesktopRecord&) = delete;
    DesktopRecord& operator=(const DesktopRecord&) = delete;

    // What a Trevo that ended without Exit left behind, when it makes sense.
    std::optional<Left> Read();
    void Write(engine::Long desk, engine::Long width);
    void Clear();

private:
    engine::Platform& platform_;
    engine::Dword key_ = 0;  // 0 when the registry refused the key: then nothing is kept
};

}  // namespace trevo
