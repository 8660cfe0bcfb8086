// The desktops' icons, the choice of the active desktop, and Exit.
#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace {
using testing_support::SimTrevo;
namespace win = engine::win;

std::string IniWith(int max) {
    return "[Desktops]\r\nMax=" + std::to_string(max) +
           "\r\n[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n[NoChange-XP]\r\n01=class(Shell_TrayWnd)\r\n";
}

std::u16string Tip(int n, bool active) {
    std::u16string tip = u"Velmora Ver " + engine::DecimalText(TREVO_VERSION_MAJOR) + u"." +
                         engine::DecimalText(TREVO_VERSION_MINOR) + u"." + engine::DecimalText(TREVO_VERSION_PATCH) +
                         u"  #" + engine::DecimalText(n);
    return active ? tip + u" Active" : tip;
}

TEST(Desktops, AfterStartUpDesktopOneIsActive) {
    SimTrevo t;
    t.WriteIni(IniWith(3));
    t.Start();
    ASSERT_EQ(t.world().trayIcons.size(), 3u);
    EXPECT_EQ(t.IconResource(1), 12);
    EXPECT_EQ(t.IconResource(2), 21);
    EXPECT_EQ(t.IconResource(3), 31);
    EXPECT_EQ(t.Icon(1)->tip, Tip(1, true));
    EXPECT_EQ(t.Icon(2)->tip, Tip(2, false));
    EXPECT_EQ(t.Icon(3)->flags, 7u);
    // The desktop forms are never shown.
    for (int n = 1; n <= 3; ++n) EXPECT_FALSE(t.app().desk(n)->form().Visible());
}

TEST(Desktops, IconsAreAddedFromTheTopOnTheXpFamily) {
    for (bool xp : {true, false}) {
        sim::Options o;
        if (!xp) o.minor = 0;  // 6.0 counts as Windows 2000
        SimTrevo t(o);
        t.WriteIni(IniWith(5));
        t.Start();
        std::vector<engine::Hwnd> expected;
        for (int k = 1; k <= 5; ++k) expected.push_back(t.DeskWindow(xp ? 6 - k : k));
        std::vector<engine::Hwnd> added;
        for (auto& [call, key] : t.calls().trayCalls)
            if (call == win::NIM_ADD) added.push_back(key.first);
        EXPECT_EQ(added, expected) << (xp ? "XP" : "2K");
        EXPECT_EQ(t.app().desk(1)->form().hWnd(), t.DeskWindow(1));
    }
}

TEST(Desktops, ALeftClickMakesThatDesktopActive) {
    SimTrevo t;
    t.WriteIni(IniWith(3));
    t.Start();
    t.Click(3);
    EXPECT_EQ(t.bas().gOldDesk, 3);
    EXPECT_EQ(t.bas().gNewDesk, 3);
    EXPECT_EQ(t.IconResource(1), 11);
    EXPECT_EQ(t.IconResource(2), 21);
    EXPECT_EQ(t.IconResource(3), 32);
    EXPECT_EQ(t.Icon(3)->tip, Tip(3, true));
    EXPECT_EQ(t.Icon(1)->tip, Tip(1, false));
}

TEST(Desktops, EveryDesktopIsToldInIndexOrder) {
    SimTrevo t;
    t.WriteIni(IniWith(3));
    t.Start();
    t.calls().trayCalls.clear();
    t.Click(2);
    std::vector<engine::Hwnd> told;
    for (auto& [call, key] : t.calls().trayCalls) told.push_back(key.first);
    EXPECT_EQ(told, (std::vector<engine::Hwnd>{t.DeskWindow(1), t.DeskWindow(2), t.DeskWindow(3)}));
}

// Neither a window nor the wallpaper (a large picture costs a second to fit),
// whichever goes first.
TEST(Desktops, ClickingTheActiveDesktopOnlyRefreshes) {
    for (const std::string order : {"", "[Options]\r\nWindowsFirst=1\r\n"}) {
        SCOPED_TRACE(order);
        SimTrevo t;
        testing_support::WritePictureFile(t.Host(u"C:\\p.bmp"), 8, 8, 0xFF0000);
        t.OpenWindow(u"w", u"Probe", {100, 50, 400, 250});
        t.WriteIni("[Desktops]\r\nMax=2\r\n[Wallpaper]\r\n2=C:\\p.bmp\r\n[Size]\r\nKeepSize=-1\r\nWidth=40\r\n"
                   "Height=30\r\n[NoChange-XP]\r\n01=class(Shell_TrayWnd)\r\n" +
                   order);
        t.Start();
        t.Click(2);
        const int wallpapers = t.calls().wallpaperSets;
        const int batches = t.world().windows.BatchesBegun();
        const int yields = t.world().doEventsCalls;
        const int decoded = t.world().picturesDecoded;
        t.calls().trayCalls.clear();
        t.Click(2);
        EXPECT_EQ(t.calls().trayCalls.size(), 2u);  // both icons refreshed
        EXPECT_EQ(t.calls().wallpaperSets, wallpapers);
        EXPECT_EQ(t.world().windows.BatchesBegun(), batches);
        EXPECT_EQ(t.world().doEventsCalls, yields) << "a picture was fitted";
        EXPECT_EQ(t.world().picturesDecoded, decoded);
        EXPECT_EQ(t.IconResource(2), 22);
    }
}

