// The Settings dialog: offered by the sections of Trevo.ini, its OK checks as
// the start does, writes only what the user changed and puts it in force at
// once; Cancel, Esc and the close box write nothing.
#include <gtest/gtest.h>

#include "engine/sim/sim_notice_panel.h"
#include "sim_fixture.h"

namespace {
using engine::Dword;
using engine::Hwnd;
using engine::Long;
using testing_support::ReadFile;
using testing_support::SimTrevo;
using testing_support::U8;
namespace win = engine::win;

constexpr Dword kCtrlAlt = win::MOD_CONTROL | win::MOD_ALT;
constexpr Dword kHotCtrlAlt = win::HOTKEYF_CONTROL | win::HOTKEYF_ALT;
Dword F(int n) { return win::VK_F1 + static_cast<Dword>(n - 1); }
constexpr size_t kDesktop2 = 1, kDesktop3 = 2, kNext = 5;  // rows of the key table
constexpr size_t kFollowFocus = 0, kShowDesktop = 4, kStartWithWindows = 5;

const std::string kIni =
    "; my settings\r\n[Desktops]\r\nMax=3\r\n[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n"
    "[Keys]\r\n; keys of my own\r\nDesktop1=Ctrl+Alt+F1\r\nNext=ctrl + win + right\r\nMine=whatever\r\n"
    "[Names]\r\n1=Home\r\n[Options]\r\nFollowFocus=0\r\nShowDesktop=0\r\nUnknown=7\r\n";

class SettingsDialog : public ::testing::TestWithParam<Dword> {
protected:
    SettingsDialog() : t_(testing_support::OnWindows(GetParam())) {}
    void Start(const std::string& ini = kIni) {
        t_.WriteIni(ini);
        t_.Start();
    }
    // Opens the dialog from desktop 1's menu; `user` acts in it, then leaves it
    // (Cancel when it is still open).
    void WithDialog(const std::function<void()>& user) {
        t_.world().modalScript = [&](Hwnd) {
            user();
            if (Dialog().Open()) Press(Controls().cmdCancel);
        };
        t_.world().menuChoices.push_back(u"&Settings...");
        t_.Click(1, win::WM_RBUTTONUP);
        t_.world().modalScript = nullptr;
        ASSERT_FALSE(Dialog().Open());
    }
    trevo::SettingsDialog& Dialog() { return *t_.app().settings(); }
    const trevo::SettingsControls& Controls() { return Dialog().controls(); }
    sim::SimControlPeer& At(engine::Control* control) { return t_.world().ControlAt(control->hWnd()); }
    void Press(engine::Control* button) { At(button).UserClick(); }
    void Keys(size_t row, Dword modifiers, Dword key) { At(Controls().hkyKey[row]).UserPressKeys(modifiers, key); }
    std::string Tip(Long n) { return U8(t_.Icon(n)->tip); }
    std::string File() { return ReadFile(t_.IniFile()); }
    bool PanelShown() {
        for (Hwnd h : t_.world().windows.TopLevel()) {
            const sim::Window& w = t_.world().windows.Get(h);
            if (w.className == sim::kNoticeClass && (w.style & win::WS_VISIBLE)) return true;
        }
        return false;
    }
    SimTrevo t_;
};

TEST(SettingsMenu, IsOfferedWhereTrevoIniHasKeysOptionsOrNames) {
    const std::vector<std::u16string> plain{u"&Properties...", u"-", u"E&xit"};
    const std::vector<std::u16string> offered{u"&Properties...", u"&Settings...", u"-", u"E&xit"};
    for (const auto& [extra, offers] : std::vector<std::pair<std::string, bool>>{{"", false},
                                                                                 {"[Keys]\r\n", true},
                                                                                 {"[names]\r\n2=Mail\r\n", true},
                                                                                 {"[OPTIONS]\r\n", true},
                                                                                 {"[Other]\r\nKeys=1\r\n", false}}) {
        SCOPED_TRACE(extra);
        SimTrevo t;
        t.WriteIni(testing_support::kGoodIni + extra);
        t.Start();
        t.Click(2, win::WM_RBUTTONUP);
        EXPECT_EQ(t.world().menusShown.back(), offers ? offered : plain);
    }
}

TEST_P(SettingsDialog, OkWritesOnlyTheChangesAndPutsThemInForceAtOnce) {
    Start();
    EXPECT_FALSE(t_.world().PressHotKey(kCtrlAlt, F(2)));
    WithDialog([&] {
        // The keys in use are Trevo's no longer while the user presses them here.
        EXPECT_FALSE(t_.world().PressHotKey(kCtrlAlt, F(1)));
        EXPECT_EQ(Controls().hkyKey[0]->Value(), static_cast<Long>((kHotCtrlAlt << 8) | F(1)));
        // Next holds Win, which the control cannot show: the rest is shown, Win beside it.
        EXPECT_EQ(Controls().hkyKey[kNext]->Value(), static_cast<Long>((win::HOTKEYF_CONTROL << 8) | win::VK_RIGHT));
        EXPECT_TRUE(Controls().lblWinKept[kNext]->Visible());
        EXPECT_FALSE(Controls().lblWinKept[0]->Visible());
        At(Controls().txtName[1]).UserType(u"Mail");
        Keys(kDesktop2, kHotCtrlAlt, F(2));
        At(Controls().chkOption[kFollowFocus]).UserClick();
        At(Controls().chkOption[kShowDesktop]).UserClick();
        Press(Controls().cmdOk);
    });
    EXPECT_TRUE(t_.world().msgBoxes.empty());
    // Comments, other sections, unknown keys and the keys left alone stay as they were written.
    EXPECT_EQ(File(),
              "; my settings\r\n[Desktops]\r\nMax=3\r\n[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n"
              "[Keys]\r\n; keys of my own\r\nDesktop1=Ctrl+Alt+F1\r\nNext=ctrl + win + right\r\nMine=whatever\r\n"
              "Desktop2=Ctrl+Alt+F2\r\n[Names]\r\n1=Home\r\n2=Mail\r\n[Options]\r\nFollowFocus=1\r\nShowDesktop=1\r\n"
              "Unknown=7\r\n");
    // The name in the tip, the key switching, the watch and the panel: at once.
    EXPECT_NE(Tip(2).find("#2 Mail"), std::string::npos) << Tip(2);
    EXPECT_TRUE(t_.world().PressHotKey(kCtrlAlt, F(2)));
    EXPECT_EQ(t_.bas().gOldDesk, 2);
    EXPECT_TRUE(PanelShown());
    EXPECT_FALSE(t_.world().winEventHooks.empty());
    EXPECT_TRUE(t_.world().PressHotKey(win::MOD_CONTROL | win::MOD_WIN, win::VK_RIGHT)) << "the Win key kept";
    EXPECT_EQ(t_.bas().gOldDesk, 3);
    // Registered anew as at a start: a held key repeats nothing on Windows 7 and later.
    for (const auto& [combination, holder] : t_.world().hotKeys) EXPECT_TRUE(holder.noRepeat);

    // Options off again, a key cleared: the watch and the panel go, the key is free.
    WithDialog([&] {
        At(Controls().chkOption[kFollowFocus]).UserClick();
        At(Controls().chkOption[kShowDesktop]).UserClick();
        Press(Controls().cmdClear[kDesktop2]);
        Press(Controls().cmdOk);
    });
    EXPECT_TRUE(t_.world().winEventHooks.empty());
    EXPECT_FALSE(t_.world().PressHotKey(kCtrlAlt, F(2)));
    EXPECT_NE(File().find("Desktop2=\r\n"), std::string::npos);

    // Start with Windows offered: in the menu at once, not yet chosen; chosen
    // there, it cannot be withdrawn in the dialog.
    WithDialog([&] {
        At(Controls().chkOption[kStartWithWindows]).UserClick();
        Press(Controls().cmdOk);
    });
    EXPECT_NE(File().find("StartWithWindows=0"), std::string::npos);
    t_.world().menuChoices.push_back(u"Start with &Windows");
    t_.Click(1, win::WM_RBUTTONUP);
    EXPECT_EQ(t_.world().menusShown.back(), (std::vector<std::u16string>{u"&Properties...", u"&Settings...",
                                                                         u"Start with &Windows", u"-", u"E&xit"}));
    EXPECT_NE(File().find("StartWithWindows=1"), std::string::npos);
    WithDialog([&] { EXPECT_FALSE(Controls().chkOption[kStartWithWindows]->Enabled()); });
}

TEST_P(SettingsDialog, ABadValueIsRefusedNamingItAndNothingIsWritten) {
    t_.world().TakeHotKeyElsewhere(kCtrlAlt, F(3));
    Start();
    const std::string before = File();
    struct Case {
        const char* name;
        std::function<void()> edit;
        const char* named;
    };
    const std::vector<Case> cases{
        {"the same combination twice", [&] { Keys(kDesktop2, kHotCtrlAlt, F(1)); }, "[Keys] Desktop2"},
        {"a key the file has no name for", [&] { Keys(kDesktop2, kHotCtrlAlt, 0xBB); }, "[Keys] Desktop2"},
        {"a key without Ctrl, Alt or Win", [&] { Keys(kDesktop3, win::HOTKEYF_SHIFT, 'Q'); }, "[Keys] Desktop3"},
        {"a name with a tab", [&] { At(Controls().txtName[2]).UserType(u"a\tb"); }, "[Names] 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        t_.world().msgBoxes.clear();
        bool stayed = false;
        WithDialog([&] {
            c.edit();
            Press(Controls().cmdOk);
            stayed = Dialog().Open();  // the user's values wait to be corrected
        });
        EXPECT_TRUE(stayed);
        ASSERT_EQ(t_.world().msgBoxes.size(), 1u);
        EXPECT_NE(U8(t_.world().msgBoxes[0].text).find(c.named), std::string::npos) << U8(t_.world().msgBoxes[0].text);
        EXPECT_EQ(File(), before);
        EXPECT_TRUE(t_.world().PressHotKey(kCtrlAlt, F(1))) << "the keys in force are Trevo's again";
    }
    // A file that refuses the write: said, nothing changed, the values wait.
    namespace fs = std::filesystem;
    fs::permissions(t_.IniFile(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    t_.world().msgBoxes.clear();
    bool waited = false;
    WithDialog([&] {
        At(Controls().txtName[2]).UserType(u"Kept");
        Press(Controls().cmdOk);
        waited = Dialog().Open() && Controls().txtName[2]->Text() == u"Kept";
    });
    fs::permissions(t_.IniFile(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(waited);
    ASSERT_EQ(t_.world().msgBoxes.size(), 1u);
    EXPECT_NE(U8(t_.world().msgBoxes[0].text).find("could not save"), std::string::npos);
    EXPECT_EQ(File(), before);
    EXPECT_EQ(Tip(3).find("Kept"), std::string::npos);

    // A combination another program holds is no fault of the file: it is
    // written, and told as at a start.
    t_.world().msgBoxes.clear();
    WithDialog([&] {
        Keys(kDesktop3, kHotCtrlAlt, F(3));
        Press(Controls().cmdOk);
    });
    EXPECT_NE(File().find("Desktop3=Ctrl+Alt+F3"), std::string::npos);
    ASSERT_EQ(t_.world().msgBoxes.size(), 1u);
    EXPECT_NE(U8(t_.world().msgBoxes[0].text).find("Desktop3=Ctrl+Alt+F3"), std::string::npos);
}

TEST_P(SettingsDialog, CancelEscAndTheCloseBoxWriteNothingAndEnterIsOk) {
    Start();
    const std::string before = File();
    const std::vector<std::pair<const char*, std::function<void()>>> leaves{
        {"Cancel", [&] { Press(Controls().cmdCancel); }},
        {"Esc", [&] { t_.world().FormAt(Dialog().form().hWnd()).UserPressEscape(); }},
        {"Esc in a key's control", [&] { Keys(kDesktop3, 0, win::VK_ESCAPE); }},
        {"the close box", [&] { t_.world().FormAt(Dialog().form().hWnd()).DeliverCloseRequest(); }},
    };
    for (const auto& [how, leave] : leaves) {
        SCOPED_TRACE(how);
        bool left = false;
        WithDialog([&] {
            At(Controls().txtName[1]).UserType(u"Mail");
            Keys(kDesktop2, kHotCtrlAlt, F(2));
            At(Controls().chkOption[kShowDesktop]).UserClick();
            leave();
            left = !Dialog().Open();
        });
        EXPECT_TRUE(left);
        EXPECT_EQ(File(), before);
        EXPECT_EQ(Tip(2).find("Mail"), std::string::npos);
        EXPECT_FALSE(t_.world().PressHotKey(kCtrlAlt, F(2)));
        EXPECT_TRUE(t_.world().PressHotKey(kCtrlAlt, F(1))) << "the keys in force are Trevo's again";
    }
    EXPECT_TRUE(t_.world().msgBoxes.empty());
    WithDialog([&] {
        At(Controls().txtName[1]).UserType(u"Mail");
        Keys(kDesktop2, kHotCtrlAlt, win::VK_RETURN);  // Enter never reaches the control: it is OK
    });
    EXPECT_NE(File().find("2=Mail"), std::string::npos);
    EXPECT_NE(Tip(2).find("Mail"), std::string::npos);

    // Exit chosen from an icon while the dialog waits: the dialog goes with Trevo, unsaved.
    const std::string saved = File();
    WithDialog([&] {
        At(Controls().txtName[2]).UserType(u"Lost");
        t_.world().menuChoices.push_back(u"E&xit");
        t_.Click(2, win::WM_RBUTTONUP);
    });
    EXPECT_TRUE(t_.world().ended);
    EXPECT_EQ(File(), saved);
}

INSTANTIATE_TEST_SUITE_P(Versions, SettingsDialog, ::testing::Values(6u, 10u),
                         [](const auto& info) { return info.param == 10 ? "Windows10" : "Windows7"; });

}  // namespace
