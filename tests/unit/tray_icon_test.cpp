// The notification-area icon class on its own: the record the shell gets, the
// decoding of the shell's callback, and the menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "lib/ClsKwTray.h"
#include "sim_fixture.h"

namespace {
using engine::NotifyIconDataA;
namespace win = engine::win;

class TrayIcon : public ::testing::Test {
protected:
    TrayIcon() : world_(Options(dir_, 1252)), engine_(world_), form_(engine_, Design()) {
        sim::AttachCallLog(engine_, calls_);
        menu_ = &form_.AddMenu(u"&Popup");
        menu_->AddEntry(u"&Properties...").Click = [this] { ++chosen_; };
        menu_->AddEntry(u"-");
        tray_ = std::make_unique<lib::ClsKwTray>(engine_);
        tray_->LClick = [this] { events_ += "L"; };
        tray_->MClick = [this] { events_ += "M"; };
        tray_->RClick = [this] { events_ += "R(" + std::to_string(world_.menusShown.size()) + ")"; };
    }
    static sim::Options Options(const testing_support::TempDir& dir, unsigned cp) {
        sim::Options o;
        o.root = dir.path();
        o.codePage = cp;
        return o;
    }
    static engine::FormDesign Design() {
        engine::FormDesign d;
        d.caption = u"TrevoTray";
        d.iconResource = 1;
        return d;
    }
    void Attach() {
        tray_->SetTrayForm(&form_);
        tray_->SetTrayPopup(menu_);
    }
    // The shell's callback at an x in twips, as the form sees it.
    void Mouse(double twipsX) {
        engine::MouseArgs a;
        a.x = static_cast<float>(twipsX);
        world_.Deliver([&] { world_.FormAt(form_.hWnd()).DeliverMouseMove(a); });
    }
    const sim::NotifyRecord* Shown() {
        auto it = world_.trayIcons.find({form_.hWnd(), 0});
        return it == world_.trayIcons.end() ? nullptr : &it->second;
    }

