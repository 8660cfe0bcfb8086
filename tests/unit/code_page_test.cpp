// The simulated code pages convert as WideCharToMultiByte and MultiByteToWideChar
// do without flags (tests/profile holds them against Wine's).
#include <gtest/gtest.h>

#include <string>

#include "engine/sim/code_page.h"

namespace {
using namespace std::string_literals;

TEST(CodePage, ACharacterTheCodePageLacksBecomesItsBestFitOrAQuestionMark) {
    const sim::CodePage western(1252), japanese(932);
    EXPECT_EQ(western.Encode(u"Āā Łł Ǘǘ Ź"), "Aa Ll Uu Z");
    EXPECT_EQ(western.Encode(u"Ａｚ！～"), "Az!~");  // full-width ASCII
    EXPECT_EQ(western.Encode(u"Đđ Ƒ"),
              "\xD0"
              "d \x83");                             // a look-alike the code page holds
    EXPECT_EQ(western.Encode(u"Šš"), "\x8A\x9A");    // held letters keep their own bytes
    EXPECT_EQ(western.Encode(u"Ŀ Ǻ 字"), "? ? ?");   // no fit
    EXPECT_EQ(western.Encode(u"\U0001F600"), "??");  // each half of a pair
    EXPECT_EQ(japanese.Encode(u"¥ é Ç ½"), "\\ e C ?");
    EXPECT_EQ(japanese.Encode(u"Ā"), "?");     // 932 fits Latin-1 only
    EXPECT_EQ(japanese.Encode(u"〜−"), "??");  // iconv holds them, Windows does not
    EXPECT_EQ(japanese.Encode(u"ゔ"), japanese.Encode(u"ヴ"));
}

TEST(CodePage, EveryWesternByteReadsAsACharacterAndBack) {
    const sim::CodePage western(1252);
    const std::string undefined = "\x81\x8D\x8F\x90\x9D";
    EXPECT_EQ(western.Decode(undefined), u"\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(western.Encode(western.Decode(undefined)), undefined);
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(western.Encode(western.Decode(all)), all);
}

TEST(CodePage, ABrokenJapaneseCharacterReadsAsTheMiddleDot) {
    const sim::CodePage japanese(932);
    EXPECT_EQ(japanese.Decode("\x81\x20x"), u"\u30FBx");                // the byte after a lead byte goes with it
    EXPECT_EQ(japanese.Decode("a\x81"), u"a\u30FB");                    // a lead byte at the end
    EXPECT_EQ(japanese.Decode("\x81\0x"s), u"\u30FB\0x"s);              // a lead byte before NUL leaves the NUL
    EXPECT_EQ(japanese.Decode("\x85\x40"), u"\u30FB");                  // a row without characters
    EXPECT_EQ(japanese.Decode("\x80\xA0\xFD"), u"\u0080\uF8F0\uF8F1");  // single bytes of Windows' own
    EXPECT_EQ(japanese.Encode(u"\u0080\uF8F0\uF8F1"), "\x80\xA0\xFD");
}

}  // namespace
