// The support classes on the simulated system: the window walk and queries, the
// input modes and range extraction, and the profile class.
#include <gtest/gtest.h>

#include "lib/ClsKwString.h"
#include "lib/ClsKwWinInterface.h"
#include "lib/ClsKwini.h"
#include "sim_fixture.h"

namespace {
using testing_support::ErrorNumber;
using testing_support::TempDir;
using testing_support::WriteFile;
namespace win = engine::win;

class Support : public ::testing::Test {
protected:
    Support() : world_(Options(dir_)), platform_(world_) {}
    static sim::Options Options(const TempDir& dir) {
        sim::Options o;
        o.root = dir.path();
        o.taskbar = false;
        return o;
    }
    engine::Hwnd Window(const std::u16string& title, const std::u16string& cls, engine::Dword style = 0,
                        engine::Dword exStyle = 0) {
        sim::WindowSpec s;
        s.title = title;
        s.className = cls;
        s.style = style;
        s.exStyle = exStyle;
        return world_.windows.Create(s);
    }
    TempDir dir_;
    sim::World world_;
    sim::SimPlatform platform_;
};

TEST_F(Support, TheWalkGoesFromTheTopOfTheStackingOrder) {
    const auto bottom = Window(u"bottom", u"A");
    const auto top = Window(u"top", u"B");
    lib::ClsKwWinInterface wi(platform_);
    engine::Hwnd start = 0;
    EXPECT_EQ(wi.FirstChildWindow(start), top);
    EXPECT_EQ(start, world_.windows.Desktop());  // written back
    EXPECT_EQ(wi.NextChildWindow(), bottom);
    EXPECT_EQ(wi.NextChildWindow(), 0u);
    std::u16string why;
    EXPECT_EQ(ErrorNumber([&] { wi.NextChildWindow(); }, &why), 5);
    EXPECT_EQ(why, u"この関数は[FirstChildWindow()]をCall後呼び出して下さい。");
    lib::ClsKwWinInterface fresh(platform_);
    EXPECT_EQ(ErrorNumber([&] { fresh.NextChildWindow(); }), 5);
}

TEST_F(Support, QueriesForTheCursorsWindowWriteItBack) {
    Window(u"first", u"Cls1");
    const auto top = Window(u"second", u"Cls2", win::WS_VISIBLE);
    lib::ClsKwWinInterface wi(platform_);
    engine::Hwnd start = 0;
    wi.FirstChildWindow(start);
    engine::Hwnd h = 0;
    EXPECT_EQ(wi.WindowText(h), u"second");
    EXPECT_EQ(h, top);
    h = 0;
    EXPECT_EQ(wi.ClassName(h), u"Cls2");
    EXPECT_EQ(h, top);
    engine::Hwnd gone = 0xDEAD0;
    EXPECT_EQ(wi.WindowText(gone), u"");
    EXPECT_EQ(wi.GetWindowStyle(gone), 0);
}

TEST_F(Support, StyleTestsNeedEveryBit) {
    const auto h = Window(u"w", u"c", win::WS_VISIBLE | win::WS_MAXIMIZE, win::WS_EX_TOPMOST);
    const auto plain = Window(u"p", u"c", win::WS_VISIBLE);
    lib::ClsKwWinInterface wi(platform_);
    EXPECT_TRUE(wi.IsWindowStyle(h, win::WS_VISIBLE | win::WS_MAXIMIZE));
    EXPECT_FALSE(wi.IsWindowStyle(plain, win::WS_VISIBLE | win::WS_MAXIMIZE));
    EXPECT_TRUE(wi.IsWindowStyle(plain, 0));
    EXPECT_TRUE(wi.IsWindowVisible(plain));
    EXPECT_TRUE(wi.IsWindowTopMost(h));
    EXPECT_FALSE(wi.IsWindowTopMost(plain));
}

TEST_F(Support, LongTitlesAreCutTo258Bytes) {
    const auto h = Window(std::u16string(300, u'x'), u"c");
    lib::ClsKwWinInterface wi(platform_);
    engine::Hwnd hh = h;
    EXPECT_EQ(wi.WindowText(hh).size(), 258u);
}

TEST(SupportCodePage, DoubleByteTitlesAreCutByBytes) {
    TempDir dir;
    sim::Options o;
    o.root = dir.path();
    o.codePage = 932;
    sim::World world(o);
    sim::SimPlatform platform(world);
    sim::WindowSpec s;
    s.title = std::u16string(200, u'窓');  // 400 bytes
    engine::Hwnd h = world.windows.Create(s);
    lib::ClsKwWinInterface wi(platform);
    EXPECT_EQ(wi.WindowText(h), std::u16string(129, u'窓'));  // 258 bytes
}

TEST(RangeExtraction, BetweenTheFirstOpeningAndTheNextClosing) {
    using lib::ClsKwString;
    EXPECT_EQ(ClsKwString::GetStringByRange(u"title(xyz)", u"(", u")"), u"xyz");
    EXPECT_EQ(ClsKwString::GetStringByRange(u"title()", u"(", u")"), u"");
    EXPECT_EQ(ClsKwString::GetStringByRange(u"title(xyz", u"(", u")"), u"");
    EXPECT_EQ(ClsKwString::GetStringByRange(u")x(", u"(", u")"), u"");
    EXPECT_EQ(ClsKwString::GetStringByRange(u"no brackets", u"(", u")"), u"");
    EXPECT_EQ(ClsKwString::GetStringByRange(u"a(x(y)z)", u"(", u")"), u"x(y");
    EXPECT_EQ(ClsKwString::GetStringByRange(u"a[[b]]", u"[[", u"]]"), u"[b");
}

TEST(InputModes, AddTheirBitAndReturnTheOldStyle) {
    testing_support::SimTrevo t;
    t.WriteIni(testing_support::kGoodIni);
    t.Start();
    auto& box = *t.app().dialog().txtWallpaper[0];
    auto& style = t.world().windows.Get(box.hWnd()).style;
    const engine::Dword before = style;
    lib::ClsKwString s(t.engine().platform());
    EXPECT_EQ(static_cast<engine::Dword>(s.SetNumericAttribute(box)), before);
    EXPECT_EQ(style, before | win::ES_NUMBER);
    EXPECT_EQ(static_cast<engine::Dword>(s.SetNumericAttribute(box)), before | win::ES_NUMBER);
    EXPECT_EQ(style, before | win::ES_NUMBER);
    s.SetUpperCaseAttribute(box);
    s.SetLowerCaseAttribute(box);
    EXPECT_EQ(style, before | win::ES_NUMBER | win::ES_UPPERCASE | win::ES_LOWERCASE);
}

TEST_F(Support, ProfileValuesAndTheirEmptyForms) {
    WriteFile(world_.files.ToHost(u"C:\\t.ini"),
              "[S]\r\nkey=value\r\nempty=\r\nnon=Non\r\nNON2=NON\r\nlong=" + std::string(300, 'v') + "\r\n");
    lib::ClsKwini ini(platform_);
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"S", u"key", u"C:\\t.ini"), u"value");
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"s", u"KEY", u"C:\\t.ini"), u"value");
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"S", u"empty", u"C:\\t.ini"), u"");
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"S", u"non", u"C:\\t.ini"), u"");
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"S", u"NON2", u"C:\\t.ini"), u"NON");  // only "Non" exactly
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"S", u"missing", u"C:\\t.ini"), u"");
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"T", u"key", u"C:\\t.ini"), u"");
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"S", u"key", u"C:\\none.ini"), u"");
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"S", u"long", u"C:\\t.ini"), std::u16string(254, u'v'));
}

