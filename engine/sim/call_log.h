// A spy in front of the simulated Windows: it writes down the calls a test wants
// to count or look at, and changes nothing of what they do. A test opts in by
// attaching a log to the engine before the program starts.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/sim/forwarding_platform.h"
#include "engine/sim/sim_world.h"

namespace sim {

class SimEngine;

// One call of GetOpenFileNameW, as the record stood when the program made it.
struct FileChooserCall {
    bool wide = false;
    Dword structSize = 0;
    Dword owner = 0;
    std::string filter;  // up to and including the closing double NUL, in the code page for W
    Dword filterIndex = 0;
    Dword maxFile = 0;
    Dword flags = 0;
    bool otherMembersZero = false;
    bool visibleFormDisabled = false;  // a shown form of the program took no input meanwhile
};

struct CallLog {
    std::vector<std::pair<Dword, std::pair<Hwnd, Dword>>> trayCalls;  // (NIM_*, (window, id))
    std::vector<FileChooserCall> fileChooserCalls;
    std::vector<std::string> profileReads;  // the section of each GetPrivateProfileStringA
    int wallpaperSets = 0;
    // The steps of a switch in the order they were taken: "moves" (a batch
    // carried out), "icon <window>" (an icon changed), "wallpaper".
    std::vector<std::string> switchSteps;
    Dword timeSpentWaiting = 0;  // milliseconds of bounded questions that timed out
};

class CallSpy : public ForwardingPlatform {
public:
    CallSpy(engine::Platform& inner, const World& world, CallLog& log)
        : ForwardingPlatform(inner), world_(world), log_(log) {}

    bool SendMessageTimeoutA(Hwnd hwnd, Dword message, Dword wParam, Long lParam, Dword flags, Dword timeoutMs,
                             Dword* result) override;
    bool SystemParametersInfoA(Dword action, Dword param, void* pv, Dword winIni) override;
    bool SystemParametersInfoW(Dword action, Dword param, void* pv, Dword winIni) override;
    bool Shell_NotifyIconA(Dword message, const engine::NotifyIconDataA* data) override;
    bool GetOpenFileNameW(engine::OpenFileNameW* record) override;
    Dword GetPrivateProfileStringA(const char* section, const char* key, const char* def, char* buffer, Dword size,
                                   const char* file) override;
    bool EndDeferWindowPos(Dword batch) override;

private:
    void NoteSystemParameter(Dword action);
    const World& world_;
    CallLog& log_;
};

// From now on the engine's calls pass the spy, which writes into log.
void AttachCallLog(SimEngine& engine, CallLog& log);

}  // namespace sim
