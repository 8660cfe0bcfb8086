// message_poke.exe PID COUNT: sends WM_NULL COUNT times to a window of the
// process, each waiting for the answer. Every one wakes the thread owning the
// window, which shows which Linux thread runs that process's message loop.
#include <windows.h>

#include "arguments.h"
#include "json_out.h"
#include "tray_icons_view.h"

namespace winbench {
namespace {

constexpr const char* kTool = "message_poke";

int Run(const Arguments& args) {
    const std::vector<std::wstring>& words = args.Words();
    if (words.size() != 2) return Fail(kTool, "usage: message_poke.exe PID COUNT");
    wchar_t* pidEnd = nullptr;
    wchar_t* countEnd = nullptr;
    const unsigned long pid = std::wcstoul(words[0].c_str(), &pidEnd, 0);
    const unsigned long count = std::wcstoul(words[1].c_str(), &countEnd, 0);
    if (*pidEnd != L'\0' || *countEnd != L'\0' || pid == 0 || count == 0 || count > 100000)
        return Fail(kTool, "the process id and the count must be numbers (count 1 to 100000)");
    const std::vector<HWND> windows = TopLevelWindowsOf(pid);
    if (windows.empty()) return Fail(kTool, "process " + std::to_string(pid) + " has no window");
    unsigned long answered = 0;
    for (unsigned long i = 0; i < count; ++i) {
        DWORD_PTR result = 0;
        if (SendMessageTimeoutW(windows.front(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result)) ++answered;
    }
    if (answered != count) return Fail(kTool, "only " + std::to_string(answered) + " messages were answered");
    JsonLine().Integer("sent", static_cast<long long>(count)).Print();
    return 0;
}

}  // namespace
}  // namespace winbench

int wmain(int argc, wchar_t** argv) { return winbench::Run(winbench::Arguments(argc, argv)); }