TEST_F(Support, ProfileWritesCreateWhatIsMissing) {
    lib::ClsKwini ini(platform_);
    ini.vbWritePrivateProfileString(u"Wallpaper", u"3", u"", u"C:\\new.ini");
    ini.vbWritePrivateProfileString(u"Size", u"Width", u"640", u"C:\\new.ini");
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"Size", u"Width", u"C:\\new.ini"), u"640");
    const std::string text = testing_support::ReadFile(world_.files.ToHost(u"C:\\new.ini"));
    EXPECT_NE(text.find("3="), std::string::npos);  // an empty value keeps its key
}

TEST_F(Support, SectionAndNameEnumerations) {
    WriteFile(world_.files.ToHost(u"C:\\e.ini"), "[A]\r\nx=1\r\ny=2\r\n[B]\r\n[C]\r\nz=3\r\n");
    lib::ClsKwini ini(platform_);
    EXPECT_EQ(ErrorNumber([&] { ini.vbNextPrivateProfileSection(); }), 5);  // before any First
    EXPECT_EQ(ini.vbFirstPrivateProfileSection(u"A", u"C:\\e.ini"), u"x=1");
    EXPECT_EQ(ini.vbFirstPrivateProfileSectionName(u"C:\\e.ini"), u"A");  // does not disturb the other
    EXPECT_EQ(ini.vbNextPrivateProfileSection(), u"y=2");
    EXPECT_EQ(ini.vbNextPrivateProfileSection(), u"");
    EXPECT_EQ(ini.vbNextPrivateProfileSection(), u"");
    EXPECT_EQ(ini.vbNextPrivateProfileSectionName(), u"B");
    EXPECT_EQ(ini.vbNextPrivateProfileSectionName(), u"C");
    EXPECT_EQ(ini.vbNextPrivateProfileSectionName(), u"");
    EXPECT_EQ(ini.vbFirstPrivateProfileSection(u"B", u"C:\\e.ini"), u"");
    EXPECT_EQ(ini.vbFirstPrivateProfileSection(u"Missing", u"C:\\e.ini"), u"");
    ini.vbWritePrivateProfileSection(u"D", std::u16string(u"k=v\0m=n\0", 8), u"C:\\e.ini");
    EXPECT_EQ(ini.vbGetPrivateProfileString(u"D", u"m", u"C:\\e.ini"), u"n");
}

TEST_F(Support, FolderQueriesAsThePlatformGivesThem) {
    lib::ClsKwini ini(platform_);
    EXPECT_EQ(ini.vbGetSystemDirectory(), world_.systemDir);
    EXPECT_EQ(ini.vbGetTempPath(), world_.tempDir);
    EXPECT_EQ(ini.vbGetWindowsDirectory(), world_.windowsDir);
}

}  // namespace
