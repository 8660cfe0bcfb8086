// The death of the program's process, as Windows deals it.
#include <algorithm>
#include <cstring>
#include <string>

#include "engine/sim/sim_engine.h"
#include "engine/sim/sim_peers.h"
#include "engine/sim/sim_world.h"

namespace sim {

namespace {
// What a process's memory does as it goes: giving back what Windows already took.
bool GivesBack(const char* call) {
    for (const char* release : {"CloseHandle", "RegCloseKey", "UnhookWinEvent", "UnregisterHotKey"})
        if (std::strcmp(call, release) == 0) return true;
    return false;
}
}  // namespace

void World::KillProgram() {
    if (programDead_) return;
    programDead_ = true;
    killAtCall_ = 0;
    if (auto* sim = dynamic_cast<SimEngine*>(engine)) sim->simulated().ReleaseEverything();
    std::vector<Hwnd> gone;
    for (Hwnd h : windows.TopLevel())
        if (IsProgramWindow(h)) gone.push_back(h);
    for (Hwnd h : gone) {
        std::erase_if(hotKeys, [&](const auto& entry) { return entry.second.hwnd == h; });
        windows.Destroy(h);
    }
    // The process's memory still names them, but no message reaches it.
    std::erase_if(forms, [&](const auto& entry) { return !windows.Exists(entry.first); });
    std::erase_if(controls, [&](const auto& entry) { return !windows.Exists(entry.first); });
    if (!windows.Exists(focus)) focus = 0;
    if (!windows.Exists(foreground)) foreground = 0;
    pendingWinEvents_.clear();
    programHadLastInput = false;
}

void World::KillProgramAtCall(std::uint64_t n) { killAtCall_ = n == 0 ? 0 : callsMade_ + n; }

bool World::CallDiesHere(const char* call) {
    if (programDead_) {
        if (!GivesBack(call)) modelFaults.push_back(std::string("the program called ") + call + " after its death");
        return false;
    }
    // A handle given back is no step anyone could see: dying there or at the
    // next call is the same death. (And the program gives them back in its
    // destructors, through which no death can be thrown.)
    if (GivesBack(call)) return false;
    return ++callsMade_ == killAtCall_;
}

void World::DieHere() {
    KillProgram();
    throw ProcessKilled{};
}

void World::ProgramStarted() {
    programDead_ = false;
    killAtCall_ = 0;
    callsMade_ = 0;
}

void World::PointerOverIcons() {
    for (auto it = trayIcons.begin(); it != trayIcons.end();)
        it = windows.Exists(it->first.first) ? std::next(it) : trayIcons.erase(it);
    std::erase_if(trayOrder, [&](const auto& key) { return !windows.Exists(key.first); });
}

}  // namespace sim
