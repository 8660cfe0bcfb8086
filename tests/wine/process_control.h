// Watching and ending other Windows processes by their process id.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wintool {

struct ProcessEntry {
    DWORD process_id = 0;
    DWORD parent_id = 0;
    std::wstring exe;
};

std::vector<ProcessEntry> RunningProcesses();

enum class WaitOutcome { kDone, kTimedOut, kNoSuchProcess, kFailed };

// Waits for the process to end; exit_code is set when it has.
WaitOutcome WaitForExit(DWORD process_id, DWORD timeout_ms, DWORD& exit_code);
// Waits until the process sits in its message loop with no input pending.
WaitOutcome WaitForIdle(DWORD process_id, DWORD timeout_ms);
bool EndProcess(DWORD process_id, UINT exit_code);

}  // namespace wintool
