// Scaled displays: monitors at 100 % to 200 %, one scale or two side by side.
// Trevo is per-monitor aware: every window it moves comes back to the pixel
// and the size it left, whatever its own program knows of scale; its icons
// are drawn at the notification area's size and its dialog at its monitor's
// scale. The first cases hold the simulated Windows to what Windows does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <sstream>

#include "engine/sim/manifest_awareness.h"
#include "engine/sim/sim_platform.h"
#include "engine/sim/window_frame.h"
#include "sim_fixture.h"

namespace {
using engine::Dword;
using engine::Hwnd;
using engine::Long;
using engine::Rect;
using sim::Awareness;
using sim::DpiReaction;
using testing_support::SimTrevo;
using testing_support::TempDir;
namespace win = engine::win;

constexpr sim::WindowsVersion kWindows7{6, 1, 7601};
constexpr sim::WindowsVersion kWindows10{10, 0, 19045};

sim::Options On(sim::WindowsVersion v) {
    sim::Options o;
    o.major = v.major;
    o.minor = v.minor;
    o.build = v.build;
    return o;
}

Long Width(const Rect& r) { return r.right - r.left; }

std::string Text(const Rect& r) {
    std::ostringstream s;
    s << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
    return s.str();
}

// ------------------------------------------------------------ the model

struct ManifestCase {
    const char* name;
    sim::WindowsVersion version;
    const char* manifest;  // nullptr: Trevo's own
    Awareness expected;
};

class ManifestReading : public ::testing::TestWithParam<ManifestCase> {};

// Each Windows reads the manifest its own way: the simulated Trevo is as aware
// as the real one.
TEST_P(ManifestReading, GivesTheAwarenessThisWindowsGives) {
    const ManifestCase& c = GetParam();
    const std::string trevo = SimTrevo::ProgramManifest();
    EXPECT_EQ(sim::ManifestAwareness(c.manifest ? c.manifest : trevo, c.version), c.expected);
}

constexpr const char* kBoth =
    "<asmv3:windowsSettings>\n<!-- <dpiAware>true</dpiAware> is only a comment -->\n"
    "<ws:dpiAware>True/PM</ws:dpiAware><dpiAwareness> Gdi, System ,PerMonitor</dpiAwareness>";
constexpr const char* kNothingKnown = "<dpiAware>true</dpiAware><dpiAwareness>PerMonitorV3</dpiAwareness>";

INSTANTIATE_TEST_SUITE_P(
    Versions, ManifestReading,
    ::testing::Values(
        ManifestCase{"TrevoOnXP", {5, 1, 2600}, nullptr, Awareness::Unaware},
        ManifestCase{"TrevoOn7", kWindows7, nullptr, Awareness::System},
        ManifestCase{"TrevoOn8", {6, 2, 9200}, nullptr, Awareness::System},
        ManifestCase{"TrevoOn81", {6, 3, 9600}, nullptr, Awareness::PerMonitor},
        ManifestCase{"TrevoOn10Before1607", {10, 0, 10586}, nullptr, Awareness::PerMonitor},
        ManifestCase{"TrevoOn1607", {10, 0, 14393}, nullptr, Awareness::PerMonitor},
        ManifestCase{"TrevoOn1703", {10, 0, 15063}, nullptr, Awareness::PerMonitorV2},
        ManifestCase{"TrevoOn22H2", kWindows10, nullptr, Awareness::PerMonitorV2},
        ManifestCase{"NoSettingOn10", kWindows10, "<assembly/>", Awareness::Unaware},
        ManifestCase{"FirstKnownEntryWins", kWindows10, kBoth, Awareness::System},
        ManifestCase{"ListUnreadBefore1607", {10, 0, 10586}, kBoth, Awareness::PerMonitor},
        ManifestCase{"ListWithNothingKnownOutweighsDpiAware", kWindows10, kNothingKnown, Awareness::Unaware},
        ManifestCase{"DpiAwareTrueOn7", kWindows7, kNothingKnown, Awareness::System},
        ManifestCase{"PerMonitorWordOn7", kWindows7, "<dpiAware>Per Monitor</dpiAware>", Awareness::Unaware}),
    [](const auto& info) { return std::string(info.param.name); });

// A simulated Windows with no program on it: what a program of a chosen
// awareness (per-monitor unless a test says otherwise) sees through its calls.
class Screen {
public:
    explicit Screen(sim::Options o) : world_(Rooted(std::move(o), dir_)), platform_(world_) {
        world_.SetProgramAwareness(Awareness::PerMonitorV2);
    }
    sim::World& world() { return world_; }
    sim::SimPlatform& calls() { return platform_; }
    Hwnd Open(Rect rect, Awareness awareness = Awareness::PerMonitorV2,
              DpiReaction reaction = DpiReaction::TakesSuggested) {
        sim::WindowSpec s;
        s.className = u"Probe";
        s.rect = rect;
        s.style = win::WS_VISIBLE;
        s.awareness = awareness;
        s.dpiReaction = reaction;
        return world_.windows.Create(s);
    }
    Rect Seen(Hwnd h) {
        Rect r;
        platform_.GetWindowRect(h, &r);
        return r;
    }
    void MoveBy(Hwnd h, Long dx) {
        const Rect r = Seen(h);
        platform_.SetWindowPos(h, 0, r.left + dx, r.top, 0, 0,
                               win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    }
    Rect At(Hwnd h) { return world_.windows.Get(h).rect; }

private:
    static sim::Options Rooted(sim::Options o, const TempDir& dir) {
        o.root = dir.path();
        return o;
    }
    TempDir dir_;
    sim::World world_;
    sim::SimPlatform platform_;
};

// A laptop at 150 % with a monitor at 100 % to its right.
sim::Options LaptopAndMonitor() {
    sim::Options o = On(kWindows10);
    o.screen = {0, 0, 1536, 864};
    o.dpi = 144;
    o.otherMonitors = {{1536, 0, 3456, 1080}};
    o.otherDpis = {96};
    return o;
}

// Measured under Wine at 144 DPI: an unaware mover shifting a window at
// x = 100 out by one screen width and back left it at x = 101; a per-monitor
// mover put it back exactly, three round trips running.
TEST(CallersView, AnUnawareMoverMissesByAPixelWhereAPerMonitorOneDoesNot) {
    for (const Awareness mover : {Awareness::Unaware, Awareness::PerMonitorV2}) {
        SCOPED_TRACE(static_cast<int>(mover));
        sim::Options o = On(kWindows10);
        o.dpi = 144;
        Screen s(o);
        s.world().SetProgramAwareness(mover);
        const Hwnd h = s.Open({100, 50, 400, 250});
        const Long width = s.calls().GetSystemMetrics(win::SM_CXVIRTUALSCREEN);
        EXPECT_EQ(width, mover == Awareness::Unaware ? 683 : 1024);  // 1024 × 96 / 144, rounded
        for (int trip = 0; trip < 3; ++trip) {
            s.MoveBy(h, -width);
            s.MoveBy(h, width);
        }
        EXPECT_EQ(s.At(h).left, mover == Awareness::Unaware ? 101 : 100);
        EXPECT_EQ(Width(s.At(h)), 300);
    }
}

// Rectangles and metrics reach each program in its own view: physical for a
// per-monitor one, at the system's scale for a system-aware one, at 96 DPI for
// an unaware one; Windows 7 stretches nothing below 150 %.
TEST(CallersView, EachAwarenessSeesItsOwnPixels) {
    Screen mixed(LaptopAndMonitor());
    const Hwnd onMonitor = mixed.Open({1637, 100, 1938, 303});
    const auto seen = [&](Awareness a) {
        mixed.world().SetProgramAwareness(a);
        return mixed.Seen(onMonitor);
    };
    EXPECT_EQ(seen(Awareness::PerMonitorV2), (Rect{1637, 100, 1938, 303}));
    EXPECT_EQ(seen(Awareness::System), (Rect{2456, 150, 2907, 455}));   // × 144 / 96, halves up
    EXPECT_EQ(seen(Awareness::Unaware), (Rect{1637, 100, 1938, 303}));  // that monitor is at 96 DPI
    mixed.world().SetProgramAwareness(Awareness::Unaware);
    Rect work;
    mixed.calls().SystemParametersInfoA(win::SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(work, (Rect{0, 0, 1024, 556}));  // the primary's, less its 30-pixel task bar, at 96 DPI
    EXPECT_EQ(mixed.calls().GetSystemMetrics(win::SM_CXSCREEN), 1024);
    EXPECT_EQ(mixed.world().screen.twipsPerPixelX, 15);

    for (const auto& [dpi, seenLeft] : {std::pair<Dword, Long>{120, 101}, {144, 67}}) {
        sim::Options o = On(kWindows7);
        o.dpi = dpi;
        Screen seven(o);
        seven.world().SetProgramAwareness(Awareness::Unaware);
        EXPECT_EQ(seven.Seen(seven.Open({101, 0, 402, 100})).left, seenLeft) << dpi;
    }
}

// What a window does when a move brings it beside a monitor of another scale:
// a per-monitor one gets WM_DPICHANGED inside the mover's call and answers as
// its program does; Windows stretches the others, so that they come back to
// their exact size.
TEST(ChangeOfScale, EachKindOfWindowAnswersAsItsProgramDoes) {
    struct Kind {
        Awareness awareness;
        DpiReaction reaction;
        Long widthThere, heightThere, widthBack, heightBack;
    };
    // 301 × 203 at 96 DPI is 451.5 × 304.5 at 144: the suggestion is 452 × 305,
    // and back 301 × 203. A terminal's cells are 12 × 24 there, 8 × 16 here.
    const Kind kinds[] = {{Awareness::PerMonitorV2, DpiReaction::TakesSuggested, 452, 305, 301, 203},
                          {Awareness::PerMonitor, DpiReaction::SnapsToCells, 444, 288, 296, 192},
                          {Awareness::PerMonitorV2, DpiReaction::Ignores, 301, 203, 301, 203},
                          {Awareness::System, DpiReaction::TakesSuggested, 452, 305, 301, 203},
                          {Awareness::Unaware, DpiReaction::Ignores, 452, 305, 301, 203}};
    for (const Kind& k : kinds) {
        Screen s(LaptopAndMonitor());
        const Hwnd h = s.Open({1637, 37, 1938, 240}, k.awareness, k.reaction);
        s.MoveBy(h, -1536);
        EXPECT_EQ(s.At(h), (Rect{101, 37, 101 + k.widthThere, 37 + k.heightThere})) << Text(s.At(h));
        s.MoveBy(h, 1536);
        EXPECT_EQ(s.At(h), (Rect{1637, 37, 1637 + k.widthBack, 37 + k.heightBack})) << Text(s.At(h));
    }
    // From the laptop and back: 301 × 203 at 144 DPI is 200.67 × 135.33 at 96.
    // Windows gives a stretched window back the size it had; a program that
    // takes the suggestion comes back a pixel wider.
    for (const auto& [awareness, widthBack] :
         {std::pair{Awareness::Unaware, 301}, {Awareness::System, 301}, {Awareness::PerMonitorV2, 302}}) {
        Screen s(LaptopAndMonitor());
        const Hwnd h = s.Open({101, 37, 402, 240}, awareness);
        s.MoveBy(h, 1536);
        EXPECT_EQ(s.At(h), (Rect{1637, 37, 1838, 172})) << Text(s.At(h));
        s.MoveBy(h, -1536);
        EXPECT_EQ(s.At(h), (Rect{101, 37, 101 + widthBack, 240})) << Text(s.At(h));
    }

    // A window far beside both takes the scale of the nearest one.
    Screen s(LaptopAndMonitor());
    const Hwnd h = s.Open({1637, 37, 1938, 240});
    s.MoveBy(h, 3456);  // beside the monitor
    EXPECT_EQ(s.world().windows.Get(h).dpi, 96u);
    s.MoveBy(h, -2 * 3456);  // beside the laptop
    EXPECT_EQ(s.world().windows.Get(h).dpi, 144u);
}

// The user changes a monitor's scale: a window whose thread does not answer
// keeps its size until it answers again; Windows stretches a stretched one at once.
TEST(ChangeOfScale, AWindowThatDoesNotAnswerHearsItWhenItAnswersAgain) {
    Screen s(LaptopAndMonitor());
    const Hwnd hung = s.Open({1637, 37, 1938, 240});
    const Hwnd stretched = s.Open({1637, 337, 1938, 540}, Awareness::Unaware);
    const Dword thread = s.world().windows.ThreadOf(hung);
    s.world().windows.SetAnswering(thread, sim::Answering::Hung);
    s.world().windows.SetAnswering(s.world().windows.ThreadOf(stretched), sim::Answering::Hung);
    s.world().ChangeScale(1, 192);
    EXPECT_EQ(s.At(hung), (Rect{1637, 37, 1938, 240}));
    EXPECT_EQ(s.At(stretched), (Rect{1637, 337, 2239, 743}));
    s.world().windows.SetAnswering(thread, sim::Answering::Yes);
    EXPECT_EQ(s.At(hung), (Rect{1637, 37, 2239, 443}));
}

// Windows before 8.1 has one scale for every monitor, taken at log-on.
TEST(ChangeOfScale, OlderWindowsRefuseScalesOfTheirOwn) {
    sim::Options o = LaptopAndMonitor();
    o.major = 6;
    o.minor = 1;
    Screen seven(o);
    ASSERT_EQ(seven.world().modelFaults.size(), 1u);
    EXPECT_EQ(seven.world().windows.monitors().All()[1].dpi, 144u);
    seven.world().ChangeScale(0, 96);
    EXPECT_EQ(seven.world().modelFaults.size(), 2u);
    EXPECT_EQ(seven.world().windows.monitors().Primary().dpi, 144u);
}

// ------------------------------------------------------------ round trips

struct Kind {
    const char* name;
    Awareness awareness;
    DpiReaction reaction;
};
constexpr Kind kKinds[] = {{"unaware", Awareness::Unaware, DpiReaction::Ignores},
                           {"system aware", Awareness::System, DpiReaction::Ignores},
                           {"per-monitor, takes", Awareness::PerMonitor, DpiReaction::TakesSuggested},
                           {"per-monitor, snaps", Awareness::PerMonitor, DpiReaction::SnapsToCells},
                           {"per-monitor, ignores", Awareness::PerMonitor, DpiReaction::Ignores},
                           {"per-monitor v2, takes", Awareness::PerMonitorV2, DpiReaction::TakesSuggested},
                           {"per-monitor v2, snaps", Awareness::PerMonitorV2, DpiReaction::SnapsToCells},
                           {"per-monitor v2, ignores", Awareness::PerMonitorV2, DpiReaction::Ignores}};
// Where windows open, from a monitor's top-left corner: odd places and sizes
// show any rounding.
constexpr Rect kPlaces[] = {{101, 37, 402, 240}, {100, 100, 400, 300}, {0, 0, 640, 480}, {333, 251, 666, 428}};

// Trevo with five desktops and windows of every kind on desktops 1 and 3,
// each with where it lies while its desktop is shown.
class Desks {
public:
    explicit Desks(sim::Options o) : t_(std::move(o)) {
        t_.WriteIni(
            "[Desktops]\r\nMax=5\r\n[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n"
            "[NoChange-XP]\r\n01=class(Shell_TrayWnd)\r\n");
    }

    // Every kind at every place on every monitor, and at the extra places,
    // while desktop 1 and while desktop 3 is shown.
    void Populate(const std::vector<Rect>& extra = {}) {
        t_.Start();
        for (int desk : {1, 3}) {
            Show(desk);
            std::vector<Rect> places = extra;
            for (const sim::Monitor& m : t_.world().windows.monitors().All())
                for (const Rect& p : kPlaces)
                    places.push_back(
                        {m.rect.left + p.left, m.rect.top + p.top, m.rect.left + p.right, m.rect.top + p.bottom});
            for (const Kind& kind : kKinds)
                for (const Rect& place : places) {
                    const Hwnd h = t_.OpenScaledWindow(u"probe", place, kind.awareness, kind.reaction);
                    homes_.push_back({h, desk, t_.RectOf(h), kind.name});
                }
        }
        Show(1);
    }

    void Show(int desk) {
        t_.Click(desk);
        for (const Home& home : homes_)
            if (home.desk == desk && !(t_.RectOf(home.hwnd) == home.rect))
                misses_.push_back(std::string(home.kind) + " window of desktop " + std::to_string(desk) + " at " +
                                  Text(t_.RectOf(home.hwnd)) + ", not " + Text(home.rect));
    }

    // Once through every desktop, then 50 switches in a random order.
    void Travel() {
        for (int desk : {2, 3, 4, 5, 1}) Show(desk);
        std::mt19937 random(20250311);
        for (int i = 0; i < 50; ++i) Show(1 + static_cast<int>(random() % 5));
        Show(1);
    }

    // Each miss once, the first few in full.
    void ExpectNoMiss() {
        std::ostringstream first;
        for (size_t i = 0; i < misses_.size() && i < 6; ++i) first << "\n  " << misses_[i];
        EXPECT_TRUE(misses_.empty()) << misses_.size() << " windows off their place:" << first.str();
    }

private:
    struct Home {
        Hwnd hwnd;
        int desk;
        Rect rect;
        const char* kind;
    };
    SimTrevo t_;
    std::vector<Home> homes_;
    std::vector<std::string> misses_;
};

struct OneScale {
    Dword dpi;
    sim::WindowsVersion version;
};

class OneScaledMonitor : public ::testing::TestWithParam<OneScale> {};

// One monitor at 100, 125, 150 and 200 %, on Windows 7 (Trevo system aware)
// and Windows 10 (per-monitor aware): every window comes back to its pixel.
TEST_P(OneScaledMonitor, EveryWindowComesBackToItsPlaceAndSize) {
    sim::Options o = On(GetParam().version);
    o.screen = {0, 0, 1920, 1080};
    o.dpi = GetParam().dpi;
    Desks desks(o);
    desks.Populate();
    desks.Travel();
    desks.ExpectNoMiss();
}

INSTANTIATE_TEST_SUITE_P(Scales, OneScaledMonitor,
                         ::testing::Values(OneScale{96, kWindows7}, OneScale{120, kWindows7}, OneScale{144, kWindows7},
                                           OneScale{192, kWindows7}, OneScale{96, kWindows10},
                                           OneScale{120, kWindows10}, OneScale{144, kWindows10},
                                           OneScale{192, kWindows10}),
                         [](const auto& info) {
                             return std::string(info.param.version.major == 6 ? "Windows7At" : "Windows10At") +
                                    std::to_string(info.param.dpi * 100 / 96) + "Percent";
                         });

struct Layout {
    const char* name;
    Rect monitor;   // at 100 %, beside the laptop at 0, 0, 1920, 1200 at 150 %
    Rect straddle;  // a window across both, mostly on the monitor
};

class LaptopBesideAMonitor : public ::testing::TestWithParam<Layout> {};

// A laptop at 150 % beside a monitor at 100 %: windows beside the screen take
// the scale of the nearest monitor and resize themselves, each as its program
// does; the size memory gives each the size it left with.
TEST_P(LaptopBesideAMonitor, EveryWindowComesBackToItsPlaceAndSize) {
    sim::Options o = On(kWindows10);
    o.screen = {0, 0, 1920, 1200};
    o.dpi = 144;
    o.otherMonitors = {GetParam().monitor};
    o.otherDpis = {96};
    Desks desks(o);
    desks.Populate({GetParam().straddle});
    desks.Travel();
    desks.ExpectNoMiss();
}

INSTANTIATE_TEST_SUITE_P(Layouts, LaptopBesideAMonitor,
                         ::testing::Values(Layout{"LaptopLeft", {1920, 0, 3600, 1050}, {1800, 400, 2101, 603}},
                                           Layout{"LaptopRight", {-1680, 150, 0, 1200}, {-181, 400, 120, 603}},
                                           Layout{"LaptopAbove", {120, 1200, 1800, 2250}, {700, 1100, 1001, 1303}}),
                         [](const auto& info) { return std::string(info.param.name); });

// A window that stops answering while it lies beside the screen, at another
// scale than where it left, is handed its way back like any silent window and
// never resized with a call that would wait for it: the switch goes on.
TEST(SizesKept, AWindowThatStoppedAnsweringBesideTheScreenIsNeverWaitedFor) {
    sim::Options o = On(kWindows10);
    o.screen = {0, 0, 1920, 1200};
    o.dpi = 144;
    o.otherMonitors = {{1920, 0, 3600, 1050}};
    o.otherDpis = {96};
    SimTrevo t(o);
    t.WriteIni("[Desktops]\r\nMax=2\r\n[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n"
               "[NoChange-XP]\r\n01=class(Shell_TrayWnd)\r\n");
    const Rect home{2021, 37, 2322, 240};  // on the monitor at 100 %
    const Hwnd silent = t.OpenScaledWindow(u"silent", home, Awareness::PerMonitorV2);
    const Hwnd answering = t.OpenScaledWindow(u"answering", home, Awareness::PerMonitorV2);
    t.Start();
    t.Click(2);  // both lie beside the laptop at 150 % now, and took its scale
    ASSERT_NE(Width(t.RectOf(silent)), Width(home));
    t.world().windows.SetAnswering(t.world().windows.ThreadOf(silent), sim::Answering::Hung);
    t.Click(1);
    EXPECT_EQ(t.bas().gOldDesk, 1);
    EXPECT_EQ(t.RectOf(answering), home);
    EXPECT_TRUE(t.world().windows.Waits().empty()) << t.world().windows.Waits().front();
    t.world().windows.SetAnswering(t.world().windows.ThreadOf(silent), sim::Answering::Yes);
    EXPECT_EQ(t.RectOf(silent).left, home.left) << "its move was not handed over";
}

// ------------------------------------------------------------ icons and the dialog

struct IconScale {
    Dword dpi;
    Long pixels;  // the notification area's icons at that scale
};

class IconsAtScale : public ::testing::TestWithParam<IconScale> {};

// The picture of each icon is as large as the notification area draws it for
// a per-monitor (Windows 10) or system-aware (Windows 7) Trevo; an unaware one
// gets the 16-pixel picture, which Windows stretches.
TEST_P(IconsAtScale, ThePictureIsAsLargeAsTheNotificationAreasIcons) {
    for (const sim::WindowsVersion v : {kWindows7, kWindows10}) {
        for (const bool unaware : {false, true}) {
            SCOPED_TRACE(std::to_string(v.major) + (unaware ? ", unaware" : ""));
            if (unaware && v.major == 6) continue;  // 7 stretches nothing below 150 %
            sim::Options o = On(v);
            o.dpi = GetParam().dpi;
            SimTrevo t(o);
            if (unaware) t.world().SetProgramAwareness(Awareness::Unaware);
            t.WriteIni(testing_support::kGoodIni);
            t.Start();
            for (Long n = 1; n <= 3; ++n) EXPECT_EQ(t.IconPixels(n), unaware ? 16 : GetParam().pixels) << n;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, IconsAtScale,
                         ::testing::Values(IconScale{96, 16}, IconScale{120, 20}, IconScale{144, 24},
                                           IconScale{168, 28}, IconScale{192, 32}),
                         [](const auto& info) { return std::to_string(info.param.dpi) + "Dpi"; });

// The user changes the scale in Settings: Explorer builds its task bar again,
// and Trevo adds its icons again, drawn at the new size.
TEST(IconsAtScale, AChangeOfScaleBringsTheIconsBackAtTheirNewSize) {
    SimTrevo t(On(kWindows10));
    t.WriteIni(testing_support::kGoodIni);
    t.Start();
    t.Click(2);
    for (const auto& [dpi, pixels] : {std::pair<Dword, Long>{144, 24}, {120, 20}, {96, 16}}) {
        t.world().ChangeScale(0, dpi);
        EXPECT_EQ(t.world().trayIcons.size(), 3u) << dpi;
        for (Long n = 1; n <= 3; ++n) {
            EXPECT_EQ(t.IconPixels(n), pixels) << dpi << " DPI, desktop " << n;
            EXPECT_EQ(t.IconResource(n), n * 10 + (n == 2 ? 2 : 1)) << dpi << " DPI, desktop " << n;
        }
    }
}

// The dialog with its controls, laid out at the scale of its monitor.
class ScaledDialog {
public:
    explicit ScaledDialog(sim::Options o) : t_(std::move(o)) {
        testing_support::WritePictureFile(t_.Host(u"C:\\red.bmp"), 64, 48, 0xFFFF0000u);
        t_.WriteIni(
            "[Desktops]\r\nMax=3\r\n[Wallpaper]\r\n1=C:\\red.bmp\r\n[Size]\r\nKeepSize=0\r\nWidth=400\r\n"
            "Height=300\r\n");
        t_.Start();
    }
    void WithDialog(const std::function<void()>& user) {
        t_.world().modalScript = [&](Hwnd) {
            user();
            t_.world().ControlAt(t_.app().dialog().cmdCancel->hWnd()).UserClick();
        };
        t_.world().menuChoices.push_back(u"&Properties...");
        t_.Click(1, win::WM_RBUTTONUP);
        t_.world().modalScript = nullptr;
    }
    Hwnd Dialog() { return t_.app().form().hWnd(); }
    // Every control stands where its design puts it at that scale, counted
    // from its parent's client area, and is as large as its design says.
    void ExpectLaidOutAt(Dword dpi) {
        const double twipsPerPixel = 1440.0 / dpi;
        const auto pixels = [&](double twips) { return static_cast<Long>(std::lround(twips / twipsPerPixel)); };
        int seen = 0;
        for (const auto& [hwnd, control] : t_.world().controls) {
            if (control->Form() != Dialog()) continue;
            ++seen;
            const sim::Window& w = t_.world().windows.Get(hwnd);
            const engine::Point origin = sim::ClientOrigin(t_.world().windows.Get(w.parent));
            const engine::ControlDesign& d = control->Design();
            EXPECT_EQ(w.rect,
                      (Rect{origin.x + pixels(d.left), origin.y + pixels(d.top),
                            origin.x + pixels(d.left) + pixels(d.width), origin.y + pixels(d.top) + pixels(d.height)}))
                << testing_support::U8(d.name) << " at " << dpi << " DPI";
        }
        EXPECT_GT(seen, 20);
    }
    // The first preview shows the wallpaper over its whole canvas.
    void ExpectPreviewFilled() {
        const sim::SimPicture& canvas = t_.world().ControlAt(t_.app().dialog().Preview[0]->hWnd()).Canvas();
        const auto red = std::count(canvas.Pixels().begin(), canvas.Pixels().end(), 0xFFFF0000u);
        EXPECT_EQ(static_cast<size_t>(red), canvas.Pixels().size())
            << "pixels of the wallpaper on a canvas of " << canvas.PixelWidth() << " x " << canvas.PixelHeight();
    }
    SimTrevo& trevo() { return t_; }

private:
    SimTrevo t_;
};

class DialogAtScale : public ::testing::TestWithParam<Dword> {};

TEST_P(DialogAtScale, TheControlsScaleWithTheMonitor) {
    sim::Options o = On(kWindows10);
    o.screen = {0, 0, 2560, 1440};
    o.dpi = GetParam();
    ScaledDialog d(o);
    d.WithDialog([&] {
        d.ExpectLaidOutAt(GetParam());
        d.ExpectPreviewFilled();
    });
}

INSTANTIATE_TEST_SUITE_P(Scales, DialogAtScale, ::testing::Values(96u, 120u, 144u, 192u),
                         [](const auto& info) { return std::to_string(info.param) + "Dpi"; });

// Dragged to a monitor of another scale, the dialog is laid out again at it
// and Trevo draws the previews again at their new size.
TEST(DialogAtScale, DraggedToAnotherMonitorItIsLaidOutAtItsScale) {
    sim::Options o = On(kWindows10);
    o.otherMonitors = {{1024, 0, 2944, 1080}};
    o.otherDpis = {144};
    ScaledDialog d(o);
    d.WithDialog([&] {
        sim::SimFormPeer& form = d.trevo().world().FormAt(d.Dialog());
        d.ExpectLaidOutAt(96);
        form.UserDragTo(1100, 100);
        d.ExpectLaidOutAt(144);
        d.ExpectPreviewFilled();
        form.UserDragTo(100, 100);
        d.ExpectLaidOutAt(96);
        d.ExpectPreviewFilled();
        EXPECT_EQ(d.trevo().world().windows.Get(d.Dialog()).rect.left, 100);
    });
}

}  // namespace
