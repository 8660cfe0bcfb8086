// startup_watch.exe --icons K [--timeout MS] -- PROGRAM.EXE [ARGUMENT...]
//
// Starts the program (in its own folder) and watches, every millisecond, for
// its first top-level window and for K icons added to the notification area.
// Prints the times from just before CreateProcess, then ends the program and
// takes off the icons it left.
#include <windows.h>

#include <string>

#include "arguments.h"
#include "engine/win32/handles.h"
#include "json_out.h"
#include "stopwatch.h"
#include "tray_icons_view.h"

namespace winbench {
namespace {

constexpr const char* kTool = "startup_watch";

std::wstring FolderOf(const std::wstring& path) {
    const size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

int Run(const Arguments& args) {
    const std::optional<long> icons = args.Number(L"--icons", 1, 0, 100);
    const std::optional<long> timeout = args.Number(L"--timeout", 60000, 100, 600000);
    const std::vector<std::wstring> program = args.Rest();
    if (!icons || !timeout || program.empty())
        return Fail(kTool, "usage: startup_watch.exe --icons K [--timeout MS] -- PROGRAM.EXE [ARGUMENT...]");

    const int baseline = CountIconsAdded();
    if (baseline < 0) return Fail(kTool, "there is no task bar");

    std::wstring commandLine = L"\"" + program[0] + L"\"";
    for (size_t i = 1; i < program.size(); ++i) commandLine += L" " + program[i];
    const std::wstring folder = FolderOf(program[0]);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created{};
    const Stopwatch clock;
    const long long start = Stopwatch::Now();
    if (!CreateProcessW(program[0].c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &created))
        return Fail(kTool, "the program could not be started (error " + std::to_string(GetLastError()) + ")");
    const double startedMs = clock.MsSince(start);
    const win32::UniqueHandle process(created.hProcess);
    const win32::UniqueHandle thread(created.hThread);

    double windowMs = -1, iconsMs = -1;
    std::string failure;
    while (failure.empty() && iconsMs < 0) {
        const double now = clock.MsSince(start);
        if (windowMs < 0 && !TopLevelWindowsOf(created.dwProcessId).empty()) windowMs = now;
        if (CountIconsAdded() - baseline >= *icons) {
            iconsMs = now;
            if (windowMs < 0) windowMs = now;
        } else if (WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) {
            failure = "the program ended before its icons appeared";
        } else if (now > static_cast<double>(*timeout)) {
            failure = "the icons did not appear in time";
        } else {
            Sleep(1);
        }
    }

    const std::vector<HWND> owners = TopLevelWindowsOf(created.dwProcessId);
    TerminateProcess(process.get(), 0);
    WaitForSingleObject(process.get(), 10000);
    RemoveTrayIcons(owners);
    if (!failure.empty()) return Fail(kTool, failure);
    JsonLine()
        .Number("started_ms", startedMs)
        .Number("window_ms", windowMs)
        .Number("icons_ms", iconsMs)
        .Integer("icons", *icons)
        .Print();
    return 0;
}

}  // namespace
}  // namespace winbench

int wmain(int argc, wchar_t** argv) { return winbench::Run(winbench::Arguments(argc, argv)); }
