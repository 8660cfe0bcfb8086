// The simulated Windows as a whole: what a test sets up before the program starts,
// what it reads afterwards, and the actions a user or the shell can take.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine.h"
#include "engine/sim/code_page.h"
#include "engine/sim/dpi_view.h"
#include "engine/sim/file_system.h"
#include "engine/sim/profile_engine.h"
#include "engine/sim/window_model.h"

namespace sim {

class SimFormPeer;
class SimControlPeer;

// Thrown by End to unwind the simulated process; never caught by the program.
struct ProcessEnded {
    engine::Long exitCode;
};

// Thrown through the program where its process dies, so that the simulated
// machine gets its thread back. No std::exception, so the program never
// catches it; what of the program runs on as the stack unwinds (destructors)
// finds its handles already closed, and any other call it made would be a
// fault of the model.
struct ProcessKilled {};

struct Options {
    std::filesystem::path root;  // host folder that holds the simulated drives
    unsigned codePage = 1252;
    Rect screen{0, 0, 1024, 768};     // physical pixels: the primary monitor
    std::vector<Rect> otherMonitors;  // beside it, left of it at negative x, right of it beyond its width
    // The scale of each monitor, 96 DPI at 100 %: the primary's, and those of
    // otherMonitors in their order (96 for any not given).
    Dword dpi = kUnscaledDpi;
    std::vector<Dword> otherDpis;
    // The program's manifest, which gives it its DPI awareness (none: unaware).
    std::string manifest;
    bool taskbar = true;  // a task bar ("Shell_TrayWnd") with its notification area
    Long taskbarHeight = 30;
    engine::String appPath = u"C:\\Trevo";
    // Windows 7 SP1 as Wine reports it: platform 2, version 6.1 (an XP-family system here).
    Dword major = 6, minor = 1, build = 7601, platformId = 2;
    std::string csdVersion = "Service Pack 1";
    bool dwmNotImplemented = false;  // Wine's dwmapi answers every attribute with E_NOTIMPL
    // Wine 8 sends no EVENT_SYSTEM_FOREGROUND, only EVENT_OBJECT_FOCUS; Windows sends both.
    bool foregroundEvents = true;
    // Windows keeps the foreground from a process the user is not working with;
    // Wine 8 lets any process take it.
    bool foregroundLock = true;
    bool shortNames = true;  // the volume makes 8.3 names (they can be switched off per volume)
    // The language the user reads Windows in: U.S. English, as the code page.
    std::uint16_t uiLanguage = 0x0409;
    // The resource script whose string tables the program carries; empty for
    // the program's own.
    std::filesystem::path stringTables;
};

struct NotifyRecord {
    Dword flags = 0;  // the fields the icon has been given: NIF_MESSAGE, NIF_ICON, NIF_TIP
    Dword callbackMessage = 0;
    Dword icon = 0;
    engine::String tip;
    // The balloon last asked for (NIF_INFO), and how many were shown; an empty
    // text takes a balloon away.
    engine::String balloonTitle;
    engine::String balloonText;
    Dword balloonFlags = 0;
    int balloonsShown = 0;
};

struct ShownMessageBox {
    engine::String text;
    Long style = 0;
    engine::String title;
};

// The programs a user has Windows start at log-on, and Task Manager's switch
// for each of them, as paths of the registry map.
inline constexpr const char* kRunKey = "HKCU\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN";
inline constexpr const char* kStartupApprovedKey =
    "HKCU\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\EXPLORER\\STARTUPAPPROVED\\RUN";

class World {
public:
    explicit World(Options options);
    ~World();

    Options options;
    CodePage codePage;
    FileSystem files;
    WindowModel windows;
    ProfileEngine profiles;
    engine::ScreenMetrics screen;
    engine::AppInfo app;
    engine::String systemDir = u"C:\\windows\\system32";
    engine::String tempDir = u"C:\\windows\\temp\\";
    engine::String windowsDir = u"C:\\windows";
    engine::String localAppData = u"C:\\Users\\user\\AppData\\Local";
    // Folders the user may read but not write in (C:\Program Files, say).
    std::vector<engine::String> unwritableFolders;
    bool MayWriteIn(const std::filesystem::path& hostFolder) const;
    Hwnd taskbar = 0;
    Hwnd notifyArea = 0;
    std::uint16_t textLanguage = 0;  // what the program said its forms' texts are in; 0 before it did
    Rect workArea;

