// [Names]: each desktop's name in its icon's tip, cut to fit, refused when it
// cannot be shown, and left alone by the Properties dialog.
#include <gtest/gtest.h>

#include <algorithm>

#include "sim_fixture.h"

namespace {
using testing_support::ReadFile;
using testing_support::SimTrevo;
using testing_support::U8;
namespace win = engine::win;

std::string IniWithNames(const std::string& names) {
    return "[Desktops]\r\nMax=3\r\n[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n[Names]\r\n" + names;
}

// The tip every desktop had before names: the version and the number.
std::u16string Head(int n) {
    return u"Velmora Ver " + engine::DecimalText(TREVO_VERSION_MAJOR) + u"." +
           engine::DecimalText(TREVO_VERSION_MINOR) + u"." + engine::DecimalText(TREVO_VERSION_PATCH) + u"  #" +
           engine::DecimalText(n);
}

TEST(DesktopNames, FollowTheNumberAreCutAt24AndSurviveOk) {
    SimTrevo t(testing_support::InCodePage(65001));  // a code page that spells every name
    // 23 letters and a face, two UTF-16 units: the cut at 24 takes the face whole.
    t.WriteIni(IniWithNames("1=Main\r\n2=abcdefghijklmnopqrstuvw\xF0\x9F\x98\x80yz\r\n3=\r\n"));
    t.Start();
    EXPECT_EQ(t.Icon(1)->tip, Head(1) + u" Main Active");
    EXPECT_EQ(t.Icon(2)->tip, Head(2) + u" abcdefghijklmnopqrstuvw");
    EXPECT_EQ(t.Icon(3)->tip, Head(3));  // no name: the tip as it always was
    t.Click(2);
    EXPECT_EQ(t.Icon(1)->tip, Head(1) + u" Main");
    EXPECT_EQ(t.Icon(2)->tip, Head(2) + u" abcdefghijklmnopqrstuvw Active");

    const std::string names = "[Names]\r\n1=Main\r\n2=abcdefghijklmnopqrstuvw\xF0\x9F\x98\x80yz\r\n3=\r\n";
    t.world().modalScript = [&](engine::Hwnd) { t.world().ControlAt(t.app().dialog().cmdOk->hWnd()).UserClick(); };
    t.world().menuChoices.push_back(u"&Properties...");
    t.Click(1, win::WM_RBUTTONUP);
    ASSERT_EQ(t.world().msgBoxes.size(), 1u);  // OK's "at the next start"
    EXPECT_NE(ReadFile(t.IniFile()).find(names), std::string::npos);
}

TEST(DesktopNames, AControlCharacterStopsTheStartNamingItAndWritesNothing) {
    for (const std::string bad : {"2=Mail\tBox\r\n", "3=\x1B[31m\r\n"}) {
        SimTrevo t;
        t.WriteIni(IniWithNames(bad));
        const std::string before = ReadFile(t.IniFile());
        t.Start();
        EXPECT_TRUE(t.world().ended) << bad;
        ASSERT_EQ(t.world().msgBoxes.size(), 1u) << bad;
        const std::string said = U8(t.world().msgBoxes[0].text);
        EXPECT_NE(said.find("[Names] " + bad.substr(0, 1) + "\r\nValue found: \"" + bad.substr(2, bad.size() - 4)),
                  std::string::npos)
            << said;
        EXPECT_TRUE(t.world().trayIcons.empty());
        EXPECT_EQ(ReadFile(t.IniFile()), before);
    }
}

// The whole tip fits the record's 63 bytes in the code page: the name gives
// way a whole character at a time, never the number or " Active".
TEST(DesktopNames, ALongNameIsCutToFitTheTipsBytes) {
    std::u16string faces;
    for (int i = 0; i < 12; ++i) faces += u"\U0001F600";
    struct Case {
        unsigned codePage;
        std::u16string name;
        size_t unitBytes;  // the bytes each UTF-16 unit of the name takes there
    };
    const Case cases[] = {{932, std::u16string(24, u'漢'), 2}, {65001, faces, 2}, {1252, std::u16string(24, u'x'), 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        SimTrevo t(testing_support::InCodePage(c.codePage));
        const std::string name = t.world().codePage.Encode(c.name);
        t.WriteIni(IniWithNames("1=" + name + "\r\n2=" + name + "\r\n"));
        t.Start();
        ASSERT_FALSE(t.world().ended);
        for (int n = 1; n <= 2; ++n) {
            const bool active = n == 1;
            const std::u16string tail = active ? u" Active" : u"";
            const size_t room = 63 - Head(n).size() - 1 - tail.size();
            size_t kept = std::min<size_t>(24, room / c.unitBytes);
            if (c.codePage == 65001) kept -= kept % 2;  // whole faces only
            EXPECT_EQ(t.Icon(n)->tip, Head(n) + u" " + c.name.substr(0, kept) + tail) << n;
        }
    }
}

}  // namespace
