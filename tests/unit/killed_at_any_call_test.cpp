// Trevo killed at any call of a switch, by whatever way the switch came: the
// next Trevo finds every window within reach, at its place and size. Killed at
// any call of a write of its settings: the next finds them whole and agreeing.
#include <gtest/gtest.h>

#include <tuple>

#include "sim_fixture.h"

namespace {
using engine::Hwnd;
using engine::Rect;
using testing_support::ReadFile;
using testing_support::SimTrevo;
using testing_support::WritePictureFile;
namespace win = engine::win;

constexpr std::uint32_t kColours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
constexpr char16_t kUsersWallpaper[] = u"C:\\Users\\\u30e6\u30fc\u30b6\u30fc\\\u590f.jpg";

struct Path {
    const char* name;
    engine::Dword major = 6;
    const char* options = "";  // lines of [Options]
    bool scaled = false;       // a laptop at 150 % beside a monitor at 100 %
    bool hung = false;         // a window of desktop 1 stops answering before the switch
    bool refused = false;      // an elevated window makes the batch fail as a whole
    std::vector<engine::Long> before{2};  // desktops clicked before the switch
    // The switch itself: 0 a click on desktop 3, 1 its key, 2 a window of
    // desktop 3 brought to the front, 3 the end of the session, 4 Exit, 5
    // Properties' OK applied at once with `applied` desktops.
    int way = 0;
    engine::Long applied = 0;
};

// One machine with three desktops, windows on each, a never-move window, a
// minimised one and a picture per desktop.
class Machine {
public:
    explicit Machine(const Path& path) : path_(path), t_(Options(path)) {
        std::string ini = "[Desktops]\r\nMax=3\r\n[Wallpaper]\r\n";
        for (int d = 1; d <= 3; ++d) {
            const std::string pic = "C:\\pics\\" + std::to_string(d) + ".bmp";
            WritePictureFile(t_.Host(engine::FromUtf8(pic)), 64, 48, kColours[d - 1]);
            ini += std::to_string(d) + "=" + pic + "\r\n";
        }
        ini += "[Size]\r\nKeepSize=-1\r\nWidth=40\r\nHeight=30\r\n[NoChange-XP]\r\n01=class(Keep)\r\n";
        ini += "[Keys]\r\nDesktop3=Ctrl+Alt+F3\r\n[Options]\r\nKeepMinimised=1\r\n" + std::string(path.options);
        t_.WriteIni(ini);
        t_.world().wallpaper = kUsersWallpaper;
        t_.Start();
        for (int d : {1, 3, 2}) {
            t_.Click(d);
            Open(d, {200, 100, 501, 303});
            Open(d, {900, 400, 1333, 651});  // beside the screen's edge
        }
        minimised_ = t_.OpenScaledWindow(u"minimised", {300, 300, 600, 500}, sim::Awareness::PerMonitorV2);
        t_.world().windows.Show(minimised_, win::SW_SHOWMINIMIZED);
        t_.Click(1);
        kept_ = t_.OpenWindow(u"kept", u"Keep", {10, 10, 200, 60});
        if (path.refused) {
            elevated_ = t_.OpenWindow(u"elevated", u"Probe", {50, 500, 250, 600});
            t_.world().windows.Get(elevated_).refusesBatchedMoves = true;
        }
        for (engine::Long d : path.before) t_.Click(d);
        if (path.hung) Thread(homes_[0].hwnd, sim::Answering::Hung);
    }

    // The switch, with the process dying at its k-th call: false when the
    // switch was over before its k-th call.
    bool SwitchDyingAt(std::uint64_t k) {
        if (path_.way != 5) t_.KillAtCall(k);  // OK counts its calls from its own click
        const Hwnd third = homes_[2].hwnd;  // of desktop 3
        switch (path_.way) {
            case 0: t_.Click(3); break;
            case 1: t_.world().PressHotKey(win::MOD_CONTROL | win::MOD_ALT, win::VK_F1 + 2); break;
            case 2: t_.world().Activate(third); break;
            case 3: t_.world().EndSession(); break;
            case 4:
                t_.world().menuChoices.push_back(u"E&xit");
                t_.Click(1, win::WM_RBUTTONUP);
                break;
            default: PressOkDyingAt(k); break;
        }
        const bool died = t_.world().ProgramDead();
        t_.Kill();
        if (path_.hung) Thread(homes_[0].hwnd, sim::Answering::Yes);  // its handed-over moves happen now
        t_.world().PointerOverIcons();
        t_.Start();
        return died;
    }