    // The notification area, keyed by (window, id), and the order icons were added.
    std::map<std::pair<Hwnd, Dword>, NotifyRecord> trayIcons;
    std::vector<std::pair<Hwnd, Dword>> trayOrder;
    // Explorer takes Shell_NotifyIcon calls: not while its task bar is still
    // being made at log-on (a program the Run key starts may come first), nor
    // while it is too busy to answer; every call then fails.
    bool shellAnswers = true;
    // The registry: every key by its path in capitals ("HKCU\\SOFTWARE\\..."),
    // with its values by name in capitals (type and bytes).
    struct RegistryKey {
        bool isVolatile = false;  // gone when Windows starts again
        std::map<std::string, std::pair<Dword, std::string>> values;
    };
    std::map<std::string, RegistryKey> registry;
    // Keys whose values the user may read but not change (a policy, or a
    // security program guarding them), by path in capitals: opening one to
    // change it, or making a key under it, is refused.
    std::set<std::string> guardedKeys;
    // Named kernel objects of the log-on session, with how many handles name each.
    std::map<std::string, int> namedObjects;
    Dword nextKernelHandle = 0x100;
    engine::String wallpaper;
    // Milliseconds since Windows started: the clock moves only while a call waits.
    Dword tickCount = 0;
    // Icon handles the engine gave out, with the resource number each came
    // from and the pixels its picture is wide and high.
    std::map<Dword, Long> iconResources;
    std::map<Dword, Long> iconPixels;

    // --- scale (display_settings.cpp)
    WindowsVersion Version() const { return {options.major, options.minor, options.build}; }
    // The primary monitor's scale when the user logged on: that of every
    // system-aware program.
    Dword systemDpi = kUnscaledDpi;
    // How the program sees the screen: its manifest read by this Windows,
    // unless a test chose its awareness by hand.
    DpiView ProgramView() const { return DpiView(programAwareness_, Version(), systemDpi); }
    void SetProgramAwareness(Awareness awareness);
    // The user gives a monitor another scale in Settings: the windows on it
    // take the new scale, Explorer builds its task bar again ("TaskbarCreated"
    // to every form, every icon gone) and every form hears that the display
    // changed.
    void ChangeScale(std::size_t monitor, Dword dpi);

    // Scripts: what the user answers, chooses and does.
    std::deque<Long> msgBoxAnswers;  // default: OK
    std::vector<ShownMessageBox> msgBoxes;
    std::function<void(const ShownMessageBox&)> msgBoxScript;  // runs while a box is open
    std::deque<std::optional<engine::String>> fileChoices;     // nothing: the user cancels
    std::deque<engine::String> menuChoices;                    // a caption, or "" to dismiss
    std::vector<std::vector<engine::String>> menusShown;
    std::vector<std::vector<bool>> menuChecks;  // each shown menu's check marks, entry by entry
    std::function<void(Hwnd)> modalScript;  // runs while a form is shown modally
    std::function<void()> onDoEvents;       // runs at each event-loop yield
    int doEventsCalls = 0;
    int picturesDecoded = 0;  // LoadPicture calls that reached a file

    bool ended = false;
    Long exitCode = 0;
    // What the program asked of the simulated Windows that real Windows would
    // never let end (a test fails on any).
    std::vector<std::string> modelFaults;

    // --- what the shell and the user do (each runs as an event of the program)
    // The shell's callback for a mouse message on an icon (WM_LBUTTONUP ...).
    void TrayMessage(Hwnd hwnd, Dword id, Dword mouseMessage);
    // The keyboard focus goes to another window (0: none of the program's); the
    // control that had it hears it lose it.
    void MoveFocus(Hwnd to);
    Hwnd focus = 0;
    // Explorer restarts: every icon is gone and "TaskbarCreated" reaches every form.
    void RestartShell();
    // Windows logs off or shuts down: the end of the session reaches every form.
    void EndSession();
    // Windows starts again: volatile keys and the session's objects are gone.
    void RestartWindows();

    // --- the program's process (process_death.cpp)
    // The process dies where it stands, as Task Manager or a crash ends it:
    // nothing of its own runs after that. Windows closes its handles (its
    // mutex among them) and hooks and destroys its windows, with their timers
    // and hotkeys; its icons stay in the notification area until the pointer
    // passes over them; the registry, files as far as they were written, the
    // wallpaper and other programs' windows stay as they are.
    void KillProgram();
    // The process dies as it makes its n-th call to Windows from now on (n from
    // 1; a file it is writing then stays as far as it got); 0: it lives on.
    void KillProgramAtCall(std::uint64_t n);
    bool ProgramDead() const { return programDead_; }
    // The calls to Windows the program made since it started.
    std::uint64_t ProgramCalls() const { return callsMade_; }
    // Every call of the program to Windows passes here first: true when the
    // process dies at it (then KillProgram and throw ProcessKilled, after
    // whatever part of the call a death leaves done).
    bool CallDiesHere(const char* call);
    [[noreturn]] void DieHere();
    // A new process of the program starts on this machine.
    void ProgramStarted();
    // The pointer passes over the notification area: the shell drops the icons
    // whose windows are gone.
    void PointerOverIcons();

