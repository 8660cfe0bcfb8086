// A simulated Windows with Trevo on it, for tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "app/frmTrevo.h"
#include "engine/sim/call_log.h"
#include "engine/sim/sim_engine.h"
#include "engine/sim/sim_peers.h"
#include "engine/sim/sim_picture.h"
#include "engine/text.h"

namespace testing_support {

// A folder of its own for one test, removed afterwards.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / ("trevo-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFile(const std::filesystem::path& p, const std::string& bytes) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

// A picture file of one colour, written as a real bitmap.
inline void WritePictureFile(const std::filesystem::path& file, engine::Long w, engine::Long h, std::uint32_t colour) {
    sim::SimPicture p(engine::PictureKind::Bitmap, w, h);
    std::fill(p.Pixels().begin(), p.Pixels().end(), colour);
    std::filesystem::create_directories(file.parent_path());
    sim::SaveBitmapFile(p, file);
}

inline std::string U8(const engine::String& s) { return engine::ToUtf8(s); }

// A Windows whose ANSI code page is codePage, on a volume with or without 8.3 names.
inline sim::Options InCodePage(engine::Dword codePage, bool shortNames = true) {
    sim::Options o;
    o.codePage = codePage;
    o.shortNames = shortNames;
    return o;
}

// Windows 7 for major 6, else that major version's first release (10.0: Windows 10 and 11).
inline sim::Options OnWindows(engine::Dword major) {
    sim::Options o;
    o.major = major;
    o.minor = major == 6 ? 1 : 0;
    return o;
}

// The number of the run-time error f raises (0 for none), and its description.
inline engine::Long ErrorNumber(const std::function<void()>& f, engine::String* description = nullptr) {
    try {
        f();
    } catch (const engine::RuntimeError& e) {
        if (description) *description = e.Description();
        return e.Number();
    }
    return 0;
}

inline const char* kGoodIni =
    "[Desktops]\r\nMax=3\r\n[Wallpaper]\r\n1=\r\n2=\r\n3=\r\n4=\r\n5=\r\n"
    "[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n";

// Trevo on a simulated Windows: build the world, write the settings, start.
class SimTrevo {
public:
    explicit SimTrevo(sim::Options options = {})
        : world_(WithRoot(std::move(options), dir_.path())), engine_(std::make_unique<sim::SimEngine>(world_)) {
        sim::AttachCallLog(*engine_, calls_);
    }
    // Trevo must never wait for a window whose thread takes no messages.
    ~SimTrevo() {
        for (const std::string& wait : world_.windows.Waits()) ADD_FAILURE() << wait;
        for (const std::string& fault : world_.modelFaults) ADD_FAILURE() << fault;
    }

    sim::World& world() { return world_; }
    // The calls of every Trevo started on this world, the killed ones' too.
    sim::CallLog& calls() { return calls_; }
    sim::SimEngine& engine() { return *engine_; }
    trevo::FrmTrevo& app() { return *app_; }
    trevo::BasTrevo& bas() { return app_->bas(); }
    std::filesystem::path Host(const engine::String& windowsPath) const { return world_.files.ToHost(windowsPath); }
    std::filesystem::path IniFile() const { return Host(world_.app.path + u"\\Trevo.ini"); }
    void WriteIni(const std::string& bytes) { WriteFile(IniFile(), bytes); }

    void Start() {
        app_ = std::make_unique<trevo::FrmTrevo>(*engine_);
        world_.Deliver([&] { engine_->RunEvent([&] { app_->form().Load(); }); });
    }

    // The process ends without Exit (a crash, Task Manager), where it stands or
    // where KillAtCall had it die: the simulated Windows deals the death; the
    // dead process's memory goes with none of its calls reaching Windows, and
    // the next Start is a new process.
    void Kill() {
        world_.KillProgram();
        app_.reset();
        engine_.reset();
        world_.ended = false;
        world_.exitCode = 0;
        engine_ = std::make_unique<sim::SimEngine>(world_);
        sim::AttachCallLog(*engine_, calls_);
    }

    // The process dies as it makes its n-th call to Windows from now on.
    void KillAtCall(std::uint64_t n) { world_.KillProgramAtCall(n); }

