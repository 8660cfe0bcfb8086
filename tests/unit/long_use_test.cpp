// A long day of use: a thousand windows on five desktops, thousands of clicks, and
// windows opening, closing, maximising, hiding and refusing moves in between, and
// Trevo itself crashing, or ended and started again, now and then. Some switches
// are made with hotkeys, and some by choosing a window of another desktop (the
// task bar, Alt+Tab), which Trevo follows. A
// model of where every window belongs is kept beside the simulated screen and the
// two must agree after every click. The day is spent on one monitor at 100 %,
// and again on a laptop at 150 % beside a monitor at 100 %, where a window
// beside the screen takes the scale of the monitor nearest to it and resizes
// itself as its program does, and comes back at the size it left with. A
// shorter day has the switch move the windows first and keep each desktop's
// fitted wallpaper, which must then be the one shown after every switch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>
#include <string>

#include "sim_fixture.h"

namespace {
using engine::Dword;
using engine::Hwnd;
using engine::Long;
using engine::Rect;
using testing_support::SimTrevo;
namespace win = engine::win;

constexpr Long kScreenWidth = 1024;
constexpr int kDesks = 5;

enum class Layout { OneMonitor, LaptopBesideAMonitor };
enum class Switching { AsEver, WindowsFirstWallpapersKept };

// The clicks of a run; TREVO_LONG_USE_CLICKS makes a run longer or shorter.
int Clicks() {
    const char* text = std::getenv("TREVO_LONG_USE_CLICKS");
    const int clicks = text ? std::atoi(text) : 10'000;
    return clicks > 0 ? clicks : 10'000;
}

// What the model knows of one window.
struct Expected {
    Rect home;     // where it lies while its desktop is shown
    int desk = 1;  // the desktop it belongs to (beyond 1..5 once it refused moves)
    bool everRefused = false;
    bool isProtected = false;
    bool hidden = false;
    // Its size is Trevo's to give back: false for a window that lay beside the
    // screen when Trevo ended, until it is on the screen again.
    bool sizeRemembered = true;
};

class LongUse {
public:
    explicit LongUse(Layout layout = Layout::OneMonitor, Switching switching = Switching::AsEver)
        : t_(Options(layout)),
          random_(20261207),
          scaled_(layout == Layout::LaptopBesideAMonitor),
          wallpapersKept_(switching == Switching::WindowsFirstWallpapersKept),
          bandWidth_(t_.world().VirtualScreen().right - t_.world().VirtualScreen().left) {
        std::string pictures, options = "FollowFocus=1\r\n";
        if (wallpapersKept_) {
            testing_support::WritePictureFile(t_.Host(u"C:\\pics\\two.bmp"), 8, 8, 0xFF00FF00);
            testing_support::WritePictureFile(t_.Host(u"C:\\pics\\four.bmp"), 6, 9, 0xFF0000FF);
            pictures = "[Wallpaper]\r\n2=C:\\pics\\two.bmp\r\n4=C:\\pics\\four.bmp\r\n";
            options += "WindowsFirst=1\r\nKeepWallpapers=1\r\n";
        }
        t_.WriteIni(
            "[Desktops]\r\nMax=5\r\n" + pictures + "[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n"
            "[NoChange-XP]\r\n01=class(Shell_TrayWnd)\r\n02=class(Pinned)\r\n03=title(Keep *)\r\n"
            "04=title(*[!a-z]Sticky)class(Notes)\r\n"
            "[Keys]\r\nDesktop1=Ctrl+Alt+F1\r\nDesktop2=Ctrl+Alt+F2\r\nDesktop3=Ctrl+Alt+F3\r\n"
            "Desktop4=Ctrl+Alt+F4\r\nDesktop5=Ctrl+Alt+F5\r\n[Options]\r\n" + options);
        for (int i = 0; i < 1000; ++i) OpenOne();
        t_.Start();
        current_ = 1;
    }

    void Run(int clicks) {
        for (int step = 0; step < clicks; ++step) {
            if (Pick(300) == 0) CrashAndStartAgain();
            if (Pick(400) == 0) ExitFromDesktopOneAndStartAgain();
            Disturb();
            const int target = 1 + static_cast<int>(random_() % kDesks);
            if (random_() % 50 == 0) CloseOneDuringTheNextSwitch();
            if (Pick(4) == 0)
                PressKey(target);
            else if (Pick(6) == 0)
                ChooseAWindowElsewhere();
            else
                Click(target);
            ASSERT_NO_FATAL_FAILURE(CheckEveryWindow(step));
            if (wallpapersKept_) {
                ASSERT_NO_FATAL_FAILURE(CheckWallpaper(step));
            }
        }
    }

