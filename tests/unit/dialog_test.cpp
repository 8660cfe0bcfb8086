// The Properties dialog: where it opens, how its controls answer, OK and Cancel.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/sim/sim_picture.h"
#include "sim_fixture.h"

namespace {
using testing_support::ReadFile;
using testing_support::SimTrevo;
namespace win = engine::win;

const std::string kIni =
    "; hand-written notes "
    "stay\r\n[Desktops]\r\nMax=3\r\n[Wallpaper]\r\n1=C:\\a.bmp\r\n2=\r\n3=C:\\c.bmp\r\n4=\r\n5=\r\n"
    "[Size]\r\nKeepSize=0\r\nWidth=100\r\nHeight=300\r\n[NoChange-XP]\r\n01=class(Shell_TrayWnd)\r\n"
    "[Keys]\r\nPin=Ctrl+Alt+Insert\r\n[Options]\r\nFollowFocus=1\r\n";

class Dialog : public ::testing::Test {
protected:
    explicit Dialog(sim::Options o = {}) : t_(o) {
        t_.WriteIni(kIni);
        t_.Start();
    }
    // Opens the dialog from an icon's menu and plays the user inside it.
    void WithDialog(const std::function<void()>& user) {
        t_.world().modalScript = [user](engine::Hwnd) { user(); };
        t_.world().menuChoices.push_back(u"&Properties...");
        t_.Click(1, win::WM_RBUTTONUP);
        t_.world().modalScript = nullptr;
    }
    const trevo::TrevoDialog& d() { return t_.app().dialog(); }
    sim::SimControlPeer& Hand(engine::Control& c) { return t_.world().ControlAt(c.hWnd()); }
    engine::Rect DialogRect() { return t_.world().windows.Get(t_.app().form().hWnd()).rect; }
    SimTrevo t_;
};

TEST_F(Dialog, OpensAtTheBottomRightOfTheWorkArea) {
    engine::Rect seen;
    bool visible = false;
    WithDialog([&] {
        seen = DialogRect();
        visible = t_.app().form().Visible();
        Hand(*d().cmdCancel).UserClick();
    });
    EXPECT_TRUE(visible);
    EXPECT_EQ(seen.right, 1024);
    EXPECT_EQ(seen.bottom, 738);  // just above the 30-pixel task bar
    EXPECT_FALSE(t_.app().form().Visible());
}

struct Placement {
    engine::Rect work;
    bool right;   // the dialog's right edge at the work area's right
    bool bottom;  // its bottom at the work area's bottom
};

class DialogPlacement : public Dialog, public ::testing::WithParamInterface<Placement> {};

TEST_P(DialogPlacement, StandsBesideTheTaskBar) {
    const Placement& p = GetParam();
    t_.world().workArea = p.work;
    engine::Rect seen;
    WithDialog([&] {
        seen = DialogRect();
        t_.app().form().Hide();
    });
    if (p.right)
        EXPECT_EQ(seen.right, p.work.right);
    else
        EXPECT_EQ(seen.left, p.work.left);
    if (p.bottom)
        EXPECT_EQ(seen.bottom, p.work.bottom);
    else
        EXPECT_EQ(seen.top, p.work.top);
}

INSTANTIATE_TEST_SUITE_P(Edges, DialogPlacement,
                         ::testing::Values(Placement{{0, 0, 1024, 738}, true, true},    // bottom
                                           Placement{{0, 0, 960, 768}, true, true},     // right
                                           Placement{{0, 30, 1024, 768}, true, false},  // top
                                           Placement{{64, 0, 1024, 768}, false, true},  // left
                                           Placement{{0, 0, 1024, 768}, true, true}));  // auto-hidden

TEST(DialogCentre, WithoutANotificationAreaTheDialogIsCentred) {
    sim::Options o;
    o.taskbar = false;
    SimTrevo t(o);
    t.WriteIni(kIni);
    t.Start();
    // No task bar, no icons' menu to open it from: ask the controller directly.
    engine::Rect seen;
    t.world().modalScript = [&](engine::Hwnd h) {
        seen = t.world().windows.Get(h).rect;
        t.app().form().Hide();
    };
    t.world().Deliver([&] { t.app().PropertiesClick(); });
    const double w = t.app().form().Width(), h = t.app().form().Height();
    const auto left = static_cast<long long>(std::nearbyint(1024 * 15 - w)) / 2;
    const auto top = static_cast<long long>(std::nearbyint(768 * 15 - h)) / 2;
    EXPECT_EQ(seen.left, std::lround(left / 15.0));
    EXPECT_EQ(seen.top, std::lround(top / 15.0));
}

TEST_F(Dialog, ASecondRequestWhileOpenShowsNothingTwice) {
    int nested = -1;
    WithDialog([&] {
        const int runs = t_.world().FormAt(t_.app().form().hWnd()).modalRuns;
        t_.world().menuChoices.push_back(u"&Properties...");
        t_.Click(2, win::WM_RBUTTONUP);
        nested = t_.world().FormAt(t_.app().form().hWnd()).modalRuns - runs;
        t_.app().form().Hide();
    });
    EXPECT_EQ(nested, 0);
    EXPECT_TRUE(t_.world().msgBoxes.empty());
}

// A start makes no control window but the two whose handles it asks for; the
// others are made when the dialog opens, each showing what was set meanwhile.
TEST_F(Dialog, ItsWindowsAreMadeAtTheFirstShowAndShowWhatStartUpSet) {
    EXPECT_EQ(t_.world().controls.size(), 2u);
    sim::World& world = t_.world();
    auto window = [&](engine::Control& c) { return world.windows.Get(c.hWnd()); };
    WithDialog([&] {
        EXPECT_EQ(world.ControlAt(d().HScr->hWnd()).Value(), 3);
        EXPECT_EQ(window(*d().txtDesktops).title, u"3");
        EXPECT_EQ(window(*d().txtWallpaper[2]).title, u"C:\\c.bmp");
        EXPECT_TRUE(window(*d().txtWidth).style & win::WS_DISABLED);  // the size box is not ticked
        EXPECT_FALSE(window(*d().optNumber[2]).style & win::WS_DISABLED);
        EXPECT_TRUE(window(*d().optNumber[3]).style & win::WS_DISABLED);
        EXPECT_EQ(world.ControlAt(d().optNumber[0]->hWnd()).Value(), 1);
        EXPECT_TRUE(window(*d().Container[0]).style & win::WS_VISIBLE);
        EXPECT_FALSE(window(*d().Container[1]).style & win::WS_VISIBLE);
        Hand(*d().cmdCancel).UserClick();
    });
}

TEST_F(Dialog, TheCountEnablesItsButtonsAndReturnsToDesktopOne) {
    WithDialog([&] {
        d().optNumber[2]->SetValue(true);
        EXPECT_TRUE(d().Container[2]->Visible());
        Hand(*d().HScr).UserScroll(2);
        EXPECT_EQ(d().txtDesktops->Text(), u"2");
        EXPECT_TRUE(d().optNumber[1]->Enabled());
        EXPECT_FALSE(d().optNumber[2]->Enabled());
        EXPECT_TRUE(d().optNumber[0]->Value());
        EXPECT_TRUE(d().Container[0]->Visible());
        EXPECT_FALSE(d().Container[2]->Visible());
        EXPECT_EQ(d().txtWallpaper[2]->Text(), u"C:\\c.bmp");  // kept, only out of reach
        Hand(*d().HScr).UserScroll(4);
        EXPECT_TRUE(d().optNumber[3]->Enabled());
        EXPECT_FALSE(d().optNumber[4]->Enabled());
        Hand(*d().cmdCancel).UserClick();
    });
}

TEST_F(Dialog, ThePictureChooserIsAskedAsTheDialogHasAlwaysAsked) {
    sim::SimPicture pic(engine::PictureKind::Bitmap, 20, 10);
    std::fill(pic.Pixels().begin(), pic.Pixels().end(), 0xFF00FF00);
    std::filesystem::create_directories(t_.Host(u"C:\\My Pictures"));
    sim::SaveBitmapFile(pic, t_.Host(u"C:\\My Pictures\\green.bmp"));
    t_.world().fileChoices.push_back(u"C:\\My Pictures\\green.bmp");
    WithDialog([&] {
        Hand(*d().cmdView[1]).UserClick();
        Hand(*d().cmdCancel).UserClick();
    });
    ASSERT_EQ(t_.calls().fileChooserCalls.size(), 1u);
    const auto& call = t_.calls().fileChooserCalls[0];
    EXPECT_EQ(call.structSize, 76u);
    EXPECT_EQ(call.filter, std::string("(bmp)\0*.bmp\0(all)\0*.*\0\0", 23));
    EXPECT_EQ(call.filterIndex, 0u);
    EXPECT_EQ(call.maxFile, 32767u);
    EXPECT_EQ(call.flags, 2621444u);
    EXPECT_TRUE(call.otherMembersZero);
    EXPECT_EQ(d().txtWallpaper[1]->Text(), u"C:\\My Pictures\\green.bmp");
    const auto& canvas = t_.world().ControlAt(d().Preview[1]->hWnd()).Canvas();
    EXPECT_EQ(canvas.At(0, 0) & 0xFFFFFF, 0x00FF00u);  // stretched over the whole preview
    EXPECT_EQ(canvas.At(canvas.PixelWidth() - 1, canvas.PixelHeight() - 1) & 0xFFFFFF, 0x00FF00u);
    EXPECT_TRUE(t_.app().form().Enabled());
}

TEST_F(Dialog, TheDialogTakesNoInputWhileTheChooserIsOpen) {
    t_.world().fileChoices.push_back(std::nullopt);  // the user cancels
    bool enabledAfter = false;
    WithDialog([&] {
        Hand(*d().cmdView[0]).UserClick();
        enabledAfter = t_.app().form().Enabled();
        Hand(*d().cmdCancel).UserClick();
    });
    ASSERT_EQ(t_.calls().fileChooserCalls.size(), 1u);
    EXPECT_TRUE(t_.calls().fileChooserCalls[0].visibleFormDisabled);
    EXPECT_TRUE(enabledAfter);
    EXPECT_EQ(d().txtWallpaper[0]->Text(), u"C:\\a.bmp");  // cancelling changes nothing
}

TEST_F(Dialog, AChosenFileThatIsNoPictureKeepsItsPathAndABlankPreview) {
    testing_support::WriteFile(t_.Host(u"C:\\notes.txt"), "hello");
    t_.world().fileChoices.push_back(u"C:\\notes.txt");
    WithDialog([&] {
        Hand(*d().cmdView[0]).UserClick();
        Hand(*d().cmdCancel).UserClick();
    });
    EXPECT_EQ(d().txtWallpaper[0]->Text(), u"C:\\notes.txt");
    const auto& canvas = t_.world().ControlAt(d().Preview[0]->hWnd()).Canvas();
    EXPECT_EQ(canvas.At(3, 3), 0xFFFFFFFFu);
    EXPECT_TRUE(t_.world().msgBoxes.empty());
}

TEST_F(Dialog, ClearingAPathClearsItsPreview) {
    sim::SimPicture pic(engine::PictureKind::Bitmap, 4, 4);
    std::fill(pic.Pixels().begin(), pic.Pixels().end(), 0xFF123456);
    sim::SaveBitmapFile(pic, t_.Host(u"C:\\p.bmp"));
    t_.world().fileChoices.push_back(u"C:\\p.bmp");
    auto preview = [&] { return t_.world().ControlAt(d().Preview[2]->hWnd()).Canvas().At(1, 1); };
    WithDialog([&] {
        Hand(*d().cmdView[2]).UserClick();
        EXPECT_EQ(preview(), 0xFF123456u) << "the chosen picture was never painted";
        Hand(*d().txtWallpaper[2]).UserType(u"");
        Hand(*d().txtWallpaper[2]).UserType(u"C:\\p.bmp");  // typing does not redraw
        Hand(*d().cmdCancel).UserClick();
    });
    EXPECT_EQ(preview(), 0xFFFFFFFFu);
}

// The boxes take what Windows lets them take: nothing while disabled, digits only
// in a digits-only box; a greyed check box clicked goes to unchecked.
// Controls stand where their design puts them in the dialog's client area,
// wherever the dialog was placed.
TEST_F(Dialog, ControlsAreCountedFromTheClientArea) {
    WithDialog([&] {
        engine::Point origin{0, 0};
        t_.engine().platform().ClientToScreen(t_.app().form().hWnd(), &origin);
        const double tpp = t_.world().screen.twipsPerPixelX;
        for (engine::Control* c :
             {static_cast<engine::Control*>(d().cmdOk), static_cast<engine::Control*>(d().txtWidth)}) {
            const engine::Rect r = t_.world().windows.Get(c->hWnd()).rect;
            EXPECT_EQ(r.left, origin.x + static_cast<engine::Long>(std::lround(c->Design().left / tpp)));
            EXPECT_EQ(r.top, origin.y + static_cast<engine::Long>(std::lround(c->Design().top / tpp)));
        }
        Hand(*d().cmdCancel).UserClick();
    });
}

TEST_F(Dialog, TheControlsRefuseWhatWindowsRefuses) {
    WithDialog([&] {
        const engine::String before = d().txtWidth->Text();
        Hand(*d().txtWidth).UserType(u"640");
        EXPECT_EQ(d().txtWidth->Text(), before) << "a disabled box took keys";
        Hand(*d().chkSize).UserClick();
        Hand(*d().txtWidth).UserType(u"6a4-0");
        EXPECT_EQ(d().txtWidth->Text(), u"640");
        d().chkSize->SetValue(2);
        Hand(*d().chkSize).UserClick();
        EXPECT_EQ(d().chkSize->Value(), 0);
        Hand(*d().cmdCancel).UserClick();
    });
}

TEST_F(Dialog, TheSizeBoxesFollowTheCheckBoxAndKeepTheirMinimums) {
    WithDialog([&] {
        EXPECT_FALSE(d().txtWidth->Enabled());
        Hand(*d().chkSize).UserClick();
        EXPECT_TRUE(d().txtWidth->Enabled());
        EXPECT_TRUE(d().txtHeight->Enabled());
        for (auto [typed, kept] : {std::pair{u"250", u"400"},
                                   {u"1024", u"1024"},
                                   {u"", u"400"},
                                   {u"99999999999", u"400"},
                                   {u"0500", u"0500"}}) {
            Hand(*d().txtWidth).UserType(typed);
            Hand(*d().txtHeight).UserType(d().txtHeight->Text());  // a click into the other box
            EXPECT_EQ(d().txtWidth->Text(), kept) << testing_support::U8(typed);
        }
        Hand(*d().txtHeight).UserType(u"0");
        Hand(*d().txtHeight).UserLeave();
        EXPECT_EQ(d().txtHeight->Text(), u"300");
        Hand(*d().chkSize).UserClick();
        EXPECT_FALSE(d().txtWidth->Enabled());
        EXPECT_EQ(d().txtWidth->Text(), u"0500");  // the text stays
        Hand(*d().cmdCancel).UserClick();
    });
}

TEST_F(Dialog, OkWritesTheNineSettingsAndSaysWhenTheyApply) {
    const std::string before = ReadFile(t_.IniFile());
    WithDialog([&] {
        Hand(*d().HScr).UserScroll(2);
        Hand(*d().txtWallpaper[1]).UserType(u"C:\\b.bmp");
        Hand(*d().cmdOk).UserClick();
    });
    ASSERT_EQ(t_.world().msgBoxes.size(), 1u);
    EXPECT_EQ(t_.world().msgBoxes[0].text, u"プロパティの変更は次回起動時に反映されます。");
    EXPECT_EQ(t_.world().msgBoxes[0].style, 48);
    EXPECT_EQ(t_.world().msgBoxes[0].title, u"Trevo");
    EXPECT_FALSE(t_.app().form().Visible());

    lib::ClsKwini ini(t_.engine().platform());
    auto get = [&](const char16_t* s, const char16_t* k) {
        return ini.vbGetPrivateProfileString(s, k, u"C:\\Trevo\\Trevo.ini");
    };
    EXPECT_EQ(get(u"Desktops", u"Max"), u"2");
    EXPECT_EQ(get(u"Wallpaper", u"1"), u"C:\\a.bmp");
    EXPECT_EQ(get(u"Wallpaper", u"2"), u"C:\\b.bmp");
    EXPECT_EQ(get(u"Wallpaper", u"3"), u"");  // beyond the count: written empty
    EXPECT_EQ(get(u"Size", u"KeepSize"), u"0");
    EXPECT_EQ(get(u"Size", u"Width"), u"400");  // the box is clear: the defaults
    EXPECT_EQ(get(u"Size", u"Height"), u"300");
    const std::string after = ReadFile(t_.IniFile());
    EXPECT_NE(after.find("; hand-written notes stay"), std::string::npos);
    EXPECT_NE(after.find("01=class(Shell_TrayWnd)"), std::string::npos);
    EXPECT_NE(after.find("[Keys]\r\nPin=Ctrl+Alt+Insert\r\n[Options]\r\nFollowFocus=1\r\n"), std::string::npos);
    EXPECT_NE(after.find("3=\r\n"), std::string::npos);  // the key stays, empty
    // The running desktops are as they were.
    EXPECT_EQ(t_.world().trayIcons.size(), 3u);
    EXPECT_NE(after, before);
}

TEST_F(Dialog, OkWithTheSizeBoxTickedWritesTheBoxesAsTheyStand) {
    WithDialog([&] {
        Hand(*d().chkSize).UserClick();
        Hand(*d().cmdOk).UserClick();  // the width box was never focused: 100 stays
    });
    lib::ClsKwini ini(t_.engine().platform());
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"Size", u"KeepSize", u"C:\\Trevo\\Trevo.ini"), u"-1");
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"Size", u"Width", u"C:\\Trevo\\Trevo.ini"), u"100");
}

