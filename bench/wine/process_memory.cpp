// process_memory.exe PID: what Windows reports of a process's memory, in bytes.
#include <windows.h>
#include <psapi.h>

#include "arguments.h"
#include "engine/win32/handles.h"
#include "json_out.h"

namespace winbench {
namespace {

constexpr const char* kTool = "process_memory";

int Run(const Arguments& args) {
    if (args.Words().size() != 1) return Fail(kTool, "usage: process_memory.exe PID");
    wchar_t* end = nullptr;
    const unsigned long pid = std::wcstoul(args.Words()[0].c_str(), &end, 0);
    if (*end != L'\0' || pid == 0) return Fail(kTool, "the process id must be a number");
    const win32::UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process) return Fail(kTool, "no process " + std::to_string(pid));
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return Fail(kTool, "GetProcessMemoryInfo failed (error " + std::to_string(GetLastError()) + ")");
    JsonLine()
        .Integer("private_usage", counters.PrivateUsage)
        .Integer("pagefile_usage", counters.PagefileUsage)
        .Integer("working_set", counters.WorkingSetSize)
        .Integer("peak_working_set", counters.PeakWorkingSetSize)
        .Print();
    return 0;
}

}  // namespace
}  // namespace winbench

int wmain(int argc, wchar_t** argv) { return winbench::Run(winbench::Arguments(argc, argv)); }
