#include "engine/sim/sim_world.h"

#include <algorithm>

#include "engine/sim/manifest_awareness.h"
#include "engine/sim/sim_peers.h"

namespace sim {
namespace win = engine::win;

World::World(Options opts)
    : options(std::move(opts)),
      codePage(options.codePage),
      files(options.root),
      windows(MonitorsOf(options)),
      profiles(codePage, files) {
    RefuseScalesOfOlderWindows();
    systemDpi = windows.monitors().Primary().dpi;
    programAwareness_ = ManifestAwareness(options.manifest, Version());
    screen = ProgramScreen();
    app.path = options.appPath;
    app.exeFile = u"Trevo.exe";
    app.title = u"Trevo";
    app.major = TREVO_VERSION_MAJOR;
    app.minor = TREVO_VERSION_MINOR;
    app.revision = TREVO_VERSION_PATCH;
    workArea = options.screen;
    files.SetShortNames(options.shortNames);
    // Every user's hive has these, kept across restarts.
    registry["HKCU\\SOFTWARE"] = {};
    registry["HKLM\\SOFTWARE"] = {};
    for (const char* key : {"HKCU\\SOFTWARE\\MICROSOFT", "HKCU\\SOFTWARE\\MICROSOFT\\WINDOWS",
                            "HKCU\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION", kRunKey})
        registry[key] = {};
    windows.onActivate = [this](Hwnd hwnd) {
        if (ProgramMayActivate()) ForegroundChanged(hwnd);
    };
    std::error_code ec;
    std::filesystem::create_directories(files.ToHost(u"C:\\"), ec);  // drive C is always there
    if (options.taskbar) {
        WindowSpec bar;
        bar.className = u"Shell_TrayWnd";
        bar.rect = {options.screen.left, options.screen.bottom - options.taskbarHeight, options.screen.right,
                    options.screen.bottom};
        bar.style = win::WS_VISIBLE;
        bar.exStyle = win::WS_EX_TOPMOST;
        bar.dpiReaction = DpiReaction::Ignores;  // Explorer keeps its bar at the screen's edge
        taskbar = windows.Create(bar);
        WindowSpec tray;
        tray.className = u"TrayNotifyWnd";
        tray.parent = taskbar;
        tray.rect = {bar.rect.right - 120, bar.rect.top, bar.rect.right, bar.rect.bottom};
        tray.style = win::WS_VISIBLE | win::WS_CHILD;
        notifyArea = windows.Create(tray);
        workArea.bottom -= options.taskbarHeight;
    }
}

World::~World() = default;

bool World::MayWriteIn(const std::filesystem::path& hostFolder) const {
    std::error_code ec;
    for (const engine::String& folder : unwritableFolders)
        if (std::filesystem::equivalent(files.ToHost(folder), hostFolder, ec)) return false;
    return true;
}

void World::RestartWindows() {
    for (auto it = registry.begin(); it != registry.end();)
        it = it->second.isVolatile ? registry.erase(it) : std::next(it);
    namedObjects.clear();
    // A new log-on starts a new shell, with no icon of before.
    trayIcons.clear();
    trayOrder.clear();
}

void World::Deliver(const std::function<void()>& f) {
    if (ended || programDead_) return;
    ++deliveries_;
    try {
        f();
    } catch (const ProcessEnded&) {
        // the process is gone: nothing after End runs
    } catch (const ProcessKilled&) {
        // Killed inside an event that came inside another: the outer one dies too.
        if (--deliveries_ > 0) throw;
        return;
    }
    --deliveries_;
    DeliverWinEvents();
    if (engine && !programDead_) engine->CollectRetired();
}

void World::TrayMessage(Hwnd hwnd, Dword id, Dword mouseMessage) {
    auto it = trayIcons.find({hwnd, id});
    if (it == trayIcons.end() || !(it->second.flags & win::NIF_MESSAGE)) return;
    auto form = forms.find(hwnd);
    if (form == forms.end()) return;
    // The shell posts the callback message; a form sees message 0x200 as mouse
    // movement, with the mouse message in the place of the x coordinate.
    if (it->second.callbackMessage != win::WM_MOUSEMOVE) return;
    engine::MouseArgs args;
    args.x = static_cast<float>(mouseMessage * screen.twipsPerPixelX);
    SimFormPeer* peer = form->second;
    programHadLastInput = true;
    Deliver([&] { peer->DeliverMouseMove(args); });
}

void World::ToEveryForm(void (SimFormPeer::*deliver)()) {
    std::vector<SimFormPeer*> all;
    for (auto& [hwnd, peer] : forms) all.push_back(peer);
    for (SimFormPeer* peer : all) {
        if (ended || programDead_) break;
        bool stillThere = false;
        for (auto& [hwnd, p] : forms) stillThere |= p == peer;
        if (stillThere) Deliver([&] { (peer->*deliver)(); });
    }
}

void World::RestartShell() {
    trayIcons.clear();
    trayOrder.clear();
    ToEveryForm(&SimFormPeer::DeliverShellRestarted);
}

void World::MoveFocus(Hwnd to) {
    if (focus == to) return;
    const Hwnd from = focus;
    focus = to;
    auto it = controls.find(from);
    if (it == controls.end()) return;
    it->second->DeliverLostFocus();  // inside whatever the user is doing, as the click it comes with
}

void World::EndSession() { ToEveryForm(&SimFormPeer::DeliverSessionEnding); }

std::vector<Hwnd> World::VisibleTopLevel() const {
    std::vector<Hwnd> out;
    for (Hwnd h : windows.TopLevel())
        if (windows.Find(h)->style & win::WS_VISIBLE) out.push_back(h);
    return out;
}

bool World::ShownAsTask(Hwnd hwnd) const {
    const Window* w = windows.Find(hwnd);
    if (!w || w->parent != windows.Desktop() || !(w->style & win::WS_VISIBLE)) return false;
    if (w->exStyle & win::WS_EX_APPWINDOW) return true;
    return w->owner == 0 && !(w->exStyle & (win::WS_EX_TOOLWINDOW | win::WS_EX_NOACTIVATE));
}

Rect World::VirtualScreen() const { return windows.monitors().VirtualScreen(); }

SimControlPeer& World::ControlAt(Hwnd hwnd) { return *controls.at(hwnd); }
SimFormPeer& World::FormAt(Hwnd hwnd) { return *forms.at(hwnd); }

}  // namespace sim
