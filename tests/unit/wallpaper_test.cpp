// The wallpaper: the picture fitted into Trevo.bmp and handed to the shell.
#include <gtest/gtest.h>

#include "engine/sim/sim_picture.h"
#include "sim_fixture.h"

namespace {
using testing_support::ReadFile;
using testing_support::SimTrevo;
using testing_support::WritePictureFile;

class Wallpaper : public ::testing::Test {
protected:
    void StartWith(const std::string& size, const std::string& wall1, const std::string& wall2 = "") {
        t_.WriteIni("[Desktops]\r\nMax=2\r\n[Wallpaper]\r\n1=" + wall1 + "\r\n2=" + wall2 + "\r\n[Size]\r\n" + size);
        t_.Start();
        ASSERT_FALSE(t_.world().ended);
    }
    std::filesystem::path Bmp() { return t_.Host(u"C:\\Trevo\\Trevo.bmp"); }
    engine::PicturePtr Written() { return sim::LoadPictureFile(Bmp()); }
    SimTrevo t_;
};

TEST_F(Wallpaper, FittedToTheConfiguredSizeWhatEverItsShape) {
    WritePictureFile(t_.Host(u"C:\\pics\\photo.bmp"), 64, 48, 0xFF102030);
    StartWith("KeepSize=-1\r\nWidth=400\r\nHeight=300\r\n", "C:\\pics\\photo.bmp");
    EXPECT_EQ(t_.world().wallpaper, u"C:\\Trevo\\Trevo.bmp");
    const auto written = Written();
    EXPECT_EQ(written->PixelWidth(), 400);
    EXPECT_EQ(written->PixelHeight(), 300);
    const auto& px = static_cast<const sim::SimPicture&>(*written);
    EXPECT_EQ(px.At(399, 299) & 0xFFFFFF, 0x102030u);  // filled to the last pixel
    EXPECT_EQ(t_.world().doEventsCalls, 1);            // one yield while fitting
}

TEST_F(Wallpaper, KeptAtItsOwnSize) {
    WritePictureFile(t_.Host(u"C:\\pics\\photo.bmp"), 64, 48, 0xFF102030);
    StartWith("KeepSize=0\r\nWidth=400\r\nHeight=300\r\n", "C:\\pics\\photo.bmp");
    EXPECT_EQ(Written()->PixelWidth(), 64);
    EXPECT_EQ(Written()->PixelHeight(), 48);
    EXPECT_EQ(t_.world().doEventsCalls, 0);
}

TEST_F(Wallpaper, ASizeOfZeroOrLessKeepsThePicturesOwnSize) {
    WritePictureFile(t_.Host(u"C:\\pics\\photo.bmp"), 64, 48, 0xFF102030);
    StartWith("KeepSize=-1\r\nWidth=0\r\nHeight=-5\r\n", "C:\\pics\\photo.bmp");
    EXPECT_EQ(Written()->PixelWidth(), 64);
    EXPECT_FALSE(t_.world().ended);
}

TEST_F(Wallpaper, NoPictureMeansNoWallpaperAndNoFile) {
    StartWith("KeepSize=0\r\nWidth=400\r\nHeight=300\r\n", "");
    EXPECT_EQ(t_.calls().wallpaperSets, 1);
    EXPECT_EQ(t_.world().wallpaper, u"");
    EXPECT_FALSE(std::filesystem::exists(Bmp()));
}

TEST_F(Wallpaper, AMissingOrBrokenPictureLeavesTheOldBitmapAlone) {
    WritePictureFile(t_.Host(u"C:\\pics\\one.bmp"), 8, 8, 0xFF0000FF);
    testing_support::WriteFile(t_.Host(u"C:\\pics\\broken.bmp"), "BM this is no picture");
    StartWith("KeepSize=0\r\nWidth=400\r\nHeight=300\r\n", "C:\\pics\\one.bmp", "C:\\pics\\broken.bmp");
    const std::string first = ReadFile(Bmp());
    t_.Click(2);
    EXPECT_EQ(t_.world().wallpaper, u"");
    EXPECT_EQ(ReadFile(Bmp()), first);
    EXPECT_EQ(t_.bas().gOldDesk, 2);  // the switch went on
}

TEST_F(Wallpaper, EachSwitchRewritesTheBitmapWithTheNewDesktopsPicture) {
    WritePictureFile(t_.Host(u"C:\\pics\\red.bmp"), 8, 8, 0xFFFF0000);
    WritePictureFile(t_.Host(u"C:\\pics\\blue.bmp"), 8, 8, 0xFF0000FF);
    StartWith("KeepSize=-1\r\nWidth=40\r\nHeight=30\r\n", "C:\\pics\\red.bmp", "C:\\pics\\blue.bmp");
    auto colour = [&] { return static_cast<const sim::SimPicture&>(*Written()).At(5, 5) & 0xFFFFFF; };
    EXPECT_EQ(colour(), 0xFF0000u);
    t_.Click(2);
    EXPECT_EQ(colour(), 0x0000FFu);
    t_.Click(1);
    EXPECT_EQ(colour(), 0xFF0000u);
}

TEST_F(Wallpaper, AClickDuringTheFittingWaitsForTheRunningSelection) {
    WritePictureFile(t_.Host(u"C:\\pics\\red.bmp"), 8, 8, 0xFFFF0000);
    t_.WriteIni(
        "[Desktops]\r\nMax=3\r\n[Wallpaper]\r\n1=C:\\pics\\red.bmp\r\n2=C:\\pics\\red.bmp\r\n"
        "[Size]\r\nKeepSize=-1\r\nWidth=40\r\nHeight=30\r\n");
    const auto w = t_.OpenWindow(u"w", u"Probe", {100, 0, 200, 100});
    t_.Start();
    std::vector<engine::Long> oldDeskSeen;
    t_.world().onDoEvents = [&] {
        oldDeskSeen.push_back(t_.bas().gOldDesk);
        if (oldDeskSeen.size() == 1) {
            t_.Click(3);  // both arrive during the first fitting; the last counts
            t_.Click(1);
        }
    };
    t_.Click(2);
    EXPECT_EQ(t_.bas().gOldDesk, 1);
    EXPECT_EQ(t_.world().windows.Get(w).rect.left, 100);  // to 2, then back to 1
    EXPECT_EQ(t_.IconResource(1), 12);
    EXPECT_EQ(oldDeskSeen, (std::vector<engine::Long>{1, 2}));  // never nested
}

// A right click handled in the fitting's yield opens the menu there. Properties
// opens, and Exit closes everything, only once the running switch is done:
// the switch still uses every desktop and the support objects.
TEST_F(Wallpaper, MenuChoicesDuringTheFittingWaitForTheRunningSwitch) {
    WritePictureFile(t_.Host(u"C:\\pics\\red.bmp"), 8, 8, 0xFFFF0000);
    const auto w = t_.OpenWindow(u"w", u"Probe", {100, 0, 200, 100});
    StartWith("KeepSize=-1\r\nWidth=40\r\nHeight=30\r\n", "C:\\pics\\red.bmp", "C:\\pics\\red.bmp");
    const std::string settings = ReadFile(t_.IniFile());
    auto rightClickChoosing = [&](const char16_t* entry) {
        t_.world().onDoEvents = [&, entry] {
            t_.world().onDoEvents = nullptr;
            t_.world().menuChoices.push_back(entry);
            t_.Click(1, engine::win::WM_RBUTTONUP);
        };
    };

    engine::Long leftWhenShown = 0;
    t_.world().modalScript = [&](engine::Hwnd) {
        leftWhenShown = t_.RectOf(w).left;
        t_.world().ControlAt(t_.app().dialog().cmdCancel->hWnd()).UserClick();
    };
    rightClickChoosing(u"&Properties...");
    t_.Click(2);
    EXPECT_EQ(leftWhenShown, 100 - 1024) << "the dialog opened before the windows moved";
    EXPECT_FALSE(t_.app().form().Visible());

    rightClickChoosing(u"E&xit");
    t_.Click(1);
    EXPECT_TRUE(t_.world().ended);
    EXPECT_TRUE(t_.world().msgBoxes.empty());
    EXPECT_TRUE(t_.world().trayIcons.empty()) << "an icon outlived Exit";
    EXPECT_EQ(t_.RectOf(w).left, 100) << "the running switch did not finish";
    EXPECT_EQ(ReadFile(t_.IniFile()), settings);
    for (engine::Long n = 1; n <= 2; ++n) EXPECT_EQ(t_.app().desk(n), nullptr);
}

}  // namespace

