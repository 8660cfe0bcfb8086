// tray_icons.exe count             how many icons were added to the notification area
//                                  since the desktop started (see tray_icons_view.h)
// tray_icons.exe remove HWND...    take off the icons of windows whose program was ended
#include <windows.h>

#include <cwchar>
#include <vector>

#include "arguments.h"
#include "engine/win32/handles.h"
#include "json_out.h"
#include "tray_icons_view.h"

namespace winbench {
namespace {

constexpr const char* kTool = "tray_icons";

int Run(const Arguments& args) {
    const std::vector<std::wstring>& words = args.Words();
    if (words.size() == 1 && words[0] == L"count") {
        const int icons = CountIconsAdded();
        if (icons < 0) return Fail(kTool, "there is no task bar");
        JsonLine().Integer("icons_added", icons).Print();
        return 0;
    }
    if (words.size() >= 2 && words[0] == L"remove") {
        std::vector<HWND> owners;
        for (size_t i = 1; i < words.size(); ++i) {
            wchar_t* end = nullptr;
            const unsigned long long value = std::wcstoull(words[i].c_str(), &end, 0);
            if (*end != L'\0' || value == 0 || value > 0xFFFFFFFFull)
                return Fail(kTool, "remove needs window handles as 32-bit numbers");
            owners.push_back(win32::HandleFrom32<HWND>(static_cast<std::uint32_t>(value)));
        }
        RemoveTrayIcons(owners);
        JsonLine().Integer("asked", static_cast<long long>(owners.size())).Print();
        return 0;
    }
    return Fail(kTool, "usage: tray_icons.exe count | remove HWND...");
}

}  // namespace
}  // namespace winbench

int wmain(int argc, wchar_t** argv) { return winbench::Run(winbench::Arguments(argc, argv)); }
