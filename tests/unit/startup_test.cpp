// Start-up: the settings read into the program, and the settings it cannot start with.
#include <gtest/gtest.h>

#include <regex>

#include "sim_fixture.h"

namespace {
using testing_support::ReadFile;
using testing_support::SimTrevo;
using testing_support::U8;

TEST(StartUp, ReadsEverySettingInto) {
    SimTrevo t;
    t.WriteIni(
        "[Desktops]\r\nMax=3\r\n[Wallpaper]\r\n1=C:\\pics\\a.bmp\r\n2=Non\r\n3=\r\n5=C:\\pics\\e.bmp\r\n"
        "[Size]\r\nKeepSize=-1\r\nWidth= 640 \r\nHeight=480\r\n"
        "[NoChange-XP]\r\n01=class(Shell_TrayWnd)\r\n02=title(Calc*)class(X)\r\n04=class(Never)\r\n"
        "[NoChange-2K]\r\n01=class(Other)\r\n");
    t.Start();
    ASSERT_FALSE(t.world().ended);
    const trevo::BasTrevo& b = t.bas();
    EXPECT_EQ(b.gAppPath, u"C:\\Trevo\\");
    EXPECT_EQ(b.gIniName, u"Trevo.ini");
    EXPECT_EQ(b.gScreenWidth, 1024);
    EXPECT_EQ(b.gDeskCount, 3);
    EXPECT_EQ(b.gWallpapers[0], u"C:\\pics\\a.bmp");
    EXPECT_EQ(b.gWallpapers[1], u"");  // "Non" reads as nothing
    EXPECT_EQ(b.gWallpapers[3], u"");
    EXPECT_EQ(b.gWallpapers[4], u"C:\\pics\\e.bmp");  // read beyond the count too
    EXPECT_TRUE(b.gKeepSize);
    EXPECT_EQ(b.gWallWidth, 640);
    EXPECT_EQ(b.gWallHeight, 480);
    ASSERT_EQ(b.gNoChange->Count(), 2);  // reading stops at the missing "03"
    EXPECT_EQ(b.gNoChange->Item(1), u"class(Shell_TrayWnd)");
    EXPECT_EQ(b.gNoChange->Item(2), u"title(Calc*)class(X)");
    EXPECT_EQ(b.gOldDesk, 1);
    EXPECT_EQ(b.gNewDesk, 1);
    EXPECT_FALSE(t.app().form().Visible());

    // The dialog's controls were filled on the way.
    const auto& d = t.app().dialog();
    EXPECT_EQ(d.txtDesktops->Text(), u"3");
    EXPECT_TRUE(d.optNumber[2]->Enabled());
    EXPECT_FALSE(d.optNumber[3]->Enabled());
    EXPECT_TRUE(d.optNumber[0]->Value());
    EXPECT_TRUE(d.Container[0]->Visible());
    EXPECT_FALSE(d.Container[1]->Visible());
    EXPECT_EQ(d.txtWallpaper[4]->Text(), u"C:\\pics\\e.bmp");
    EXPECT_EQ(d.chkSize->Value(), 1);
    EXPECT_TRUE(d.txtWidth->Enabled());
    EXPECT_EQ(d.txtWidth->Text(), u"640");  // the profile functions trim values
}

TEST(StartUp, TheSizeBoxesTakeDigitsOnly) {
    SimTrevo t;
    t.WriteIni(testing_support::kGoodIni);
    t.Start();
    const auto& d = t.app().dialog();
    EXPECT_TRUE(t.world().windows.Get(d.txtWidth->hWnd()).style & engine::win::ES_NUMBER);
    EXPECT_TRUE(t.world().windows.Get(d.txtHeight->hWnd()).style & engine::win::ES_NUMBER);
    EXPECT_FALSE(t.world().windows.Get(d.txtWallpaper[0]->hWnd()).style & engine::win::ES_NUMBER);
    EXPECT_FALSE(d.txtWidth->Enabled());  // KeepSize 0
    EXPECT_EQ(d.chkSize->Value(), 0);
}

TEST(StartUp, ProgramFolderAtADriveRoot) {
    sim::Options o;
    o.appPath = u"C:\\";
    SimTrevo t(o);
    testing_support::WriteFile(t.Host(u"C:\\Trevo.ini"), testing_support::kGoodIni);
    t.Start();
    ASSERT_FALSE(t.world().ended);
    EXPECT_EQ(t.bas().gAppPath, u"C:\\");
    EXPECT_EQ(t.bas().gDeskCount, 3);
}

TEST(StartUp, KeepSizeIsTrueOnlyForMinusOne) {
    for (const char* text : {"1", "0", "true", "-1 ", ""}) {
        SimTrevo t;
        t.WriteIni(std::string("[Desktops]\r\nMax=1\r\n[Size]\r\nKeepSize=") + text + "\r\nWidth=100\r\nHeight=50\r\n");
        t.Start();
        ASSERT_FALSE(t.world().ended) << text;
        // Trailing blanks are trimmed by the profile functions, so "-1 " is "-1".
        EXPECT_EQ(t.bas().gKeepSize, std::string(text) == "-1 ") << text;
        EXPECT_EQ(t.bas().gWallWidth, 100);  // no lower limit at start-up
    }
}

TEST(StartUp, NeverMoveSectionOfTheRunningFamilyOnly) {
    auto run = [](engine::Dword platformId, engine::Dword major, engine::Dword minor, engine::Dword build) {
        sim::Options o;
        o.platformId = platformId;
        o.major = major;
        o.minor = minor;
        o.build = build;
        auto t = std::make_unique<SimTrevo>(o);
        t->WriteIni(std::string(testing_support::kGoodIni) +
                    "[NoChange-XP]\r\n01=class(xp)\r\n[NoChange-2K]\r\n01=class(2k)\r\n02=class(2k2)\r\n"
                    "[NoChange-98]\r\n01=class(98)\r\n1=class(never)\r\n");
        t->Start();
        return t;
    };
    auto xp = run(2, 5, 1, 2600);
    ASSERT_EQ(xp->bas().gNoChange->Count(), 1);
    EXPECT_EQ(xp->bas().gNoChange->Item(1), u"class(xp)");
    auto vista = run(2, 6, 0, 6002);
    EXPECT_EQ(vista->bas().gNoChange->Count(), 2);
    for (engine::Dword minor : {2u, 3u}) {  // Windows 8 and 8.1 read as XP, whatever 2000 has
        auto eight = run(2, 6, minor, 9200);
        ASSERT_EQ(eight->bas().gNoChange->Count(), 1) << "6." << minor;
        EXPECT_EQ(eight->bas().gNoChange->Item(1), u"class(xp)") << "6." << minor;
    }
    auto ten = run(2, 10, 0, 19045);
    ASSERT_EQ(ten->bas().gNoChange->Count(), 1);
    EXPECT_EQ(ten->bas().gNoChange->Item(1), u"class(xp)");
    auto w98 = run(1, 4, 10, 2222);
    ASSERT_EQ(w98->bas().gNoChange->Count(), 1);  // the key "1" is never found
    auto nt4 = run(2, 4, 0, 1381);
    EXPECT_EQ(nt4->bas().gNoChange->Count(), 0);
}

// The shipped settings on every Windows that has a Start menu of its own: each
// shell class the XP section lists stays put, and the icons are made from the
// highest desktop down. Windows 10 and 11 report 10.0 to Trevo (its manifest
// declares them), which the classification calls 2000.
TEST(StartUp, TheShippedSettingsProtectTheShellOfWindows8To11) {
    const std::string shipped = ReadFile(std::filesystem::path(TREVO_SOURCE_DIR) / "res" / "Trevo.ini");
    std::vector<std::u16string> shellClasses;
    const std::regex entry(R"(\r?\n0\d=class\(([^)]*)\))");
    const std::string xp = shipped.substr(shipped.find("[NoChange-XP]"));
    for (std::sregex_iterator it(xp.begin(), xp.end(), entry), end; it != end; ++it)
        shellClasses.push_back(engine::FromUtf8((*it)[1].str()));
    ASSERT_GE(shellClasses.size(), 7u);

    struct Version {
        engine::Dword major, minor, build;
    };
    for (const Version v : {Version{6, 1, 7601}, Version{6, 2, 9200}, Version{6, 3, 9600}, Version{10, 0, 19045},
                            Version{10, 0, 22631}}) {
        SCOPED_TRACE(std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.build));
        sim::Options o;
        o.major = v.major;
        o.minor = v.minor;
        o.build = v.build;
        SimTrevo t(o);
        t.WriteIni(shipped);
        std::vector<engine::Hwnd> shell;
        for (const auto& cls : shellClasses) shell.push_back(t.OpenWindow(u"", cls, {0, 0, 300, 40}));
        const engine::Hwnd plain = t.OpenWindow(u"Notes", u"Notepad", {100, 100, 400, 300});
        t.Start();
        ASSERT_FALSE(t.world().ended);
        EXPECT_EQ(t.world().trayOrder.front().first, t.DeskWindow(3)) << "icons made from the lowest desktop up";
        t.Click(2);
        EXPECT_EQ(t.RectOf(plain).left, 100 - 1024);
        for (size_t i = 0; i < shell.size(); ++i)
            EXPECT_EQ(t.RectOf(shell[i]).left, 0) << U8(shellClasses[i]) << " moved";
    }
}

