// Settings files as people and accidents leave them: each one either starts Trevo as
// it always starts, or ends it with the message that names the setting. Neither
// crashes nor hangs, a switch still works, and the file stays byte for byte as it was.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "sim_fixture.h"

namespace {
using testing_support::ReadFile;
using testing_support::SimTrevo;
using testing_support::U8;

constexpr const char* kDesks2 = "[Desktops]\r\nMax=2\r\n";
constexpr const char* kSize = "[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n";

std::string Good(const std::string& extra = "") { return std::string(kDesks2) + kSize + extra; }

std::string Repeat(const std::string& text, std::size_t times) {
    std::string out;
    out.reserve(text.size() * times);
    for (std::size_t i = 0; i < times; ++i) out += text;
    return out;
}

// Bytes of every value, the same every run.
std::string Garbage(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string out(size, '\0');
    for (char& c : out) c = static_cast<char>(random() & 0xFF);
    return out;
}

std::string NeverMove(const std::string& entries) { return "[NoChange-XP]\r\n" + entries; }

struct Case {
    const char* name;
    std::function<std::string()> file;
    // Started: the number of desktops it starts with. Refused: 0, and the setting named.
    int desks;
    const char* refusedSetting = nullptr;
    int protectedCount = -1;  // never-move entries read, when it matters
};

Case Starts(const char* name, std::function<std::string()> file, int desks, int protectedCount = -1) {
    return {name, std::move(file), desks, nullptr, protectedCount};
}
Case Refused(const char* name, std::function<std::string()> file, const char* setting) {
    return {name, std::move(file), 0, setting};
}

const std::vector<Case>& Corpus() {
    static const std::vector<Case> corpus = {
        // The count of desktops.
        Refused(
            "BinaryGarbage", [] { return Garbage(4096, 1); }, "[Desktops] Max"),
        Refused(
            "GarbageOfTenMegabytes", [] { return Garbage(10u << 20, 2); }, "[Desktops] Max"),
        Refused(
            "MaxWithoutEquals", [] { return std::string("[Desktops]\r\nMax 3\r\n") + kSize; }, "[Desktops] Max"),
        Refused(
            "MaxInExponentForm", [] { return std::string("[Desktops]\r\nMax=1e3\r\n") + kSize; }, "[Desktops] Max"),
        Refused(
            "MaxAsHexMinusOne", [] { return std::string("[Desktops]\r\nMax=&HFFFFFFFF\r\n") + kSize; },
            "[Desktops] Max"),
        Refused(
            "MaxOfFourHundredDigits", [] { return "[Desktops]\r\nMax=" + std::string(400, '9') + "\r\n" + kSize; },
            "[Desktops] Max"),
        Refused(
            "MaxWithACommentBehind", [] { return std::string("[Desktops]\r\nMax=3 ; three\r\n") + kSize; },
            "[Desktops] Max"),
        Refused(
            "MaxOnlyInAComment", [] { return std::string("[Desktops]\r\n;Max=3\r\n") + kSize; }, "[Desktops] Max"),
        Refused(
            "MaxInTheWrongSection", [] { return std::string("[Desktop]\r\nMax=3\r\n") + kSize; }, "[Desktops] Max"),
        Refused(
            "MaxBeforeAnySection", [] { return std::string("Max=3\r\n") + kSize; }, "[Desktops] Max"),
        Starts(
            "DuplicatedSectionsTheFirstWins",
            [] { return std::string("[Desktops]\r\nMax=2\r\n[Desktops]\r\nMax=4\r\n") + kSize; }, 2),
        Starts(
            "DuplicatedKeysTheFirstWins", [] { return std::string("[Desktops]\r\nMax=3\r\nMax=1\r\n") + kSize; }, 3),
        Starts(
            "QuotedTabbedAndSpacedMax", [] { return std::string("[ Desktops ]\r\n\t Max =\t\"4\" \r\n") + kSize; }, 4),
        Starts(
            "LineBreaksOfOneCarriageReturn",
            [] { return std::string("[Desktops]\rMax=3\r[Size]\rWidth=1\rHeight=1\r"); }, 3),
        Starts(
            "UnixLineBreaksAndAByteOrderMark",
            [] { return std::string("\xEF\xBB\xBF[Desktops]\nMax=5\n[Size]\nWidth=400\nHeight=300\n"); }, 5),
        Starts(
            "NulInsideTheFile", [] { return Good(std::string("[Other]\r\nx=a") + '\0' + "b\r\n"); }, 2),
        Starts(
            "SettingsBehindTenMegabytesOfComments",
            [] { return Repeat(";" + std::string(98, 'c') + "\r\n", 100'000) + Good(); }, 2),
        Starts(
            "SettingsBehindALineOfAMegabyte", [] { return std::string(1u << 20, 'x') + "\r\n" + Good(); }, 2),
        Starts(
            "SettingsBehindBinaryGarbage", [] { return Garbage(2048, 3) + "\r\n" + Good(); }, 2),
        Starts(
            "UnclosedSectionHeaderIsPassedOver", [] { return "[Wallpaper\r\n1=C:\\none.bmp\r\n" + Good(); }, 2),
        // The wallpaper size.
        Refused(
            "MissingSize", [] { return std::string(kDesks2); }, "[Size] Width"),
        Refused(
            "WidthWithUnit", [] { return std::string(kDesks2) + "[Size]\r\nWidth=400px\r\nHeight=300\r\n"; },
            "[Size] Width"),
        Refused(
            "WidthBeyondALong", [] { return std::string(kDesks2) + "[Size]\r\nWidth=2147483648\r\nHeight=300\r\n"; },
            "[Size] Width"),
        Refused(
            "HeightOnlyBlanks", [] { return std::string(kDesks2) + "[Size]\r\nWidth=400\r\nHeight=   \r\n"; },
            "[Size] Height"),
        Starts(
            "NegativeSizes",
            [] { return std::string(kDesks2) + "[Size]\r\nKeepSize=-1\r\nWidth=-400\r\nHeight=-300\r\n"; }, 2),
        Starts(
            "SizesLargerThanACanvas",
            [] { return std::string(kDesks2) + "[Size]\r\nKeepSize=-1\r\nWidth=2147483647\r\nHeight=99999\r\n"; }, 2),
        Starts(
            "KeepSizeAsAWord",
            [] { return std::string(kDesks2) + "[Size]\r\nKeepSize=yes\r\nWidth=0\r\nHeight=0\r\n"; }, 2),
        // Wallpapers that are no pictures.
        Starts(
            "WallpapersThatAreNoPictures",
            [] { return Good("[Wallpaper]\r\n1=C:\\Trevo\\Trevo.ini\r\n2=C:\\\r\n3=C:\\missing.jpg\r\n"); }, 2),
        Starts(
            "WallpaperPathOfThousandsOfCharacters",
            [] { return Good("[Wallpaper]\r\n1=C:\\" + std::string(5000, 'p') + ".bmp\r\n2=\\\\?\\<>|\r\n"); }, 2),
        // Never-move entries.
        Starts(
            "PatternWithoutClosingBracket", [] { return Good(NeverMove("01=class(Probe\r\n")); }, 2, 1),
        Starts(
            "PatternOfTenThousandCharacters",
            [] { return Good(NeverMove("01=title(" + std::string(10'000, 'x') + ")\r\n")); }, 2, 1),
        Starts(
            "TitlePatternOfAThousandStars",
            [] {
                return Good(
                    NeverMove("01=title(" + Repeat("*", 1000) + ")\r\n02=title(" + Repeat("*a", 500) + ")\r\n"));
            },
            2, 2),
        Starts(
            "AThousandEntries",
            [] {
                std::string entries;
                for (int k = 1; k <= 1000; ++k)
                    entries += (k < 10 ? "0" : "") + std::to_string(k) + "=title(" + Repeat("?", k % 50) + "*)\r\n";
                return Good(NeverMove(entries));
            },
            2, 1000),
        Starts(
            "EntriesOfGarbage", [] { return Good(NeverMove("01=" + Garbage(200, 4) + "\r\n02=)(\r\n03=class(\r\n")); },
            2),
        Starts(
            "EntryWithAnEmptyKeyword", [] { return Good(NeverMove("01=title()class()\r\n02=[!]\r\n")); }, 2, 2),
    };
    return corpus;
}

class BadSettingsCorpus : public ::testing::TestWithParam<std::size_t> {};

TEST_P(BadSettingsCorpus, StartsAsDocumentedOrExplainsAndEnds) {
    const Case& c = Corpus()[GetParam()];
    SimTrevo t;
    // A window of desktop 1 and one that every "*" title pattern spares.
    const auto probe = t.OpenWindow(u"Probe", u"Probe", {100, 50, 400, 250});
    t.WriteIni(c.file());
    const std::string before = ReadFile(t.IniFile());
    t.Start();

    if (c.refusedSetting) {
        EXPECT_TRUE(t.world().ended);
        ASSERT_EQ(t.world().msgBoxes.size(), 1u);
        const std::string text = U8(t.world().msgBoxes[0].text);
        EXPECT_NE(text.find(c.refusedSetting), std::string::npos) << text;
        EXPECT_TRUE(t.world().trayIcons.empty());
    } else {
        ASSERT_FALSE(t.world().ended) << (t.world().msgBoxes.empty() ? "" : U8(t.world().msgBoxes[0].text));
        EXPECT_TRUE(t.world().msgBoxes.empty());
        ASSERT_EQ(t.bas().gDeskCount, c.desks);
        EXPECT_EQ(t.world().trayIcons.size(), static_cast<std::size_t>(c.desks));
        if (c.protectedCount >= 0) {
            EXPECT_EQ(t.bas().gNoChange->Count(), c.protectedCount);
        }
        // Every desktop once and back: the probe is where it was.
        for (int n = 2; n <= c.desks; ++n) t.Click(n);
        t.Click(1);
        EXPECT_FALSE(t.world().ended);
        EXPECT_EQ(t.RectOf(probe), (engine::Rect{100, 50, 400, 250}));
    }
    EXPECT_EQ(ReadFile(t.IniFile()), before) << "the settings file changed";
}

INSTANTIATE_TEST_SUITE_P(Files, BadSettingsCorpus, ::testing::Range<std::size_t>(0, Corpus().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             return std::string(Corpus()[info.param].name);
                         });

}  // namespace
