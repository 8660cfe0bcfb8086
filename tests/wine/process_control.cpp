#include "process_control.h"

#include <tlhelp32.h>

#include "engine/win32/handles.h"

namespace wintool {

std::vector<ProcessEntry> RunningProcesses() {
    std::vector<ProcessEntry> entries;
    const win32::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return entries;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        entries.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
    }
    return entries;
}

WaitOutcome WaitForExit(DWORD process_id, DWORD timeout_ms, DWORD& exit_code) {
    const win32::UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
    if (!process) return WaitOutcome::kNoSuchProcess;
    switch (WaitForSingleObject(process.get(), timeout_ms)) {
        case WAIT_OBJECT_0:
            return GetExitCodeProcess(process.get(), &exit_code) ? WaitOutcome::kDone : WaitOutcome::kFailed;
        case WAIT_TIMEOUT:
            return WaitOutcome::kTimedOut;
        default:
            return WaitOutcome::kFailed;
    }
}

WaitOutcome WaitForIdle(DWORD process_id, DWORD timeout_ms) {
    const win32::UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process_id));
    if (!process) return WaitOutcome::kNoSuchProcess;
    switch (WaitForInputIdle(process.get(), timeout_ms)) {
        case 0:
            return WaitOutcome::kDone;
        case WAIT_TIMEOUT:
            return WaitOutcome::kTimedOut;
        default:
            return WaitOutcome::kFailed;
    }
}

bool EndProcess(DWORD process_id, UINT exit_code) {
    const win32::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process_id));
    if (!process || !TerminateProcess(process.get(), exit_code)) return false;
    return WaitForSingleObject(process.get(), 5000) == WAIT_OBJECT_0;
}

}  // namespace wintool
