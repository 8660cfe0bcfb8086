// Never-move patterns: cutting an entry into its values, and the wildcard match.
#include <gtest/gtest.h>

#include <chrono>

#include "desktop/never_move.h"
#include "engine/text.h"

namespace {
using desktop::ScanPattern;
using desktop::Spares;
using desktop::WildcardMatch;

TEST(PatternScan, GroupsKeywordsAndLastValues) {
    auto p = ScanPattern(u"title(xyz)");
    EXPECT_EQ(p.title, u"xyz");
    EXPECT_EQ(p.cls, u"");
    p = ScanPattern(u"class(A)title(B)");
    EXPECT_EQ(p.cls, u"A");
    EXPECT_EQ(p.title, u"B");
    p = ScanPattern(u"TITLE(Up)Class(Mixed)");
    EXPECT_EQ(p.title, u"Up");
    EXPECT_EQ(p.cls, u"Mixed");
    p = ScanPattern(u"class(first)class(second)");
    EXPECT_EQ(p.cls, u"second");
    p = ScanPattern(u"class(first)class()");
    EXPECT_EQ(p.cls, u"");  // the last counts, even an empty one
    p = ScanPattern(u"title(a(b)");
    EXPECT_EQ(p.title, u"a(b");
}

TEST(PatternScan, TextThatIsNoGroupIsPassedOver) {
    auto p = ScanPattern(u"class(A) title(B)");  // the blank makes the second no group
    EXPECT_EQ(p.cls, u"A");
    EXPECT_EQ(p.title, u"");
    p = ScanPattern(u"name(x)class(C)");
    EXPECT_EQ(p.cls, u"C");
    p = ScanPattern(u"xclass(C)");
    EXPECT_EQ(p.cls, u"");
}

TEST(PatternScan, EndsWhereNoClosingBracketIsLeft) {
    auto p = ScanPattern(u"class(A)trailing text");
    EXPECT_EQ(p.cls, u"A");
    p = ScanPattern(u"class(unclosed");
    EXPECT_EQ(p.cls, u"");
    p = ScanPattern(u"no groups at all");
    EXPECT_EQ(p.cls, u"");
    EXPECT_EQ(p.title, u"");
    p = ScanPattern(u"");
    EXPECT_EQ(p.title, u"");
}

TEST(Wildcards, TheRunTheOneTheDigitAndLists) {
    EXPECT_TRUE(WildcardMatch(u"Report 2026", u"Report*"));
    EXPECT_TRUE(WildcardMatch(u"Report", u"Report*"));
    EXPECT_FALSE(WildcardMatch(u"My Report", u"Report*"));
    EXPECT_TRUE(WildcardMatch(u"My Report", u"*Report"));
    EXPECT_TRUE(WildcardMatch(u"abc", u"a?c"));
    EXPECT_FALSE(WildcardMatch(u"ac", u"a?c"));
    for (const char16_t* digit : {u"v0", u"v7", u"v9"})
        EXPECT_TRUE(WildcardMatch(digit, u"v#")) << engine::ToUtf8(digit);
    for (const char16_t* other : {u"vx", u"v/", u"v:", u"v", u"v10"})
        EXPECT_FALSE(WildcardMatch(other, u"v#")) << engine::ToUtf8(other);
    EXPECT_TRUE(WildcardMatch(u"b", u"[abc]"));
    EXPECT_TRUE(WildcardMatch(u"q", u"[a-z]"));
    EXPECT_FALSE(WildcardMatch(u"Q", u"[a-z]"));
    EXPECT_FALSE(WildcardMatch(u"b", u"[!abc]"));
    EXPECT_TRUE(WildcardMatch(u"d", u"[!abc]"));
    EXPECT_TRUE(WildcardMatch(u"x*y", u"x[*]y"));
    EXPECT_TRUE(WildcardMatch(u"a[b", u"a[b"));          // an unclosed "[" is itself
    EXPECT_FALSE(WildcardMatch(u"report", u"Report*"));  // letter case counts
    EXPECT_TRUE(WildcardMatch(u"", u"*"));
    EXPECT_TRUE(WildcardMatch(u"日本語のウィンドウ", u"日本*"));
}

TEST(Wildcards, AHostileTitleCannotFreezeTheMatch) {
    const std::u16string title(20000, u'a');
    std::u16string pattern;
    for (int i = 0; i < 1000; ++i) pattern += u"*a";
    pattern += u"b";
    // Backtracking of every star would never finish; this returns at once.
    EXPECT_FALSE(WildcardMatch(title, pattern));
    EXPECT_TRUE(WildcardMatch(title + u"b", pattern));
}

TEST(Spare, TheCombinationsOfTitleAndClass) {
    int titleReads = 0, classReads = 0;
    auto check = [&](const char16_t* entry, std::u16string title, std::u16string cls) {
        titleReads = classReads = 0;
        return Spares(
            ScanPattern(entry),
            [&] {
                ++titleReads;
                return title;
            },
            [&] {
                ++classReads;
                return cls;
            });
    };
    EXPECT_TRUE(check(u"class(X)", u"t", u"X"));
    EXPECT_EQ(titleReads, 0);
    EXPECT_FALSE(check(u"class(X)", u"t", u"x"));
    EXPECT_TRUE(check(u"title(Report*)class(X)", u"Report 1", u"X"));
    EXPECT_FALSE(check(u"title(Report*)class(X)", u"Other", u"X"));
    EXPECT_EQ(classReads, 0);  // the class is read only when the title held
    EXPECT_FALSE(check(u"title(Report*)class(X)", u"Report 1", u"Y"));
    // Without "*" the title is taken literally, brackets and question marks too.
    EXPECT_TRUE(check(u"title(a?[b])", u"a?[b]", u""));
    EXPECT_FALSE(check(u"title(a?[b])", u"ax b", u""));
    EXPECT_FALSE(check(u"title(Calc)", u"Calculator", u""));          // the whole title
    EXPECT_TRUE(check(u"title(Calculator)", u"Calculator", u"Any"));  // a title alone spares
    EXPECT_FALSE(check(u"class()", u"t", u""));
    EXPECT_FALSE(check(u"garbage", u"", u""));
}

}  // namespace
