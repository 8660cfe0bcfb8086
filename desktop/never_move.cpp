#include "desktop/never_move.h"

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

bool Wildcard::Token::Matches(char16_t c) const {
    switch (kind) {
        case Literal:
            return c == ch;
        case AnyOne:
            return true;
        case Digit:
            return c >= u'0' && c <= u'9';
        case Set: {
            bool in = false;
            for (auto [lo, hi] : ranges) in = in || (c >= lo && c <= hi);
            return in != negated;
        }
        case AnyRun:
            return false;
    }
    return false;
}

Wildcard::Wildcard(std::u16string_view pattern) {
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i];
        Token t;
        if (c == u'*') {
            if (!tokens_.empty() && tokens_.back().kind == Token::AnyRun) continue;  // "**" is "*"
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
        tokens_.push_back(std::move(t));
    }
}

bool Wildcard::Matches(std::u16string_view text) const {
    // Greedy matching that remembers only the last "*": each "*" retried at most
    // once per position of the text.
    size_t t = 0, p = 0;
    size_t starP = std::u16string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < tokens_.size() && tokens_[p].kind == Token::AnyRun) {
            starP = p++;
            starT = t;
        } else if (p < tokens_.size() && tokens_[p].Matches(text[t])) {
            ++p;
            ++t;
        } else if (starP != std::u16string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < tokens_.size() && tokens_[p].kind == Token::AnyRun) ++p;
    return p == tokens_.size();
}

bool WildcardMatch(std::u16string_view text, std::u16string_view pattern) { return Wildcard(pattern).Matches(text); }

WindowNames::WindowNames(std::function<String()> readTitle, std::function<String()> readClass)
    : readTitle_(std::move(readTitle)), readClass_(std::move(readClass)) {}

const String& WindowNames::Title() {
    if (!title_) title_ = readTitle_();
    return *title_;
}

const String& WindowNames::Class() {
    if (!class_) class_ = readClass_();
    return *class_;
}

NeverMoveRule::NeverMoveRule(NeverMovePattern pattern) : pattern_(std::move(pattern)) {
    if (pattern_.title.find(u'*') != String::npos) titleWildcard_.emplace(pattern_.title);
}

bool NeverMoveRule::Spares(WindowNames& names) const {
    const bool hasTitle = !pattern_.title.empty(), hasClass = !pattern_.cls.empty();
    if (!hasTitle && !hasClass) return false;
    if (hasTitle) {
        const String& title = names.Title();
        const bool titleHolds = titleWildcard_ ? titleWildcard_->Matches(title) : title == pattern_.title;
        // A title alone spares the windows it names, as a user writing
        // title(Calculator) expects.
        if (!titleHolds || !hasClass) return titleHolds;
    }
    return names.Class() == pattern_.cls;
}

bool Spares(const NeverMovePattern& pattern, const std::function<String()>& title, const std::function<String()>& cls) {
    WindowNames names(title, cls);
    return NeverMoveRule(pattern).Spares(names);
}

}  // namespace desktop