    // Every desktop once more: each window that never refused a move is back where
    // it was on its own desktop.
    void VisitEveryDesktop() {
        for (int desk = 1; desk <= kDesks; ++desk) {
            Click(desk);
            for (const auto& [h, e] : expected_)
                if (!e.everRefused && !e.hidden && e.desk == desk) {
                    EXPECT_EQ(t_.RectOf(h), e.home) << Describe(h);
                }
        }
    }

    int Windows() const { return static_cast<int>(expected_.size()); }
    int closed = 0, refusals = 0, restores = 0, crashes = 0, exits = 0, keys = 0, followed = 0;
    int resizedBeside = 0;  // checks that found a window beside the screen at another size

private:
    static sim::Options Options(Layout layout) {
        sim::Options o;
        o.screen = {0, 0, kScreenWidth, 768};
        if (layout == Layout::LaptopBesideAMonitor) {
            o.major = 10;
            o.minor = 0;
            o.build = 19045;
            o.screen = {0, 0, 1536, 864};
            o.dpi = 144;
            o.otherMonitors = {{1536, 0, 3456, 1080}};
            o.otherDpis = {96};
        }
        return o;
    }

    // The desktop shown has its own kept bitmap as the wallpaper, or none
    // without a picture; Trevo.bmp is never written.
    void CheckWallpaper(int step) {
        const bool hasPicture = current_ == 2 || current_ == 4;
        const engine::String kept =
            u"C:\\Users\\user\\AppData\\Local\\Trevo\\Desktop" + engine::DecimalText(current_) + u".bmp";
        ASSERT_EQ(t_.world().wallpaper, hasPicture ? kept : u"") << "desktop " << current_ << ", step " << step;
        ASSERT_FALSE(std::filesystem::exists(t_.Host(u"C:\\Trevo\\Trevo.bmp"))) << "step " << step;
    }

    int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    // A new window on the desktop shown, of a kind chosen at random.
    void OpenOne() {
        const Long left = Pick(bandWidth_ - 320), top = Pick(400);
        const Rect rect{left, top, left + 120 + Pick(200), top + 80 + Pick(200)};
        std::u16string title = u"Window " + engine::DecimalText(next_++), cls = u"Probe";
        Expected e{rect, current_};
        switch (Pick(20)) {
            case 0:
                cls = u"Pinned";
                e.isProtected = true;
                break;
            case 1:
                title = u"Keep " + title;
                e.isProtected = true;
                break;
            case 2:
                title = u"My Sticky";
                cls = u"Notes";
                e.isProtected = true;
                break;
            case 3:
                title = u"mySticky";
                cls = u"Notes";
                break;  // the character before must be no letter
            case 4:
                e.hidden = true;
                break;
            default:
                break;
        }
        const Dword style = e.hidden ? 0 : win::WS_VISIBLE;
        const Hwnd h = scaled_ ? OpenOfAnyAwareness(title, cls, rect, style) : t_.OpenWindow(title, cls, rect, style);
        expected_[h] = e;
    }

    Hwnd OpenOfAnyAwareness(const std::u16string& title, const std::u16string& cls, Rect rect, Dword style) {
        constexpr sim::Awareness kAwareness[] = {sim::Awareness::Unaware, sim::Awareness::System,
                                                 sim::Awareness::PerMonitor, sim::Awareness::PerMonitorV2};
        constexpr sim::DpiReaction kReactions[] = {sim::DpiReaction::TakesSuggested, sim::DpiReaction::SnapsToCells,
                                                   sim::DpiReaction::Ignores};
        sim::WindowSpec request;
        request.title = title;
        request.className = cls;
        request.rect = rect;
        request.style = style;
        request.awareness = kAwareness[Pick(4)];
        request.dpiReaction = kReactions[Pick(3)];
        return t_.world().windows.Create(request);
    }

    // Trevo ends: the sizes it kept for the windows beside the screen go with it.
    void ForgetSizesBesideTheScreen() {
        if (!scaled_) return;
        for (auto& [h, e] : expected_)
            if (e.desk != current_) e.sizeRemembered = false;
    }

