// The never-move patterns of the settings file: "title(...)" and "class(...)"
// groups naming windows a desktop switch leaves where they are.
#pragma once

#include <functional>
#include <string_view>

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

// Title patterns with "*" are wildcards: "*" any run, "?" one character, "#" one
// digit, "[abc]", "[a-z]" and "[!abc]" one character of (or not of) a list. The
// whole title must match; letter case counts. Time grows with title × pattern,
// never worse, whatever the input.
bool WildcardMatch(std::u16string_view text, std::u16string_view pattern);

// Whether a window with this title and class is spared. The title and class are
// asked for only when a test needs them (the title first, the class only after the
// title test held).
bool Spares(const NeverMovePattern& pattern, const std::function<engine::String()>& title,
            const std::function<engine::String()>& cls);

}  // namespace desktop
