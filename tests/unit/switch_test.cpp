// The switch: which windows move, by how much, and what they go through on the way.
#include <gtest/gtest.h>

#include "desktop/window_shift.h"
#include "sim_fixture.h"

namespace {
using engine::Rect;
using testing_support::SimTrevo;
namespace win = engine::win;

constexpr engine::Dword kVisible = win::WS_VISIBLE;

std::string Ini(int max, const std::string& patterns = "") {
    return "[Desktops]\r\nMax=" + std::to_string(max) + "\r\n[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n" +
           "[NoChange-XP]\r\n01=class(Shell_TrayWnd)\r\n" + patterns;
}

class Switch : public ::testing::Test {
protected:
    explicit Switch(Rect screen = {0, 0, 1280, 1024}) : t_(Options(screen)) {}
    static sim::Options Options(Rect screen) {
        sim::Options o;
        o.screen = screen;
        return o;
    }
    engine::Hwnd Open(const std::u16string& title, engine::Long left, engine::Dword style = kVisible,
                      const std::u16string& cls = u"Probe") {
        return t_.OpenWindow(title, cls, {left, 50, left + 300, 250}, style);
    }
    engine::Long Left(engine::Hwnd h) { return t_.RectOf(h).left; }
    SimTrevo t_;
};

TEST_F(Switch, OneDesktopToTheNextMovesEveryWindowOneScreenLeft) {
    const auto here = Open(u"here", 100);
    const auto there = Open(u"there", 1380);  // already on desktop 2's band
    t_.WriteIni(Ini(3));
    t_.Start();
    EXPECT_EQ(Left(here), 100);  // the first activation moves nothing
    t_.Click(2);
    EXPECT_EQ(Left(here), -1180);
    EXPECT_EQ(Left(there), 100);
    EXPECT_EQ(t_.RectOf(there), (Rect{100, 50, 400, 250}));  // top and size kept
    EXPECT_EQ(t_.world().windows.BatchesEnded(), 1);
    t_.Click(1);
    EXPECT_EQ(Left(here), 100);
    EXPECT_EQ(Left(there), 1380);
}

TEST_F(Switch, BackFromThreeToOneMovesTwoScreensRight) {
    const auto w = Open(u"w", 10);
    t_.WriteIni(Ini(3));
    t_.Start();
    t_.Click(3);
    EXPECT_EQ(Left(w), 10 - 2 * 1280);
    t_.Click(1);
    EXPECT_EQ(Left(w), 10);
}

TEST_F(Switch, TheTaskBarMovesUnlessAPatternKeepsIt) {
    t_.WriteIni("[Desktops]\r\nMax=2\r\n[Size]\r\nWidth=400\r\nHeight=300\r\n");  // no patterns at all
    t_.Start();
    const engine::Long before = Left(t_.world().taskbar);
    t_.Click(2);
    EXPECT_EQ(Left(t_.world().taskbar), before - 1280);

    SimTrevo kept(Options({0, 0, 1280, 1024}));
    kept.WriteIni(Ini(2));  // the task bar's class in the never-move list
    kept.Start();
    kept.Click(2);
    EXPECT_EQ(kept.RectOf(kept.world().taskbar).left, before);
    EXPECT_EQ(kept.world().windows.Get(kept.world().taskbar).moveCount, 0);
}

TEST_F(Switch, PatternsSpareTheirWindows) {
    const auto byClass = Open(u"anything", 100, kVisible, u"KeepMe");
    const auto byWildcard = Open(u"Report 2026", 100);
    const auto byTitleAlone = Open(u"Calculator", 100);
    const auto bothButWrongClass = Open(u"Report 7", 100, kVisible, u"Other");
    const auto caseDiffers = Open(u"calculator", 100);
    const auto moves = Open(u"Notes", 100);
    t_.WriteIni(Ini(2, "02=CLASS(KeepMe)\r\n03=title(Report*)class(Probe)\r\n04=Title(Calculator)\r\n"));
    t_.Start();
    t_.Click(2);
    EXPECT_EQ(Left(byClass), 100);
    EXPECT_EQ(Left(byWildcard), 100);
    EXPECT_EQ(Left(byTitleAlone), 100);
    EXPECT_EQ(Left(bothButWrongClass), 100 - 1280);
    EXPECT_EQ(Left(caseDiffers), 100 - 1280);
    EXPECT_EQ(Left(moves), 100 - 1280);
    EXPECT_EQ(Left(t_.world().taskbar), 0);
}

TEST_F(Switch, HiddenWindowsKeepTheirBand) {
    const auto hidden = Open(u"hidden", 100, 0);
    t_.WriteIni(Ini(2));
    t_.Start();
    t_.Click(2);
    EXPECT_EQ(Left(hidden), 100);
    EXPECT_EQ(t_.world().windows.Get(hidden).style & kVisible, 0u);
}

TEST_F(Switch, MaximisedAndMinimisedWindowsAreRestoredBeforeTheyMove) {
    const auto maxed = Open(u"max", 100);
    const auto mined = Open(u"min", 200);
    t_.WriteIni(Ini(2));
    t_.Start();
    t_.world().windows.Show(maxed, win::SW_SHOWMAXIMIZED);
    t_.world().windows.Show(mined, win::SW_SHOWMINIMIZED);
    t_.Click(2);
    EXPECT_EQ(t_.world().windows.Get(maxed).style & win::WS_MAXIMIZE, 0u);
    EXPECT_EQ(t_.RectOf(maxed), (Rect{100 - 1280, 50, 400 - 1280, 250}));
    EXPECT_EQ(t_.world().windows.Get(mined).style & win::WS_MINIMIZE, 0u);
    EXPECT_EQ(Left(mined), 200 - 1280);  // moved from its restored place
}

TEST_F(Switch, TheFirstActivationRestoresButMovesNothing) {
    const auto maxed = Open(u"max", 100);
    t_.world().windows.Show(maxed, win::SW_SHOWMAXIMIZED);
    t_.WriteIni(Ini(2));
    t_.Start();
    EXPECT_EQ(t_.world().windows.Get(maxed).style & win::WS_MAXIMIZE, 0u);
    EXPECT_EQ(Left(maxed), 100);
    EXPECT_EQ(t_.world().windows.BatchesBegun(), 0);
}

TEST_F(Switch, AStraddlingWindowKeepsStraddling) {
    const auto w = Open(u"wide", 1200);  // 1200..1500 spans bands 1 and 2
    t_.WriteIni(Ini(2));
    t_.Start();
    t_.Click(2);
    EXPECT_EQ(t_.RectOf(w), (Rect{1200 - 1280, 50, 1500 - 1280, 250}));
}

TEST_F(Switch, AWindowThatRefusesToMoveDoesNotHoldBackTheOthers) {
    const auto first = Open(u"first", 100);
    const auto stubborn = Open(u"stubborn", 200);
    const auto last = Open(u"last", 300);
    t_.world().windows.Get(stubborn).refusesMoves = true;
    t_.WriteIni(Ini(2));
    t_.Start();
    t_.Click(2);
    EXPECT_EQ(Left(first), 100 - 1280);
    EXPECT_EQ(Left(stubborn), 200);
    EXPECT_EQ(Left(last), 300 - 1280);
    EXPECT_EQ(t_.bas().gOldDesk, 2);
}

TEST_F(Switch, AWindowClosedBetweenTheWalkAndTheMove) {
    const auto doomed = Open(u"doomed", 100);
    const auto other = Open(u"other", 300);
    t_.WriteIni(Ini(2));
    t_.Start();
    t_.world().windows.beforeDeferredMove = [&](engine::Hwnd h) {
        if (h == doomed) t_.world().windows.Destroy(doomed);
    };
    t_.Click(2);
    EXPECT_FALSE(t_.world().windows.Exists(doomed));
    EXPECT_EQ(Left(other), 300 - 1280);
}

// A program that resizes its window while it lies beside the screen (as one
// aware of the scale does beside a monitor of another scale) gets back, at
// the switch that brings it back, the size a switch took it away with; only
// that: a window first met beside the screen, or resized once back, keeps
// what it has.
TEST_F(Switch, AWindowComesBackAtTheSizeItLeftWith) {
    const auto away = Open(u"away", 100), there = Open(u"there", 1380);
    t_.WriteIni(Ini(3));
    t_.Start();
    t_.Click(2);
    t_.world().windows.Place(away, 0, 0, 0, 201, 133, win::SWP_NOMOVE | win::SWP_NOZORDER);
    t_.world().windows.Place(there, 0, 0, 0, 222, 111, win::SWP_NOMOVE | win::SWP_NOZORDER);
    t_.Click(3);
    t_.Click(1);
    EXPECT_EQ(t_.RectOf(away), (Rect{100, 50, 400, 250}));
    t_.world().windows.Place(away, 0, 0, 0, 250, 150, win::SWP_NOMOVE | win::SWP_NOZORDER);
    t_.Click(2);
    EXPECT_EQ(t_.RectOf(there), (Rect{100, 50, 322, 161}));  // resized on the screen, taken away so
    t_.Click(1);
    EXPECT_EQ(t_.RectOf(away), (Rect{100, 50, 350, 200}));
    EXPECT_EQ(t_.RectOf(there), (Rect{1380, 50, 1602, 161}));
}

// With WindowsFirst the windows move before the icons change and the
// wallpaper is fitted; without it, as ever, the wallpaper comes first. What
// arrives during the fitting's yield then waits as it always has.
TEST(SwitchSteps, WindowsFirstMovesBeforeTheIconsAndTheWallpaper) {
    for (const bool windowsFirst : {false, true}) {
        SimTrevo t;
        testing_support::WritePictureFile(t.Host(u"C:\\p.bmp"), 8, 8, 0xFF0000);
        const auto w = t.OpenWindow(u"w", u"Probe", {100, 50, 400, 250});
        t.WriteIni("[Desktops]\r\nMax=3\r\n[Wallpaper]\r\n2=C:\\p.bmp\r\n[Size]\r\nKeepSize=-1\r\nWidth=40\r\n"
                   "Height=30\r\n" +
                   std::string(windowsFirst ? "[Options]\r\nWindowsFirst=1\r\n" : ""));
        t.Start();
        t.calls().switchSteps.clear();
        std::vector<std::string> icon(4);
        for (int n = 1; n <= 3; ++n) icon[static_cast<size_t>(n)] = "icon " + std::to_string(t.DeskWindow(n));
        bool movedBeforeTheYield = false;
        t.world().onDoEvents = [&] {
            t.world().onDoEvents = nullptr;
            movedBeforeTheYield = t.RectOf(w).left != 100;
            t.Click(3);  // held: carried out after this selection
        };
        t.Click(2);
        const std::vector<std::string> expected =
            windowsFirst ? std::vector<std::string>{"moves", icon[1], icon[2], icon[3], "wallpaper"}
                         : std::vector<std::string>{icon[1], icon[2], "wallpaper", "moves", icon[3]};
        ASSERT_GE(t.calls().switchSteps.size(), expected.size());
        EXPECT_EQ(std::vector<std::string>(t.calls().switchSteps.begin(),
                                           t.calls().switchSteps.begin() + static_cast<long>(expected.size())),
                  expected)
            << windowsFirst;
        EXPECT_EQ(movedBeforeTheYield, windowsFirst);
        EXPECT_EQ(t.bas().gOldDesk, 3);
        EXPECT_EQ(t.RectOf(w).left, 100 - 2 * t.bas().gScreenWidth);

        t.world().onDoEvents = [&] {
            t.world().onDoEvents = nullptr;
            t.world().menuChoices.push_back(u"E&xit");
            t.Click(1, win::WM_RBUTTONUP);  // waits for the selection
        };
        const int wallpapers = t.calls().wallpaperSets;
        t.Click(2);
        EXPECT_TRUE(t.world().ended);
        EXPECT_EQ(t.calls().wallpaperSets, wallpapers + 1);
        EXPECT_EQ(t.RectOf(w).left, 100 - t.bas().gScreenWidth);
    }
}

TEST_F(Switch, NothingToMoveMakesNoBatch) {
    t_.WriteIni(Ini(2, "02=class(TrevoForm)\r\n"));
    t_.Start();
    t_.Click(2);  // only the protected task bar is visible
    EXPECT_EQ(t_.world().windows.BatchesBegun(), 0);
    EXPECT_EQ(t_.bas().gOldDesk, 2);
}

TEST_F(Switch, EveryWindowLiesInExactlyOneBandAfterManySwitches) {
    std::vector<std::pair<engine::Hwnd, int>> opened;  // window, desktop it opened on
    t_.WriteIni(Ini(5));
    t_.Start();
    std::mt19937 rng(7);
    for (int step = 0; step < 200; ++step) {
        const int desk = 1 + static_cast<int>(rng() % 5);
        if (rng() % 3 == 0) opened.push_back({Open(u"w", static_cast<engine::Long>(rng() % 900)), t_.bas().gOldDesk});
        t_.Click(desk);
        for (auto [h, home] : opened) {
            const engine::Long left = Left(h);
            const engine::Long band = (home - desk) * 1280;
            EXPECT_TRUE(left >= band && left < band + 1280) << "window of desktop " << home << " at " << left;
        }
    }
}

}  // namespace