TEST(StartUp, NeverMoveListStopsAtAnEmptyOrNonEntry) {
    SimTrevo t;
    t.WriteIni(std::string(testing_support::kGoodIni) + "[NoChange-XP]\r\n01=class(a)\r\n02=Non\r\n03=class(c)\r\n");
    t.Start();
    EXPECT_EQ(t.bas().gNoChange->Count(), 1);
}

TEST(StartUp, LongNeverMoveListsUseAtLeastTwoDigits) {
    std::string ini = testing_support::kGoodIni;
    ini += "[NoChange-XP]\r\n";
    for (int k = 1; k <= 120; ++k)
        ini += (k < 10 ? "0" : "") + std::to_string(k) + "=class(c" + std::to_string(k) + ")\r\n";
    SimTrevo t;
    t.WriteIni(ini);
    t.Start();
    ASSERT_EQ(t.bas().gNoChange->Count(), 120);
    EXPECT_EQ(t.bas().gNoChange->Item(100), u"class(c100)");
}

// ---------------------------------------------------------------- settings it cannot start with

struct BadIni {
    const char* name;
    const char* ini;      // nullptr: no file at all
    const char* setting;  // what the message names
    const char* value;    // the value it quotes, or nullptr
};

class BadSettings : public ::testing::TestWithParam<BadIni> {};