    // Every desktop shown in turn: its windows at their place and size (those
    // of a desktop beyond the count on the last one), the wallpaper a whole
    // bitmap of its picture; the never-move and the elevated window where they
    // were, the minimised one still so.
    std::vector<std::string> Misses() {
        if (t_.world().ended) return {"the new Trevo did not start"};
        if (path_.way == 4) return MissesAfterExit();
        const int count = t_.bas().gDeskCount;
        std::vector<int> shownInTurn;
        for (int d = 1; d <= count; ++d) shownInTurn.push_back(d);
        shownInTurn.push_back(1);
        std::vector<std::string> misses;
        for (int d : shownInTurn) {
            t_.Click(d);
            for (const Home& h : homes_)
                if (std::min(h.desk, count) == d && !(t_.RectOf(h.hwnd) == h.rect))
                    misses.push_back("a window of desktop " + std::to_string(d) + " at " + Text(t_.RectOf(h.hwnd)));
            if (d > 3) {  // a desktop OK added, without a picture
                if (!t_.world().wallpaper.empty()) misses.push_back("a wallpaper on a desktop without a picture");
                continue;
            }
            const auto shown = sim::LoadPictureFile(t_.world().files.ToHost(t_.world().wallpaper));
            const auto& picture = static_cast<const sim::SimPicture&>(*shown);
            if (picture.PixelWidth() != 40 || picture.PixelHeight() != 30 ||
                (picture.At(20, 15) & 0xFFFFFF) != (kColours[d - 1] & 0xFFFFFF))
                misses.push_back("desktop " + std::to_string(d) + " shows another wallpaper");
        }
        if (!(t_.RectOf(kept_) == Rect{10, 10, 200, 60})) misses.push_back("the never-move window moved");
        if (elevated_ && !(t_.RectOf(elevated_) == Rect{50, 500, 250, 600})) misses.push_back("the elevated one moved");
        if (!(t_.world().windows.Get(minimised_).style & win::WS_MINIMIZE)) misses.push_back("restored");
        return misses;
    }

    // An Exit that brings every window home, carried out whole by the next
    // Trevo: every window on the screen at its place and size, the user's
    // wallpaper back.
    std::vector<std::string> MissesAfterExit() {
        // Before it: each window where desktop 1's arrangement has it, or
        // already home on the screen, at its size (beside it, at the size
        // its monitor's scale gives it).
        std::vector<std::string> misses;
        const engine::Long width = t_.bas().gScreenWidth;
        for (const Home& h : homes_) {
            const Rect r = t_.RectOf(h.hwnd);
            const engine::Long off = r.left - h.rect.left;
            const bool home = off == 0 && r == h.rect;
            if (!home && (off != (h.desk - 1) * width || r.top != h.rect.top || h.desk == 1))
                misses.push_back("before Exit, a window of desktop " + std::to_string(h.desk) + " at " + Text(r));
        }
        t_.world().menuChoices.push_back(u"E&xit");
        t_.Click(1, win::WM_RBUTTONUP);
        for (const Home& h : homes_)
            if (!(t_.RectOf(h.hwnd) == h.rect))
                misses.push_back("a window of desktop " + std::to_string(h.desk) + " at " + Text(t_.RectOf(h.hwnd)));
        if (t_.world().wallpaper != kUsersWallpaper) misses.push_back("the wallpaper of before is not back");
        if (!(t_.RectOf(kept_) == Rect{10, 10, 200, 60})) misses.push_back("the never-move window moved");
        if (!(t_.world().windows.Get(minimised_).style & win::WS_MINIMIZE)) misses.push_back("restored");
        return misses;
    }

private:
    // Properties' OK with the new count, the process dying at the k-th call
    // from the click on OK.
    void PressOkDyingAt(std::uint64_t k) {
        const trevo::TrevoDialog& d = t_.app().dialog();
        t_.InProperties([&] {
            t_.world().ControlAt(d.HScr->hWnd()).UserScroll(path_.applied);
            t_.KillAtCall(k);
            t_.world().ControlAt(d.cmdOk->hWnd()).UserClick();
        });
    }

