// [Options] ApplyAtOnce: Properties' OK takes effect without a new start. The
// count lowered or raised at every active desktop, with windows of every kind
// on every desktop; the active desktop's new wallpaper; off without the setting.
#include <gtest/gtest.h>

#include "engine/sim/sim_picture.h"
#include "sim_fixture.h"

namespace {
using engine::Dword;
using engine::Hwnd;
using engine::Long;
using engine::Rect;
using testing_support::SimTrevo;
using testing_support::WritePictureFile;
namespace win = engine::win;

constexpr Long kWidth = 1024;
constexpr std::uint32_t kColours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF};

struct Version {
    const char* name;
    Dword major, minor;
};

// The colour in the middle of the wallpaper bitmap.
std::uint32_t Colour(SimTrevo& t) {
    const auto bitmap = sim::LoadPictureFile(t.Host(u"C:\\Trevo\\Trevo.bmp"));
    return static_cast<const sim::SimPicture&>(*bitmap).At(5, 5) & 0xFFFFFF;
}

Rect Shifted(Rect r, Long bands) { return {r.left + bands * kWidth, r.top, r.right + bands * kWidth, r.bottom}; }

// Trevo with `count` desktops, a picture and two windows on each, a window
// that never moves, a pinned one, one kept minimised on desktop 4 and one
// whose program hangs on the highest desktop.
class Machine {
public:
    Machine(const Version& v, Long count, const std::string& options = "ApplyAtOnce=1\r\n") : t_(Windows(v)) {
        std::string ini = "[Desktops]\r\nMax=" + std::to_string(count) + "\r\n[Wallpaper]\r\n";
        for (int d = 1; d <= 5; ++d) {
            const std::string pic = "C:\\pics\\" + std::to_string(d) + ".bmp";
            WritePictureFile(t_.Host(engine::FromUtf8(pic)), 8, 8, kColours[d - 1]);
            ini += std::to_string(d) + "=" + pic + "\r\n";
        }
        ini += "[Size]\r\nKeepSize=-1\r\nWidth=40\r\nHeight=30\r\n";
        for (const char* family : {"XP", "2K"}) ini += std::string("[NoChange-") + family + "]\r\n01=class(Keep)\r\n";
        ini += "[Keys]\r\nPin=Ctrl+Alt+Insert\r\n[Options]\r\nKeepMinimised=1\r\n" + options;
        t_.WriteIni(ini);
        t_.Start();
        for (Long d = count; d >= 1; --d) {
            t_.Click(d);
            Open(d, {100 + 20 * d, 100, 400 + 20 * d, 300});
            Open(d, {900, 400, 1200, 600});  // over the screen's right edge
        }
        kept_ = t_.OpenWindow(u"kept", u"Keep", {10, 10, 200, 60});
        pinned_ = t_.OpenWindow(u"pinned", u"Probe", {500, 500, 700, 700});
        t_.world().foreground = 0;
        t_.world().Activate(pinned_);
        t_.world().PressHotKey(win::MOD_CONTROL | win::MOD_ALT, win::VK_INSERT);
        if (count >= 4) {
            t_.Click(4);
            minimised_ = t_.OpenWindow(u"minimised", u"Probe", {300, 350, 500, 450});
            t_.world().windows.Show(minimised_, win::SW_SHOWMINIMIZED);
            t_.Click(1);  // the switch gives it to desktop 4
        }
        hung_ = homes_.front().hwnd;  // of the highest desktop
    }

    SimTrevo& t() { return t_; }

    // Properties' OK with the count set to `count` (and picture 2 replaced by
    // `picture`), chosen in the menu of the highest desktop's icon.
    void PressOk(Long count, const std::u16string& picture = u"") {
        const trevo::TrevoDialog& d = t_.app().dialog();
        t_.InProperties(
            [&] {
                t_.world().ControlAt(d.HScr->hWnd()).UserScroll(static_cast<int>(count));
                if (!picture.empty()) t_.world().ControlAt(d.txtWallpaper[1]->hWnd()).UserType(picture);
                t_.world().ControlAt(d.cmdOk->hWnd()).UserClick();
            },
            t_.bas().gDeskCount);
    }

    void Hang(bool hangs) {
        t_.world().windows.SetAnswering(t_.world().windows.ThreadOf(hung_),
                                        hangs ? sim::Answering::Hung : sim::Answering::Yes);
    }

