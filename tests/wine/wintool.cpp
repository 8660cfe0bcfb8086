// wintool: looks at and drives the Wine desktop from inside, for the
// end-to-end tests. Every answer is one JSON object per line, in UTF-8.
// One file: it is the table of commands below, each a few lines over the
// helpers of window_info, keyboard and process_control.
//
//   wintool [--desktop NAME] COMMAND ARGS...
//     windows [--pid N] [--exe NAME] [--visible]  top-level windows
//     children HWND                              all controls inside a window
//     dialogs [--title TEXT]                     dialog boxes (#32770) with their texts and buttons
//     press HWND (--id N | --caption TEXT)       press a button of a dialog
//     keys HWND KEY...                           type keys into a window (see keyboard.h)
//     hotkey KEY...                              type keys into whatever has the focus, for hotkeys
//     activate HWND                              make the window the foreground, tell whether it became it
//     grab-hotkey KEY MILLISECONDS               hold a hotkey combination for that time
//     foreground                                 the foreground window
//     processes                                  running processes
//     wait-exit PID MILLISECONDS                 wait for a process to end, tell its exit code
//     wait-idle PID MILLISECONDS                 wait until a process waits for input
//     kill PID                                   end a process
//     wallpaper                                  the desktop wallpaper setting
//     version                                    the Windows version Wine reports
//     post HWND MESSAGE WPARAM LPARAM...         post the message once per LPARAM, in that order
//     send HWND MESSAGE WPARAM LPARAM            send the message, tell the window's answer
//     answers HWND MILLISECONDS                  whether the window's thread takes a message in time
//     text-extent HWND                           a control's text measured in its own font, with its client rectangle
//     display                                    the screen's size, its DPI and the small icon size
//     watch-window PID CLASS MILLISECONDS        wait for a process's window of that class to show, then to go
//
// Exit status: 0 done, 1 failed, 2 bad command line, 3 timed out, 4 no such
// process or window. Every status but 0 comes with a line on the error stream
// that says why: a status without one was not wintool's (Wine's start-up of
// the process failed, or something ended it).
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "captions.h"
#include "engine/win32/handles.h"
#include "json_line.h"
#include "keyboard.h"
#include "process_control.h"
#include "text_extent.h"
#include "window_info.h"

namespace wintool {
namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr int kTimedOut = 3;
constexpr int kNotFound = 4;

using Arguments = std::vector<std::wstring>;

// A failure, said with Windows' last error.
int Failed(const std::wstring& why) {
    PrintError(why + L" (error " + std::to_wstring(GetLastError()) + L")");
    return kFailed;
}

int Usage(const std::wstring& why) {
    PrintError(why + L" (see the comment at the top of wintool.cpp)");
    return kUsage;
}

std::optional<DWORD> ParseNumber(const std::wstring& text) {
    if (text.empty()) return std::nullopt;
    wchar_t* end = nullptr;
    const unsigned long value = std::wcstoul(text.c_str(), &end, 0);
    if (*end != L'\0') return std::nullopt;
    return static_cast<DWORD>(value);
}

// Reads "--name value" pairs and "--flag" switches; false on anything else.
struct Options {
    std::vector<std::pair<std::wstring, std::wstring>> values;
    std::vector<std::wstring> flags;

