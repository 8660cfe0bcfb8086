// What Windows 10 and 11 do to a switch: programs that stop answering, windows
// the system keeps off the screen, and windows the program may not move.
#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace {
using engine::Hwnd;
using engine::Rect;
using testing_support::SimTrevo;
namespace win = engine::win;

constexpr engine::Long kWidth = 1024;

class TodaysWindows : public ::testing::Test {
protected:
    static sim::Options Windows10() {
        sim::Options o;
        o.major = 10;
        o.minor = 0;
        o.build = 19045;
        return o;
    }
    TodaysWindows() : t_(Windows10()) {
        t_.WriteIni("[Desktops]\r\nMax=3\r\n[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n");
    }
    Hwnd Open(engine::Long left, engine::Dword style = win::WS_VISIBLE) {
        return t_.OpenWindow(u"w", u"Probe", {left, 50, left + 300, 250}, style);
    }
    engine::Long Left(Hwnd h) { return t_.RectOf(h).left; }
    sim::WindowModel& model() { return t_.world().windows; }
    SimTrevo t_;  // fails the test on any call that waits for a thread that takes no messages
};

// A thread that has just stopped (the system does not call it hung yet) and one
// that the system calls hung: neither holds up the switch, each lands on its
// desktop when its thread answers again, and with its restore carried out first.
TEST_F(TodaysWindows, WindowsThatDoNotAnswerAreSentToTheirDesktopWithoutWaiting) {
    const Hwnd answering = Open(100);
    const Hwnd stalled = Open(200);
    const Hwnd hung = Open(300);
    const Hwnd hungMaximised = Open(400);
    const Hwnd hungMinimised = Open(500);
    const Hwnd sameThread = Open(600);
    t_.Start();
    model().Show(hungMaximised, win::SW_SHOWMAXIMIZED);
    model().Show(hungMinimised, win::SW_SHOWMINIMIZED);
    model().Get(sameThread).thread = model().ThreadOf(stalled);
    model().SetAnswering(model().ThreadOf(stalled), sim::Answering::Stalled);
    for (Hwnd h : {hung, hungMaximised, hungMinimised}) model().SetAnswering(model().ThreadOf(h), sim::Answering::Hung);

    t_.Click(2);
    EXPECT_EQ(Left(answering), 100 - kWidth);
    EXPECT_EQ(t_.bas().gOldDesk, 2);
    for (Hwnd h : {stalled, hung, sameThread}) EXPECT_EQ(Left(h), t_.RectOf(h).left) << "moved before answering";
    EXPECT_EQ(Left(stalled), 200);
    // One bounded question per thread that does not answer, and none for a hung one.
    EXPECT_EQ(t_.calls().timeSpentWaiting, 250u);

    for (Hwnd h : {stalled, hung, hungMaximised, hungMinimised})
        model().SetAnswering(model().ThreadOf(h), sim::Answering::Yes);
    EXPECT_EQ(Left(stalled), 200 - kWidth);
    EXPECT_EQ(Left(sameThread), 600 - kWidth);
    EXPECT_EQ(Left(hung), 300 - kWidth);
    EXPECT_EQ(t_.RectOf(hungMaximised), (Rect{400 - kWidth, 50, 700 - kWidth, 250}));
    EXPECT_EQ(t_.RectOf(hungMinimised), (Rect{500 - kWidth, 50, 800 - kWidth, 250}));
    EXPECT_FALSE(model().Get(hungMinimised).style & win::WS_MINIMIZE);

    t_.Click(1);
    for (auto [h, left] : {std::pair{answering, 100},
                           {stalled, 200},
                           {hung, 300},
                           {hungMaximised, 400},
                           {hungMinimised, 500},
                           {sameThread, 600}})
        EXPECT_EQ(Left(h), left);
}

// Cloaked windows are shown but not on the screen: the switch neither moves nor
// restores them. A system that cannot say (Wine answers E_NOTIMPL) moves them.
TEST_F(TodaysWindows, CloakedWindowsStayWhereTheyAre) {
    const Hwnd plain = Open(100);
    const Hwnd cloaked = Open(200);
    const Hwnd cloakedMaximised = Open(300);
    model().Get(cloaked).cloaked = true;
    model().Get(cloakedMaximised).cloaked = true;
    model().Show(cloakedMaximised, win::SW_SHOWMAXIMIZED);
    t_.Start();
    t_.Click(2);
    EXPECT_EQ(Left(plain), 100 - kWidth);
    EXPECT_EQ(Left(cloaked), 200);
    EXPECT_TRUE(model().Get(cloakedMaximised).style & win::WS_MAXIMIZE);
    EXPECT_EQ(model().Get(cloaked).moveCount, 0);

    t_.world().options.dwmNotImplemented = true;
    t_.Click(1);
    EXPECT_EQ(Left(plain), 100);
    EXPECT_EQ(Left(cloaked), 200 + kWidth);
}

// An elevated program's window is accepted into the batch and refused when the
// batch is carried out, which then fails as a whole: every other window still
// moves, each on its own; the refused one stays where it is.
TEST_F(TodaysWindows, ABatchRefusedAsAWholeStillMovesEveryOtherWindow) {
    const Hwnd first = Open(100);
    const Hwnd elevated = Open(200);
    const Hwnd last = Open(300);
    model().Get(elevated).refusesBatchedMoves = true;
    t_.Start();
    t_.Click(3);
    EXPECT_EQ(Left(first), 100 - 2 * kWidth);
    EXPECT_EQ(Left(elevated), 200);
    EXPECT_EQ(Left(last), 300 - 2 * kWidth);
    t_.Click(1);
    EXPECT_EQ(Left(first), 100);
    EXPECT_EQ(Left(last), 300);
}

}  // namespace