// Clicking OK takes the focus from the size box first: its minimum holds before
// the settings are written.
TEST_F(Dialog, TheSizeBoxLosesTheFocusBeforeOkRuns) {
    WithDialog([&] {
        Hand(*d().chkSize).UserClick();
        Hand(*d().txtWidth).UserType(u"250");
        Hand(*d().cmdOk).UserClick();
    });
    lib::ClsKwini ini(t_.engine().platform());
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"Size", u"Width", u"C:\\Trevo\\Trevo.ini"), u"400");
}

TEST_F(Dialog, CancelWritesNothingAndTheEditsAreThereNextTime) {
    const std::string before = ReadFile(t_.IniFile());
    WithDialog([&] {
        Hand(*d().HScr).UserScroll(5);
        Hand(*d().cmdCancel).UserClick();
    });
    EXPECT_EQ(ReadFile(t_.IniFile()), before);
    std::u16string shown;
    bool fifthEnabled = false;
    WithDialog([&] {
        shown = d().txtDesktops->Text();
        fifthEnabled = d().optNumber[4]->Enabled();
        Hand(*d().cmdCancel).UserClick();
    });
    EXPECT_EQ(shown, u"5");
    EXPECT_TRUE(fifthEnabled);
}

TEST_F(Dialog, TheCloseBoxHidesTheDialogAndKeepsTheProgram) {
    WithDialog([&] { t_.world().FormAt(t_.app().form().hWnd()).DeliverCloseRequest(); });
    EXPECT_FALSE(t_.app().form().Visible());
    EXPECT_TRUE(t_.app().form().IsLoaded());
    EXPECT_FALSE(t_.world().ended);
    t_.Click(2);
    EXPECT_EQ(t_.bas().gOldDesk, 2);
}

TEST_F(Dialog, ClicksDuringTheMessageAfterOkAreIgnored) {
    t_.world().msgBoxScript = [&](const sim::ShownMessageBox&) { t_.Click(2); };
    WithDialog([&] { Hand(*d().cmdOk).UserClick(); });
    EXPECT_EQ(t_.world().msgBoxes.size(), 1u);
    EXPECT_EQ(t_.bas().gOldDesk, 1);
    EXPECT_EQ(t_.IconResource(2), 21);
}

}  // namespace
