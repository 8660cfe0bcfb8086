// Exit with GatherOnExit brings every window of every desktop onto the screen
// and puts back the wallpaper Windows showed before Trevo; without it Exit
// leaves both as they are.
#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace {
using engine::Hwnd;
using engine::Rect;
using testing_support::SimTrevo;
using testing_support::WritePictureFile;
namespace win = engine::win;

// A name the ANSI code page cannot spell: only the wide call keeps it whole.
constexpr char16_t kUsersWallpaper[] = u"C:\\Users\\\u30e6\u30fc\u30b6\u30fc\\\u590f.jpg";

class GatherOnExit : public ::testing::TestWithParam<engine::Dword> {
protected:
    GatherOnExit() : t_(testing_support::OnWindows(GetParam())) { t_.world().wallpaper = kUsersWallpaper; }

    void Begin(const char* options) {
        std::string ini = "[Desktops]\r\nMax=3\r\n[Wallpaper]\r\n";
        for (int d = 1; d <= 3; ++d) {
            const std::string pic = "C:\\pics\\" + std::to_string(d) + ".bmp";
            WritePictureFile(t_.Host(engine::FromUtf8(pic)), 64, 48, 0xFF000000u + static_cast<std::uint32_t>(d));
            ini += std::to_string(d) + "=" + pic + "\r\n";
        }
        ini += "[Size]\r\nKeepSize=-1\r\nWidth=40\r\nHeight=30\r\n[NoChange-XP]\r\n01=class(Keep)\r\n";
        ini += "[Options]\r\nKeepMinimised=1\r\n" + std::string(options);
        t_.WriteIni(ini);
        t_.Start();
        for (int d : {1, 2, 3}) {
            t_.Click(d);
            homes_.push_back(t_.OpenWindow(u"plain", u"Probe", {100 + 10 * d, 100, 400 + 10 * d, 300}));
        }
        minimised_ = t_.OpenWindow(u"minimised", u"Probe", {300, 300, 600, 500});
        t_.world().windows.Show(minimised_, win::SW_SHOWMINIMIZED);
        hung_ = homes_[1];
        t_.Click(1);
        kept_ = t_.OpenWindow(u"kept", u"Keep", {10, 10, 200, 60});
        hidden_ = t_.OpenWindow(u"hidden", u"Probe", {-2000, 50, -1800, 150}, 0);
        t_.world().windows.SetAnswering(t_.world().windows.ThreadOf(hung_), sim::Answering::Hung);
    }
    void Exit() {
        t_.world().menuChoices.push_back(u"E&xit");
        t_.Click(1, win::WM_RBUTTONUP);
        ASSERT_TRUE(t_.world().ended);
    }
    void ExpectEveryWindowOnScreen(const char* when) {
        // Hung windows take their move when they answer again.
        t_.world().windows.SetAnswering(t_.world().windows.ThreadOf(hung_), sim::Answering::Yes);
        for (size_t i = 0; i < homes_.size(); ++i) {
            const engine::Long x = 110 + 10 * static_cast<engine::Long>(i);
            EXPECT_EQ(t_.RectOf(homes_[i]), (Rect{x, 100, x + 300, 300})) << when << ", desktop " << i + 1;
        }
        EXPECT_EQ(t_.world().windows.Get(minimised_).normalRect.left, 300) << when << ": the minimised window of desktop 3";
        EXPECT_TRUE(t_.world().windows.Get(minimised_).style & win::WS_MINIMIZE) << when;
        EXPECT_EQ(t_.RectOf(kept_), (Rect{10, 10, 200, 60})) << when;
        EXPECT_EQ(t_.RectOf(hidden_), (Rect{-2000, 50, -1800, 150})) << when;
    }
    bool WallpaperRemembered() {
        return t_.world().registry["HKCU\\SOFTWARE\\TREVO"].values.count("WALLPAPERBEFORE") != 0;
    }

    SimTrevo t_;
    std::vector<Hwnd> homes_;
    Hwnd minimised_ = 0, hung_ = 0, kept_ = 0, hidden_ = 0;
};

// Also after a crash: the Trevo started again finds its own bitmap on the
// screen and still puts back the user's picture.
TEST_P(GatherOnExit, ExitBringsEveryDesktopHomeAndTheWallpaperOfBefore) {
    Begin("GatherOnExit=1\r\nKeepWallpapers=1\r\n");  // a kept bitmap is Trevo's too
    t_.Click(2);
    t_.Kill();
    t_.world().PointerOverIcons();
    t_.Start();
    ASSERT_NE(t_.world().wallpaper, kUsersWallpaper);
    t_.Click(3);
    Exit();
    ExpectEveryWindowOnScreen("after Exit on desktop 3");
    EXPECT_EQ(t_.world().wallpaper, kUsersWallpaper);
    EXPECT_FALSE(WallpaperRemembered()) << "a wallpaper put back is forgotten";

    // Nothing is brought back a second time by the next start.
    t_.Kill();
    t_.Start();
    ExpectEveryWindowOnScreen("after the next start");
}

// The fitting's yield: Exit waits for the running selection, then gathers.
TEST_P(GatherOnExit, ExitDuringAFittingGathersOnceTheSelectionIsOver) {
    Begin("GatherOnExit=1\r\n");
    t_.world().onDoEvents = [&] {
        t_.world().onDoEvents = nullptr;
        t_.world().menuChoices.push_back(u"E&xit");
        t_.Click(1, win::WM_RBUTTONUP);
    };
    t_.Click(2);
    ASSERT_TRUE(t_.world().ended);
    ExpectEveryWindowOnScreen("after Exit during the fitting");
    EXPECT_EQ(t_.world().wallpaper, kUsersWallpaper);
}

// A picture the user chose after such an Exit is the one the next Exit that
// gathers puts back, not the one of the session's first start.
TEST_P(GatherOnExit, WithoutTheSettingExitLeavesWindowsAndWallpaper) {
    Begin("");
    t_.Click(3);
    const std::u16string trevos = t_.world().wallpaper;
    Exit();
    EXPECT_EQ(t_.RectOf(homes_[0]).left, 110 - 2 * 1024);
    EXPECT_EQ(t_.world().wallpaper, trevos);

    t_.world().wallpaper = u"C:\\pics\\chosen since.jpg";
    std::string ini = testing_support::ReadFile(t_.IniFile());
    t_.WriteIni(ini + "GatherOnExit=1\r\n");
    t_.Kill();
    t_.Start();
    t_.Click(2);
    Exit();
    EXPECT_EQ(t_.world().wallpaper, u"C:\\pics\\chosen since.jpg");
}

INSTANTIATE_TEST_SUITE_P(Versions, GatherOnExit, ::testing::Values(6u, 10u),
                         [](const auto& info) { return "Windows" + std::to_string(info.param); });

}  // namespace