TEST_P(BadSettings, ExplainAndStopWithNothingAddedOrWritten) {
    const BadIni& c = GetParam();
    SimTrevo t;
    if (c.ini) t.WriteIni(c.ini);
    const std::string before = c.ini ? ReadFile(t.IniFile()) : "";
    t.Start();

    EXPECT_TRUE(t.world().ended);
    EXPECT_NE(t.world().exitCode, 0);
    ASSERT_EQ(t.world().msgBoxes.size(), 1u);
    const auto& box = t.world().msgBoxes[0];
    EXPECT_EQ(box.title, u"Trevo");
    EXPECT_EQ(box.style, engine::kMbIconError);
    const std::string text = U8(box.text);
    EXPECT_NE(text.find("C:\\Trevo\\Trevo.ini"), std::string::npos) << text;
    EXPECT_NE(text.find(c.setting), std::string::npos) << text;
    if (c.value) {
        EXPECT_NE(text.find(std::string("\"") + c.value + "\""), std::string::npos) << text;
    }

    EXPECT_TRUE(t.world().trayIcons.empty());
    EXPECT_EQ(t.calls().wallpaperSets, 0);
    if (c.ini) {
        EXPECT_EQ(ReadFile(t.IniFile()), before);
    } else {
        EXPECT_FALSE(std::filesystem::exists(t.IniFile()));
    }
    EXPECT_FALSE(std::filesystem::exists(t.Host(u"C:\\Trevo\\Trevo.bmp")));
}

