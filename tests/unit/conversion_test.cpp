// The runtime's text-to-number conversions the settings rely on.
#include <gtest/gtest.h>

#include "engine/error.h"
#include "engine/text.h"

namespace {
using engine::CInt;
using engine::CLng;

engine::Long ErrorOf(const std::u16string& text) {
    try {
        CLng(text);
    } catch (const engine::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

TEST(Conversion, WholeNumbersWithBlanksAndSigns) {
    EXPECT_EQ(CLng(u"3"), 3);
    EXPECT_EQ(CLng(u"  640 "), 640);
    EXPECT_EQ(CLng(u"\t-5"), -5);
    EXPECT_EQ(CLng(u"+12"), 12);
    EXPECT_EQ(CLng(u"0500"), 500);
}

TEST(Conversion, FractionsRoundHalfToEven) {
    EXPECT_EQ(CLng(u"2.5"), 2);
    EXPECT_EQ(CLng(u"3.5"), 4);
    EXPECT_EQ(CLng(u"-2.5"), -2);
    EXPECT_EQ(CLng(u"0.49"), 0);
    EXPECT_EQ(CLng(u"1e3"), 1000);
    EXPECT_EQ(CLng(u".5"), 0);
}

TEST(Conversion, HexAndOctalForms) {
    EXPECT_EQ(CLng(u"&H10"), 16);
    EXPECT_EQ(CLng(u"&hFFFFFFFF"), -1);
    EXPECT_EQ(CLng(u"&O17"), 15);
}

TEST(Conversion, TextThatIsNoNumberIsATypeMismatch) {
    for (const char16_t* bad : {u"", u"   ", u"abc", u"3x", u"1,000", u"--1", u"1e", u"&H", u"&HG", u"."})
        EXPECT_EQ(ErrorOf(bad), engine::err::kTypeMismatch) << engine::ToUtf8(bad);
}

TEST(Conversion, NumbersBeyondTheTargetOverflow) {
    EXPECT_EQ(ErrorOf(u"2147483647"), 0);
    EXPECT_EQ(ErrorOf(u"2147483648"), engine::err::kOverflow);
    EXPECT_EQ(ErrorOf(u"99999999999"), engine::err::kOverflow);
    EXPECT_EQ(ErrorOf(u"-2147483649"), engine::err::kOverflow);
    EXPECT_EQ(ErrorOf(u"1e400"), engine::err::kOverflow);
    EXPECT_THROW(CInt(u"32768"), engine::RuntimeError);
    EXPECT_EQ(CInt(u"-32768"), -32768);
    EXPECT_THROW(engine::CIntFromLong(70000), engine::RuntimeError);
}

TEST(Conversion, Utf8RoundTripKeepsJapanese) {
    const std::u16string text = u"プロパティの変更は次回起動時に反映されます。ｷｬﾝｾﾙ";
    EXPECT_EQ(engine::FromUtf8(engine::ToUtf8(text)), text);
}

TEST(Conversion, ErrorReportNamesNumberAndDescription) {
    const engine::RuntimeError e(13);
    EXPECT_EQ(engine::RuntimeErrorReport(e), u"Run-time error '13':\r\n\r\nType mismatch");
}

}  // namespace