    std::optional<std::wstring> Value(const std::wstring& name) const {
        for (const auto& [key, value] : values) {
            if (key == name) return value;
        }
        return std::nullopt;
    }
    bool Flag(const std::wstring& name) const {
        for (const auto& flag : flags) {
            if (flag == name) return true;
        }
        return false;
    }
};

bool ParseOptions(const Arguments& args, std::size_t first, const std::vector<std::wstring>& switches,
                  Options& options) {
    for (std::size_t i = first; i < args.size(); ++i) {
        bool is_switch = false;
        for (const auto& name : switches) is_switch = is_switch || args[i] == name;
        if (is_switch) {
            options.flags.push_back(args[i]);
        } else if (args[i].rfind(L"--", 0) == 0 && i + 1 < args.size()) {
            options.values.emplace_back(args[i], args[i + 1]);
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

bool IsButton(const WindowInfo& info) { return _wcsicmp(info.class_name.c_str(), L"Button") == 0; }
bool IsStatic(const WindowInfo& info) { return _wcsicmp(info.class_name.c_str(), L"Static") == 0; }

int ListWindows(const Arguments& args) {
    Options options;
    if (!ParseOptions(args, 1, {L"--visible"}, options)) return Usage(L"windows: unknown option");
    const auto pid = options.Value(L"--pid");
    std::optional<DWORD> wanted_pid;
    if (pid) {
        wanted_pid = ParseNumber(*pid);
        if (!wanted_pid) return Usage(L"windows: --pid needs a number");
    }
    const auto exe = options.Value(L"--exe");
    for (const HWND window : TopLevelWindows()) {
        // The filters come before the description: reading a title asks the window's
        // thread, and a thread that does not answer would hold up every listing.
        DWORD process_id = 0;
        GetWindowThreadProcessId(window, &process_id);
        if (wanted_pid && process_id != *wanted_pid) continue;
        if (exe && _wcsicmp(exe->c_str(), ProcessExeName(process_id).c_str()) != 0) continue;
        if (options.Flag(L"--visible") && !IsWindowVisible(window)) continue;
        ToJson(DescribeWindow(window)).Print();
    }
    return kDone;
}

int ListChildren(const Arguments& args) {
    if (args.size() != 2) return Usage(L"children: HWND expected");
    const HWND parent = ParseWindow(args[1]);
    if (parent == nullptr) return kNotFound;
    for (const HWND child : ChildWindows(parent)) {
        JsonLine line = ToJson(DescribeWindow(child));
        line.Number("parent", HandleValue(GetParent(child)));
        line.Print();
    }
    return kDone;
}

int ListDialogs(const Arguments& args) {
    Options options;
    if (!ParseOptions(args, 1, {}, options)) return Usage(L"dialogs: unknown option");
    const auto title = options.Value(L"--title");
    for (const HWND window : TopLevelWindows()) {
        const WindowInfo dialog = DescribeWindow(window);
        if (dialog.class_name != L"#32770" || !dialog.visible) continue;
        if (title && dialog.text != *title) continue;
        std::string texts = "[";
        std::string buttons = "[";
        for (const HWND child : ChildWindows(window)) {
            const WindowInfo control = DescribeWindow(child);
            if (!control.visible) continue;
            if (IsStatic(control) && !control.text.empty()) {
                if (texts.size() > 1) texts += ",";
                texts += JsonQuoted(control.text);
            } else if (IsButton(control)) {
                if (buttons.size() > 1) buttons += ",";
                JsonLine button;
                button.Number("id", control.control_id).Text("caption", control.text).Flag("enabled", control.enabled);
                buttons += button.Object();
            }
        }
        ToJson(dialog).Raw("texts", texts + "]").Raw("buttons", buttons + "]").Print();
    }
    return kDone;
}

int PressButton(const Arguments& args) {
    if (args.size() < 2) return Usage(L"press: HWND expected");
    Options options;
    if (!ParseOptions(args, 2, {}, options)) return Usage(L"press: unknown option");
    const HWND dialog = ParseWindow(args[1]);
    if (dialog == nullptr) return kNotFound;
    const auto id_text = options.Value(L"--id");
    const auto caption = options.Value(L"--caption");
    if (id_text.has_value() == caption.has_value()) return Usage(L"press: give --id or --caption");
    const auto id = id_text ? ParseNumber(*id_text) : std::nullopt;
    if (id_text && !id) return Usage(L"press: --id needs a number");
    for (const HWND child : ChildWindows(dialog)) {
        const WindowInfo control = DescribeWindow(child);
        if (!IsButton(control) || GetParent(child) != dialog) continue;
        const bool match = id ? control.control_id == static_cast<int>(*id)
                              : WithoutMnemonics(control.text) == WithoutMnemonics(*caption);
        if (!match) continue;
        if (!control.visible || !control.enabled) {
            PrintError(L"press: the button is hidden or disabled");
            return kFailed;
        }
        // What a click on the button does: it tells its dialog through WM_COMMAND.
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(control.control_id, BN_CLICKED), reinterpret_cast<LPARAM>(child));
        ToJson(control).Print();
        return kDone;
    }
    PrintError(L"press: no such button");
    return kNotFound;
}

int SendKeys(const Arguments& args) {
    if (args.size() < 3) return Usage(L"keys: HWND and at least one key expected");
    const HWND window = ParseWindow(args[1]);
    if (window == nullptr) return kNotFound;
    std::wstring error;
    const auto events = KeyEvents(Arguments(args.begin() + 2, args.end()), error);
    if (!events) return Usage(L"keys: " + error);
    if (!SendKeysTo(window, *events, error)) {
        PrintError(L"keys: " + error);
        return kFailed;
    }
    JsonLine().Number("sent", static_cast<std::int64_t>(events->size())).Print();
    return kDone;
}

int SendHotkey(const Arguments& args) {
    if (args.size() < 2) return Usage(L"hotkey: at least one key expected");
    std::wstring error;
    const auto events = KeyEvents(Arguments(args.begin() + 1, args.end()), error);
    if (!events) return Usage(L"hotkey: " + error);
    if (!SendEvents(*events, error)) {
        PrintError(L"hotkey: " + error);
        return kFailed;
    }
    JsonLine().Number("sent", static_cast<std::int64_t>(events->size())).Print();
    return kDone;
}

// As a program that brings one of another program's windows to the front
// (a task list, say); the change may reach the window's thread a little later.
int Activate(const Arguments& args) {
    if (args.size() != 2) return Usage(L"activate: HWND expected");
    const HWND window = ParseWindow(args[1]);
    if (window == nullptr) return kNotFound;
    const bool asked = SetForegroundWindow(window) != FALSE;
    for (int attempt = 0; attempt < 40 && GetForegroundWindow() != window; ++attempt) Sleep(50);
    const bool foreground = GetForegroundWindow() == window;
    JsonLine()
        .Number("hwnd", HandleValue(window))
        .Flag("asked", asked)
        .Flag("foreground", foreground)
        .Print();
    if (!foreground) return Failed(L"activate: the window did not become the foreground");
    return kDone;
}

// Another program that uses a combination: the thread holds it until the
// process ends, whoever else asks for it meanwhile.
int GrabHotkey(const Arguments& args) {
    if (args.size() != 3) return Usage(L"grab-hotkey: KEY and MILLISECONDS expected");
    const auto hotkey = HotkeyOf(args[1]);
    const auto milliseconds = ParseNumber(args[2]);
    if (!hotkey || !milliseconds) return Usage(L"grab-hotkey: a chord such as ctrl+alt+f2 and a number expected");
    if (!RegisterHotKey(nullptr, 1, hotkey->modifiers, hotkey->key)) {
        PrintError(L"grab-hotkey: RegisterHotKey failed with error " + std::to_wstring(GetLastError()));
        return kFailed;
    }
    JsonLine().Text("outcome", L"held").Print();
    Sleep(*milliseconds);
    UnregisterHotKey(nullptr, 1);
    return kDone;
}

int ShowForeground() {
    const HWND window = GetForegroundWindow();
    if (window == nullptr) {
        JsonLine().Number("hwnd", 0).Print();
        return kDone;
    }
    ToJson(DescribeWindow(window)).Print();
    return kDone;
}

int ListProcesses() {
    for (const auto& entry : RunningProcesses()) {
        JsonLine().Number("pid", entry.process_id).Number("parent", entry.parent_id).Text("exe", entry.exe).Print();
    }
    return kDone;
}

int ReportWait(DWORD pid, WaitOutcome outcome, std::optional<DWORD> exit_code) {
    JsonLine line;
    line.Number("pid", pid);
    switch (outcome) {
        case WaitOutcome::kDone:
            if (exit_code) line.Number("exit_code", *exit_code);
            line.Text("outcome", L"done").Print();
            return kDone;
        case WaitOutcome::kTimedOut:
            line.Text("outcome", L"timeout").Print();
            return kTimedOut;
        case WaitOutcome::kNoSuchProcess:
            line.Text("outcome", L"no such process").Print();
            return kNotFound;
        case WaitOutcome::kFailed:
            break;
    }
    line.Text("outcome", L"failed").Print();
    return Failed(L"waiting for the process failed");
}

int WaitCommand(const Arguments& args, bool for_exit) {
    if (args.size() != 3) return Usage(args[0] + L": PID and MILLISECONDS expected");
    const auto pid = ParseNumber(args[1]);
    const auto timeout = ParseNumber(args[2]);
    if (!pid || !timeout) return Usage(args[0] + L": PID and MILLISECONDS must be numbers");
    if (!for_exit) return ReportWait(*pid, WaitForIdle(*pid, *timeout), std::nullopt);
    DWORD exit_code = 0;
    const WaitOutcome outcome = WaitForExit(*pid, *timeout, exit_code);
    return ReportWait(*pid, outcome, exit_code);
}

int KillProcess(const Arguments& args) {
    if (args.size() != 2) return Usage(L"kill: PID expected");
    const auto pid = ParseNumber(args[1]);
    if (!pid) return Usage(L"kill: PID must be a number");
    const bool ended = EndProcess(*pid, 1);
    JsonLine().Number("pid", *pid).Flag("ended", ended).Print();
    return ended ? kDone : Failed(L"kill: the process could not be ended, or did not end within 5 s");
}

int ShowWallpaper() {
    wchar_t path[MAX_PATH + 1] = {};
    if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0)) return Failed(L"wallpaper: not readable");
    JsonLine().Text("wallpaper", path).Print();
    return kDone;
}

// Opens a file as a program that shares it with nobody, for the given time: any
// other program's open of it fails meanwhile, whoever runs the tests (a
// read-only attribute would not stop root).
int HoldFile(const Arguments& args) {
    if (args.size() != 3) return Usage(L"hold-file: PATH and MILLISECONDS expected");
    const auto milliseconds = ParseNumber(args[2]);
    if (!milliseconds) return Usage(L"hold-file: MILLISECONDS must be a number");
    const win32::UniqueFile file(CreateFileW(args[1].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        PrintError(L"cannot open " + args[1]);
        return kFailed;
    }
    JsonLine().Text("outcome", L"held").Print();
    Sleep(*milliseconds);
    return kDone;
}

// What a shell that has just started says to every top-level window, so that the
// programs with icons add them again.
int AnnounceTaskbarCreated() {
    const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    if (message == 0) return Failed(L"taskbar-created: RegisterWindowMessage failed");
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored)) {
        return Failed(L"taskbar-created: the broadcast failed");
    }
    JsonLine().Text("outcome", L"done").Number("message", message).Print();
    return kDone;
}