namespace {

TEST(SwitchVerdicts, EachWindowOfTheWalkGetsItsReason) {
    testing_support::SimTrevo t;
    t.WriteIni("[Desktops]\r\nMax=2\r\n[Size]\r\nWidth=400\r\nHeight=300\r\n[NoChange-XP]\r\n01=class(Keep)\r\n");
    const auto hidden = t.OpenWindow(u"h", u"Probe", {0, 0, 10, 10}, 0);
    const auto kept = t.OpenWindow(u"k", u"Keep", {0, 0, 10, 10});
    const auto takes = t.OpenWindow(u"t", u"Probe", {0, 0, 10, 10});
    const auto cloaked = t.OpenWindow(u"c", u"Probe", {0, 0, 10, 10});
    t.world().windows.Get(cloaked).cloaked = true;
    t.Start();
    auto& wi = *t.bas().gcWinInterface;
    auto& platform = t.engine().platform();
    const auto patterns = desktop::ScanPatterns(*t.bas().gNoChange);
    EXPECT_EQ(desktop::Judge(wi, platform, patterns, hidden), desktop::WalkVerdict::NotVisible);
    EXPECT_EQ(desktop::Judge(wi, platform, patterns, kept), desktop::WalkVerdict::NeverMove);
    EXPECT_EQ(desktop::Judge(wi, platform, patterns, takes), desktop::WalkVerdict::Takes);
    // Windows 7 knows no cloaking (the simulated default is 6.1): the window takes part.
    EXPECT_EQ(desktop::Judge(wi, platform, patterns, cloaked), desktop::WalkVerdict::Takes);
    t.world().options.major = 10;
    t.world().options.minor = 0;
    EXPECT_EQ(desktop::Judge(wi, platform, patterns, cloaked), desktop::WalkVerdict::Cloaked);
}

TEST(SwitchDistance, ThirtyTwoBitsOrAnOverflowError) {
    EXPECT_EQ(desktop::ShiftDistance(1, 2, 1280), -1280);
    EXPECT_EQ(desktop::ShiftDistance(3, 1, 1024), 2048);
    EXPECT_THROW(desktop::ShiftDistance(5, 1, 0x40000000), engine::RuntimeError);
}

}  // namespace
