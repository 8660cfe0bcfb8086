#include "engine/sim/sim_engine.h"

#include <algorithm>

#include "engine/error.h"
#include "engine/sim/sim_peers.h"
#include "engine/sim/sim_picture.h"
#include "engine/text.h"

namespace sim {
namespace win = engine::win;

// ---------------------------------------------------------------- the world

World::World(Options opts)
    : options(std::move(opts)), codePage(options.codePage), files(options.root), windows(options.screen),
      profiles(codePage, files) {
    screen.twipsPerPixelX = screen.twipsPerPixelY = options.twipsPerPixel;
    screen.width = (options.screen.right - options.screen.left) * options.twipsPerPixel;
    screen.height = (options.screen.bottom - options.screen.top) * options.twipsPerPixel;
    app.path = options.appPath;
    app.title = u"Trevo";
    app.major = TREVO_VERSION_MAJOR;
    app.minor = TREVO_VERSION_MINOR;
    app.revision = TREVO_VERSION_PATCH;
    workArea = options.screen;
    std::error_code ec;
    std::filesystem::create_directories(files.ToHost(u"C:\\"), ec);  // drive C is always there
    if (options.taskbar) {
        WindowSpec bar;
        bar.className = u"Shell_TrayWnd";
        bar.rect = {options.screen.left, options.screen.bottom - options.taskbarHeight, options.screen.right,
                    options.screen.bottom};
        bar.style = win::WS_VISIBLE;
        bar.exStyle = win::WS_EX_TOPMOST;
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

void World::RestartWindows() {
    for (auto it = registry.begin(); it != registry.end();) it = it->second.isVolatile ? registry.erase(it) : std::next(it);
    namedObjects.clear();
}

void World::Deliver(const std::function<void()>& f) {
    if (ended) return;
    try {
        f();
    } catch (const ProcessEnded&) {
        // the process is gone: nothing after End runs
    }
    if (engine) engine->CollectRetired();
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
    Deliver([&] { peer->DeliverMouseMove(args); });
}

void World::ToEveryForm(void (SimFormPeer::*deliver)()) {
    std::vector<SimFormPeer*> all;
    for (auto& [hwnd, peer] : forms) all.push_back(peer);
    for (SimFormPeer* peer : all) {
        if (ended) break;
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

Rect World::VirtualScreen() const {
    Rect v = options.screen;
    for (const Rect& m : options.otherMonitors)
        v = {std::min(v.left, m.left), std::min(v.top, m.top), std::max(v.right, m.right), std::max(v.bottom, m.bottom)};
    return v;
}

SimControlPeer& World::ControlAt(Hwnd hwnd) { return *controls.at(hwnd); }
SimFormPeer& World::FormAt(Hwnd hwnd) { return *forms.at(hwnd); }

// ---------------------------------------------------------------- the engine

SimEngine::SimEngine(World& world) : world_(world), platform_(world) { world_.engine = this; }

SimEngine::~SimEngine() {
    CollectRetired();
    world_.engine = nullptr;
}

Long SimEngine::MsgBox(const engine::String& text, Long style, const engine::String& title) {
    world_.msgBoxes.push_back({text, style, title.empty() ? world_.app.title : title});
    if (world_.msgBoxScript) {
        auto script = world_.msgBoxScript;
        script(world_.msgBoxes.back());
    }
    if (world_.msgBoxAnswers.empty()) return engine::kIdOk;
    const Long answer = world_.msgBoxAnswers.front();
    world_.msgBoxAnswers.pop_front();
    return answer;
}

void SimEngine::DoEvents() {
    ++world_.doEventsCalls;
    if (world_.onDoEvents) {
        auto script = world_.onDoEvents;  // the script may replace itself
        script();
    }
}

engine::PicturePtr SimEngine::LoadPicture(const engine::String& path) {
    if (path.empty()) engine::Raise(engine::err::kInvalidPicture);
    return LoadPictureFile(world_.files.ToHost(path));
}

bool SimEngine::HasIconResource(Long id) {
    if (id == 1) return true;
    const Long n = id / 10, kind = id % 10;
    return n >= 1 && n <= 5 && (kind == 1 || kind == 2);
}

engine::PicturePtr SimEngine::LoadResPicture(Long id, Long format) {
    if (format != engine::kResIcon || !HasIconResource(id))
        engine::Raise(326, u"Resource with identifier '" + engine::DecimalText(id) + u"' not found");
    auto icon = std::make_shared<SimPicture>(engine::PictureKind::Icon, 16, 16);
    icon->SetResourceId(id);
    world_.iconResources[icon->Handle()] = id;
    return icon;
}

void SimEngine::SavePicture(const engine::Picture& picture, const engine::String& path) {
    const std::filesystem::path host = world_.files.ToHost(path);
    // A read-only file or a folder is never replaced.
    if (path.empty() || HasReadOnlyAttribute(host) || std::filesystem::is_directory(host))
        engine::Raise(engine::err::kPathFileAccess);
    SaveBitmapFile(picture, host);
}

engine::String SimEngine::LoadResString(Long id) {
    engine::Raise(326, u"Resource with identifier '" + engine::DecimalText(id) + u"' not found");
}

std::unique_ptr<engine::FormPeer> SimEngine::CreateFormPeer(const engine::FormDesign& design,
                                                            engine::FormEvents& events) {
    return std::make_unique<SimFormPeer>(world_, design, events);
}

void SimEngine::End(Long exitCode) {
    world_.ended = true;
    world_.exitCode = exitCode;
    throw ProcessEnded{exitCode};
}

void SimEngine::LastFormUnloaded() {
    world_.ended = true;
}

}  // namespace sim