int ShowVersion() {
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) return Failed(L"version: GetVersionEx failed");
#pragma GCC diagnostic pop
    JsonLine()
        .Number("major", version.dwMajorVersion)
        .Number("minor", version.dwMinorVersion)
        .Number("build", version.dwBuildNumber)
        .Number("platform", version.dwPlatformId)
        .Text("service_pack", version.szCSDVersion)
        .Number("code_page", GetACP())
        .Print();
    return kDone;
}

// Posts the same message with one lParam after another, from one process in one
// go, so that all of them wait in the window's queue before the first is taken.
int PostMessages(const Arguments& args) {
    if (args.size() < 5) return Usage(L"post: HWND, MESSAGE, WPARAM and at least one LPARAM expected");
    const HWND window = ParseWindow(args[1]);
    if (window == nullptr) return kNotFound;
    const auto message = ParseNumber(args[2]);
    const auto wparam = ParseNumber(args[3]);
    if (!message || !wparam) return Usage(L"post: MESSAGE and WPARAM must be numbers");
    std::vector<DWORD> lparams;
    for (std::size_t i = 4; i < args.size(); ++i) {
        const auto lparam = ParseNumber(args[i]);
        if (!lparam) return Usage(L"post: every LPARAM must be a number");
        lparams.push_back(*lparam);
    }
    std::int64_t posted = 0;
    for (const DWORD lparam : lparams) {
        if (!PostMessageW(window, *message, *wparam, static_cast<LPARAM>(lparam))) break;
        ++posted;
    }
    JsonLine()
        .Number("hwnd", HandleValue(window))
        .Number("message", *message)
        .Number("posted", posted)
        .Print();
    if (posted != static_cast<std::int64_t>(lparams.size())) return Failed(L"post: not every message was posted");
    return kDone;
}

