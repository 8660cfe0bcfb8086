// Files Trevo writes that cannot be written: Trevo.bmp at a switch, Trevo.ini at OK.
// Nothing may be lost or half-written, and the program carries on.
#include <gtest/gtest.h>

#include "engine/sim/file_system.h"
#include "engine/sim/sim_picture.h"
#include "sim_fixture.h"

namespace {
using testing_support::ReadFile;
using testing_support::SimTrevo;
using testing_support::WriteFile;
using testing_support::WritePictureFile;
namespace fs = std::filesystem;
namespace win = engine::win;

void MakeReadOnly(const fs::path& file) {
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

void MakeWritable(const fs::path& file) { fs::permissions(file, fs::perms::owner_write, fs::perm_options::add); }

TEST(ReadOnlyAttribute, IsTheOwnersMissingWritePermission) {
    testing_support::TempDir dir;
    const fs::path file = dir.path() / "a.ini";
    WriteFile(file, "x");
    EXPECT_FALSE(sim::HasReadOnlyAttribute(file));
    MakeReadOnly(file);
    EXPECT_TRUE(sim::HasReadOnlyAttribute(file));
    EXPECT_FALSE(sim::HasReadOnlyAttribute(dir.path()));           // a folder has no such attribute here
    EXPECT_FALSE(sim::HasReadOnlyAttribute(dir.path() / "none"));  // nor does a missing file
    MakeWritable(file);
}

// ------------------------------------------------------------ Trevo.bmp

class UnwritableWallpaper : public ::testing::Test {
protected:
    void SetUp() override {
        WritePictureFile(t_.Host(u"C:\\pics\\red.bmp"), 8, 8, 0xFFFF0000);
        WritePictureFile(t_.Host(u"C:\\pics\\blue.bmp"), 8, 8, 0xFF0000FF);
        t_.WriteIni(
            "[Desktops]\r\nMax=2\r\n[Wallpaper]\r\n1=C:\\pics\\red.bmp\r\n2=C:\\pics\\blue.bmp\r\n"
            "[Size]\r\nKeepSize=-1\r\nWidth=40\r\nHeight=30\r\n");
    }
    fs::path Bmp() { return t_.Host(u"C:\\Trevo\\Trevo.bmp"); }
    SimTrevo t_;
};

constexpr const char16_t* kUserBitmap = u"C:\\Users\\user\\AppData\\Local\\Trevo\\Trevo.bmp";

TEST_F(UnwritableWallpaper, AReadOnlyBitmapStaysAsItWasAndTheUsersOwnFolderTakesTheWallpaper) {
    t_.Start();
    ASSERT_EQ(t_.world().wallpaper, u"C:\\Trevo\\Trevo.bmp");
    const std::string red = ReadFile(Bmp());
    const engine::Hwnd w = t_.OpenWindow(u"Editor", u"Edit", {100, 100, 300, 200});
    MakeReadOnly(Bmp());

    t_.Click(2);
    EXPECT_FALSE(t_.world().ended) << "an unwritable Trevo.bmp must not end the program";
    EXPECT_TRUE(t_.world().msgBoxes.empty());
    EXPECT_EQ(ReadFile(Bmp()), red);
    EXPECT_EQ(t_.world().wallpaper, kUserBitmap);
    EXPECT_TRUE(fs::is_regular_file(t_.Host(kUserBitmap)));
    EXPECT_EQ(t_.RectOf(w).left, 100 - t_.bas().gScreenWidth);
    EXPECT_EQ(t_.bas().gOldDesk, 2);

    // Once the file can be written again, the next switch writes it.
    MakeWritable(Bmp());
    t_.Click(1);
    EXPECT_EQ(t_.world().wallpaper, u"C:\\Trevo\\Trevo.bmp");
    EXPECT_EQ(ReadFile(Bmp()), red);
    EXPECT_EQ(t_.RectOf(w).left, 100);
}

TEST_F(UnwritableWallpaper, AFolderInThePlaceOfTheBitmapIsLeftAlone) {
    fs::create_directories(Bmp() / "inside");
    t_.Start();
    EXPECT_FALSE(t_.world().ended);
    EXPECT_TRUE(fs::is_directory(Bmp() / "inside"));
    // Every switch, not only the first, shows its desktop's picture from the user's folder.
    const std::pair<int, std::uint32_t> visits[] = {{1, 0xFF0000}, {2, 0x0000FF}, {1, 0xFF0000}, {2, 0x0000FF}};
    for (const auto& [desk, colour] : visits) {
        if (desk != t_.bas().gOldDesk) t_.Click(desk);
        EXPECT_FALSE(t_.world().ended);
        EXPECT_EQ(t_.bas().gOldDesk, desk);
        ASSERT_EQ(t_.world().wallpaper, kUserBitmap) << desk;
        const engine::PicturePtr shown = sim::LoadPictureFile(t_.Host(kUserBitmap));
        ASSERT_TRUE(shown) << desk;
        EXPECT_EQ(static_cast<const sim::SimPicture&>(*shown).At(5, 5) & 0xFFFFFF, colour) << desk;
    }
    EXPECT_EQ(t_.calls().wallpaperSets, 4);
}

TEST_F(UnwritableWallpaper, KeptAtItsOwnSizeTheSameHolds) {
    t_.WriteIni(
        "[Desktops]\r\nMax=2\r\n[Wallpaper]\r\n1=C:\\pics\\red.bmp\r\n2=C:\\pics\\blue.bmp\r\n"
        "[Size]\r\nKeepSize=0\r\nWidth=40\r\nHeight=30\r\n");
    WriteFile(Bmp(), "an old picture");
    MakeReadOnly(Bmp());
    t_.Start();
    t_.Click(2);
    EXPECT_FALSE(t_.world().ended);
    EXPECT_EQ(ReadFile(Bmp()), "an old picture");
    MakeWritable(Bmp());
}

// A program folder the user may not write (C:\Program Files): Trevo.bmp goes
// to the user's own folder, back to the program folder once it can be
// written, and nowhere when neither can; the windows move all the same.
TEST_F(UnwritableWallpaper, AProgramFolderTheUserMayNotWrite) {
    t_.world().unwritableFolders = {u"C:\\Trevo"};
    t_.Start();
    EXPECT_EQ(t_.world().wallpaper, kUserBitmap);
    EXPECT_FALSE(fs::exists(Bmp()));
    t_.world().unwritableFolders.clear();
    t_.Click(2);
    EXPECT_EQ(t_.world().wallpaper, u"C:\\Trevo\\Trevo.bmp");

    t_.world().unwritableFolders = {u"C:\\Trevo", u"C:\\Users\\user\\AppData\\Local\\Trevo"};
    const engine::Hwnd w = t_.OpenWindow(u"Editor", u"Edit", {100, 100, 300, 200});
    t_.Click(1);
    EXPECT_EQ(t_.world().wallpaper, u"");
    EXPECT_EQ(t_.RectOf(w).left, 100 + t_.bas().gScreenWidth);
    EXPECT_TRUE(t_.world().msgBoxes.empty());
}

TEST(UserWallpaperFolder, AUserNameTheCodePageCannotSpellGoesByItsShortName) {
    for (const bool shortNames : {true, false}) {
        SimTrevo t(testing_support::InCodePage(932, shortNames));
        t.world().localAppData = u"C:\\Users\\Zoë\\AppData\\Local";
        t.world().unwritableFolders = {u"C:\\Trevo"};
        WritePictureFile(t.Host(u"C:\\pics\\red.bmp"), 8, 8, 0xFFFF0000);
        t.WriteIni(
            "[Desktops]\r\nMax=2\r\n[Wallpaper]\r\n1=C:\\pics\\red.bmp\r\n[Size]\r\nKeepSize=0\r\nWidth=40\r\n"
            "Height=30\r\n");
        t.Start();
        EXPECT_TRUE(fs::is_regular_file(t.Host(u"C:\\Users\\Zoë\\AppData\\Local\\Trevo\\Trevo.bmp")) || !shortNames);
        if (shortNames) {
            EXPECT_NE(t.world().wallpaper.find(u"~"), engine::String::npos) << testing_support::U8(t.world().wallpaper);
            EXPECT_TRUE(t.engine().platform().AnsiSpellsExactly(t.world().wallpaper));
        } else {
            EXPECT_EQ(t.world().wallpaper, u"");  // no name the A calls could take: no wallpaper, nothing lost
        }
    }
}

// ------------------------------------------------------------ Trevo.ini at OK

class ReadOnlySettings : public ::testing::Test {
protected:
    void SetUp() override {
        t_.WriteIni(
            "; my notes\r\n[Desktops]\r\nMax=3\r\n[Wallpaper]\r\n1=\r\n2=\r\n3=\r\n4=\r\n5=\r\n"
            "[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n");
        t_.Start();
        ASSERT_FALSE(t_.world().ended);
    }
    void TearDown() override { MakeWritable(t_.IniFile()); }
    // Opens the dialog, changes the count and the first wallpaper, presses OK, then
    // runs after() while the dialog is still up.
    void ChangeAndPressOk(const std::function<void()>& after = nullptr) {
        t_.world().modalScript = [&, after](engine::Hwnd) {
            Hand(*d().HScr).UserScroll(5);
            Hand(*d().txtWallpaper[0]).UserType(u"C:\\new.bmp");
            Hand(*d().cmdOk).UserClick();
            if (after) after();
            if (t_.app().form().Visible()) Hand(*d().cmdCancel).UserClick();
        };
        t_.world().menuChoices.push_back(u"&Properties...");
        t_.Click(1, win::WM_RBUTTONUP);
        t_.world().modalScript = nullptr;
    }
    const trevo::TrevoDialog& d() { return t_.app().dialog(); }
    sim::SimControlPeer& Hand(engine::Control& c) { return t_.world().ControlAt(c.hWnd()); }
    SimTrevo t_;
};

TEST_F(ReadOnlySettings, OkSaysTheSettingsWereNotSavedAndKeepsTheDialogOpen) {
    const std::string before = ReadFile(t_.IniFile());
    MakeReadOnly(t_.IniFile());
    bool openAfterOk = false;
    engine::String countAfterOk;
    ChangeAndPressOk([&] {
        openAfterOk = t_.app().form().Visible();
        countAfterOk = d().txtDesktops->Text();
    });
    EXPECT_EQ(ReadFile(t_.IniFile()), before);
    ASSERT_EQ(t_.world().msgBoxes.size(), 1u);
    const auto& box = t_.world().msgBoxes[0];
    EXPECT_EQ(box.style, engine::kMbIconError);
    EXPECT_EQ(box.title, u"Trevo");
    EXPECT_NE(box.text.find(u"could not save"), engine::String::npos);
    EXPECT_NE(box.text.find(u"C:\\Trevo\\Trevo.ini"), engine::String::npos);
    EXPECT_EQ(box.text.find(u"次回起動時"), engine::String::npos) << "a failure must not read as success";
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(countAfterOk, u"5");  // what the user entered is still there
    EXPECT_FALSE(t_.world().ended);
    EXPECT_EQ(t_.world().trayIcons.size(), 3u);
}

TEST_F(ReadOnlySettings, OkAgainAfterTheFileIsWritableSavesEverything) {
    MakeReadOnly(t_.IniFile());
    ChangeAndPressOk([&] {
        MakeWritable(t_.IniFile());
        Hand(*d().cmdOk).UserClick();
    });
    ASSERT_EQ(t_.world().msgBoxes.size(), 2u);
    EXPECT_EQ(t_.world().msgBoxes[1].text, u"プロパティの変更は次回起動時に反映されます。");
    EXPECT_FALSE(t_.app().form().Visible());
    lib::ClsKwini ini(t_.engine().platform());
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"Desktops", u"Max", u"C:\\Trevo\\Trevo.ini"), u"5");
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"Wallpaper", u"1", u"C:\\Trevo\\Trevo.ini"), u"C:\\new.bmp");
    EXPECT_NE(ReadFile(t_.IniFile()).find("; my notes"), std::string::npos);
}

TEST_F(ReadOnlySettings, AWritableFileStillSavesAtTheFirstOk) {
    ChangeAndPressOk();
    ASSERT_EQ(t_.world().msgBoxes.size(), 1u);
    EXPECT_EQ(t_.world().msgBoxes[0].style, engine::kMbIconExclamation);
    lib::ClsKwini ini(t_.engine().platform());
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"Desktops", u"Max", u"C:\\Trevo\\Trevo.ini"), u"5");
}

}  // namespace