constexpr const char* kSize = "[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n";

INSTANTIATE_TEST_SUITE_P(
    Files, BadSettings,
    ::testing::Values(
        BadIni{"NoFile", nullptr, "[Desktops] Max", nullptr},
        BadIni{"NoMax", "[Desktops]\r\n[Size]\r\nWidth=400\r\nHeight=300\r\n", "[Desktops] Max", nullptr},
        BadIni{"EmptyMax", "[Desktops]\r\nMax=\r\n[Size]\r\nWidth=400\r\nHeight=300\r\n", "[Desktops] Max", nullptr},
        BadIni{"WordMax", "[Desktops]\r\nMax=abc\r\n[Size]\r\nWidth=400\r\nHeight=300\r\n", "[Desktops] Max", "abc"},
        BadIni{"ZeroMax", "[Desktops]\r\nMax=0\r\n[Size]\r\nWidth=400\r\nHeight=300\r\n", "[Desktops] Max", "0"},
        BadIni{"SixMax", "[Desktops]\r\nMax=6\r\n[Size]\r\nWidth=400\r\nHeight=300\r\n", "[Desktops] Max", "6"},
        BadIni{"HalfRoundsUp", "[Desktops]\r\nMax=5.5\r\n[Size]\r\nWidth=400\r\nHeight=300\r\n", "[Desktops] Max",
               "5.5"},
        BadIni{"HugeMax", "[Desktops]\r\nMax=99999999999\r\n[Size]\r\nWidth=400\r\nHeight=300\r\n", "[Desktops] Max",
               "99999999999"},
        BadIni{"NegativeMax", "[Desktops]\r\nMax=-3\r\n[Size]\r\nWidth=400\r\nHeight=300\r\n", "[Desktops] Max", "-3"},
        BadIni{"NoWidth", "[Desktops]\r\nMax=2\r\n[Size]\r\nHeight=300\r\n", "[Size] Width", nullptr},
        BadIni{"WordWidth", "[Desktops]\r\nMax=2\r\n[Size]\r\nWidth=wide\r\nHeight=300\r\n", "[Size] Width", "wide"},
        BadIni{"HugeWidth", "[Desktops]\r\nMax=2\r\n[Size]\r\nWidth=4294967296\r\nHeight=300\r\n", "[Size] Width",
               "4294967296"},
        BadIni{"EmptyHeight", "[Desktops]\r\nMax=2\r\n[Size]\r\nWidth=400\r\nHeight=\r\n", "[Size] Height", nullptr},
        BadIni{"EmptyFile", "", "[Desktops] Max", nullptr}),
    [](const ::testing::TestParamInfo<BadIni>& info) { return std::string(info.param.name); });

TEST(StartUp, CountsThatRoundIntoRangeAreAccepted) {
    for (const char* max : {" 2 ", "2.5", "1.4", "&H3", "4.5"}) {
        SimTrevo t;
        t.WriteIni(std::string("[Desktops]\r\nMax=") + max + "\r\n" + kSize);
        t.Start();
        ASSERT_FALSE(t.world().ended) << max;
        EXPECT_EQ(t.bas().gDeskCount, engine::CLng(engine::FromUtf8(max)));
        EXPECT_EQ(t.world().trayIcons.size(), static_cast<size_t>(t.bas().gDeskCount));
    }
}

}  // namespace