    // What is out of place with desktop `active` of `count` shown, each window
    // of a desktop above the count on the highest one.
    std::vector<std::string> Misses(Long count, Long active) {
        std::vector<std::string> misses;
        for (const Home& h : homes_) {
            const Long desk = std::min(h.desk, count);
            if (!(t_.RectOf(h.hwnd) == Shifted(h.rect, desk - active)))
                misses.push_back("a window of desktop " + std::to_string(h.desk) + " at left " +
                                 std::to_string(t_.RectOf(h.hwnd).left));
        }
        if (!(t_.RectOf(kept_) == Rect{10, 10, 200, 60})) misses.push_back("the never-move window moved");
        if (!(t_.RectOf(pinned_) == Rect{500, 500, 700, 700})) misses.push_back("the pinned window left the screen");
        return misses;
    }

    // The kept-minimised window restored and a switch made: the desktop it lands on.
    Long MinimisedLandsOn() {
        t_.world().windows.Show(minimised_, win::SW_RESTORE);
        if (t_.bas().gDeskCount > 1) t_.Click(t_.bas().gOldDesk == 1 ? 2 : 1);
        const Long active = t_.bas().gOldDesk;
        const Rect r = t_.RectOf(minimised_);
        return r.top == 350 && (r.left - 300) % kWidth == 0 ? active + (r.left - 300) / kWidth : 0;
    }

    // The desktop numbers of the icons in the order they were added.
    std::vector<Long> IconOrder() {
        std::vector<Long> order;
        for (const auto& [hwnd, id] : t_.world().trayOrder)
            for (Long n = 1; n <= t_.app().DeskSlots(); ++n)
                if (t_.DeskWindow(n) == hwnd) order.push_back(n);
        return order;
    }

private:
    struct Home {
        Hwnd hwnd;
        Long desk;
        Rect rect;  // with its desktop shown
    };
    static sim::Options Windows(const Version& v) {
        sim::Options o;
        o.major = v.major;
        o.minor = v.minor;
        return o;
    }
    Hwnd Open(Long desk, Rect rect) {
        const Hwnd h = t_.OpenWindow(u"probe", u"Probe", rect);
        homes_.push_back({h, desk, rect});
        return h;
    }

    SimTrevo t_;
    std::vector<Home> homes_;
    Hwnd kept_ = 0, pinned_ = 0, minimised_ = 0, hung_ = 0;
};

class ApplyAtOnce : public ::testing::TestWithParam<Version> {};

TEST_P(ApplyAtOnce, FewerDesktopsBringTheirWindowsToTheHighestOneLeft) {
    for (Long active = 1; active <= 5; ++active)
        for (Long count = 1; count <= 4; ++count) {
            SCOPED_TRACE("desktop " + std::to_string(active) + " active, lowered to " + std::to_string(count));
            Machine m(GetParam(), 5);
            m.t().Click(active);
            m.Hang(true);
            m.PressOk(count);
            m.Hang(false);  // its moves, handed to its thread, are made now
            SimTrevo& t = m.t();
            const Long shown = std::min(active, count);
            EXPECT_TRUE(t.world().msgBoxes.empty());
            EXPECT_FALSE(t.app().form().Visible());
            EXPECT_EQ(t.world().trayIcons.size(), static_cast<size_t>(count));
            EXPECT_EQ(t.bas().gOldDesk, shown);
            EXPECT_EQ(t.IconResource(shown), shown * 10 + 2);
            EXPECT_EQ(m.Misses(count, shown), std::vector<std::string>());
            EXPECT_EQ(t.world().wallpaper, u"C:\\Trevo\\Trevo.bmp");
            const auto bitmap = sim::LoadPictureFile(t.Host(u"C:\\Trevo\\Trevo.bmp"));
            EXPECT_EQ(Colour(t), kColours[shown - 1] & 0xFFFFFF);
            EXPECT_EQ(m.MinimisedLandsOn(), std::min<Long>(4, count)) << "the minimised window's desktop";
            // Every desktop left still shows its own windows in their places.
            for (Long d = 1; d <= count; ++d) {
                t.Click(d);
                EXPECT_EQ(m.Misses(count, d), std::vector<std::string>()) << "desktop " << d << " shown";
            }
        }
}

