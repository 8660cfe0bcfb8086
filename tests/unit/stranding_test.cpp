// No window is left beside every screen: desktops as wide as all monitors together.
#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace {
using engine::Hwnd;
using engine::Rect;
using testing_support::SimTrevo;

bool Overlaps(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

struct Arrangement {
    const char* name;
    std::vector<Rect> others;  // the primary is at 0, 0, 1024, 768
};

class Monitors : public ::testing::TestWithParam<Arrangement> {};

// Windows on every monitor form desktop 1; at every switch each monitor shows
// the active desktop's windows and none of the others'.
TEST_P(Monitors, EveryMonitorShowsTheActiveDesktopAndNothingElse) {
    for (const engine::Dword major : {6u, 10u}) {  // Windows 7, and Windows 10 and 11
        SCOPED_TRACE(major);
        sim::Options o = testing_support::OnWindows(major);
        o.otherMonitors = GetParam().others;
        SimTrevo t(o);
        const Rect v = t.world().VirtualScreen();
        const engine::Long width = v.right - v.left;
        std::vector<Rect> monitors = o.otherMonitors;
        monitors.push_back(o.screen);
        std::vector<Hwnd> first, second;
        for (const Rect& m : monitors) {
            first.push_back(t.OpenWindow(u"one", u"Probe", {m.left + 10, 10, m.left + 210, 110}));
            second.push_back(t.OpenWindow(u"two", u"Probe", {m.left + width + 20, 20, m.left + width + 220, 120}));
        }
        t.WriteIni("[Desktops]\r\nMax=3\r\n[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n");
        t.Start();
        EXPECT_EQ(t.bas().gScreenWidth, width);
        auto onScreen = [&](Hwnd h) {
            for (const Rect& m : monitors)
                if (Overlaps(t.RectOf(h), m)) return true;
            return false;
        };
        for (engine::Long desk : {2, 3, 1, 2, 1}) {
            t.Click(desk);
            for (size_t i = 0; i < monitors.size(); ++i) {
                EXPECT_EQ(onScreen(first[i]), desk == 1) << "desktop " << desk << ", monitor " << i;
                EXPECT_EQ(onScreen(second[i]), desk == 2) << "desktop " << desk << ", monitor " << i;
            }
        }
        for (size_t i = 0; i < monitors.size(); ++i) EXPECT_EQ(t.RectOf(first[i]).left, monitors[i].left + 10);
    }
}

INSTANTIATE_TEST_SUITE_P(Arrangements, Monitors,
                         ::testing::Values(Arrangement{"One", {}},
                                           Arrangement{"RightOfThePrimary", {{1024, 0, 2304, 1024}}},
                                           Arrangement{"LeftOfThePrimary", {{-1280, -256, 0, 768}}},
                                           Arrangement{"OnBothSides", {{-1280, 0, 0, 1024}, {1024, 0, 2944, 1080}}},
                                           Arrangement{"TwoToTheRight", {{1024, 0, 2048, 768}, {2048, 0, 3072, 768}}}),
                         [](const auto& info) { return std::string(info.param.name); });

constexpr const char* kThreeDesks =
    "[Desktops]\r\nMax=3\r\n[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n[NoChange-XP]\r\n01=class(Keep)\r\n";

// Windows on three desktops, one that never moves and a hidden one, with where
// each stands while desktop 1 is active.
// Each case on Windows 7 (6.1) and on Windows 10 and 11 (10.0).
class Lost : public ::testing::TestWithParam<engine::Dword> {
protected:
    Lost() : t_(testing_support::OnWindows(GetParam())) {
        for (engine::Long desk = 1; desk <= 3; ++desk) Note(t_.OpenWindow(u"plain", u"Probe", Band(desk, 100, 300)));
        Note(t_.OpenWindow(u"kept", u"Keep", {10, 10, 200, 60}));
        Note(t_.OpenWindow(u"hidden", u"Probe", {50, 50, 250, 150}, 0));
        t_.WriteIni(kThreeDesks);
    }
    static Rect Band(engine::Long desk, engine::Long left, engine::Long width) {
        const engine::Long x = (desk - 1) * 1024 + left;
        return {x, 100, x + width, 300};
    }
    void Note(Hwnd h) { home_.emplace_back(h, t_.RectOf(h)); }
    void ExpectEveryWindowHome(const char* when) {
        for (const auto& [h, rect] : home_)
            EXPECT_EQ(t_.RectOf(h), rect) << when << ": " << U8(t_.world().windows.Get(h).title);
    }
    static std::string U8(const engine::String& s) { return engine::ToUtf8(s); }
    SimTrevo t_;
    std::vector<std::pair<Hwnd, Rect>> home_;
};

// Ended without Exit on desktop 3, a new start first brings desktop 1 back; after
// Exit, or after Windows started again, nothing is brought back.
TEST_P(Lost, ANewStartAfterAnEndWithoutExitFindsEveryDesktopInItsBand) {
    t_.Start();
    t_.Click(3);
    t_.Kill();
    t_.Start();
    ASSERT_FALSE(t_.world().ended);
    ExpectEveryWindowHome("after a crash on desktop 3");
    t_.Click(2);
    t_.Kill();
    t_.Start();
    ExpectEveryWindowHome("after a crash on desktop 2");

    // Exit still moves nothing back, and leaves nothing to bring back.
    t_.Click(3);
    t_.world().menuChoices.push_back(u"E&xit");
    t_.Click(1, engine::win::WM_RBUTTONUP);
    ASSERT_TRUE(t_.world().ended);
    const Rect movedAway = t_.RectOf(home_[0].first);
    EXPECT_EQ(movedAway.left, home_[0].second.left - 2 * 1024);
    t_.Kill();
    t_.Start();
    EXPECT_EQ(t_.RectOf(home_[0].first), movedAway);
}

TEST_P(Lost, ARecordFromBeforeWindowsStartedAgainIsIgnored) {
    t_.Start();
    t_.Click(3);
    t_.Kill();
    std::vector<Rect> before;
    for (const auto& entry : home_) before.push_back(t_.RectOf(entry.first));
    t_.world().RestartWindows();
    t_.Start();
    for (size_t i = 0; i < home_.size(); ++i) EXPECT_EQ(t_.RectOf(home_[i].first), before[i]);
}

// Programs write down where their windows are when the session ends: desktop 1
// is made active first, also with the Properties dialog open.
TEST_P(Lost, TheEndOfTheSessionMakesDesktopOneActive) {
    t_.Start();
    t_.Click(3);
    t_.world().EndSession();
    ExpectEveryWindowHome("at the end of the session");
    EXPECT_EQ(t_.bas().gOldDesk, 1);

    t_.Click(2);
    t_.world().modalScript = [&](Hwnd) {
        t_.world().EndSession();
        t_.world().ControlAt(t_.app().dialog().cmdCancel->hWnd()).UserClick();
    };
    t_.world().menuChoices.push_back(u"&Properties...");
    t_.Click(1, engine::win::WM_RBUTTONUP);
    ExpectEveryWindowHome("at the end of the session, dialog open");
}

// A second Trevo of the same session ends at once: no icons, nothing moved,
// nothing said; the first runs on. A rescue asked of it refuses and says why.
TEST_P(Lost, ASecondTrevoEndsAtOnceAndTheFirstRunsOn) {
    t_.Start();
    t_.Click(2);
    const auto icons = t_.world().trayIcons.size();
    std::vector<Rect> before;
    for (const auto& entry : home_) before.push_back(t_.RectOf(entry.first));
    EXPECT_EQ(t_.StartAnotherCopy(), 0);
    EXPECT_EQ(t_.world().trayIcons.size(), icons);
    EXPECT_TRUE(t_.world().msgBoxes.empty());
    for (size_t i = 0; i < home_.size(); ++i) EXPECT_EQ(t_.RectOf(home_[i].first), before[i]);

    EXPECT_EQ(t_.StartAnotherCopy(u"/gather"), 0);
    ASSERT_EQ(t_.world().msgBoxes.size(), 1u);
    EXPECT_NE(t_.world().msgBoxes[0].text.find(u"Trevo is running"), std::u16string::npos);
    for (size_t i = 0; i < home_.size(); ++i) EXPECT_EQ(t_.RectOf(home_[i].first), before[i]);

    t_.Click(1);
    ExpectEveryWindowHome("the first Trevo after the second ended");
    t_.Kill();
    t_.world().PointerOverIcons();  // the dead one's icons stay until then
    t_.Start();  // the first one's lock went with its process
    EXPECT_FALSE(t_.world().ended);
    EXPECT_EQ(t_.world().trayIcons.size(), icons);
}

// "Trevo /gather" brings back every window that lies wholly beside the screen,
// by whole widths, minimised ones by their restore position; it leaves the
// protected, the hidden and the partly shown, and ends without icons. A crash
// record it leaves nothing for.
TEST_P(Lost, GatherBringsBackWhatLiesBesideTheScreen) {
    t_.Start();
    t_.Click(3);  // desktop 3 active: desktops 1 and 2 lie left of the screen
    const Hwnd partly = t_.OpenWindow(u"partly", u"Probe", {-100, 100, 200, 300});
    // Touching the screen's edge from beside it is still beside it.
    const Hwnd touchingLeft = t_.OpenWindow(u"touching left", u"Probe", {-300, 100, 0, 300});
    const Hwnd touchingRight = t_.OpenWindow(u"touching right", u"Probe", {1024, 100, 1324, 300});
    const Hwnd farRight = t_.OpenWindow(u"far", u"Probe", {5 * 1024 + 30, 100, 5 * 1024 + 330, 300});
    const Hwnd minimised = t_.OpenWindow(u"min", u"Probe", Band(1, 400, 200));
    t_.world().windows.Get(minimised).rect = Band(1, 400 - 2 * 1024, 200);
    t_.world().windows.Show(minimised, engine::win::SW_SHOWMINIMIZED);
    const Rect keptBeside{-2000, 10, -1800, 60};
    const Hwnd kept = t_.OpenWindow(u"kept", u"Keep", keptBeside);
    const Hwnd hidden = t_.OpenWindow(u"hidden", u"Probe", keptBeside, 0);
    const Hwnd hung = t_.OpenWindow(u"hung", u"Probe", Band(-1, 200, 300));
    t_.Kill();
    t_.world().PointerOverIcons();
    t_.world().windows.SetAnswering(t_.world().windows.ThreadOf(hung), sim::Answering::Hung);

    t_.world().app.command = u" /GATHER ";
    t_.Start();
    EXPECT_TRUE(t_.world().ended);
    EXPECT_EQ(t_.world().exitCode, 0);
    EXPECT_TRUE(t_.world().trayIcons.empty());
    EXPECT_TRUE(t_.world().msgBoxes.empty());
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(t_.RectOf(home_[i].first), Band(1, 100, 300)) << "window " << i;
    EXPECT_EQ(t_.RectOf(partly).left, -100);
    EXPECT_EQ(t_.RectOf(touchingLeft).left, 1024 - 300);
    EXPECT_EQ(t_.RectOf(touchingRight).left, 0);
    EXPECT_EQ(t_.RectOf(farRight).left, 30);
    EXPECT_EQ(t_.RectOf(kept), keptBeside);
    EXPECT_EQ(t_.RectOf(hidden), keptBeside);
    // A program that does not answer is not waited for: its window comes back when it answers.
    EXPECT_EQ(t_.RectOf(hung), Band(-1, 200, 300));
    t_.world().windows.SetAnswering(t_.world().windows.ThreadOf(hung), sim::Answering::Yes);
    EXPECT_EQ(t_.RectOf(hung), Band(1, 200, 300));
    t_.world().windows.Show(minimised, engine::win::SW_RESTORE);
    EXPECT_EQ(t_.RectOf(minimised), Band(1, 400, 200));

    // The record of the crash on desktop 3 is gone: a start moves nothing.
    const Rect gathered = t_.RectOf(home_[0].first);
    t_.Kill();
    t_.world().app.command.clear();
    t_.Start();
    EXPECT_EQ(t_.RectOf(home_[0].first), gathered);
}

INSTANTIATE_TEST_SUITE_P(Versions, Lost, ::testing::Values(6u, 10u),
                         [](const auto& info) { return info.param == 6 ? "Windows7" : "Windows10"; });

}  // namespace