// ------------------------------------------------------------ kept wallpapers

class KeptWallpapers : public ::testing::Test {
protected:
    static constexpr const char16_t* kKept = u"C:\\Users\\user\\AppData\\Local\\Trevo\\";
    void SetUp() override {
        WritePictureFile(t_.Host(u"C:\\pics\\red.bmp"), 8, 8, 0xFFFF0000);
        WriteSettings(40);
    }
    void WriteSettings(int width, bool keepSize = true) {
        t_.WriteIni(
            "[Desktops]\r\nMax=3\r\n[Wallpaper]\r\n1=C:\\pics\\red.bmp\r\n2=C:\\pics\\red.bmp\r\n[Size]\r\n"
            "KeepSize=" +
            std::string(keepSize ? "-1" : "0") + "\r\nWidth=" + std::to_string(width) +
            "\r\nHeight=30\r\n[Options]\r\nKeepWallpapers=1\r\n");
    }
    std::u16string KeptName(int desk) {
        return std::u16string(kKept) + u"Desktop" + static_cast<char16_t>(u'0' + desk) + u".bmp";
    }
    std::filesystem::path Kept(int desk) { return t_.Host(KeptName(desk)); }
    std::filesystem::path Bmp() { return t_.Host(u"C:\\Trevo\\Trevo.bmp"); }
    // Pictures decoded since the last look (the dialog's previews are decoded at a start too).
    int Decoded() { return std::exchange(t_.world().picturesDecoded, 0); }
    std::uint32_t Shown() {
        const auto p = sim::LoadPictureFile(t_.world().files.ToHost(t_.world().wallpaper));
        return static_cast<const sim::SimPicture&>(*p).At(5, 5) & 0xFFFFFF;
    }
    SimTrevo t_;
};