TEST_P(ApplyAtOnce, MoreDesktopsAddEmptyOnesWithTheirIconsInOrder) {
    for (Long active = 1; active <= 2; ++active) {
        SCOPED_TRACE("desktop " + std::to_string(active) + " active");
        Machine m(GetParam(), 2);
        SimTrevo& t = m.t();
        t.Click(active);
        const Hwnd stray = t.OpenWindow(u"stray", u"Probe", Shifted({100, 100, 300, 300}, 4 - active));
        m.PressOk(4);
        EXPECT_TRUE(t.world().msgBoxes.empty());
        EXPECT_EQ(t.bas().gOldDesk, active);
        for (Long n = 1; n <= 4; ++n) EXPECT_EQ(t.IconResource(n), n * 10 + (n == active ? 2 : 1));
        Machine fresh(GetParam(), 4);
        EXPECT_EQ(m.IconOrder(), fresh.IconOrder());
        EXPECT_EQ(m.Misses(4, active), std::vector<std::string>());
        // The stray window beyond the last desktop joined it; the new ones are empty.
        EXPECT_EQ(t.RectOf(stray), Shifted({100, 100, 300, 300}, 2 - active));
        t.Click(4);
        EXPECT_EQ(m.Misses(4, 4), std::vector<std::string>());
    }
}

// A new picture for the active desktop shows at once, fitted anew; a click
// during its fitting waits for it, then goes on.
TEST_P(ApplyAtOnce, TheActiveDesktopShowsItsNewPictureAtOnce) {
    Machine m(GetParam(), 3);
    SimTrevo& t = m.t();
    t.Click(2);
    WritePictureFile(t.Host(u"C:\\pics\\grey.bmp"), 8, 8, 0xFF808080);
    WritePictureFile(t.Host(u"C:\\pics\\white.bmp"), 8, 8, 0xFFFFFFFF);
    m.PressOk(3, u"C:\\pics\\grey.bmp");
    EXPECT_EQ(Colour(t), 0x808080u);
    EXPECT_TRUE(t.world().msgBoxes.empty());

    std::vector<Long> activeDuringFitting;
    t.world().onDoEvents = [&] {
        activeDuringFitting.push_back(t.bas().gOldDesk);
        t.world().onDoEvents = nullptr;
        t.Click(3);
    };
    m.PressOk(3, u"C:\\pics\\white.bmp");
    EXPECT_EQ(activeDuringFitting, std::vector<Long>{2});
    EXPECT_EQ(t.bas().gOldDesk, 3) << "the click during the fitting was lost";
    EXPECT_EQ(Colour(t), kColours[2] & 0xFFFFFF);
    t.Click(2);
    EXPECT_EQ(Colour(t), 0xFFFFFFu);
}

// OK pressed while the end of the session's switch fits its wallpaper (the
// one switch that runs with the dialog open): applied once that switch is done.
TEST_P(ApplyAtOnce, OkDuringASwitchIsAppliedAfterIt) {
    Machine m(GetParam(), 3);
    SimTrevo& t = m.t();
    t.Click(2);
    const trevo::TrevoDialog& d = t.app().dialog();
    Long countDuringTheSwitch = 0;
    t.InProperties([&] {
        t.world().ControlAt(d.HScr->hWnd()).UserScroll(2);
        t.world().onDoEvents = [&] {
            t.world().onDoEvents = nullptr;
            t.world().ControlAt(d.cmdOk->hWnd()).UserClick();
            countDuringTheSwitch = t.bas().gDeskCount;
        };
        t.world().EndSession();
    });
    EXPECT_EQ(countDuringTheSwitch, 3);
    EXPECT_EQ(t.bas().gOldDesk, 1);
    EXPECT_EQ(t.world().trayIcons.size(), 2u);
    EXPECT_EQ(m.Misses(2, 1), std::vector<std::string>());
    EXPECT_TRUE(t.world().msgBoxes.empty());
}

// Without the setting OK says the changes come at the next start, and nothing
// running changes.
TEST_P(ApplyAtOnce, OffWithoutTheSetting) {
    Machine m(GetParam(), 5, "");
    SimTrevo& t = m.t();
    t.Click(5);
    const std::string wallpaperBefore = testing_support::ReadFile(t.Host(u"C:\\Trevo\\Trevo.bmp"));
    m.PressOk(2, u"C:\\pics\\1.bmp");
    ASSERT_EQ(t.world().msgBoxes.size(), 1u);
    EXPECT_EQ(t.world().msgBoxes[0].text, u"プロパティの変更は次回起動時に反映されます。");
    EXPECT_EQ(t.world().trayIcons.size(), 5u);
    EXPECT_EQ(t.bas().gOldDesk, 5);
    EXPECT_EQ(m.Misses(5, 5), std::vector<std::string>());
    EXPECT_EQ(testing_support::ReadFile(t.Host(u"C:\\Trevo\\Trevo.bmp")), wallpaperBefore);
}

INSTANTIATE_TEST_SUITE_P(Versions, ApplyAtOnce,
                         ::testing::Values(Version{"Vista", 6, 0}, Version{"Windows7", 6, 1},
                                           Version{"Windows10", 10, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
