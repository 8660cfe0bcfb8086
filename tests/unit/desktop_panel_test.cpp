// The panel that names the desktop after a switch by key or by the followed
// foreground: when it shows and when not, a window of Trevo's own that never
// takes the keyboard and never moves with the desktops, its time, and its
// monitor. Then the simulated timers it runs on.
#include <gtest/gtest.h>

#include "engine/notice_fade.h"
#include "engine/sim/sim_notice_panel.h"
#include "sim_fixture.h"

namespace {
using engine::Dword;
using engine::Hwnd;
using engine::Long;
using engine::NoticeFade;
using engine::Rect;
using testing_support::SimTrevo;
using testing_support::U8;
namespace win = engine::win;

constexpr Long kWidth = 1280, kHeight = 1024;
constexpr Dword kCtrlAlt = win::MOD_CONTROL | win::MOD_ALT;
constexpr Rect kSecondMonitor{kWidth, 0, 2 * kWidth, kHeight};
Dword F(int n) { return win::VK_F1 + static_cast<Dword>(n - 1); }

std::string Ini(const std::string& options = "ShowDesktop=1\r\nFollowFocus=1\r\n") {
    return "[Desktops]\r\nMax=3\r\n[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n[NoChange-XP]\r\n"
           "01=class(Shell_TrayWnd)\r\n02=class(KeepMe)\r\n[Keys]\r\nDesktop1=Ctrl+Alt+F1\r\nDesktop2=Ctrl+Alt+F2\r\n"
           "Desktop3=Ctrl+Alt+F3\r\n[Names]\r\n2=Mail\r\n[Options]\r\n" +
           options;
}

struct Version {
    Dword major, minor, build;
};

class DesktopPanel : public ::testing::TestWithParam<Version> {
protected:
    // One monitor, or two side by side, the second at 150 % where Windows
    // gives each monitor its own scale.
    sim::Options Windows(bool twoMonitors = false) const {
        sim::Options o;
        o.screen = {0, 0, kWidth, kHeight};
        o.major = GetParam().major;
        o.minor = GetParam().minor;
        o.build = GetParam().build;
        if (twoMonitors) {
            o.otherMonitors = {kSecondMonitor};
            o.otherDpis = {SecondDpi()};
        }
        return o;
    }
    Dword SecondDpi() const { return GetParam().major >= 10 ? 144 : 96; }