int SendOne(const Arguments& args) {
    if (args.size() != 5) return Usage(L"send: HWND, MESSAGE, WPARAM and LPARAM expected");
    const HWND window = ParseWindow(args[1]);
    if (window == nullptr) return kNotFound;
    const auto message = ParseNumber(args[2]);
    const auto wparam = ParseNumber(args[3]);
    const auto lparam = ParseNumber(args[4]);
    if (!message || !wparam || !lparam) return Usage(L"send: MESSAGE, WPARAM and LPARAM must be numbers");
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, *message, *wparam, static_cast<LPARAM>(*lparam), SMTO_ABORTIFHUNG, 5000,
                             &result)) {
        PrintError(L"send: no answer");
        return kTimedOut;
    }
    JsonLine()
        .Number("hwnd", HandleValue(window))
        .Number("result", static_cast<std::int64_t>(static_cast<LRESULT>(result)))
        .Print();
    return kDone;
}

// Asks the window's thread to take a message that does nothing, and waits at most
// the given time; a thread that is busy or stopped does not take it in time.
int Answers(const Arguments& args) {
    if (args.size() != 3) return Usage(L"answers: HWND and MILLISECONDS expected");
    const HWND window = ParseWindow(args[1]);
    if (window == nullptr) return kNotFound;
    const auto timeout = ParseNumber(args[2]);
    if (!timeout) return Usage(L"answers: MILLISECONDS must be a number");
    DWORD_PTR ignored = 0;
    const bool answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, *timeout, &ignored) != 0;
    JsonLine()
        .Number("hwnd", HandleValue(window))
        .Flag("answers", answered)
        .Flag("hung", IsHungAppWindow(window) != FALSE)
        .Print();
    return kDone;
}

