// The system failing Trevo in the middle of a switch: windows that refuse or vanish
// all at once, the shell restarting while a wallpaper is being fitted, windows
// coming and going during the fitting. The switch finishes and nothing is lost.
#include <gtest/gtest.h>

#include <vector>

#include "sim_fixture.h"

namespace {
using engine::Hwnd;
using engine::Rect;
using testing_support::SimTrevo;
using testing_support::WritePictureFile;

constexpr const char* kIni =
    "[Desktops]\r\nMax=3\r\n[Wallpaper]\r\n1=C:\\pics\\one.bmp\r\n2=C:\\pics\\two.bmp\r\n"
    "[Size]\r\nKeepSize=-1\r\nWidth=40\r\nHeight=30\r\n[NoChange-XP]\r\n01=class(Shell_TrayWnd)\r\n";

class PlatformFaults : public ::testing::Test {
protected:
    PlatformFaults() {
        WritePictureFile(t_.Host(u"C:\\pics\\one.bmp"), 8, 8, 0xFFFF0000);
        WritePictureFile(t_.Host(u"C:\\pics\\two.bmp"), 8, 8, 0xFF0000FF);
        for (int i = 0; i < 6; ++i) windows_.push_back(t_.OpenWindow(u"w", u"Probe", {100 + 10 * i, 0, 300, 200}));
        t_.WriteIni(kIni);
        t_.Start();
    }
    engine::Long Left(Hwnd h) { return t_.RectOf(h).left; }
    SimTrevo t_;
    std::vector<Hwnd> windows_;
};

TEST_F(PlatformFaults, EveryWindowRefusingStillCompletesTheSwitch) {
    for (Hwnd h : windows_) t_.world().windows.Get(h).refusesMoves = true;
    t_.Click(2);
    EXPECT_FALSE(t_.world().ended);
    EXPECT_EQ(t_.bas().gOldDesk, 2);
    EXPECT_EQ(t_.IconResource(2), 22);
    EXPECT_EQ(t_.world().wallpaper, u"C:\\Trevo\\Trevo.bmp");
    for (std::size_t i = 0; i < windows_.size(); ++i) EXPECT_EQ(Left(windows_[i]), 100 + 10 * static_cast<int>(i));
    // Once they take moves again, the next switch moves them as usual.
    for (Hwnd h : windows_) t_.world().windows.Get(h).refusesMoves = false;
    t_.Click(1);
    EXPECT_EQ(Left(windows_[0]), 100 + 1024);
}

TEST_F(PlatformFaults, EveryWindowVanishingBeforeItsMoveEndsNothing) {
    t_.world().windows.beforeDeferredMove = [&](Hwnd h) { t_.world().windows.Destroy(h); };
    t_.Click(3);
    t_.world().windows.beforeDeferredMove = nullptr;
    EXPECT_FALSE(t_.world().ended);
    for (Hwnd h : windows_) EXPECT_FALSE(t_.world().windows.Exists(h));
    EXPECT_EQ(t_.bas().gOldDesk, 3);
    const Hwnd late = t_.OpenWindow(u"late", u"Probe", {5, 0, 50, 50});
    t_.Click(1);
    EXPECT_EQ(Left(late), 5 + 2 * 1024);
}

TEST_F(PlatformFaults, WindowsOpenedAndClosedDuringTheFittingAreTakenAsTheyAreThen) {
    Hwnd opened = 0;
    t_.world().onDoEvents = [&] {
        if (opened) return;
        t_.world().windows.Destroy(windows_[0]);
        opened = t_.OpenWindow(u"new", u"Probe", {400, 0, 500, 100});
    };
    t_.Click(2);
    t_.world().onDoEvents = nullptr;
    ASSERT_NE(opened, 0u);
    EXPECT_EQ(Left(opened), 400 - 1024);  // it was on screen when the walk began
    EXPECT_EQ(Left(windows_[1]), 110 - 1024);
    t_.Click(1);
    EXPECT_EQ(Left(opened), 400);
}

TEST_F(PlatformFaults, TheShellRestartingDuringTheFittingGetsTheIconsOfTheNewDesktop) {
    bool restarted = false;
    t_.world().onDoEvents = [&] {
        if (restarted) return;
        restarted = true;
        t_.world().RestartShell();
    };
    t_.Click(2);
    t_.world().onDoEvents = nullptr;
    ASSERT_TRUE(restarted);
    ASSERT_EQ(t_.world().trayIcons.size(), 3u);
    EXPECT_EQ(t_.IconResource(1), 11);
    EXPECT_EQ(t_.IconResource(2), 22);
    EXPECT_EQ(t_.IconResource(3), 31);
    EXPECT_NE(testing_support::U8(t_.Icon(2)->tip).find("#2 Active"), std::string::npos);
    EXPECT_EQ(testing_support::U8(t_.Icon(1)->tip).find("Active"), std::string::npos);
    EXPECT_EQ(Left(windows_[0]), 100 - 1024);
    // The icons the shell has now answer clicks.
    t_.Click(3);
    EXPECT_EQ(t_.IconResource(3), 32);
    EXPECT_EQ(Left(windows_[0]), 100 - 2 * 1024);
}

}  // namespace