    static void Start(SimTrevo& t, const std::string& ini = Ini()) {
        t.WriteIni(ini);
        t.Start();
        ASSERT_FALSE(t.world().ended);
    }
    static void Key(SimTrevo& t, int desk) { EXPECT_TRUE(t.world().PressHotKey(kCtrlAlt, F(desk))); }
    // The user brings a window to the front.
    static void Focus(SimTrevo& t, Hwnd h) {
        t.world().foreground = 0;
        t.world().Activate(h);
    }
    // Every notice window Trevo ever made: one at most.
    static std::vector<Hwnd> Panels(SimTrevo& t) {
        std::vector<Hwnd> found;
        for (Hwnd h : t.world().windows.TopLevel())
            if (t.world().windows.Get(h).className == sim::kNoticeClass) found.push_back(h);
        return found;
    }
    // The panel shown now, or nullptr.
    static const sim::Window* Shown(SimTrevo& t) {
        const std::vector<Hwnd> panels = Panels(t);
        EXPECT_LE(panels.size(), 1u) << "more than one panel";
        if (panels.empty()) return nullptr;
        const sim::Window& w = t.world().windows.Get(panels.front());
        return (w.style & win::WS_VISIBLE) ? &w : nullptr;
    }
    static std::string Says(SimTrevo& t) {
        const sim::Window* w = Shown(t);
        return w ? U8(w->title) : "(nothing)";
    }
};

TEST_P(DesktopPanel, NamesTheDesktopAfterAKeyOrTheFollowedForegroundOnly) {
    SimTrevo t(Windows());
    const Hwnd probe = t.OpenWindow(u"Probe", u"Probe", {100, 50, 400, 250});
    Start(t);
    EXPECT_TRUE(Panels(t).empty()) << "the start-up selection was named";

    t.Click(2);
    EXPECT_TRUE(Panels(t).empty()) << "a click on an icon was named";
    Key(t, 3);
    EXPECT_EQ(Says(t), "Desktop 3");
    // The probe now lies on desktop 1, beside the screen: brought to the front, its desktop comes.
    Focus(t, probe);
    ASSERT_EQ(t.bas().gOldDesk, 1);
    EXPECT_EQ(Says(t), "Desktop 1");
    Key(t, 2);
    EXPECT_EQ(Says(t), "Desktop 2\nMail");
    // A click on the icon of the desktop it names: what it says is still so.
    t.Click(2);
    EXPECT_EQ(Says(t), "Desktop 2\nMail");
    // A click on another icon while the panel names desktop 2: it must not stay, saying what is no longer so.
    t.Click(3);
    EXPECT_EQ(Says(t), "(nothing)");
}

TEST_P(DesktopPanel, IsTrevosOwnWindowThatNeverTakesTheKeyboardNorMoves) {
    // Only a window that never moves: nothing of the switch itself takes the foreground from it.
    SimTrevo t(Windows());
    const Hwnd kept = t.OpenWindow(u"Kept", u"KeepMe", {100, 50, 400, 250});
    Start(t);
    Focus(t, kept);
    Key(t, 3);
    const sim::Window* panel = Shown(t);
    ASSERT_NE(panel, nullptr);
    const Hwnd h = panel->hwnd;
    EXPECT_EQ(t.engine().simulated().GetForegroundWindow(), kept) << "the panel took the foreground";
    EXPECT_TRUE(t.world().IsProgramWindow(h));
    EXPECT_FALSE(t.world().ShownAsTask(h)) << "on the task bar or in Alt+Tab";
    const Dword wanted = win::WS_EX_TOPMOST | win::WS_EX_NOACTIVATE | win::WS_EX_TRANSPARENT | win::WS_EX_LAYERED |
                         win::WS_EX_TOOLWINDOW;
    EXPECT_EQ(panel->exStyle & wanted, wanted);
    EXPECT_EQ(t.world().windows.TopLevel().front(), h) << "not above every window";

    // Switches made while it is shown walk past it: one by key (the same text
    // in the same place), one by a click.
    const Rect where = panel->rect;
    const int moves = panel->moveCount;
    Key(t, 1);
    t.Click(3);
    ASSERT_EQ(Panels(t).size(), 1u);
    EXPECT_EQ(t.world().windows.Get(h).rect, where) << "a switch moved the panel";
    EXPECT_EQ(t.world().windows.Get(h).moveCount, moves);
    EXPECT_EQ(t.engine().simulated().GetForegroundWindow(), kept);
}

TEST_P(DesktopPanel, GoesAfterItsTimeWithItsTimerAndASecondSwitchStartsItAgain) {
    SimTrevo t(Windows());
    Start(t);
    t.world().PassTime(60000);
    EXPECT_EQ(t.world().Timers(), 0u) << "an idle Trevo wakes up";

    Key(t, 2);
    ASSERT_NE(Shown(t), nullptr);
    EXPECT_EQ(t.world().Timers(), 1u);
    t.world().PassTime(NoticeFade::kHoldMs - 1);
    Key(t, 3);
    EXPECT_EQ(Says(t), "Desktop 3");
    t.world().PassTime(NoticeFade::kHoldMs - 1);
    ASSERT_NE(Shown(t), nullptr) << "the second switch did not start the panel's time again";
    EXPECT_EQ(Shown(t)->layeredAlpha, NoticeFade::kFullAlpha);
    t.world().PassTime(1 + NoticeFade::kStepMs);
    ASSERT_NE(Shown(t), nullptr);
    const std::uint8_t fading = Shown(t)->layeredAlpha;
    EXPECT_LT(fading, NoticeFade::kFullAlpha);
    EXPECT_GT(fading, 0);
    t.world().PassTime(NoticeFade::kStepMs * NoticeFade::kSteps);
    EXPECT_EQ(Shown(t), nullptr) << "still shown after its fade";
    EXPECT_EQ(t.world().Timers(), 0u) << "its timer outlived it";
    EXPECT_EQ(Panels(t).size(), 1u);
}

TEST_P(DesktopPanel, StandsOnTheMonitorOfTheForegroundWindowElseOfThePointerAtItsScale) {
    sim::Options o = Windows(true);
    o.taskbar = false;  // nothing is left to take the foreground when the user's windows close
    SimTrevo t(o);
    const Hwnd onSecond = t.OpenWindow(u"Right", u"KeepMe", {1500, 100, 1800, 300});
    const Hwnd onPrimary = t.OpenWindow(u"Left", u"KeepMe", {100, 100, 400, 300});
    Start(t);
    auto centre = [](const Rect& r) { return engine::Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; };
    auto closeTo = [](engine::Point a, engine::Point b) {
        return std::abs(a.x - b.x) <= 1 && std::abs(a.y - b.y) <= 1;
    };

    Focus(t, onSecond);
    Key(t, 3);
    ASSERT_NE(Shown(t), nullptr);
    const Rect second = Shown(t)->rect;
    EXPECT_TRUE(closeTo(centre(second), centre(kSecondMonitor)));
    Focus(t, onPrimary);
    Key(t, 1);
    ASSERT_NE(Shown(t), nullptr);
    const Rect primary = Shown(t)->rect;
    EXPECT_TRUE(closeTo(centre(primary), centre(o.screen)));
    // Drawn at each monitor's own scale (both texts are as long).
    EXPECT_NEAR(second.bottom - second.top, (primary.bottom - primary.top) * SecondDpi() / 96.0, 1.0);
    EXPECT_NEAR(second.right - second.left, (primary.right - primary.left) * SecondDpi() / 96.0, 2.0);

    t.world().windows.Destroy(onSecond);
    t.world().windows.Destroy(onPrimary);
    t.world().cursor = centre(kSecondMonitor);
    Key(t, 3);
    ASSERT_NE(Shown(t), nullptr);
    EXPECT_TRUE(closeTo(centre(Shown(t)->rect), centre(kSecondMonitor))) << "not on the pointer's monitor";

    // A foreground window beside every screen tells nothing, however near a
    // monitor it lies: the pointer's monitor again.
    const Hwnd beside = t.OpenWindow(u"Beside", u"KeepMe", {2 * kWidth + 300, 100, 2 * kWidth + 600, 300});
    t.world().cursor = centre(o.screen);
    Focus(t, beside);
    Key(t, 1);
    ASSERT_NE(Shown(t), nullptr);
    EXPECT_TRUE(closeTo(centre(Shown(t)->rect), centre(o.screen))) << "not on the pointer's monitor";
}

TEST_P(DesktopPanel, NeverShowsWithoutTheOption) {
    for (const std::string options : {"FollowFocus=1\r\n", "FollowFocus=1\r\nShowDesktop=0\r\n"}) {
        SimTrevo t(Windows());
        const Hwnd probe = t.OpenWindow(u"Probe", u"Probe", {100, 50, 400, 250});
        Start(t, Ini(options));
        Key(t, 3);
        Focus(t, probe);
        EXPECT_EQ(t.bas().gOldDesk, 1);
        EXPECT_TRUE(Panels(t).empty()) << options;
        EXPECT_EQ(t.world().Timers(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, DesktopPanel, ::testing::Values(Version{6, 1, 7601}, Version{10, 0, 19045}),
                         [](const auto& info) { return info.param.major == 10 ? "Windows10" : "Windows7"; });

// ------------------------------------------------------------ the model

TEST(SimulatedTimers, FireAsWindowsFiresThem) {
    sim::Options o;
    SimTrevo t(o);
    sim::World& world = t.world();
    sim::WindowSpec made;
    made.className = u"Own";
    const Hwnd own = world.windows.Create(made);
    world.windows.Get(own).thread = world.programProcess;
    const Hwnd other = world.windows.Create(made);
    int fired = 0, otherFired = 0;

    EXPECT_FALSE(world.SetTimer(other, 1, 100, [&] { ++otherFired; })) << "a timer on another thread's window";
    ASSERT_TRUE(world.SetTimer(own, 1, 100, [&] { ++fired; }));
    world.PassTime(99);
    EXPECT_EQ(fired, 0);
    world.PassTime(1);
    EXPECT_EQ(fired, 1);
    world.PassTime(250);
    EXPECT_EQ(fired, 3) << "once every period while the program waits";
    // Busy elsewhere for a long while: one WM_TIMER waits, not one per period missed.
    world.tickCount += 1000;
    t.engine().DoEvents();
    EXPECT_EQ(fired, 4);
    // The same id again replaces the timer and its time.
    world.PassTime(50);
    ASSERT_TRUE(world.SetTimer(own, 1, 100, [&] { fired += 10; }));
    world.PassTime(99);
    EXPECT_EQ(fired, 4);
    world.PassTime(1);
    EXPECT_EQ(fired, 14);
    EXPECT_EQ(world.Timers(), 1u);
    world.windows.Destroy(own);
    EXPECT_EQ(world.Timers(), 0u) << "a timer outlived its window";
    world.PassTime(1000);
    EXPECT_EQ(fired, 14);
    EXPECT_EQ(otherFired, 0);
}

}  // namespace