int MeasureText(const Arguments& args) {
    if (args.size() != 2) return Usage(L"text-extent: HWND expected");
    const HWND control = ParseWindow(args[1]);
    if (control == nullptr) return kNotFound;
    std::wstring error;
    const auto measured = MeasureControlText(control, error);
    if (!measured) {
        PrintError(L"text-extent: " + error);
        return kFailed;
    }
    const RECT& client = measured->client;
    JsonLine()
        .Number("hwnd", HandleValue(control))
        .Text("class", ClassName(control))
        .Text("text", measured->text)
        .Number("style", static_cast<std::uint32_t>(measured->style))
        .Text("face", measured->face)
        .Number("font_height", measured->font_height)
        .Numbers("extent", {measured->extent.cx, measured->extent.cy})
        .Number("line_height", measured->line_height)
        .Numbers("client", {client.left, client.top, client.right, client.bottom})
        .Print();
    return kDone;
}

// A window that comes and goes by itself (a notice) is watched from inside
// Wine, where a look costs milliseconds: when it is seen, with its extended
// styles, its text and the foreground window of that moment, then when it is
// hidden or gone. Times count from the start of the watch.
int WatchWindow(const Arguments& args) {
    if (args.size() != 4) return Usage(L"watch-window: PID, CLASS and MILLISECONDS expected");
    const auto pid = ParseNumber(args[1]);
    const auto milliseconds = ParseNumber(args[3]);
    if (!pid || !milliseconds) return Usage(L"watch-window: PID and MILLISECONDS must be numbers");
    const std::wstring& wanted = args[2];
    const DWORD start = GetTickCount();
    const auto elapsed = [&] { return static_cast<std::int64_t>(GetTickCount() - start); };
    const auto shown = [&]() -> HWND {
        for (const HWND window : TopLevelWindows()) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == *pid && IsWindowVisible(window) && ClassName(window) == wanted) return window;
        }
        return nullptr;
    };
    JsonLine().Text("outcome", L"watching").Print();
    HWND window = nullptr;
    while ((window = shown()) == nullptr) {
        if (elapsed() >= *milliseconds) return kTimedOut;
        Sleep(5);
    }
    const HWND foreground = GetForegroundWindow();
    RECT r{};
    GetWindowRect(window, &r);
    JsonLine()
        .Text("outcome", L"shown")
        .Number("ms", elapsed())
        .Number("hwnd", HandleValue(window))
        .Number("exstyle", static_cast<std::uint32_t>(GetWindowLongW(window, GWL_EXSTYLE)))
        .Text("title", WindowText(window))
        .Numbers("rect", {r.left, r.top, r.right, r.bottom})
        .Number("foreground", HandleValue(foreground))
        .Print();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (elapsed() >= *milliseconds) return kTimedOut;
        Sleep(5);
    }
    JsonLine()
        .Text("outcome", L"hidden")
        .Number("ms", elapsed())
        .Number("foreground", HandleValue(GetForegroundWindow()))
        .Print();
    return kDone;
}

