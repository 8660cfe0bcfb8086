// Hotkeys, sending and pinning windows, following the foreground, and
// minimised windows that stay minimised: each off until Trevo.ini turns it on.
#include <gtest/gtest.h>

#include "app/settings/key_combination.h"
#include "sim_fixture.h"

namespace {
using engine::Dword;
using engine::Hwnd;
using engine::Long;
using engine::Rect;
using testing_support::SimTrevo;
using testing_support::U8;
namespace win = engine::win;

constexpr Long kWidth = 1280;
constexpr Dword kCtrlAlt = win::MOD_CONTROL | win::MOD_ALT;
constexpr Dword kSendMods = kCtrlAlt | win::MOD_SHIFT;
Dword F(int n) { return win::VK_F1 + static_cast<Dword>(n - 1); }

const std::string kKeys =
    "[Keys]\r\nDesktop1=Ctrl+Alt+F1\r\nDesktop2=ctrl + alt + f2\r\nDesktop3=Alt+Ctrl+F3\r\nDesktop5=Ctrl+Alt+F5\r\n"
    "Next=Ctrl+Alt+PageDown\r\nPrevious=Ctrl+Alt+PageUp\r\nSend1=Ctrl+Alt+Shift+F1\r\nSend2=Ctrl+Alt+Shift+F2\r\n"
    "Send5=Ctrl+Alt+Shift+F5\r\nPin=Ctrl+Alt+Insert\r\n";

std::string Ini(int max, const std::string& extra = kKeys) {
    return "[Desktops]\r\nMax=" + std::to_string(max) +
           "\r\n[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n[NoChange-XP]\r\n01=class(Shell_TrayWnd)\r\n"
           "02=class(KeepMe)\r\n" +
           extra;
}

sim::Options OnVersion(Dword major, Dword minor, bool windowsEvents = true) {
    sim::Options o;
    o.screen = {0, 0, kWidth, 1024};
    o.major = major;
    o.minor = minor;
    o.foregroundEvents = windowsEvents;
    o.foregroundLock = windowsEvents;  // Wine lets every process take the foreground
    return o;
}

Rect Band(int offset, Long left = 100, Long width = 300) {
    return {left + offset * kWidth, 50, left + offset * kWidth + width, 250};
}

class Everyday : public ::testing::Test {
protected:
    explicit Everyday(sim::Options options = OnVersion(6, 1)) : t_(std::move(options)) {}
    Hwnd Open(const std::u16string& title, Rect rect, const std::u16string& cls = u"Probe") {
        return t_.OpenWindow(title, cls, rect);
    }
    Long Active() { return t_.bas().gOldDesk; }
    void Key(Dword mods, Dword key, int repeats = 0) { EXPECT_TRUE(t_.world().PressHotKey(mods, key, repeats)); }
    void Focus(Hwnd h) {
        t_.world().foreground = 0;
        t_.world().Activate(h);
    }
    sim::Window& W(Hwnd h) { return t_.world().windows.Get(h); }
    SimTrevo t_;
};

TEST(KeySyntax, ReadsWhatTheFileMayWriteAndRefusesTheRest) {
    struct Good {
        std::u16string text;
        Dword mods, key;
    };
    const Good good[] = {
        {u"Ctrl+Win+F2", win::MOD_CONTROL | win::MOD_WIN, F(2)},
        {u" shift + ALT + ctrl + z ", kSendMods, 'Z'},
        {u"Ctrl+Alt+Z", kCtrlAlt, 'Z'},  // every letter, the last one too, in either case
        {u"ctrl+alt+a", kCtrlAlt, 'A'},
        {u"Win+m", win::MOD_WIN, 'M'},
        {u"Win+0", win::MOD_WIN, '0'},
        {u"Alt+F24", win::MOD_ALT, F(24)},
        {u"F13", 0, F(13)},
        {u"Ctrl+Num7", win::MOD_CONTROL, win::VK_NUMPAD0 + 7},
        {u"Ctrl+PageUp", win::MOD_CONTROL, win::VK_PRIOR},
        {u"Ctrl+Delete", win::MOD_CONTROL, win::VK_DELETE},
    };
    for (const Good& g : good) {
        const auto parsed = trevo::ParseKeyCombination(g.text, nullptr);
        ASSERT_TRUE(parsed) << U8(g.text);
        EXPECT_EQ(parsed->modifiers, g.mods) << U8(g.text);
        EXPECT_EQ(parsed->key, g.key) << U8(g.text);
    }
    for (const std::u16string bad :
         {u"Ctrl+Alt", u"Ctrl+Bogus", u"Ctrl++F2", u"Ctrl+F2+", u"F2+Ctrl", u"Ctrl+Ctrl+F2", u"Ctrl+F25", u"Ctrl+F0",
          u"Ctrl+F02", u"Ctrl+Num10", u"A", u"Shift+Left", u"Ctrl+F2+F3", u"Ctrl+é", u"+"}) {
        trevo::Phrase why(u"");
        EXPECT_FALSE(trevo::ParseKeyCombination(bad, &why)) << U8(bad);
        EXPECT_NE(why.Id(), 0) << U8(bad);
    }
}

TEST(KeySettings, ABadValueStopsTheStartNamingItAndWritesNothing) {
    const std::pair<std::string, std::string> cases[] = {
        {"[Keys]\r\nDesktop2=Ctrl+Alt+Bogus\r\n", "[Keys] Desktop2\r\nValue found: \"Ctrl+Alt+Bogus\""},
        {"[Keys]\r\nNext=Ctrl+Alt\r\n", "[Keys] Next\r\nValue found: \"Ctrl+Alt\""},
        {"[Keys]\r\nDesktop1=Ctrl+Alt+F1\r\nSend1=alt+ctrl+f1\r\n", "[Keys] Send1\r\nValue found: \"alt+ctrl+f1\""},
        {"[Options]\r\nFollowFocus=2\r\n", "[Options] FollowFocus\r\nValue found: \"2\""},
        {"[Options]\r\nKeepMinimised=yes\r\n", "[Options] KeepMinimised\r\nValue found: \"yes\""},
    };
    for (const auto& [section, named] : cases) {
        SimTrevo t;
        const Hwnd w = t.OpenWindow(u"w", u"Probe", Band(0), win::WS_VISIBLE | win::WS_MINIMIZE);
        t.WriteIni(Ini(3, section));
        const std::string before = testing_support::ReadFile(t.IniFile());
        t.Start();
        EXPECT_TRUE(t.world().ended) << section;
        ASSERT_EQ(t.world().msgBoxes.size(), 1u) << section;
        EXPECT_NE(U8(t.world().msgBoxes[0].text).find(named), std::string::npos) << U8(t.world().msgBoxes[0].text);
        EXPECT_TRUE(t.world().trayIcons.empty());
        EXPECT_TRUE(t.world().hotKeys.empty());
        EXPECT_NE(t.world().windows.Get(w).style & win::WS_MINIMIZE, 0u);  // nothing restored
        EXPECT_EQ(testing_support::ReadFile(t.IniFile()), before);
    }
}

TEST(EverydayOff, WithoutTheNewSectionsOrWithTheirOffValuesNothingIsTakenOrWatched) {
    for (const std::string options : {"", "[Options]\r\nFollowFocus=0\r\nKeepMinimised=0\r\n"}) {
        SimTrevo t(OnVersion(6, 1));
        const Hwnd minimised = t.OpenWindow(u"m", u"Probe", Band(0), win::WS_VISIBLE | win::WS_MINIMIZE);
        const Hwnd beside = t.OpenWindow(u"b", u"Probe", Band(1));
        t.WriteIni(Ini(3, options));
        t.Start();
        EXPECT_TRUE(t.world().hotKeys.empty()) << options;
        EXPECT_TRUE(t.world().winEventHooks.empty()) << options;
        // The first selection restores it, as ever.
        EXPECT_EQ(t.world().windows.Get(minimised).style & win::WS_MINIMIZE, 0u) << options;
        t.world().foreground = 0;
        t.world().Activate(beside);
        EXPECT_EQ(t.bas().gOldDesk, 1) << options;
        if (!options.empty()) continue;
        // Nor are their keys read one by one, each a look at the file.
        for (const std::string& section : t.calls().profileReads) {
            EXPECT_NE(section, "Keys");
            EXPECT_NE(section, "Options");
        }
    }
}

TEST_F(Everyday, TheSectionsAreFoundWhateverTheCaseOfTheirNames) {
    const Hwnd w = Open(u"w", Band(0));
    const Hwnd minimised = t_.OpenWindow(u"m", u"Probe", Band(0), win::WS_VISIBLE | win::WS_MINIMIZE);
    t_.WriteIni(Ini(3, "[keys]\r\nDesktop2=Ctrl+Alt+F2\r\n[OPTIONS]\r\nKeepMinimised=1\r\n"));
    t_.Start();
    EXPECT_NE(W(minimised).style & win::WS_MINIMIZE, 0u);
    Key(kCtrlAlt, F(2));
    EXPECT_EQ(Active(), 2);
    EXPECT_EQ(t_.RectOf(w), Band(-1));
}

class Hotkeys : public Everyday, public ::testing::WithParamInterface<std::pair<Dword, Dword>> {
protected:
    Hotkeys() : Everyday(OnVersion(GetParam().first, GetParam().second)) {}
    bool KnowsNoRepeat() const { return GetParam().first > 6 || GetParam().second >= 1; }
};

TEST_P(Hotkeys, EachKeyMakesTheSelectionAClickMakes) {
    const Hwnd w = Open(u"w", Band(0));
    t_.WriteIni(Ini(3));
    t_.Start();
    for (const auto& [combination, holder] : t_.world().hotKeys) EXPECT_EQ(holder.noRepeat, KnowsNoRepeat());
    Key(kCtrlAlt, F(2));
    EXPECT_EQ(Active(), 2);
    EXPECT_EQ(t_.RectOf(w), Band(-1));
    EXPECT_EQ(t_.IconResource(2), 22);
    Key(kCtrlAlt, win::VK_NEXT);
    Key(kCtrlAlt, win::VK_NEXT);  // the last desktop: Next does not wrap
    EXPECT_EQ(Active(), 3);
    Key(kCtrlAlt, F(5));  // beyond the desktop count
    EXPECT_EQ(Active(), 3);
    Key(kCtrlAlt, win::VK_PRIOR);
    Key(kCtrlAlt, F(1));
    Key(kCtrlAlt, win::VK_PRIOR);  // nothing left of desktop 1
    EXPECT_EQ(Active(), 1);
    EXPECT_EQ(t_.RectOf(w), Band(0));
}

TEST_P(Hotkeys, AHeldKeyRepeatsNoSwitchWhereWindowsKnowsHow) {
    t_.WriteIni(Ini(5));
    t_.Start();
    Key(kCtrlAlt, win::VK_NEXT, 2);  // held for two of the keyboard's repeats
    EXPECT_EQ(Active(), KnowsNoRepeat() ? 2 : 4);
}

TEST_P(Hotkeys, KeysWaitForTheFittingAndAreDeadWhileTheDialogIsOpen) {
    const std::filesystem::path picture = t_.Host(u"C:\\p.bmp");
    testing_support::WritePictureFile(picture, 8, 8, 0xFF0000);
    t_.WriteIni(
        "[Desktops]\r\nMax=5\r\n[Wallpaper]\r\n2=C:\\p.bmp\r\n[Size]\r\nKeepSize=-1\r\nWidth=400\r\nHeight="
        "300\r\n" +
        kKeys);
    t_.Start();
    Key(kCtrlAlt, F(3));  // no picture: nothing to wait for
    t_.world().onDoEvents = [&] {
        t_.world().onDoEvents = nullptr;
        Key(kCtrlAlt, win::VK_NEXT);  // from the desktop being selected: 3
        Key(kCtrlAlt, F(1));          // the last one counts: 1
        Key(kCtrlAlt, win::VK_NEXT);  // and Next counts from it, not from 2 or 3
    };
    Key(kCtrlAlt, F(2));
    EXPECT_EQ(Active(), 2);

    t_.world().modalScript = [&](Hwnd dialog) {
        Key(kCtrlAlt, F(1));
        t_.world().ControlAt(t_.app().dialog().cmdCancel->hWnd()).UserClick();
        (void)dialog;
    };
    t_.world().menuChoices.push_back(u"&Properties...");
    t_.Click(1, win::WM_RBUTTONUP);
    EXPECT_EQ(Active(), 2);
}

TEST_P(Hotkeys, AKeyAnotherProgramHoldsCostsOnlyThatKeyAndIsToldOnce) {
    t_.world().TakeHotKeyElsewhere(kCtrlAlt, F(2));
    t_.WriteIni(Ini(3));
    t_.Start();
    ASSERT_EQ(t_.world().msgBoxes.size(), 1u);
    EXPECT_NE(U8(t_.world().msgBoxes[0].text).find("Desktop2=ctrl + alt + f2"), std::string::npos);
    Key(kCtrlAlt, F(3));
    EXPECT_EQ(Active(), 3);

    t_.Kill();  // the next log-on: the same key is still taken
    t_.Start();
    EXPECT_EQ(t_.world().msgBoxes.size(), 1u);
    t_.Kill();
    t_.world().TakeHotKeyElsewhere(kCtrlAlt, F(1));  // one more: the list changed
    t_.Start();
    EXPECT_EQ(t_.world().msgBoxes.size(), 2u);

    t_.Kill();
    t_.world().hotKeys.clear();  // the other program is gone: every key free, nothing to say
    t_.Start();
    EXPECT_EQ(t_.world().msgBoxes.size(), 2u);
    t_.Kill();
    t_.world().TakeHotKeyElsewhere(kCtrlAlt, F(1));  // the same two taken again: told again
    t_.world().TakeHotKeyElsewhere(kCtrlAlt, F(2));
    t_.Start();
    EXPECT_EQ(t_.world().msgBoxes.size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(Versions, Hotkeys, ::testing::Values(std::pair{6u, 0u}, std::pair{6u, 1u}, std::pair{10u, 0u}),
                         [](const auto& info) {
                             return info.param.first == 10 ? "Windows10" : info.param.second ? "Windows7" : "Vista";
                         });

TEST_F(Everyday, SendMovesTheForegroundWindowByWholeBandsAndTheUserStays) {
    const Hwnd sent = Open(u"sent", Band(0, 100)), next = Open(u"next", Band(0, 500));
    const Hwnd maximised = Open(u"max", Band(0, 200)), kept = Open(u"kept", Band(0, 300), u"KeepMe");
    W(maximised).style |= win::WS_MAXIMIZE;
    W(maximised).normalRect = Band(0, 200);
    W(maximised).rect = {0, 0, kWidth, 994};
    t_.WriteIni(Ini(3, kKeys + "[Options]\r\nKeepMinimised=1\r\n"));
    t_.Start();
    Focus(sent);
    Key(kSendMods, F(2));
    EXPECT_EQ(t_.RectOf(sent), Band(1, 100));
    EXPECT_EQ(Active(), 1);
    EXPECT_EQ(t_.IconResource(1), 12);
    EXPECT_EQ(t_.world().foreground, maximised);  // the top window on the screen: typing stays in sight

    Focus(maximised);
    Key(kSendMods, F(2));
    EXPECT_EQ(t_.RectOf(maximised), Band(1, 200));  // restored, as a switch restores it

    Focus(kept);  // a never-move window, and one beyond the count
    Key(kSendMods, F(2));
    Focus(next);
    Key(kSendMods, F(5));
    EXPECT_EQ(t_.RectOf(kept), Band(0, 300));
    EXPECT_EQ(t_.RectOf(next), Band(0, 500));

    t_.world().windows.Show(next, win::SW_SHOWMINIMIZED);  // a minimised one stays so, and belongs to desktop 2
    Focus(next);
    Key(kSendMods, F(2));
    EXPECT_NE(W(next).style & win::WS_MINIMIZE, 0u);

    // Brought forward from desktop 3 by Alt+Tab: it goes to desktop 2's band,
    // at its place there.
    const Hwnd beside = Open(u"beside", Band(2, 700));
    Focus(beside);
    Key(kSendMods, F(2));
    EXPECT_EQ(t_.RectOf(beside), Band(1, 700));

    t_.Click(2);  // every sent window is on desktop 2, where it stood
    EXPECT_EQ(t_.RectOf(sent), Band(0, 100));
    EXPECT_EQ(t_.RectOf(beside), Band(0, 700));
    EXPECT_EQ(t_.RectOf(maximised), Band(0, 200));
    t_.world().windows.Show(next, win::SW_RESTORE);
    t_.Click(1);
    t_.Click(2);
    EXPECT_EQ(t_.RectOf(next), Band(0, 500));
}

class WindowsThatResist : public Everyday, public ::testing::WithParamInterface<Dword> {
protected:
    WindowsThatResist() : Everyday(OnVersion(GetParam(), GetParam() == 10 ? 0 : 1)) {}
};

// A program that does not answer is never waited for, at a send or when its
// window kept minimised is restored elsewhere; an elevated one's window that
// refuses the move stays, and nothing else is lost.
TEST_P(WindowsThatResist, AreNeverWaitedForAndCostNothingElse) {
    const Hwnd hung = Open(u"hung", Band(0)), refusing = Open(u"refusing", Band(0, 500));
    const Hwnd minimised = Open(u"minimised", Band(0, 700));
    t_.WriteIni(Ini(3, kKeys + "[Options]\r\nKeepMinimised=1\r\n"));
    t_.Start();
    Focus(hung);
    t_.world().windows.SetAnswering(t_.world().windows.ThreadOf(hung), sim::Answering::Hung);
    Key(kSendMods, F(2));  // the fixture fails on any call that would have waited
    EXPECT_EQ(t_.RectOf(hung), Band(0));
    t_.world().windows.SetAnswering(t_.world().windows.ThreadOf(hung), sim::Answering::Yes);
    EXPECT_EQ(t_.RectOf(hung), Band(1));

    W(refusing).refusesMoves = true;
    Focus(refusing);
    Key(kSendMods, F(2));
    EXPECT_EQ(t_.RectOf(refusing), Band(0, 500));

    t_.world().windows.Show(minimised, win::SW_SHOWMINIMIZED);
    Key(kCtrlAlt, F(3));
    t_.world().windows.SetAnswering(t_.world().windows.ThreadOf(minimised), sim::Answering::Hung);
    t_.world().windows.ShowAsync(minimised, win::SW_RESTORE);  // restored once it answers
    Key(kCtrlAlt, F(2));
    t_.world().windows.SetAnswering(t_.world().windows.ThreadOf(minimised), sim::Answering::Yes);
    t_.world().windows.Show(minimised, win::SW_RESTORE);
    Key(kCtrlAlt, F(1));
    EXPECT_EQ(t_.RectOf(minimised), Band(0, 700));
}

INSTANTIATE_TEST_SUITE_P(Versions, WindowsThatResist, ::testing::Values(6u, 10u),
                         [](const auto& info) { return info.param == 6 ? "Windows7" : "Windows10"; });

TEST_F(Everyday, APinnedWindowStaysOnTheScreenUntilItIsPinnedAgain) {
    const Hwnd pinned = Open(u"pinned", Band(0)), other = Open(u"other", Band(0, 500));
    t_.WriteIni(Ini(3));
    t_.Start();
    Focus(pinned);
    Key(kCtrlAlt, win::VK_INSERT);
    Key(kCtrlAlt, F(3));
    Key(kCtrlAlt, F(2));
    EXPECT_EQ(t_.RectOf(pinned), Band(0));
    EXPECT_EQ(t_.RectOf(other), Band(-1, 500));
    EXPECT_EQ(t_.world().foreground, pinned);  // on the screen: the foreground may stay
    Key(kSendMods, F(1));                      // nor is it sent
    EXPECT_EQ(t_.RectOf(pinned), Band(0));
    Key(kCtrlAlt, win::VK_INSERT);             // unpinned: it belongs to desktop 2 now
    Key(kCtrlAlt, F(1));
    EXPECT_EQ(t_.RectOf(pinned), Band(1));
    EXPECT_EQ(t_.RectOf(other), Band(0, 500));
}

class FollowFocus : public Everyday, public ::testing::WithParamInterface<bool> {
protected:
    FollowFocus() : Everyday(OnVersion(10, 0, GetParam())) {}
};

TEST_P(FollowFocus, AWindowOfAnotherDesktopChosenElsewhereBringsItsDesktop) {
    const Hwnd here = Open(u"here", Band(0)), there = Open(u"there", Band(1)), far = Open(u"far", Band(2));
    const Hwnd minimised = Open(u"min", Band(0, 600)), metMinimised = Open(u"met", Band(2, 700));
    t_.world().windows.Show(metMinimised, win::SW_SHOWMINIMIZED);  // already so on desktop 3
    t_.WriteIni(Ini(3, kKeys + "[Options]\r\nFollowFocus=-1\r\nKeepMinimised=1\r\n"));
    t_.Start();
    Focus(there);
    EXPECT_EQ(Active(), 2);
    EXPECT_EQ(t_.RectOf(there), Band(0));
    EXPECT_EQ(t_.world().foreground, there);  // not a window the switch's moves took off the screen
    Focus(far);
    EXPECT_EQ(Active(), 3);
    Focus(here);
    EXPECT_EQ(Active(), 1);

    // Minimised on desktop 1, restored from the task bar while desktop 3 is active.
    t_.world().windows.Show(minimised, win::SW_SHOWMINIMIZED);
    t_.Click(3);
    t_.world().windows.Show(minimised, win::SW_RESTORE);
    Focus(minimised);
    EXPECT_EQ(Active(), 1);
    EXPECT_EQ(t_.RectOf(minimised), Band(0, 600));
    EXPECT_EQ(t_.world().foreground, minimised);

    // Minimised on desktop 3 before Trevo met it, restored while desktop 2 is active.
    t_.Click(2);
    t_.world().windows.Show(metMinimised, win::SW_RESTORE);
    Focus(metMinimised);
    EXPECT_EQ(Active(), 3);
    EXPECT_EQ(t_.RectOf(metMinimised), Band(0, 700));
}

TEST_P(FollowFocus, NeverForWindowsASwitchWouldNotMoveOrCouldNotReach) {
    const Hwnd kept = Open(u"kept", Band(1), u"KeepMe"), cloaked = Open(u"cloaked", Band(1));
    const Hwnd hidden = t_.OpenWindow(u"hidden", u"Probe", Band(1), 0);
    const Hwnd partly = Open(u"partly", {kWidth - 100, 50, kWidth + 200, 250}), beyond = Open(u"beyond", Band(3));
    const Hwnd left = Open(u"left", Band(-1)), dialogTime = Open(u"later", Band(1));
    W(cloaked).cloaked = true;
    t_.WriteIni(Ini(3, "[Options]\r\nFollowFocus=1\r\n"));
    t_.Start();
    for (Hwnd h : {kept, cloaked, hidden, partly, beyond, left}) {
        Focus(h);
        EXPECT_EQ(Active(), 1) << U8(W(h).title);
    }
    t_.world().modalScript = [&](Hwnd) {
        Focus(dialogTime);
        t_.world().ControlAt(t_.app().dialog().cmdCancel->hWnd()).UserClick();
    };
    t_.world().menuChoices.push_back(u"&Properties...");
    t_.Click(1, win::WM_RBUTTONUP);
    EXPECT_EQ(Active(), 1);
}

TEST_P(FollowFocus, TrevosOwnSwitchDoesNotSendItBack) {
    // The click restores the maximised window, which takes the foreground on
    // its way off the screen: the desktop clicked stays.
    const Hwnd maximised = Open(u"max", Band(0));
    t_.WriteIni(Ini(3, "[Options]\r\nFollowFocus=1\r\n"));
    t_.Start();
    t_.world().windows.Show(maximised, win::SW_SHOWMAXIMIZED);
    t_.Click(2);
    EXPECT_EQ(t_.world().foreground, maximised);
    EXPECT_EQ(Active(), 2);
    EXPECT_EQ(t_.RectOf(maximised), Band(-1));
}

INSTANTIATE_TEST_SUITE_P(Events, FollowFocus, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "WindowsEvents" : "WineEvents"; });

TEST_F(Everyday, MinimisedWindowsStayMinimisedOverManySwitchesAndRestoreOnTheirDesktop) {
    std::vector<std::pair<Hwnd, int>> minimised;  // with the desktop each lies on
    for (int desk = 1; desk <= 3; ++desk) {
        const Hwnd h = Open(u"m", Band(desk - 1, 100 * desk));
        t_.world().windows.Show(h, win::SW_SHOWMINIMIZED);
        minimised.emplace_back(h, desk);
    }
    t_.WriteIni(Ini(3, "[Options]\r\nKeepMinimised=1\r\n"));
    t_.Start();
    std::mt19937 random(24);
    for (int step = 0; step < 40; ++step) {
        const int to = 1 + static_cast<int>(random() % 3);
        t_.Click(to);
        for (const auto& [h, desk] : minimised) ASSERT_NE(W(h).style & win::WS_MINIMIZE, 0u) << step;
    }
    // Restored on another desktop, each goes to its own at the next switch.
    t_.Click(3);
    for (const auto& [h, desk] : minimised) t_.world().windows.Show(h, win::SW_RESTORE);
    t_.Click(2);
    for (const auto& [h, desk] : minimised) EXPECT_EQ(t_.RectOf(h), Band(desk - 2, 100 * desk)) << desk;
    t_.Click(1);
    for (const auto& [h, desk] : minimised) EXPECT_EQ(t_.RectOf(h), Band(desk - 1, 100 * desk)) << desk;
}

}  // namespace