    // Another Trevo started in the same session while this one runs, with that
    // command line: its exit code, or -1 when it went on running (it is then
    // killed). This one runs on untouched.
    engine::Long StartAnotherCopy(const engine::String& command = u"") {
        const bool wasEnded = world_.ended;
        const engine::Long ownCode = world_.exitCode;
        world_.ended = false;
        world_.app.command = command;
        engine::Long result = -1;
        {
            sim::SimEngine other(world_);
            sim::AttachCallLog(other, calls_);
            auto copy = std::make_unique<trevo::FrmTrevo>(other);
            world_.Deliver([&] { other.RunEvent([&] { copy->form().Load(); }); });
            if (world_.ended) result = world_.exitCode;
        }
        world_.PointerOverIcons();
        world_.app.command.clear();
        world_.ended = wasEnded;
        world_.exitCode = ownCode;
        world_.engine = engine_.get();
        return result;
    }

    // The icon of desktop n in the notification area, or nullptr.
    const sim::NotifyRecord* Icon(engine::Long n) {
        desktop::FrmTrevoTray* d = app_ ? app_->desk(n) : nullptr;
        if (!d || !d->form().IsLoaded()) return nullptr;
        auto it = world_.trayIcons.find({d->form().hWnd(), 0});
        return it == world_.trayIcons.end() ? nullptr : &it->second;
    }
    engine::Hwnd DeskWindow(engine::Long n) { return app_->desk(n)->form().hWnd(); }
    void Click(engine::Long n, engine::Dword message = engine::win::WM_LBUTTONUP) {
        world_.TrayMessage(DeskWindow(n), 0, message);
    }
    // Opens Properties from desktop n's menu and plays the user inside it.
    void InProperties(const std::function<void()>& user, engine::Long n = 1) {
        world_.modalScript = [user](engine::Hwnd) { user(); };
        world_.menuChoices.push_back(u"&Properties...");
        Click(n, engine::win::WM_RBUTTONUP);
        world_.modalScript = nullptr;
    }
    // The resource number of the picture an icon shows (0 when unknown).
    engine::Long IconResource(engine::Long n) {
        const sim::NotifyRecord* icon = Icon(n);
        if (!icon) return 0;
        auto it = world_.iconResources.find(icon->icon);
        return it == world_.iconResources.end() ? 0 : it->second;
    }

    engine::Hwnd OpenWindow(const std::u16string& title, const std::u16string& cls, engine::Rect rect,
                            engine::Dword style = engine::win::WS_VISIBLE) {
        sim::WindowSpec request;
        request.title = title;
        request.className = cls;
        request.rect = rect;
        request.style = style;
        return world_.windows.Create(request);
    }
    engine::Rect RectOf(engine::Hwnd h) { return world_.windows.Get(h).rect; }

    // A window of a program of that awareness, at a rectangle in physical pixels.
    engine::Hwnd OpenScaledWindow(const std::u16string& title, engine::Rect rect, sim::Awareness awareness,
                                  sim::DpiReaction reaction = sim::DpiReaction::TakesSuggested) {
        sim::WindowSpec request;
        request.title = title;
        request.className = u"Probe";
        request.rect = rect;
        request.style = engine::win::WS_VISIBLE;
        request.awareness = awareness;
        request.dpiReaction = reaction;
        return world_.windows.Create(request);
    }
    // The manifest Trevo.exe carries: the simulated Trevo is exactly as DPI
    // aware as the real one on each Windows.
    static std::string ProgramManifest() {
        return ReadFile(std::filesystem::path(TREVO_SOURCE_DIR) / "res" / "trevo.manifest.in");
    }
    // The pixels the picture of desktop n's icon is wide (0 when unknown).
    engine::Long IconPixels(engine::Long n) {
        const sim::NotifyRecord* icon = Icon(n);
        if (!icon) return 0;
        auto it = world_.iconPixels.find(icon->icon);
        return it == world_.iconPixels.end() ? 0 : it->second;
    }

private:
    static sim::Options WithRoot(sim::Options options, const std::filesystem::path& root) {
        if (options.root.empty()) options.root = root;
        if (options.manifest.empty()) options.manifest = ProgramManifest();
        return options;
    }

    TempDir dir_;
    sim::World world_;
    sim::CallLog calls_;
    std::unique_ptr<sim::SimEngine> engine_;
    std::unique_ptr<trevo::FrmTrevo> app_;
};

}  // namespace testing_support