// An unchanged picture is neither decoded, fitted nor written again; a change
// of the picture (its contents, its time, its path) or of the fitting makes
// it anew. Each desktop keeps its own; a desktop without a picture none.
TEST_F(KeptWallpapers, AKeptBitmapServesEveryVisitUntilItsSourceChanges) {
    t_.Start();
    EXPECT_EQ(t_.world().wallpaper, KeptName(1));
    EXPECT_FALSE(std::filesystem::exists(Bmp()));  // Trevo.bmp is not written
    Decoded();
    t_.Click(2);
    EXPECT_EQ(t_.world().wallpaper, KeptName(2));
    EXPECT_EQ(Decoded(), 1);
    const std::string kept1 = ReadFile(Kept(1));
    const auto written = std::filesystem::last_write_time(Kept(1));
    const int yields = t_.world().doEventsCalls;
    t_.Click(1);
    t_.Click(3);
    t_.Click(1);
    EXPECT_EQ(Decoded(), 0);
    EXPECT_EQ(t_.world().doEventsCalls, yields);  // nothing fitted
    EXPECT_EQ(std::filesystem::last_write_time(Kept(1)), written);
    EXPECT_EQ(ReadFile(Kept(1)), kept1);
    EXPECT_EQ(t_.world().wallpaper, KeptName(1));
    EXPECT_FALSE(std::filesystem::exists(Kept(3)));

    WritePictureFile(t_.Host(u"C:\\pics\\red.bmp"), 9, 8, 0xFF0000FF);  // another picture in its place
    t_.Click(2);
    EXPECT_EQ(Decoded(), 1);
    EXPECT_EQ(Shown(), 0x0000FFu);
    t_.Click(1);
    EXPECT_EQ(Decoded(), 1);
    const auto picture = t_.Host(u"C:\\pics\\red.bmp");
    std::filesystem::last_write_time(picture, std::filesystem::last_write_time(picture) + std::chrono::seconds(5));
    t_.Click(2);
    EXPECT_EQ(Decoded(), 1);  // the same size, another time

    t_.Kill();
    WriteSettings(50);  // another fitting
    t_.Start();
    EXPECT_EQ(t_.world().wallpaper, KeptName(1));
    EXPECT_EQ(sim::LoadPictureFile(Kept(1))->PixelWidth(), 50);
    t_.Kill();
    WriteSettings(50, false);  // the same size, no longer kept: the picture's own
    t_.Start();
    EXPECT_EQ(sim::LoadPictureFile(Kept(1))->PixelWidth(), 9);
}

// A kept bitmap changed or removed behind Trevo's back is made again; a folder
// that refuses it leaves the wallpaper to Trevo.bmp, fitted at every visit; a
// picture gone is no wallpaper, as ever; a desktop that lost its picture
// keeps no bitmap.
TEST_F(KeptWallpapers, WhatCannotBeTrustedOrKeptIsMadeAsWithoutTheOption) {
    t_.Start();
    t_.Click(2);
    Decoded();
    testing_support::WriteFile(Kept(1), "BM damaged");
    t_.Click(1);
    EXPECT_EQ(Decoded(), 1);
    EXPECT_EQ(Shown(), 0xFF0000u);
    std::filesystem::remove(Kept(2));
    t_.Click(2);
    EXPECT_EQ(Decoded(), 1);
    EXPECT_TRUE(std::filesystem::is_regular_file(Kept(2)));

    t_.world().unwritableFolders = {u"C:\\Users\\user\\AppData\\Local\\Trevo"};
    std::filesystem::remove(Kept(1));
    t_.Click(1);
    t_.Click(2);
    t_.Click(1);
    EXPECT_EQ(t_.world().wallpaper, u"C:\\Trevo\\Trevo.bmp");
    EXPECT_EQ(Decoded(), 2);  // desktop 2's kept bitmap still serves
    t_.world().unwritableFolders.clear();

    std::filesystem::remove(t_.Host(u"C:\\pics\\red.bmp"));
    t_.Click(2);
    EXPECT_EQ(t_.world().wallpaper, u"");
    EXPECT_EQ(t_.bas().gOldDesk, 2);

    t_.Kill();
    t_.WriteIni(
        "[Desktops]\r\nMax=3\r\n[Wallpaper]\r\n1=\r\n2=\r\n[Size]\r\nKeepSize=-1\r\nWidth=40\r\nHeight=30\r\n"
        "[Options]\r\nKeepWallpapers=1\r\n");
    t_.Start();
    t_.Click(2);
    EXPECT_FALSE(std::filesystem::exists(Kept(1)));
    EXPECT_FALSE(std::filesystem::exists(Kept(2)));
}