// What Wine made of the scale this process started with.
int ShowDisplay() {
    const win32::WindowDc screen(nullptr);
    JsonLine()
        .Number("width", GetSystemMetrics(SM_CXSCREEN))
        .Number("height", GetSystemMetrics(SM_CYSCREEN))
        .Number("dpi", GetDeviceCaps(screen.get(), LOGPIXELSX))
        .Number("small_icon", GetSystemMetrics(SM_CXSMICON))
        .Print();
    return kDone;
}

// Windows on another desktop are out of sight of EnumWindows; the tests run
// in a desktop of their own, so the tool moves into it before anything else.
bool EnterDesktop(const std::wstring& name) {
    const HDESK desktop = OpenDesktopW(name.c_str(), 0, FALSE, GENERIC_ALL);
    // The thread keeps using the desktop until the process ends, so the handle
    // is deliberately left open.
    return desktop != nullptr && SetThreadDesktop(desktop);
}

int Run(Arguments args) {
    if (args.size() >= 2 && args[0] == L"--desktop") {
        if (!EnterDesktop(args[1])) {
            PrintError(L"cannot enter desktop " + args[1]);
            return kFailed;
        }
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) return Usage(L"no command");
    const std::wstring& command = args[0];
    if (command == L"windows") return ListWindows(args);
    if (command == L"children") return ListChildren(args);
    if (command == L"dialogs") return ListDialogs(args);
    if (command == L"press") return PressButton(args);
    if (command == L"keys") return SendKeys(args);
    if (command == L"hotkey") return SendHotkey(args);
    if (command == L"activate") return Activate(args);
    if (command == L"grab-hotkey") return GrabHotkey(args);
    if (command == L"foreground") return ShowForeground();
    if (command == L"processes") return ListProcesses();
    if (command == L"wait-exit") return WaitCommand(args, true);
    if (command == L"wait-idle") return WaitCommand(args, false);
    if (command == L"kill") return KillProcess(args);
    if (command == L"wallpaper") return ShowWallpaper();
    if (command == L"version") return ShowVersion();
    if (command == L"taskbar-created") return AnnounceTaskbarCreated();
    if (command == L"hold-file") return HoldFile(args);
    if (command == L"post") return PostMessages(args);
    if (command == L"send") return SendOne(args);
    if (command == L"answers") return Answers(args);
    if (command == L"text-extent") return MeasureText(args);
    if (command == L"display") return ShowDisplay();
    if (command == L"watch-window") return WatchWindow(args);
    return Usage(L"unknown command " + command);
}

}  // namespace
}  // namespace wintool

int wmain(int argc, wchar_t** argv) {
    const wintool::Arguments args(argv + 1, argv + argc);
    const int status = wintool::Run(args);
    // The harness tells wintool's own failures from Wine's by this line.
    if (status != 0 && !wintool::ErrorSaid()) {
        const std::size_t command = args.size() > 2 && args[0] == L"--desktop" ? 2 : 0;
        const std::wstring name = command < args.size() ? args[command] : L"wintool";
        wintool::PrintError(name + L" ended with status " + std::to_wstring(status));
    }
    return status;
}