    // Trevo ends without Exit (a crash, Task Manager) and is started again: the
    // new start brings desktop 1 back onto the screen, every desktop in its band,
    // as a switch from the desktop shown to desktop 1 would.
    void CrashAndStartAgain() {
        ForgetSizesBesideTheScreen();
        t_.Kill();
        t_.Start();
        Moved(current_, 1);
        ++crashes;
    }

    // The user's way to end Trevo with every window on the screen, and a later start.
    void ExitFromDesktopOneAndStartAgain() {
        Click(1);
        t_.world().menuChoices.push_back(u"E&xit");
        t_.Click(1, win::WM_RBUTTONUP);
        ASSERT_TRUE(t_.world().ended);
        ForgetSizesBesideTheScreen();
        t_.Kill();  // the process ends after its last form
        t_.Start();
        ++exits;
    }

    // What the user and other programs do between two clicks.
    void Disturb() {
        const int what = Pick(10);
        if (what == 0) OpenOne();
        if (what == 1 && !expected_.empty()) Close(Any());
        if (what == 2 || what == 3) {
            // Maximised or minimised on the desktop shown: the switch restores it.
            const Hwnd h = Any();
            const Expected& e = expected_[h];
            if (!e.hidden && !e.isProtected && !e.everRefused && e.desk == current_ && t_.RectOf(h) == e.home) {
                t_.world().windows.Show(h, what == 2 ? win::SW_SHOWMAXIMIZED : win::SW_SHOWMINIMIZED);
                ++restores;
            }
        }
        if (what == 4) {
            // A window of a more privileged program, for one switch.
            const Hwnd h = Any();
            sim::Window& w = t_.world().windows.Get(h);
            w.refusesMoves = true;
            refusingNow_.push_back(h);
        }
    }

    Hwnd Any() {
        auto it = expected_.begin();
        std::advance(it, Pick(static_cast<int>(expected_.size())));
        return it->first;
    }

    void Close(Hwnd h) {
        t_.world().windows.Destroy(h);
        expected_.erase(h);
        ++closed;
    }

    // A window closes after the walk found it and before its move.
    void CloseOneDuringTheNextSwitch() {
        doomed_ = Any();
        t_.world().windows.beforeDeferredMove = [this](Hwnd h) {
            if (h != doomed_ || !t_.world().windows.Exists(h)) return;
            t_.world().windows.Destroy(h);
            expected_.erase(h);
            ++closed;
        };
    }

    void Click(int target) {
        t_.Click(target);
        t_.world().windows.beforeDeferredMove = nullptr;
        Moved(current_, target);
    }

    void PressKey(int target) {
        ASSERT_TRUE(t_.world().PressHotKey(win::MOD_CONTROL | win::MOD_ALT, win::VK_F1 + target - 1));
        t_.world().windows.beforeDeferredMove = nullptr;
        Moved(current_, target);
        ++keys;
    }

    // The user brings a window of another desktop forward: its desktop comes.
    void ChooseAWindowElsewhere() {
        const Hwnd h = Any();
        const Expected e = expected_[h];
        const sim::Window& w = t_.world().windows.Get(h);
        if (e.hidden || e.isProtected || e.everRefused || e.desk == current_ ||
            (w.style & (win::WS_MAXIMIZE | win::WS_MINIMIZE)))
            return;
        // Grown at another scale beside the screen, a window may reach onto it:
        // there it is a window of the desktop shown.
        if (w.rect.right > 0 && w.rect.left < bandWidth_) return;
        t_.world().Activate(h);
        t_.world().windows.beforeDeferredMove = nullptr;
        Moved(current_, e.desk);
        ++followed;
    }

    // The windows were moved from one desktop's bands to another's.
    void Moved(int from, int target) {
        current_ = target;
        if (from == target) return;
        // A window that stayed where it was now belongs to a desktop further on.
        for (Hwnd h : refusingNow_) {
            auto it = expected_.find(h);
            if (it == expected_.end()) continue;
            Expected& e = it->second;
            if (!e.hidden && !e.isProtected) {
                e.desk += target - from;
                e.everRefused = true;
                ++refusals;
            }
        }
        for (Hwnd h : refusingNow_)
            if (t_.world().windows.Exists(h)) t_.world().windows.Get(h).refusesMoves = false;
        refusingNow_.clear();
    }

