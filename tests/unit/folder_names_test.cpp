// A program folder whose name the ANSI code page cannot spell: Trevo works in
// it through the folder's short name, and never in a best-fit namesake.
#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace {
using testing_support::ReadFile;
using testing_support::SimTrevo;
using testing_support::U8;
namespace win = engine::win;

const std::string kIni =
    "[Desktops]\r\nMax=2\r\n[Wallpaper]\r\n1=\r\n2=C:\\pictures\\two.bmp\r\n[Size]\r\nKeepSize=0\r\nWidth=400\r\n"
    "Height=300\r\n";

struct Folder {
    unsigned codePage;
    std::u16string appPath;
    std::u16string namesake;  // what a best fit would make of it, or ""
};

class FolderNames : public ::testing::TestWithParam<Folder> {
protected:
    static sim::Options For(const Folder& f, bool shortNames = true) {
        sim::Options o = testing_support::InCodePage(f.codePage, shortNames);
        o.appPath = f.appPath;
        return o;
    }
};

TEST_P(FolderNames, TrevoReadsWritesAndShowsItsOwnFilesByTheShortName) {
    SimTrevo t(For(GetParam()));
    ASSERT_FALSE(t.engine().platform().AnsiSpellsExactly(GetParam().appPath)) << "a name the code page lacks";
    t.WriteIni(kIni);
    testing_support::WritePictureFile(t.Host(u"C:\\pictures\\two.bmp"), 4, 4, 0x00FF00);
    // A namesake folder with other settings: they must never be read.
    const std::string namesakeIni = "[Desktops]\r\nMax=5\r\n[Size]\r\nWidth=400\r\nHeight=300\r\n";
    if (!GetParam().namesake.empty()) {
        ASSERT_EQ(t.world().codePage.Encode(GetParam().appPath), t.world().codePage.Encode(GetParam().namesake));
        testing_support::WriteFile(t.Host(GetParam().namesake + u"\\Trevo.ini"), namesakeIni);
    }
    t.Start();
    ASSERT_FALSE(t.world().ended) << (t.world().msgBoxes.empty() ? "" : U8(t.world().msgBoxes[0].text));
    EXPECT_EQ(t.bas().gDeskCount, 2);
    const engine::String folder = t.bas().gAppPath;
    EXPECT_NE(folder.find(u'~'), engine::String::npos) << U8(folder);
    EXPECT_TRUE(t.engine().platform().AnsiSpellsExactly(folder));

    t.Click(2);
    EXPECT_EQ(t.world().wallpaper, folder + u"Trevo.bmp");
    EXPECT_TRUE(std::filesystem::exists(t.Host(GetParam().appPath + u"\\Trevo.bmp")));

    // OK writes the same file it read.
    t.world().modalScript = [&](engine::Hwnd) {
        t.world().ControlAt(t.app().dialog().HScr->hWnd()).UserScroll(3);
        t.world().ControlAt(t.app().dialog().cmdOk->hWnd()).UserClick();
    };
    t.world().menuChoices.push_back(u"&Properties...");
    t.Click(1, win::WM_RBUTTONUP);
    EXPECT_NE(ReadFile(t.IniFile()).find("Max=3"), std::string::npos);
    if (!GetParam().namesake.empty()) {
        EXPECT_EQ(ReadFile(t.Host(GetParam().namesake + u"\\Trevo.ini")), namesakeIni);
        EXPECT_FALSE(std::filesystem::exists(t.Host(GetParam().namesake + u"\\Trevo.bmp")));
    }
}

TEST_P(FolderNames, WithoutShortNamesTrevoSaysWhatToDoAndTouchesNothing) {
    SimTrevo t(For(GetParam(), false));
    t.WriteIni(kIni);
    t.Start();
    EXPECT_TRUE(t.world().ended);
    ASSERT_EQ(t.world().msgBoxes.size(), 1u);
    const std::string text = U8(t.world().msgBoxes[0].text);
    EXPECT_NE(text.find(U8(GetParam().appPath)), std::string::npos) << text;
    EXPECT_NE(text.find("Move Trevo to a folder"), std::string::npos) << text;
    EXPECT_EQ(text.find("not found"), std::string::npos) << text;
    EXPECT_TRUE(t.world().trayIcons.empty());
    EXPECT_EQ(ReadFile(t.IniFile()), kIni);
}

INSTANTIATE_TEST_SUITE_P(CodePages, FolderNames,
                         ::testing::Values(Folder{932, u"C:\\Programs\\café", u"C:\\Programs\\cafe"},
                                           Folder{1252, u"C:\\Users\\Zoë\\下载\\Trevo", u""},
                                           Folder{1252, u"C:\\Programs\\Trevo \U0001F600", u""}),
                         [](const auto& info) {
                             return "CodePage" + std::to_string(info.param.codePage) + "_" + std::to_string(info.index);
                         });

TEST(FolderNames, AFolderTheCodePageSpellsKeepsItsLongName) {
    for (const auto& [codePage, path] : {std::pair{1252u, std::u16string(u"C:\\Programs\\café")},
                                         std::pair{932u, std::u16string(u"C:\\ツール\\Trevo")}}) {
        sim::Options o;
        o.codePage = codePage;
        o.appPath = path;
        SimTrevo t(o);
        t.WriteIni(kIni);
        t.Start();
        ASSERT_FALSE(t.world().ended) << codePage;
        EXPECT_EQ(t.bas().gAppPath, path + u"\\");
    }
}

// A picture chosen with "..." whose name the code page cannot spell is kept by
// its short name, which every later start can open; one without a short name
// is refused with a message, and the previous picture stays.
TEST(PictureNames, AChosenPictureTheCodePageCannotSpellIsKeptByItsShortName) {
    for (const bool shortNames : {true, false}) {
        SimTrevo t(testing_support::InCodePage(932, shortNames));
        t.WriteIni(kIni);
        const std::u16string picture = u"C:\\pictures\\café.bmp";
        testing_support::WritePictureFile(t.Host(picture), 4, 4, 0x0000FF);
        t.world().fileChoices.push_back(picture);
        t.Start();
        engine::String shown;
        t.world().modalScript = [&](engine::Hwnd) {
            t.world().ControlAt(t.app().dialog().cmdView[0]->hWnd()).UserClick();
            shown = t.app().dialog().txtWallpaper[0]->Text();
            t.world().ControlAt(t.app().dialog().cmdOk->hWnd()).UserClick();
        };
        t.world().menuChoices.push_back(u"&Properties...");
        t.Click(1, win::WM_RBUTTONUP);
        ASSERT_FALSE(t.calls().fileChooserCalls.empty());
        EXPECT_TRUE(t.calls().fileChooserCalls.back().wide);
        if (!shortNames) {
            ASSERT_EQ(t.world().msgBoxes.size(), 2u);  // the refusal, then OK's own message
            EXPECT_NE(U8(t.world().msgBoxes[0].text).find("cannot be used"), std::string::npos);
            EXPECT_EQ(shown, u"");  // the previous value
            continue;
        }
        EXPECT_EQ(shown, u"C:\\pictures\\CAF~1.BMP");
        EXPECT_NE(ReadFile(t.IniFile()).find("1=C:\\pictures\\CAF~1.BMP"), std::string::npos);
        t.Kill();  // the next start shows it
        t.Start();
        t.Click(2);
        t.Click(1);
        EXPECT_EQ(t.world().wallpaper, u"C:\\Trevo\\Trevo.bmp");
    }
}

}  // namespace
