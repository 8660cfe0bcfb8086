// The never-move patterns of the settings file: "title(...)" and "class(...)"
// groups naming windows a desktop switch leaves where they are.
#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/types.h"

namespace desktop {

struct NeverMovePattern {
    engine::String title;  // "" when the pattern names no title
    engine::String cls;    // "" when the pattern names no class
};

// Cuts an entry into its title and class values. Keywords are recognised without
// regard to case at the start of what remains; the last group of a keyword counts;
// text that is no group is passed over up to its ")"; the scan ends where no ")"
// is left.
NeverMovePattern ScanPattern(std::u16string_view entry);

// A title pattern with "*", compiled once: "*" any run, "?" one character, "#"
// one digit, "[abc]", "[a-z]" and "[!abc]" one character of (or not of) a list.
// The whole title must match; letter case counts. Time grows with title ×
// pattern, never worse, whatever the input.
class Wildcard {
public:
    explicit Wildcard(std::u16string_view pattern);
    bool Matches(std::u16string_view text) const;

private:
    struct Token {
        enum Kind { Literal, AnyRun, AnyOne, Digit, Set } kind = Literal;
        char16_t ch = 0;
        bool negated = false;
        std::vector<std::pair<char16_t, char16_t>> ranges;  // for Set
        bool Matches(char16_t c) const;
    };
    std::vector<Token> tokens_;
};

bool WildcardMatch(std::u16string_view text, std::u16string_view pattern);

// The title and class of one window, each asked for at most once, and only when
// a rule needs it.
class WindowNames {
public:
    WindowNames(std::function<engine::String()> readTitle, std::function<engine::String()> readClass);
    const engine::String& Title();
    const engine::String& Class();

private:
    std::function<engine::String()> readTitle_, readClass_;
    std::optional<engine::String> title_, class_;
};

// One never-move entry, cut and compiled once, then tested against every window
// of a switch.
class NeverMoveRule {
public:
    explicit NeverMoveRule(NeverMovePattern pattern);
    // The title is tested first; the class only after the title test held.
    bool Spares(WindowNames& names) const;
    const NeverMovePattern& pattern() const { return pattern_; }

private:
    NeverMovePattern pattern_;
    std::optional<Wildcard> titleWildcard_;  // when the title has a "*"
};

// One pattern against one window, for a single test.
bool Spares(const NeverMovePattern& pattern, const std::function<engine::String()>& title,
            const std::function<engine::String()>& cls);

}  // namespace desktop
