#include "desktop/never_move.h"

#include <vector>

#include "engine/text.h"
#include "lib/ClsKwString.h"

namespace desktop {
using engine::String;

NeverMovePattern ScanPattern(std::u16string_view entry) {
    NeverMovePattern out;
    std::u16string_view s = entry;
    while (!s.empty()) {
        if (engine::StartsWithIgnoreCase(s, u"title("))
            out.title = lib::ClsKwString::GetStringByRange(s, u"(", u")");
        else if (engine::StartsWithIgnoreCase(s, u"class("))
            out.cls = lib::ClsKwString::GetStringByRange(s, u"(", u")");
        const auto close = s.find(u')');
        if (close == std::u16string_view::npos) break;  // what is left is no group
        s.remove_prefix(close + 1);
    }
    return out;
}

namespace {

// One element of a wildcard pattern.
struct Token {
    enum Kind { Literal, AnyRun, AnyOne, Digit, Set } kind = Literal;
    char16_t ch = 0;
    bool negated = false;
    std::vector<std::pair<char16_t, char16_t>> ranges;  // for Set

    bool Matches(char16_t c) const {
        switch (kind) {
            case Literal: return c == ch;
            case AnyOne: return true;
            case Digit: return c >= u'0' && c <= u'9';
            case Set: {
                bool in = false;
                for (auto [lo, hi] : ranges) in = in || (c >= lo && c <= hi);
                return in != negated;
            }
            case AnyRun: return false;
        }
        return false;
    }
};

std::vector<Token> Compile(std::u16string_view pattern) {
    std::vector<Token> tokens;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i];
        Token t;
        if (c == u'*') {
            if (!tokens.empty() && tokens.back().kind == Token::AnyRun) continue;  // "**" is "*"
            t.kind = Token::AnyRun;
        } else if (c == u'?') {
            t.kind = Token::AnyOne;
        } else if (c == u'#') {
            t.kind = Token::Digit;
        } else if (c == u'[' && pattern.find(u']', i + 1) != std::u16string_view::npos) {
            const size_t end = pattern.find(u']', i + 1);
            std::u16string_view body = pattern.substr(i + 1, end - i - 1);
            t.kind = Token::Set;
            if (!body.empty() && body[0] == u'!') {
                t.negated = true;
                body.remove_prefix(1);
            }
            for (size_t k = 0; k < body.size(); ++k) {
                if (k + 2 < body.size() && body[k + 1] == u'-') {
                    char16_t lo = body[k], hi = body[k + 2];
                    if (lo > hi) std::swap(lo, hi);
                    t.ranges.push_back({lo, hi});
                    k += 2;
                } else {
                    t.ranges.push_back({body[k], body[k]});
                }
            }
            i = end;
        } else {
            t.ch = c;  // an unclosed "[" stands for itself
        }
        tokens.push_back(std::move(t));
    }
    return tokens;
}

}  // namespace

bool WildcardMatch(std::u16string_view text, std::u16string_view pattern) {
    const std::vector<Token> tokens = Compile(pattern);
    // Greedy matching that remembers only the last "*": each "*" retried at most
    // once per position of the text.
    size_t t = 0, p = 0;
    size_t starP = std::u16string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < tokens.size() && tokens[p].kind == Token::AnyRun) {
            starP = p++;
            starT = t;
        } else if (p < tokens.size() && tokens[p].Matches(text[t])) {
            ++p;
            ++t;
        } else if (starP != std::u16string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < tokens.size() && tokens[p].kind == Token::AnyRun) ++p;
    return p == tokens.size();
}

bool Spares(const NeverMovePattern& pattern, const std::function<String()>& title,
            const std::function<String()>& cls) {
    const bool hasTitle = !pattern.title.empty(), hasClass = !pattern.cls.empty();
    if (!hasTitle && !hasClass) return false;
    if (hasTitle) {
        const String t = title();
        const bool titleHolds = pattern.title.find(u'*') != String::npos ? WildcardMatch(t, pattern.title)
                                                                          : t == pattern.title;
        // A title alone spares the windows it names, as a user writing
        // title(Calculator) expects.
        if (!titleHolds || !hasClass) return titleHolds;
    }
    return cls() == pattern.cls;
}

}  // namespace desktop