    struct Home {
        Hwnd hwnd;
        int desk;
        Rect rect;  // while its desktop is shown
    };
    static sim::Options Options(const Path& path) {
        sim::Options o;
        o.major = path.major;
        o.minor = path.major == 6 ? 1 : 0;
        if (path.scaled) {
            o.screen = {0, 0, 1920, 1200};
            o.dpi = 144;
            o.otherMonitors = {{1920, 0, 3600, 1050}};
            o.otherDpis = {96};
        }
        return o;
    }
    Hwnd Open(int desk, Rect rect) {
        const Hwnd h = t_.OpenScaledWindow(u"probe", rect, sim::Awareness::PerMonitorV2);
        homes_.push_back({h, desk, t_.RectOf(h)});
        return h;
    }
    void Thread(Hwnd h, sim::Answering answering) {
        t_.world().windows.SetAnswering(t_.world().windows.ThreadOf(h), answering);
    }
    static std::string Text(const Rect& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
               std::to_string(r.bottom);
    }

    Path path_;
    SimTrevo t_;
    std::vector<Home> homes_;
    Hwnd kept_ = 0, minimised_ = 0, elevated_ = 0;
};

// Calls dieAt(k) for k = 1, 2, ... until a run ends before its k-th call (that
// last run is the kill at rest), or a check has failed.
void ForEveryCall(const std::function<bool(std::uint64_t k)>& dieAt) {
    for (std::uint64_t k = 1;; ++k) {
        ASSERT_LT(k, 5000u) << "it never ends";
        if (!dieAt(k) || ::testing::Test::HasFailure()) return;
    }
}

class KilledMidSwitch : public ::testing::TestWithParam<Path> {};

// Killed at each call of the switch in turn, then started again: not one
// step leaves a window out of reach, resized or on another desktop.
TEST_P(KilledMidSwitch, EveryStepLeavesEveryWindowWithinReach) {
    int steps = 0, stranding = 0;
    std::string first;
    ForEveryCall([&](std::uint64_t k) {
        Machine machine(GetParam());
        const bool died = machine.SwitchDyingAt(k);
        const std::vector<std::string> misses = machine.Misses();
        ++steps;
        if (!misses.empty()) {
            ++stranding;
            if (first.empty()) first = "killed at call " + std::to_string(k) + ": " + misses.front();
        }
        return died;
    });
    RecordProperty("steps", steps);
    EXPECT_EQ(stranding, 0) << stranding << " of " << steps << " kills left a window out of place; the first "
                            << first;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, KilledMidSwitch,
    ::testing::Values(Path{.name = "SeedOrder"}, Path{.name = "SeedOrderOnWindows10", .major = 10},
                      Path{.name = "WindowsFirst", .options = "WindowsFirst=1\r\n"},
                      Path{.name = "WindowsFirstOnWindows10", .major = 10, .options = "WindowsFirst=1\r\n"},
                      Path{.name = "KeptWallpaperFirstVisit", .options = "WindowsFirst=1\r\nKeepWallpapers=1\r\n"},
                      Path{.name = "KeptWallpaperSecondVisit",
                           .options = "WindowsFirst=1\r\nKeepWallpapers=1\r\n",
                           .before = {3, 2}},
                      Path{.name = "HungWindow", .options = "WindowsFirst=1\r\n", .hung = true},
                      Path{.name = "RefusedBatch", .refused = true},
                      Path{.name = "ScalesWithSizesKept", .major = 10, .options = "WindowsFirst=1\r\n", .scaled = true},
                      Path{.name = "KeyWithThePanel", .major = 10, .options = "ShowDesktop=1\r\n", .way = 1},
                      Path{.name = "FollowingTheForeground", .options = "FollowFocus=1\r\n", .way = 2},
                      Path{.name = "EndOfTheSession", .major = 10, .before = {3}, .way = 3},
                      Path{.name = "ExitBringingEveryWindowHome",
                           .major = 10,
                           .options = "GatherOnExit=1\r\nWindowsFirst=1\r\n",
                           .scaled = true,
                           .hung = true,
                           .way = 4},

                      Path{.name = "FewerDesktopsAppliedWithTheActiveOneRemoved",
                           .major = 10,
                           .options = "ApplyAtOnce=1\r\n",
                           .scaled = true,
                           .hung = true,
                           .before = {3},
                           .way = 5,
                           .applied = 2},
                      Path{.name = "MoreDesktopsApplied",
                           .options = "ApplyAtOnce=1\r\nWindowsFirst=1\r\n",
                           .way = 5,
                           .applied = 4}),
    [](const auto& info) { return std::string(info.param.name); });

// Runs act with the process dying at its k-th call, for every k; check looks
// at the machine after a new start.
void KillAtEveryCall(const std::function<void(SimTrevo&)>& setUp, const std::function<void(SimTrevo&)>& act,
                     const std::function<void(SimTrevo&, std::uint64_t k)>& check) {
    ForEveryCall([&](std::uint64_t k) {
        SimTrevo t;
        setUp(t);
        t.KillAtCall(k);
        act(t);
        const bool died = t.world().ProgramDead();
        t.Kill();
        t.world().PointerOverIcons();
        t.world().msgBoxes.clear();
        t.Start();
        check(t, k);
        return died;
    });
}

// OK in Properties: Trevo.ini is the old file or the new one, never some of
// each, and the next Trevo starts with it.
TEST(KilledMidWrite, PropertiesOkLeavesTheOldSettingsOrTheNewOnes) {
    const std::string before = std::string("; my notes\r\n") + testing_support::kGoodIni;
    std::string after;
    const auto setUp = [&](SimTrevo& t) {
        t.WriteIni(before);
        t.Start();
    };
    const auto pressOk = [](SimTrevo& t) {
        const trevo::TrevoDialog& d = t.app().dialog();
        t.InProperties([&t, &d] {
            t.world().ControlAt(d.HScr->hWnd()).UserScroll(5);
            t.world().ControlAt(d.txtWallpaper[0]->hWnd()).UserType(u"C:\\new.bmp");
            t.world().ControlAt(d.cmdOk->hWnd()).UserClick();
        });
    };
    {
        SimTrevo whole;
        setUp(whole);
        pressOk(whole);
        after = ReadFile(whole.IniFile());
        ASSERT_NE(after, before);
    }
    KillAtEveryCall(setUp, pressOk, [&](SimTrevo& t, std::uint64_t k) {
        const std::string now = ReadFile(t.IniFile());
        EXPECT_TRUE(now == before || now == after) << "killed at call " << k << ":\n" << now;
        EXPECT_FALSE(t.world().ended) << "killed at call " << k;
        EXPECT_EQ(t.bas().gDeskCount, now == before ? 3 : 5);
    });
}

// Start with Windows, turned on, off, and on again after Task Manager switched
// it off: after a new start Trevo.ini and Windows are as before the choice or
// as after it, never half way, or a message says what happened.
TEST(KilledMidWrite, StartWithWindowsLeavesTheFileAndWindowsAgreeing) {
    enum class Before { Off, On, SwitchedOff };
    const auto toggle = [](SimTrevo& t) {
        t.world().menuChoices.push_back(u"Start with &Windows");
        t.Click(1, win::WM_RBUTTONUP);
    };
    // What the file says, whether there is a Run value, whether Windows runs it.
    const auto state = [](SimTrevo& t) {
        return std::tuple(ReadFile(t.IniFile()).find("StartWithWindows=1") != std::string::npos,
                          t.world().registry[sim::kRunKey].values.count("TREVO") != 0,
                          t.world().CommandAtLogOn("Trevo").has_value());
    };
    for (const Before before : {Before::Off, Before::On, Before::SwitchedOff}) {
        SCOPED_TRACE(static_cast<int>(before));
        const auto setUp = [&](SimTrevo& t) {
            t.WriteIni(std::string(testing_support::kGoodIni) + "[Options]\r\nStartWithWindows=0\r\n");
            t.Start();
            if (before != Before::Off) toggle(t);
            if (before == Before::SwitchedOff) t.world().SwitchInTaskManager("Trevo", false);
        };
        SimTrevo untouched, done;
        setUp(untouched);
        setUp(done);
        toggle(done);
        ASSERT_NE(state(untouched), state(done));
        KillAtEveryCall(setUp, toggle, [&](SimTrevo& t, std::uint64_t k) {
            EXPECT_TRUE(state(t) == state(untouched) || state(t) == state(done) || !t.world().msgBoxes.empty())
                << "killed at call " << k;
        });
    }
}

}  // namespace