    void CheckEveryWindow(int step) {
        ASSERT_FALSE(t_.world().ended);
        ASSERT_EQ(t_.bas().gOldDesk, current_);
        for (auto& [h, e] : expected_) {
            const sim::Window& w = t_.world().windows.Get(h);
            if (e.isProtected || e.hidden) {
                ASSERT_EQ(w.moveCount, 0) << Describe(h) << " at click " << step;
                continue;
            }
            if (w.style & (win::WS_MAXIMIZE | win::WS_MINIMIZE)) continue;  // shown so since the last click
            if (scaled_) {
                ASSERT_NO_FATAL_FAILURE(CheckScaled(h, e, step));
            } else {
                const Long shift = (e.desk - current_) * bandWidth_;
                const Rect want{e.home.left + shift, e.home.top, e.home.right + shift, e.home.bottom};
                ASSERT_EQ(w.rect, want) << Describe(h) << " at click " << step;
            }
            if (!e.everRefused) {
                // Its left edge lies in the band of its own desktop, and in no other.
                const Long band =
                    w.rect.left >= 0 ? w.rect.left / bandWidth_ : -((-w.rect.left + bandWidth_ - 1) / bandWidth_);
                ASSERT_EQ(band, e.desk - current_) << Describe(h);
            }
        }
    }

    // Beside the screen a window may have taken another scale and size: its
    // place is held there, its size once it is on the screen again. One that
    // lay beside the screen when Trevo ended comes back at the size it has
    // then, which is its size from then on.
    void CheckScaled(Hwnd h, Expected& e, int step) {
        const Rect& r = t_.world().windows.Get(h).rect;
        const bool shown = e.desk == current_;
        if (shown && !e.sizeRemembered) {
            e.home.right = e.home.left + (r.right - r.left);
            e.home.bottom = e.home.top + (r.bottom - r.top);
            e.sizeRemembered = true;
        }
        const Long shift = (e.desk - current_) * bandWidth_;
        ASSERT_EQ((engine::Point{r.left, r.top}), (engine::Point{e.home.left + shift, e.home.top}))
            << Describe(h) << " at click " << step;
        const bool homeSize =
            r.right - r.left == e.home.right - e.home.left && r.bottom - r.top == e.home.bottom - e.home.top;
        if (!shown) {
            if (!homeSize) ++resizedBeside;
            return;
        }
        ASSERT_TRUE(homeSize) << Describe(h) << " is " << r.right - r.left << " x " << r.bottom - r.top << ", not "
                              << e.home.right - e.home.left << " x " << e.home.bottom - e.home.top << " at click "
                              << step;
    }

    std::string Describe(Hwnd h) {
        const Expected& e = expected_[h];
        return testing_support::U8(t_.world().windows.Get(h).title) + " of desktop " + std::to_string(e.desk) +
               " with desktop " + std::to_string(current_) + " shown";
    }

    SimTrevo t_;
    std::mt19937 random_;
    bool scaled_;
    bool wallpapersKept_;
    Long bandWidth_;
    std::map<Hwnd, Expected> expected_;
    std::vector<Hwnd> refusingNow_;
    Hwnd doomed_ = 0;
    int current_ = 1;
    int next_ = 1;
};

void SpendADay(LongUse& day, int clicks) {
    ASSERT_NO_FATAL_FAILURE(day.Run(clicks));
    day.VisitEveryDesktop();
    // The run went through what it was meant to go through.
    EXPECT_GT(day.closed, clicks / 100);
    EXPECT_GT(day.refusals, clicks / 100);
    EXPECT_GT(day.restores, clicks / 100);
    EXPECT_GT(day.crashes, clicks / 1000);
    EXPECT_GT(day.exits, clicks / 1000);
    EXPECT_GT(day.keys, clicks / 10);
    EXPECT_GT(day.followed, clicks / 100);
    EXPECT_GT(day.Windows(), 700);
}

TEST(LongUse, AThousandWindowsAndThousandsOfClicksLoseNoWindow) {
    LongUse day;
    SpendADay(day, Clicks());
}

TEST(LongUse, OnALaptopBesideAMonitorOfAnotherScale) {
    // Half a day: each switch here also rescales every window it moves.
    const int clicks = Clicks() / 2;
    LongUse day(Layout::LaptopBesideAMonitor);
    SpendADay(day, clicks);
    EXPECT_GT(day.resizedBeside, clicks);
}

TEST(LongUse, WindowsFirstAndEachDesktopsWallpaperKept) {
    // A fifth of a day, and never so few clicks that its exits and crashes
    // may not happen: the order of a switch and the kept bitmaps are what differs.
    LongUse day(Layout::OneMonitor, Switching::WindowsFirstWallpapersKept);
    SpendADay(day, std::max(Clicks() / 5, 1000));
}

}  // namespace