    // --- programs started at log-on (startup_apps.cpp)
    // The user switches the Run value of that name on or off in Task Manager's
    // Startup tab.
    void SwitchInTaskManager(const std::string& name, bool on);
    // The command Windows runs for the Run value of that name when the user
    // next logs on: nothing when there is no such value or Task Manager has it off.
    std::optional<std::string> CommandAtLogOn(const std::string& name) const;
    // Runs f as an event of the program: an End inside it ends the process.
    void Deliver(const std::function<void()>& f);

    // --- the keyboard, the foreground and WinEvents (sim_input.cpp)
    struct HotKeyHolder {
        Hwnd hwnd = 0;  // 0: another program holds the combination
        Long id = 0;
        bool noRepeat = false;
    };
    // Registered combinations by (modifiers without MOD_NOREPEAT, virtual key).
    std::map<std::pair<Dword, Dword>, HotKeyHolder> hotKeys;
    struct WinEventHook {
        Dword eventMin = 0, eventMax = 0, flags = 0;
        engine::Platform::WinEventHandler handler;
    };
    std::map<Dword, WinEventHook> winEventHooks;
    Dword nextHook = 0x9000;
    Hwnd foreground = 0;
    // Trevo's process: its windows, GetCurrentProcessId, the hooks that skip it.
    Dword programProcess = 0x5000;
    // Windows lets a process bring a window to the foreground only while the
    // user's last input went to it (a hotkey, a click on its icon) or while
    // the foreground is its own.
    bool programHadLastInput = false;
    // Another program holds this combination.
    void TakeHotKeyElsewhere(Dword modifiers, Dword key);
    // The user presses a combination; a held key sends auto-repeats, which a
    // registration with MOD_NOREPEAT does not see. False when nobody holds it.
    bool PressHotKey(Dword modifiers, Dword key, int repeats = 0);
    // The user or another program brings a window to the foreground (a task
    // bar button, Alt+Tab, a program raising itself): Trevo had no part in it.
    void Activate(Hwnd hwnd);
    // The foreground changes: the WinEvents Windows sends for it wait for the
    // program's next message.
    void ForegroundChanged(Hwnd to);
    bool ProgramMayActivate() const;
    // The program's message loop takes the queued WinEvents (out of context).
    void DeliverWinEvents();
    bool IsProgramWindow(Hwnd hwnd) const;

    // --- the pointer and timers (sim_timers.cpp)
    // Where the mouse pointer is, in physical pixels: Windows starts it at
    // the primary monitor's centre.
    engine::Point cursor{(options.screen.left + options.screen.right) / 2,
                         (options.screen.top + options.screen.bottom) / 2};
    // SetTimer on a window of the program: fire runs from the message loop
    // (WM_TIMER) once elapseMs have passed, and again every elapseMs, never
    // two waiting at once; the same window and id again replaces the timer.
    // Refused, as by Windows, for a window of another thread.
    bool SetTimer(Hwnd hwnd, Dword id, Dword elapseMs, std::function<void()> fire);
    bool KillTimer(Hwnd hwnd, Dword id);
    // The timers that would wake the program up; a window takes its own along
    // when it goes.
    std::size_t Timers() const;
    // The program waits for input while ms pass: each timer fires as its time comes.
    void PassTime(Dword ms);
    // The message loop takes the WM_TIMER of every timer whose time has come.
    void DeliverDueTimers();

    // --- reading the state
    // The smallest rectangle around every monitor.
    Rect VirtualScreen() const;
    std::vector<Hwnd> VisibleTopLevel() const;
    // Whether the shell shows the window as a task, with a task-bar button and
    // a place in Alt+Tab: a visible, unowned top-level window, unless it is a
    // tool window or one that never activates (WS_EX_APPWINDOW overrides both).
    bool ShownAsTask(Hwnd hwnd) const;

    // Set by the engine.
    engine::Engine* engine = nullptr;
    std::map<Hwnd, SimFormPeer*> forms;
    std::map<Hwnd, SimControlPeer*> controls;
    // The user's hand on a control of the program (throws for an unknown window).
    SimControlPeer& ControlAt(Hwnd hwnd);
    SimFormPeer& FormAt(Hwnd hwnd);

private:
    void ToEveryForm(void (SimFormPeer::*deliver)());
    static Monitors MonitorsOf(const Options& options);
    // One scale for every monitor before 8.1: a setup that says otherwise is refused.
    void RefuseScalesOfOlderWindows();
    // The engine's Screen(): the primary monitor as the program sees it.
    engine::ScreenMetrics ProgramScreen() const;
    Awareness programAwareness_ = Awareness::Unaware;
    bool programDead_ = false;
    std::uint64_t killAtCall_ = 0;
    std::uint64_t callsMade_ = 0;
    int deliveries_ = 0;  // events of the program under way, one inside another
    std::deque<std::pair<Dword, Hwnd>> pendingWinEvents_;
    struct Timer {
        Dword elapse = 0;
        Dword due = 0;
        std::function<void()> fire;
    };
    std::map<std::pair<Hwnd, Dword>, Timer> timers_;  // by window and id
};

}  // namespace sim
