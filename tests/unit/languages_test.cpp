// Trevo's texts in the user's language: one string table a language, each with
// every text and every %n; [Options] Language choosing one, following Windows'
// display language with "auto"; and, without the key, the texts as they were.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "app/language/language_choice.h"
#include "app/language/texts.h"
#include "engine/sim/string_tables.h"
#include "sim_fixture.h"

namespace {
using engine::Dword;
using engine::Long;
using engine::String;
using testing_support::SimTrevo;
using testing_support::TempDir;
using testing_support::U8;
using testing_support::WriteFile;
namespace win = engine::win;

constexpr std::uint16_t kGerman = 0x0407, kSwissGerman = 0x0807, kBritish = 0x0809;

// What a block lacks against the English one: a text, or a %n of a text.
std::vector<std::string> TableProblems(const sim::StringTables& tables) {
    std::vector<std::string> problems;
    const auto english = tables.byLanguage.find(trevo::kEnglish);
    if (english == tables.byLanguage.end()) return {"no English block"};
    auto places = [](const String& text) {
        static const std::regex place("%[1-9]");
        const std::string utf8 = U8(text);
        std::multiset<std::string> found;
        for (auto it = std::sregex_iterator(utf8.begin(), utf8.end(), place); it != std::sregex_iterator(); ++it)
            found.insert(it->str());
        return found;
    };
    for (const auto& [name, id] : tables.names) {
        if (name.rfind("IDS_", 0) != 0) continue;
        for (const auto& [language, table] : tables.byLanguage) {
            const auto text = table.find(id);
            const std::string where = name + " in language " + std::to_string(language);
            if (text == table.end() || text->second.empty())
                problems.push_back(where + " is missing");
            else if (english->second.count(id) && places(text->second) != places(english->second.at(id)))
                problems.push_back(where + " has other %n than in English");
        }
    }
    return problems;
}

// A Windows shown in that display language.
sim::Options ShownIn(std::uint16_t language) {
    sim::Options o;
    o.uiLanguage = language;
    return o;
}

std::string Ini(const std::string& options) {
    return std::string(testing_support::kGoodIni) + "[Keys]\r\nDesktop2=Ctrl+Alt+F2\r\n[Options]\r\n" + options;
}

// The program's own table, in one language.
String Table(SimTrevo& t, Long id, std::uint16_t language) {
    return t.engine().StringResources().byLanguage.at(language).at(id);
}

TEST(Languages, EveryTextHasEveryLanguageWithEveryValueAndAMissingOneIsFound) {
    const sim::StringTables shipped = sim::ReadStringTables(sim::ProgramStringTables());
    EXPECT_EQ(TableProblems(shipped), std::vector<std::string>{});
    EXPECT_EQ(shipped.byLanguage.size(), 2u);
    for (Long id = IDS_FIRST; id <= IDS_LAST; ++id)
        EXPECT_TRUE(shipped.byLanguage.at(trevo::kEnglish).count(id)) << id << " has no English text";

    // A block that lacks a text, or a text that loses a value, does not pass.
    TempDir dir;
    WriteFile(dir.path() / "text_ids.h", "#define IDS_A 1000\n#define IDS_B 1001\n");
    WriteFile(dir.path() / "texts.rc",
              "#pragma code_page(65001)\n#include \"text_ids.h\"\n"
              "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\nSTRINGTABLE\nBEGIN\n IDS_A \"File: %1\"\n IDS_B \"b\"\nEND\n"
              "LANGUAGE LANG_GERMAN, SUBLANG_GERMAN\nSTRINGTABLE\nBEGIN\n IDS_A \"Datei\"\nEND\n");
    EXPECT_EQ(TableProblems(sim::ReadStringTables(dir.path() / "texts.rc")),
              (std::vector<std::string>{"IDS_A in language 1031 has other %n than in English",
                                        "IDS_B in language 1031 is missing"}));
    // What the resource compiler refuses, the simulated Windows refuses too.
    WriteFile(dir.path() / "bad.rc", "LANGUAGE LANG_KLINGON, SUBLANG_DEFAULT\n");
    EXPECT_THROW(sim::ReadStringTables(dir.path() / "bad.rc"), sim::ScriptError);
}

// The same start in each language: every text shown comes from that language's block.
class InEachLanguage : public ::testing::TestWithParam<std::pair<const char*, std::uint16_t>> {};

TEST_P(InEachLanguage, EveryCaptionMenuPanelAndMessageComesFromItsBlock) {
    const auto [code, language] = GetParam();
    SimTrevo t;
    t.WriteIni(Ini("ShowDesktop=1\r\nStartWithWindows=0\r\nLanguage=" + std::string(code) + "\r\n"));
    t.Start();
    ASSERT_FALSE(t.world().ended);
    const trevo::TrevoDialog& d = t.app().dialog();
    const std::pair<String, Long> captions[] = {{t.app().form().Caption(), IDS_PROPERTIES_TITLE},
                                                {d.lblDesktops->Caption(), IDS_DESKTOPS_LABEL},
                                                {d.lblWallpaper->Caption(), IDS_WALLPAPER_LABEL},
                                                {d.chkSize->Caption(), IDS_ALWAYS_THIS_SIZE},
                                                {d.lblInfo[1]->Caption(), IDS_ONLY_WHEN_CENTRED},
                                                {d.cmdOk->Caption(), IDS_OK},
                                                {d.cmdCancel->Caption(), IDS_CANCEL}};
    for (const auto& [shown, id] : captions) EXPECT_EQ(U8(shown), U8(Table(t, id, language))) << id;
    EXPECT_EQ(U8(t.world().windows.Get(t.app().form().hWnd()).title), U8(Table(t, IDS_PROPERTIES_TITLE, language)));

    t.world().menuChoices.push_back(u"");
    t.Click(1, win::WM_RBUTTONUP);
    ASSERT_EQ(t.world().menusShown.size(), 1u);
    EXPECT_EQ(t.world().menusShown[0],
              (std::vector<String>{Table(t, IDS_MENU_PROPERTIES, language), Table(t, IDS_MENU_SETTINGS, language),
                                   Table(t, IDS_MENU_START_WITH_WINDOWS, language), u"-",
                                   Table(t, IDS_MENU_EXIT, language)}));

    EXPECT_TRUE(t.world().PressHotKey(win::MOD_CONTROL | win::MOD_ALT, win::VK_F1 + 1));
    bool panelSays = false;
    for (engine::Hwnd h : t.world().windows.TopLevel())
        panelSays |= t.world().windows.Get(h).title == trevo::FormatText(Table(t, IDS_PANEL_DESKTOP, language), {u"2"});
    EXPECT_TRUE(panelSays) << "the panel does not name desktop 2 in its language";

    d.cmdOk->Click();
    ASSERT_FALSE(t.world().msgBoxes.empty());
    EXPECT_EQ(U8(t.world().msgBoxes.back().text), U8(Table(t, IDS_CHANGES_AT_NEXT_START, language)));

    // A bad setting, put into words from its language's pattern.
    SimTrevo bad;
    std::string ini = Ini("Language=" + std::string(code) + "\r\n");
    ini.replace(ini.find("Max=3"), 5, "Max=9");
    bad.WriteIni(ini);
    bad.Start();
    ASSERT_TRUE(bad.world().ended);
    ASSERT_EQ(bad.world().msgBoxes.size(), 1u);
    const String expected = trevo::FormatText(
        Table(bad, IDS_SETTING_NOT_VALID, language),
        {bad.bas().IniPath(), u"Desktops", u"Max", trevo::FormatText(Table(bad, IDS_VALUE_QUOTED, language), {u"9"}),
         Table(bad, IDS_RULE_DESK_COUNT, language)});
    EXPECT_EQ(U8(bad.world().msgBoxes[0].text), U8(expected));
}

INSTANTIATE_TEST_SUITE_P(EnglishAndJapanese, InEachLanguage,
                         ::testing::Values(std::make_pair("en", trevo::kEnglish),
                                           std::make_pair("JA", trevo::kJapanese)));

TEST(Languages, AutoTakesWindowsDisplayLanguageWhereTheTableHasItElseEnglish) {
    const std::pair<std::uint16_t, std::uint16_t> cases[] = {{trevo::kJapanese, trevo::kJapanese},
                                                             {trevo::kEnglish, trevo::kEnglish},
                                                             {kBritish, trevo::kEnglish},
                                                             {kGerman, trevo::kEnglish},
                                                             {0x040C, trevo::kEnglish}};
    for (const auto& [windows, chosen] : cases) {
        SimTrevo t(ShownIn(windows));
        t.WriteIni(Ini("Language=Auto\r\n"));
        t.Start();
        ASSERT_FALSE(t.world().ended);
        EXPECT_EQ(t.app().texts().Language().value_or(0), chosen) << std::hex << windows;
    }

    // A third language is one block more: it is chosen by its code, and by auto
    // for Windows in any form of it.
    TempDir dir;
    const std::string english =
        "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\nSTRINGTABLE\nBEGIN\n IDS_LANGUAGE_CODE \"en\"\nEND\n";
    const std::string german =
        "LANGUAGE LANG_GERMAN, SUBLANG_GERMAN\nSTRINGTABLE\nBEGIN\n IDS_LANGUAGE_CODE \"de\"\nEND\n";
    WriteFile(dir.path() / "texts.rc",
              "#include \"" + std::string(TREVO_SOURCE_DIR) + "/res/text_ids.h\"\n" + english + german);
    const std::pair<std::string, std::uint16_t> runs[] = {{"auto", kSwissGerman}, {"de", trevo::kEnglish}};
    for (const auto& [value, windows] : runs) {
        sim::Options o = ShownIn(windows);
        o.stringTables = dir.path() / "texts.rc";
        sim::World world(o);
        sim::SimEngine engine(world);
        EXPECT_EQ(trevo::TableLanguages(engine).size(), 2u);
        const String path = u"C:\\Trevo\\Trevo.ini";
        EXPECT_EQ(
            trevo::ChooseLanguage(engine, {path, true, u"Options", u"Language"}, engine::FromUtf8(value)).value_or(0),
            kGerman)
            << value;
    }
}

TEST(Languages, WithoutTheKeyTheTextsAreAsTheyWereAndAnUnknownValueIsToldInWindowsLanguage) {
    {
        SimTrevo t(ShownIn(trevo::kJapanese));
        t.WriteIni(Ini("ShowDesktop=1\r\n"));
        t.Start();
        const trevo::TrevoDialog& d = t.app().dialog();
        EXPECT_EQ(U8(t.app().form().Caption()), "Trevo - Properties");
        EXPECT_EQ(U8(d.lblDesktops->Caption()), "Desktops:");
        EXPECT_EQ(U8(d.chkSize->Caption()), "常にこのサイズで表示");
        EXPECT_EQ(U8(d.lblInfo[1]->Caption()), "※[中央に表示]の場合のみ");
        EXPECT_EQ(U8(d.cmdCancel->Caption()), "ｷｬﾝｾﾙ");
        EXPECT_EQ(U8(t.app().MenuCaption(desktop::MenuEntry::Exit)), "E&xit");
        d.cmdOk->Click();
        EXPECT_EQ(U8(t.world().msgBoxes.back().text), "プロパティの変更は次回起動時に反映されます。");
    }
    for (const std::uint16_t windows : {trevo::kEnglish, trevo::kJapanese}) {
        SimTrevo t(ShownIn(windows));
        t.WriteIni(Ini("Language=fr\r\n"));
        t.Start();
        ASSERT_TRUE(t.world().ended);
        ASSERT_EQ(t.world().msgBoxes.size(), 1u);
        const String& told = t.world().msgBoxes[0].text;
        EXPECT_NE(told.find(trevo::FormatText(Table(t, IDS_RULE_LANGUAGE, windows), {u"en, ja"})), String::npos)
            << U8(told);
        EXPECT_NE(told.find(u"[Options] Language"), String::npos) << U8(told);
    }
}

TEST(Languages, AJapaneseNotificationOnAnEnglishWindowsArrivesWhole) {
    sim::Options o;
    o.codePage = 1252;
    o.major = 10;
    o.build = 22631;
    o.minor = 0;
    SimTrevo t(o);
    t.WriteIni(Ini("IconsHint=1\r\nLanguage=ja\r\n"));
    t.Start();
    const sim::NotifyRecord& first = *t.Icon(1);
    ASSERT_EQ(first.balloonsShown, 1);
    EXPECT_EQ(U8(first.balloonTitle), U8(Table(t, IDS_ICONS_HINT_TITLE, trevo::kJapanese)));
    EXPECT_EQ(U8(first.balloonText), U8(Table(t, IDS_ICONS_HINT_TEXT, trevo::kJapanese)));
}

}  // namespace