TEST(Desktops, PressesMiddleClicksAndDoubleClicksChangeNothing) {
    SimTrevo t;
    t.WriteIni(IniWith(2));
    t.Start();
    t.calls().trayCalls.clear();
    for (auto m : {win::WM_LBUTTONDOWN, win::WM_LBUTTONDBLCLK, win::WM_MBUTTONUP, win::WM_MOUSEMOVE}) t.Click(2, m);
    EXPECT_TRUE(t.calls().trayCalls.empty());
    EXPECT_TRUE(t.world().menusShown.empty());
    EXPECT_EQ(t.bas().gOldDesk, 1);
}

TEST(Desktops, ARightClickOpensTheSameMenuOnEveryIcon) {
    SimTrevo t;
    t.WriteIni(IniWith(3));
    t.Start();
    t.Click(1, win::WM_RBUTTONUP);
    t.Click(3, win::WM_RBUTTONUP);
    ASSERT_EQ(t.world().menusShown.size(), 2u);
    const std::vector<std::u16string> entries{u"&Properties...", u"-", u"E&xit"};
    EXPECT_EQ(t.world().menusShown[0], entries);
    EXPECT_EQ(t.world().menusShown[1], entries);
    EXPECT_EQ(t.bas().gOldDesk, 1);  // a right click selects nothing
}

TEST(Desktops, ExitRemovesEveryIconFromTheHighestDown) {
    SimTrevo t;
    t.WriteIni(IniWith(5));
    t.Start();
    t.Click(2);
    const auto wallpaper = t.world().wallpaper;
    std::vector<engine::Hwnd> desks;
    for (int n = 1; n <= 5; ++n) desks.push_back(t.DeskWindow(n));
    t.calls().trayCalls.clear();
    t.world().menuChoices.push_back(u"E&xit");
    t.Click(4, win::WM_RBUTTONUP);  // from an icon that is not the active one

    EXPECT_TRUE(t.world().ended);
    EXPECT_TRUE(t.world().trayIcons.empty());
    std::vector<engine::Hwnd> deleted;
    for (auto& [call, key] : t.calls().trayCalls)
        if (call == win::NIM_DELETE) deleted.push_back(key.first);
    EXPECT_EQ(deleted, (std::vector<engine::Hwnd>{desks[4], desks[3], desks[2], desks[1], desks[0]}));
    EXPECT_EQ(t.engine().LoadedForms(), 0);
    EXPECT_EQ(t.world().wallpaper, wallpaper);  // left as it was
    EXPECT_EQ(t.bas().gcIni, nullptr);          // the support objects are released
    EXPECT_EQ(t.bas().gNoChange, nullptr);
    for (engine::Hwnd h : desks) EXPECT_FALSE(t.world().windows.Exists(h));
}

TEST(Desktops, ClicksWhileThePropertiesDialogIsOpenAreIgnored) {
    SimTrevo t;
    t.WriteIni(IniWith(3));
    t.Start();
    size_t callsDuringDialog = 0;
    t.world().modalScript = [&](engine::Hwnd) {
        t.calls().trayCalls.clear();
        t.Click(3);
        callsDuringDialog = t.calls().trayCalls.size();
        t.app().form().Hide();
    };
    t.world().menuChoices.push_back(u"&Properties...");
    t.Click(2, win::WM_RBUTTONUP);
    EXPECT_EQ(callsDuringDialog, 0u);
    EXPECT_EQ(t.bas().gOldDesk, 1);
    t.Click(3);  // the dialog is closed again
    EXPECT_EQ(t.bas().gOldDesk, 3);
}

TEST(Desktops, AfterAShellRestartEveryIconComesBackAsItWas) {
    SimTrevo t;
    t.WriteIni(IniWith(3));
    t.Start();
    t.Click(2);
    t.world().RestartShell();
    ASSERT_EQ(t.world().trayIcons.size(), 3u);
    EXPECT_EQ(t.IconResource(2), 22);
    EXPECT_EQ(t.Icon(2)->tip, Tip(2, true));
    EXPECT_EQ(t.IconResource(1), 11);
    t.Click(1);  // and they still work
    EXPECT_EQ(t.IconResource(1), 12);
}

TEST(Desktops, OneDesktop) {
    SimTrevo t;
    t.WriteIni(IniWith(1));
    t.Start();
    ASSERT_EQ(t.world().trayIcons.size(), 1u);
    EXPECT_EQ(t.IconResource(1), 12);
    EXPECT_FALSE(t.app().dialog().optNumber[1]->Enabled());
}

}  // namespace