    testing_support::TempDir dir_;
    sim::World world_;
    sim::CallLog calls_;
    sim::SimEngine engine_;
    engine::Form form_;
    engine::Menu* menu_ = nullptr;
    std::unique_ptr<lib::ClsKwTray> tray_;
    std::string events_;
    int chosen_ = 0;
};

TEST_F(TrayIcon, RecordLayoutForAddAndModify) {
    Attach();
    tray_->SetTrayTip(u"x");
    const NotifyIconDataA r = tray_->BuildRecord();
    const auto* bytes = reinterpret_cast<const unsigned char*>(&r);
    std::uint32_t field[6];
    std::memcpy(field, bytes, sizeof(field));
    EXPECT_EQ(field[0], 88u);
    EXPECT_EQ(field[1], form_.hWnd());
    EXPECT_EQ(field[2], 0u);
    EXPECT_EQ(field[3], 7u);
    EXPECT_EQ(field[4], 0x200u);
    EXPECT_EQ(field[5], form_.Icon()->Handle());  // no picture of its own yet
    EXPECT_EQ(bytes[24], 'x');
    for (int i = 25; i < 88; ++i) EXPECT_EQ(bytes[i], 0) << i;

    tray_->SetTrayTip(u"");
    const NotifyIconDataA empty = tray_->BuildRecord();
    EXPECT_EQ(empty.uFlags, 3u);
    for (char c : empty.szTip) EXPECT_EQ(c, 0);

    auto icon = engine_.LoadResPicture(12, engine::kResIcon);
    tray_->SetTrayIcon(icon);
    EXPECT_EQ(tray_->BuildRecord().hIcon, icon->Handle());
}

TEST_F(TrayIcon, AddModifyDeleteReachTheShell) {
    Attach();
    tray_->SetTrayTip(u"first");
    tray_->AddNotifyIcon();
    ASSERT_NE(Shown(), nullptr);
    EXPECT_EQ(Shown()->tip, u"first");
    EXPECT_EQ(Shown()->callbackMessage, 0x200u);
    tray_->SetTrayTip(u"second");
    EXPECT_EQ(Shown()->tip, u"first");  // used only at the next add or modify
    tray_->ModifyNotifyIcon();
    EXPECT_EQ(Shown()->tip, u"second");
    tray_->DeleteNotifyIcon();
    EXPECT_EQ(Shown(), nullptr);
    ASSERT_EQ(calls_.trayCalls.size(), 3u);
    EXPECT_EQ(calls_.trayCalls[2].first, win::NIM_DELETE);
}

TEST_F(TrayIcon, TipLimitIs63NarrowBytes) {
    Attach();
    tray_->SetTrayTip(std::u16string(63, u'a'));
    tray_->AddNotifyIcon();
    ASSERT_NE(Shown(), nullptr);
    EXPECT_EQ(Shown()->tip.size(), 63u);

    tray_->SetTrayTip(std::u16string(64, u'b'));
    try {
        tray_->ModifyNotifyIcon();
        FAIL() << "a 64-byte tip was accepted";
    } catch (const engine::RuntimeError& e) {
        EXPECT_EQ(e.Number(), engine::err::kSubscript);
    }
    EXPECT_EQ(Shown()->tip.size(), 63u);  // the shell kept the old tip
    EXPECT_EQ(calls_.trayCalls.size(), 1u);
    EXPECT_EQ(tray_->TrayTip().size(), 64u);  // the text stays stored
}

TEST(TrayIconCodePage, DoubleByteTipsCountBytes) {
    testing_support::TempDir dir;
    sim::Options o;
    o.root = dir.path();
    o.codePage = 932;
    sim::World world(o);
    sim::SimEngine engine(world);
    engine::FormDesign d;
    engine::Form form(engine, d);
    lib::ClsKwTray tray(engine);
    tray.SetTrayForm(&form);
    tray.SetTrayTip(std::u16string(31, u'仮'));  // 62 bytes and the NUL
    EXPECT_NO_THROW(tray.AddNotifyIcon());
    EXPECT_EQ(world.trayIcons.at({form.hWnd(), 0}).tip, std::u16string(31, u'仮'));
    tray.SetTrayTip(std::u16string(32, u'仮'));
    EXPECT_THROW(tray.ModifyNotifyIcon(), engine::RuntimeError);
}

TEST_F(TrayIcon, TheBalloonRecordAndWhatTheShellReadsOfIt) {
    Attach();
    EXPECT_FALSE(tray_->ShowBalloon(u"Title", u"Text"));  // no icon yet to show it from
    tray_->SetTrayTip(u"tip");
    tray_->AddNotifyIcon();

    const engine::NotifyIconDataV2W r = tray_->BuildBalloonRecord(u"Title", u"Text");
    EXPECT_EQ(r.uFlags, win::NIF_INFO);  // the icon, tip and callback stay as they are
    EXPECT_TRUE(tray_->ShowBalloon(u"Title", u"Text"));
    EXPECT_EQ(Shown()->balloonTitle, u"Title");
    EXPECT_EQ(Shown()->balloonText, u"Text");
    EXPECT_EQ(Shown()->balloonFlags, win::NIIF_INFO);
    EXPECT_EQ(Shown()->balloonsShown, 1);
    EXPECT_EQ(Shown()->tip, u"tip");
    world_.TrayMessage(form_.hWnd(), 0, win::WM_LBUTTONUP);
    EXPECT_EQ(events_, "L");

    // Texts the record cannot hold never reach the shell.
    EXPECT_EQ(testing_support::ErrorNumber([&] { tray_->ShowBalloon(std::u16string(64, u'T'), u"x"); }),
              engine::err::kSubscript);
    EXPECT_EQ(testing_support::ErrorNumber([&] { tray_->ShowBalloon(u"T", std::u16string(256, u'x')); }),
              engine::err::kSubscript);
    EXPECT_TRUE(tray_->ShowBalloon(std::u16string(63, u'T'), std::u16string(255, u'x')));
    EXPECT_EQ(Shown()->balloonsShown, 2);

    // The shell reads as far as cbSize says, and never past a field's end.
    engine::Platform& shell = engine_.platform();
    engine::NotifyIconDataV2W original = r;
    original.cbSize = 152;  // the wide record of Windows 95's shell
    EXPECT_TRUE(shell.Shell_NotifyIconV2W(win::NIM_MODIFY, &original));
    engine::NotifyIconDataV2W unended = r;
    std::fill(std::begin(unended.szInfoTitle), std::end(unended.szInfoTitle), u'x');
    EXPECT_FALSE(shell.Shell_NotifyIconV2W(win::NIM_MODIFY, &unended));
    EXPECT_EQ(world_.modelFaults.size(), 1u);
    world_.options.platformId = win::VER_PLATFORM_WIN32_WINDOWS;  // Windows 98's shell knows no balloon
    world_.options.major = 4;
    world_.options.minor = 10;
    EXPECT_TRUE(shell.Shell_NotifyIconV2W(win::NIM_MODIFY, &r));
    EXPECT_EQ(Shown()->balloonsShown, 2);
}

TEST_F(TrayIcon, NoFormNoShellCall) {
    EXPECT_THROW(tray_->AddNotifyIcon(), engine::RuntimeError);
    EXPECT_THROW(tray_->DeleteNotifyIcon(), engine::RuntimeError);
    EXPECT_TRUE(calls_.trayCalls.empty());
}

TEST_F(TrayIcon, TrayButtonIsAnUnsignedByte) {
    EXPECT_EQ(tray_->TrayButton(), 0);
    tray_->SetTrayButton(255);
    EXPECT_EQ(tray_->TrayButton(), 255);
    for (engine::Long bad : {-1, 256, 100000}) {
        try {
            tray_->SetTrayButton(bad);
            FAIL() << bad;
        } catch (const engine::RuntimeError& e) {
            EXPECT_EQ(e.Number(), engine::err::kOverflow);
        }
        EXPECT_EQ(tray_->TrayButton(), 255);
    }
}

TEST_F(TrayIcon, ReleasesBecomeEventsAndTheChosenButtonShowsTheMenu) {
    Attach();
    tray_->SetTrayButton(2);
    const double tpp = world_.screen.twipsPerPixelX;
    Mouse(win::WM_LBUTTONUP * tpp);
    Mouse(win::WM_MBUTTONUP * tpp);
    EXPECT_TRUE(world_.menusShown.empty());
    Mouse(win::WM_RBUTTONUP * tpp);
    // The event ran before the menu was shown.
    EXPECT_EQ(events_, "LMR(0)");
    ASSERT_EQ(world_.menusShown.size(), 1u);
    EXPECT_EQ(world_.menusShown[0], (std::vector<std::u16string>{u"&Properties...", u"-"}));
}

TEST_F(TrayIcon, LeftButtonShowsTheMenuByDefault) {
    Attach();
    world_.menuChoices.push_back(u"&Properties...");
    Mouse(win::WM_LBUTTONUP * world_.screen.twipsPerPixelX);
    EXPECT_EQ(events_, "L");
    EXPECT_EQ(chosen_, 1);
}

TEST_F(TrayIcon, OtherButtonSelectorsShowNoMenu) {
    Attach();
    tray_->SetTrayButton(3);
    const double tpp = world_.screen.twipsPerPixelX;
    for (auto m : {win::WM_LBUTTONUP, win::WM_MBUTTONUP, win::WM_RBUTTONUP}) Mouse(m * tpp);
    EXPECT_EQ(events_, "LMR(0)");
    EXPECT_TRUE(world_.menusShown.empty());
}

TEST_F(TrayIcon, PressesDoubleClicksAndMovementDoNothing) {
    Attach();
    const double tpp = world_.screen.twipsPerPixelX;
    for (auto m : {win::WM_MOUSEMOVE, win::WM_LBUTTONDOWN, win::WM_LBUTTONDBLCLK, win::WM_RBUTTONDOWN,
                   win::WM_RBUTTONDBLCLK, win::WM_MBUTTONDOWN, win::WM_MBUTTONDBLCLK})
        Mouse(m * tpp);
    EXPECT_EQ(events_, "");
}

TEST_F(TrayIcon, TheCodeIsRoundedToTheNearestMessage) {
    Attach();
    const double tpp = world_.screen.twipsPerPixelX;
    Mouse(514 * tpp + 7);  // rounds down to 514
    Mouse(514 * tpp - 7);  // rounds up to 514
    Mouse(513 * tpp + 8);  // nearer 514 than 513
    Mouse(514 * tpp + 8);  // nearer 515
    EXPECT_EQ(events_, "LLL");
}

TEST_F(TrayIcon, AMenuThatCannotBeShownIsIgnored) {
    tray_->SetTrayForm(&form_);
    tray_->SetTrayButton(0);
    Mouse(win::WM_LBUTTONUP * world_.screen.twipsPerPixelX);  // no menu set
    engine::Menu empty(u"&Empty");
    tray_->SetTrayPopup(&empty);
    Mouse(win::WM_LBUTTONUP * world_.screen.twipsPerPixelX);  // a menu without entries
    EXPECT_EQ(events_, "LL");
    EXPECT_TRUE(world_.msgBoxes.empty());
    EXPECT_FALSE(world_.ended);
}

// Only showing the menu is let off: an error in the chosen entry's handler gets
// the standard report and ends the program, as in every other event.
TEST_F(TrayIcon, AnErrorInTheChosenEntryIsReported) {
    Attach();
    tray_->SetTrayButton(2);
    menu_->AddEntry(u"E&xit").Click = [] { engine::Raise(engine::err::kInvalidCall); };
    world_.menuChoices.push_back(u"E&xit");
    Mouse(win::WM_RBUTTONUP * world_.screen.twipsPerPixelX);
    ASSERT_EQ(world_.msgBoxes.size(), 1u);
    EXPECT_NE(world_.msgBoxes[0].text.find(u"Invalid procedure call"), std::u16string::npos);
    EXPECT_TRUE(world_.ended);
    EXPECT_EQ(world_.exitCode, engine::err::kInvalidCall);
}

TEST_F(TrayIcon, DestroyingWithoutDeleteLeavesTheIconAndEndsTheSubscription) {
    Attach();
    tray_->AddNotifyIcon();
    tray_.reset();
    EXPECT_NE(Shown(), nullptr);
    Mouse(win::WM_LBUTTONUP * world_.screen.twipsPerPixelX);
    EXPECT_EQ(events_, "");
}

TEST_F(TrayIcon, AShellRestartShowsTheIconAgainAsItIsNow) {
    Attach();
    tray_->SetTrayTip(u"before");
    tray_->AddNotifyIcon();
    tray_->SetTrayTip(u"now");
    tray_->ModifyNotifyIcon();
    world_.RestartShell();
    ASSERT_NE(Shown(), nullptr);
    EXPECT_EQ(Shown()->tip, u"now");
    tray_->DeleteNotifyIcon();
    world_.RestartShell();
    EXPECT_EQ(Shown(), nullptr);  // a deleted icon stays deleted
}

}  // namespace
