// The string class's text operations and the variant they take and give.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "engine/sim/sim_engine.h"
#include "lib/ClsKwString.h"
#include "lib/Variant.h"
#include "sim_fixture.h"

namespace {
using engine::Long;
using engine::String;
using lib::ClsKwString;
using lib::Decimal;
using lib::Variant;
using lib::VarType;
using testing_support::TempDir;

using testing_support::ErrorNumber;

// A simulated system with the ANSI code page asked for.
class CodePageSystem {
public:
    explicit CodePageSystem(unsigned codePage) : world_(Options(dir_, codePage)), platform_(world_) {}
    engine::Platform& platform() { return platform_; }

private:
    static sim::Options Options(const TempDir& dir, unsigned codePage) {
        sim::Options o;
        o.root = dir.path();
        o.taskbar = false;
        o.codePage = codePage;
        return o;
    }
    TempDir dir_;
    sim::World world_;
    sim::SimPlatform platform_;
};

// ------------------------------------------------------ narrow and wide text

TEST(NarrowAndWide, ByCodeHalfWidthKatakanaIsNarrow) {
    const String mixed = u"Ab1 ｱｲｳﾟ日本かなＡ１é";
    EXPECT_EQ(ClsKwString::ExtractNarrowString(mixed), u"Ab1 ｱｲｳﾟé");
    EXPECT_EQ(ClsKwString::ExtractWideString(mixed), u"日本かなＡ１");
    EXPECT_EQ(ClsKwString::ExtractWideString(u"abcｱ"), u"");
    // The edges of the half-width block.
    EXPECT_EQ(ClsKwString::ExtractNarrowString(u"\uFF60\uFF61\uFF9F\uFFA0\u0100\u00FF"), u"\uFF61\uFF9F\u00FF");
}

TEST(NarrowAndWide, ByConvertedLengthTheCodePageDecides) {
    CodePageSystem japanese(932);
    ClsKwString s(japanese.platform());
    Long narrow = -1, wide = -1;
    EXPECT_EQ(s.StringType(u"xyz", &narrow, &wide), 1);
    EXPECT_EQ(narrow, 3);
    EXPECT_EQ(wide, 0);
    EXPECT_EQ(s.StringType(u"日本語", &narrow, &wide), 2);
    EXPECT_EQ(wide, 3);
    EXPECT_EQ(s.StringType(u"a日ｱＡ", &narrow, &wide), 0);
    EXPECT_EQ(narrow, 2);  // half-width katakana is one byte in 932
    EXPECT_EQ(wide, 2);
    EXPECT_EQ(s.StringType(u"日"), 2);  // the counts are optional

    // In a Western code page a kanji becomes a one-byte "?".
    CodePageSystem western(1252);
    ClsKwString w(western.platform());
    EXPECT_EQ(w.StringType(u"日本", &narrow, &wide), 1);
    EXPECT_EQ(narrow, 2);
}

TEST(NarrowAndWide, AnEmptyTextCannotBeClassified) {
    CodePageSystem japanese(932);
    ClsKwString s(japanese.platform());
    Long narrow = 9, wide = 9;
    String why;
    EXPECT_EQ(ErrorNumber([&] { s.StringType(u"", &narrow, &wide); }, &why), 5);
    EXPECT_EQ(why, u"判別できない文字で構成されています。");
    EXPECT_EQ(narrow, 0);
    EXPECT_EQ(wide, 0);
}

// ------------------------------------------------------- ranges and tokens

TEST(Ranges, AWalkOverEveryRange) {
    Long next = -1;
    EXPECT_EQ(ClsKwString::GetStringByRangeEx(u"(a)(b)", u"(", u")", 1, &next), u"a");
    EXPECT_EQ(next, 4);
    EXPECT_EQ(ClsKwString::GetStringByRangeEx(u"(a)(b)", u"(", u")", 4, &next), u"b");
    EXPECT_EQ(next, 0);

    std::vector<String> found;
    Long start = 1;
    do {
        found.push_back(ClsKwString::GetStringByRangeEx(u"x<<one>>y<<>>z<<three>>", u"<<", u">>", start, &next));
        start = next;
    } while (next != 0);
    EXPECT_EQ(found, (std::vector<String>{u"one", u"", u"three"}));

    // With text after the last range the walk ends with one empty search.
    EXPECT_EQ(ClsKwString::GetStringByRangeEx(u"(a)!", u"(", u")", 1, &next), u"a");
    EXPECT_EQ(next, 4);
    EXPECT_EQ(ClsKwString::GetStringByRangeEx(u"(a)!", u"(", u")", next, &next), u"");
    EXPECT_EQ(next, 0);
}

TEST(Ranges, WhatIsNotFoundGivesNothingAndEndsTheWalk) {
    Long next = -1;
    EXPECT_EQ(ClsKwString::GetStringByRangeEx(u"(a)", u"[", u"]", 1, &next), u"");
    EXPECT_EQ(next, 0);
    next = -1;
    EXPECT_EQ(ClsKwString::GetStringByRangeEx(u"(abc", u"(", u")", 1, &next), u"");
    EXPECT_EQ(next, 0);
    EXPECT_EQ(ClsKwString::GetStringByRangeEx(u"(a)", u"(", u")", 0, &next), u"a");  // below 1 counts as 1
    EXPECT_EQ(ClsKwString::GetStringByRangeEx(u"(a)", u"(", u")", -7), u"a");
    EXPECT_EQ(ClsKwString::GetStringByRangeEx(u"(a)", u"(", u")", 2, &next), u"");
    EXPECT_EQ(ClsKwString::GetStringByRangeEx(u"(a)", u"(", u")", 99, &next), u"");
    EXPECT_EQ(ClsKwString::GetStringByRangeEx(u"(a)", u"", u")", 1, &next), u"");
    EXPECT_EQ(next, 0);
}

TEST(Tokens, FieldsCutAtEveryOccurrence) {
    EXPECT_EQ(ClsKwString::GetStringByToken(u"a,b,c", u",", 1), u"a");
    EXPECT_EQ(ClsKwString::GetStringByToken(u"a,b,c", u",", 2), u"b");
    EXPECT_EQ(ClsKwString::GetStringByToken(u"a,b,c", u",", 3), u"c");
    EXPECT_EQ(ClsKwString::GetStringByToken(u"a,b,c", u",", 4), u"");
    EXPECT_EQ(ClsKwString::GetStringByToken(u"a,b,c", u",", 0), u"");
    EXPECT_EQ(ClsKwString::GetStringByToken(u"a,b,c", u",", -1), u"");
    EXPECT_EQ(ClsKwString::GetStringByToken(u"xyz", u",", 1), u"xyz");
    EXPECT_EQ(ClsKwString::GetStringByToken(u",,", u",", 2), u"");
    // A longer token: only its first character goes with the field before it.
    EXPECT_EQ(ClsKwString::GetStringByToken(u"a::b::c", u"::", 1), u"a");
    EXPECT_EQ(ClsKwString::GetStringByToken(u"a::b::c", u"::", 2), u":b");
    EXPECT_EQ(ClsKwString::GetStringByToken(u"a::b::c", u"::", 3), u":c");
}

TEST(Tokens, CountsAndSplitsWorkWithOneCharacterOnly) {
    EXPECT_EQ(ClsKwString::TokenCount(u"a,b,c", u","), 2);
    EXPECT_EQ(ClsKwString::TokenCount(u"a,,b", u",,"), 0);
    EXPECT_EQ(ClsKwString::TokenCount(u"", u","), 0);
    EXPECT_EQ(ClsKwString::TokenCount(u"abc", u""), 0);

    const Variant fields = ClsKwString::SplitVb5(u",a,,b,", u",");
    ASSERT_EQ(fields.Type(), VarType::ArrayOfVariants);
    EXPECT_EQ(fields.AsArray(), (Variant::Array{u"", u"a", u"", u"b"}));
    EXPECT_EQ(ClsKwString::SplitVb5(u"a,b", u",").AsArray(), (Variant::Array{u"a", u"b"}));
    EXPECT_EQ(ClsKwString::SplitVb5(u",", u",").AsArray(), (Variant::Array{u""}));
    EXPECT_EQ(ClsKwString::SplitVb5(u"a,,b", u",,").AsArray(), (Variant::Array{u"a,,b"}));

    const Variant none = ClsKwString::SplitVb5(u"", u",");
    EXPECT_EQ(none.Type(), VarType::Long);
    EXPECT_EQ(none.AsLong(), 0);

    EXPECT_EQ(ClsKwString::PackedString(u"a   b  c", u" "), u"a b c");
    EXPECT_EQ(ClsKwString::PackedString(u"  a  ", u" "), u" a ");
    EXPECT_EQ(ClsKwString::PackedString(u"a    b", u"  "), u"a    b");
}

// ------------------------------------------------------------- hexadecimal

TEST(Hexadecimal, DigitsByTheTypeOfTheValue) {
    EXPECT_EQ(ClsKwString::HexString(Variant(std::uint8_t{10})), u"0A");
    EXPECT_EQ(ClsKwString::HexString(Variant(engine::Integer{-1})), u"FFFF");
    EXPECT_EQ(ClsKwString::HexString(Variant(engine::Integer{0x1F})), u"001F");
    EXPECT_EQ(ClsKwString::HexString(Variant(Long{255})), u"000000FF");
    EXPECT_EQ(ClsKwString::HexString(Variant(Long{-2})), u"FFFFFFFE");
    EXPECT_EQ(ClsKwString::HexString(Variant(u"FF")), u"");
    EXPECT_EQ(ClsKwString::HexString(Variant(255.0)), u"");
    EXPECT_EQ(ClsKwString::HexString(Variant()), u"");
    EXPECT_EQ(ClsKwString::HexString(Variant(Decimal::FromDouble(1))), u"");
}

TEST(Hexadecimal, TheNumberOfDigitsChoosesTheType) {
    const Variant ff = ClsKwString::HexStringToVariant(u"ff");
    EXPECT_EQ(ff.Type(), VarType::Byte);
    EXPECT_EQ(ff.AsByte(), 255);
    const Variant prefixed = ClsKwString::HexStringToVariant(u"0x1F");  // the 0 counts, the x does not
    EXPECT_EQ(prefixed.Type(), VarType::Integer);
    EXPECT_EQ(prefixed.AsInteger(), 31);
    const Variant four = ClsKwString::HexStringToVariant(u"FFFF");
    EXPECT_EQ(four.Type(), VarType::Long);
    EXPECT_EQ(four.AsLong(), 65535);
    EXPECT_EQ(ClsKwString::HexStringToVariant(u"F-F-F-F-F-F-F").AsLong(), 0xFFFFFFF);
    const Variant eight = ClsKwString::HexStringToVariant(u"FFFFFFFF");
    EXPECT_EQ(eight.Type(), VarType::Decimal);
    EXPECT_EQ(eight.AsDecimal().ToString(), u"4294967295");
    const Variant none = ClsKwString::HexStringToVariant(u"xyz");
    EXPECT_EQ(none.Type(), VarType::Byte);
    EXPECT_EQ(none.AsByte(), 0);
}

TEST(Hexadecimal, OnlyTheLowByteOfEachCharacterIsRead) {
    // U+3042 has the low byte 0x42, a "B"; the full-width "Ａ" (U+FF21) has 0x21.
    EXPECT_EQ(ClsKwString::HexStringToVariant(u"あ").AsByte(), 11);
    EXPECT_EQ(ClsKwString::HexStringToVariant(u"Ａ1").AsByte(), 1);
    // Upper case first: U+0142 becomes U+0141, low byte 0x41, an "A".
    EXPECT_EQ(ClsKwString::HexStringToVariant(u"\u0142").AsByte(), 10);
}

TEST(Hexadecimal, LargeNumbersAreDecimalsUntilTheyOverflow) {
    EXPECT_EQ(ClsKwString::HexStringToVariant(u"FFFFFFFFFFFFF").AsDecimal().ToString(), u"4503599627370495");
    // 23 digits: the double sum rounds up to 2^92, which the decimal holds exactly.
    EXPECT_EQ(ClsKwString::HexStringToVariant(String(23, u'F')).AsDecimal().ToString(),
              u"4951760157141521099596496896");
    EXPECT_EQ(ErrorNumber([] { ClsKwString::HexStringToVariant(String(24, u'F')); }), engine::err::kOverflow);
    // Leading zeros make no large total.
    EXPECT_EQ(ClsKwString::HexStringToVariant(String(30, u'0') + u"1").AsDecimal().ToString(), u"1");
    EXPECT_EQ(ErrorNumber([] { ClsKwString::HexStringToVariant(String(300, u'0')); }), engine::err::kOverflow);
}

// -------------------------------------------------------------- letter case

TEST(LetterCase, OnlyCharactersBelow0x100Change) {
    EXPECT_EQ(ClsKwString::LCaseAscii(u"ABC Ä Ｇ Ω xyz"), u"abc ä Ｇ Ω xyz");
    EXPECT_EQ(ClsKwString::UCaseAscii(u"abc ä ｇ ω XYZ ÷"), u"ABC Ä ｇ ω XYZ ÷");
    EXPECT_EQ(ClsKwString::LCaseAscii(u"×"), u"×");
}

// ------------------------------------------------------------- replacements

TEST(Replacements, EachPairInTurnIgnoringLetterCase) {
    EXPECT_EQ(ClsKwString::ResolveString(u"aXb", {u"x", u"yy"}), u"ayyb");
    EXPECT_EQ(ClsKwString::ResolveString(u"%1 of %2, %1", {u"%1", u"one", u"%2", u"two"}), u"one of two, one");
    // A later pair sees what an earlier one made.
    EXPECT_EQ(ClsKwString::ResolveString(u"a", {u"a", u"b", u"B", u"c"}), u"c");
    // Each search starts again at the beginning, so what a replacement joins is found.
    EXPECT_EQ(ClsKwString::ResolveString(u"aab", {u"ab", u"b"}), u"b");
    EXPECT_EQ(ClsKwString::ResolveString(u"aab", {u"ab", u"bb"}), u"bbb");
    EXPECT_EQ(ClsKwString::ResolveString(u"xxxx", {u"xx", u"x"}), u"x");
}

TEST(Replacements, EveryPairEnds) {
    // A replacement holding its own search text continues after what it inserted.
    EXPECT_EQ(ClsKwString::ResolveString(u"banana", {u"a", u"aa"}), u"baanaanaa");
    EXPECT_EQ(ClsKwString::ResolveString(u"aXb", {u"x", u"X"}), u"aXb");
    EXPECT_EQ(ClsKwString::ResolveString(u"abc", {u"", u"z"}), u"abc");
    // A pair that grows the text and still ends is carried out to its end: each
    // "a" before the "b"s doubles them.
    EXPECT_EQ(ClsKwString::ResolveString(u"aaaaab", {u"ab", u"bba"}), String(32, u'b') + String(5, u'a'));
    // One whose replacements would rebuild the search text at their joins forever
    // ends too, once the text is long.
    const String grown = ClsKwString::ResolveString(u"aab", {u"ab", u"bbaa"});
    EXPECT_GT(grown.size(), 10'000u);
    EXPECT_LT(grown.size(), 100'000u);
}

TEST(Replacements, ItemsAreConvertedToText) {
    EXPECT_EQ(ClsKwString::ResolveString(u"v1 v2", {Long{1}, 2.5}), u"v2.5 v2");
    EXPECT_EQ(ClsKwString::ResolveString(u"v2 x", {u"V2", Variant()}), u" x");
    EXPECT_EQ(ClsKwString::ResolveString(u"#", {u"#", std::uint8_t{7}}), u"7");
    EXPECT_EQ(ClsKwString::ResolveString(u"n", {u"n", Decimal::FromDouble(-12)}), u"-12");
    // A search text without a replacement is left alone.
    EXPECT_EQ(ClsKwString::ResolveString(u"abc", {u"a", u"x", u"b"}), u"xbc");
    EXPECT_EQ(ErrorNumber([] {
                  ClsKwString::ResolveString(u"abc", {Variant(Variant::Array{}), u"x"});
              }),
              engine::err::kTypeMismatch);
}

// An engine with a string table of its own.
class EngineWithStrings : public sim::SimEngine {
public:
    using SimEngine::SimEngine;
    std::map<Long, String> strings;
    Long failure = 0;  // raised by every load when not 0
    String LoadResString(Long id) override {
        if (failure) engine::Raise(failure);
        auto it = strings.find(id);
        return it == strings.end() ? SimEngine::LoadResString(id) : it->second;
    }
};

TEST(Replacements, OnStringResources) {
    TempDir dir;
    sim::Options o;
    o.root = dir.path();
    o.taskbar = false;
    sim::World world(o);
    EngineWithStrings engine(world);
    engine.strings[101] = u"Desktop %N of %MAX";
    ClsKwString s(engine);
    EXPECT_EQ(s.ResolveResString(101, {u"%n", u"2", u"%max", u"5"}), u"Desktop 2 of 5");
    EXPECT_EQ(s.ResolveResString(102, {u"", u"x"}), u"");  // no such string
    engine.failure = engine::err::kOutOfMemory;            // anything else is not hidden
    EXPECT_EQ(ErrorNumber([&] { s.ResolveResString(101, {}); }), engine::err::kOutOfMemory);

    ClsKwString withoutEngine(engine.platform());
    engine.failure = 0;
    EXPECT_EQ(withoutEngine.ResolveResString(101, {}), u"");
}

TEST(Replacements, TwoTextsChangePlacesWithoutACopy) {
    String first = u"x", second = u"y";
    ClsKwString::ReplaceString(first, second);
    EXPECT_EQ(first, u"y");
    EXPECT_EQ(second, u"x");
    String longFirst(100, u'a'), longSecond(200, u'b');
    const char16_t* firstText = longFirst.data();
    ClsKwString::ReplaceString(longFirst, longSecond);
    EXPECT_EQ(longSecond.data(), firstText);
    EXPECT_EQ(longFirst, String(200, u'b'));
}

// ------------------------------------------------------------------ variant

TEST(VariantValues, DecimalsHoldNinetySixBits) {
    EXPECT_EQ(Decimal::FromDouble(0).ToString(), u"0");
    EXPECT_EQ(Decimal::FromDouble(-0.0).ToString(), u"0");
    EXPECT_EQ(Decimal::FromDouble(-4294967296.0).ToString(), u"-4294967296");
    EXPECT_EQ(Decimal::FromDouble(2.5).ToString(), u"2");        // whole numbers only, halves to even
    const double largest = Decimal::kTwoTo96 - 8796093022208.0;  // the last double below 2^96
    EXPECT_EQ(Decimal::FromDouble(largest).ToString(), u"79228162514264328797450928128");
    EXPECT_EQ(Decimal::FromDouble(largest).ToDouble(), largest);
    EXPECT_EQ(ErrorNumber([] { Decimal::FromDouble(Decimal::kTwoTo96); }), engine::err::kOverflow);
    EXPECT_EQ(ErrorNumber([] { Decimal::FromDouble(-Decimal::kTwoTo96); }), engine::err::kOverflow);
}

TEST(VariantValues, TextOfEachTypeAndMismatches) {
    EXPECT_EQ(Variant().ToString(), u"");
    EXPECT_EQ(Variant(std::uint8_t{200}).ToString(), u"200");
    EXPECT_EQ(Variant(engine::Integer{-300}).ToString(), u"-300");
    EXPECT_EQ(Variant(0.1).ToString(), u"0.1");
    EXPECT_EQ(Variant(1e20).ToString(), u"1E+20");
    EXPECT_EQ(Variant(-0.0).ToString(), u"0");
    EXPECT_EQ(ErrorNumber([] { Variant(Long{1}).AsInteger(); }), engine::err::kTypeMismatch);
    EXPECT_EQ(ErrorNumber([] { Variant(u"1").AsLong(); }), engine::err::kTypeMismatch);
    EXPECT_NE(Variant(Long{1}), Variant(engine::Integer{1}));  // the type is part of the value
}

}  // namespace
