// Text operations, and the restricted input modes of an edit control.
#pragma once

#include <string_view>
#include <vector>

#include "engine/forms.h"
#include "lib/Variant.h"

namespace lib {

class ClsKwString {
public:
    explicit ClsKwString(engine::Platform& platform);
    // With the form engine, ResolveResString can reach the string resources.
    explicit ClsKwString(engine::Engine& engine);

    // Each adds one style bit to the control's window (digits only, upper case,
    // lower case) and returns the style it had before.
    engine::Long SetNumericAttribute(engine::Control& control);
    engine::Long SetUpperCaseAttribute(engine::Control& control);
    engine::Long SetLowerCaseAttribute(engine::Control& control);

    // The characters below 0x100 and the half-width katakana (narrow), or all the
    // others (wide), in their order.
    static engine::String ExtractNarrowString(std::u16string_view text);
    static engine::String ExtractWideString(std::u16string_view text);

    // The text between the first opening token and the next closing token after
    // it, or "" when there is no such pair or nothing between them.
    static engine::String GetStringByRange(std::u16string_view text, std::u16string_view opening,
                                           std::u16string_view closing);
    // The text between the opening token found from start (1-based) and the next
    // closing token. next receives where to continue, or 0 when nothing is left.
    static engine::String GetStringByRangeEx(std::u16string_view text, std::u16string_view opening,
                                             std::u16string_view closing, engine::Long start = 1,
                                             engine::Long* next = nullptr);
    // Field n (1-based) of the text cut at the token; "" when there is none.
    static engine::String GetStringByToken(std::u16string_view text, std::u16string_view token, engine::Long n);

    // Two, four or eight upper-case hexadecimal digits for a byte, a 16-bit or a
    // 32-bit integer; "" for any other type.
    static engine::String HexString(const Variant& value);
    // The number the hexadecimal digits of the text make; its type follows how
    // many digits there are. Raises 6 beyond the range of the decimal type.
    static Variant HexStringToVariant(std::u16string_view text);

    // The first length characters as the user counts them (UTF-16 units), one
    // fewer where the last would be the first half of a surrogate pair.
    static engine::String LeftWhole(std::u16string_view text, size_t length);

    static engine::String LCaseAscii(std::u16string_view text);
    static engine::String UCaseAscii(std::u16string_view text);
    // Every run of the pack character shortened to one.
    static engine::String PackedString(std::u16string_view text, std::u16string_view pack);
    // The fields between separators as a 0-based array of strings, or the 32-bit
    // integer 0 for an empty text.
    static Variant SplitVb5(std::u16string_view text, std::u16string_view separator);

    // 1 when every character takes one byte in the ANSI code page, 2 when every one
    // takes two, 0 for a mixture; raises 5 for a text with neither.
    engine::Long StringType(std::u16string_view text, engine::Long* narrowCount = nullptr,
                            engine::Long* wideCount = nullptr);
    // Occurrences of a one-character token; 0 for any other token.
    static engine::Long TokenCount(std::u16string_view text, std::u16string_view token);

    // Each (search, replacement) pair of the list in turn replaces every
    // occurrence of its search text, letter case ignored.
    static engine::String ResolveString(std::u16string_view text, const std::vector<Variant>& pairs);
    // The same on a string resource; "" when there is no string with that id.
    engine::String ResolveResString(engine::Integer id, const std::vector<Variant>& pairs);
    // Exchanges the two texts without copying them.
    static void ReplaceString(engine::String& first, engine::String& second);

private:
    engine::Long AddStyle(engine::Control& control, engine::Dword bit);
    engine::Platform& platform_;
    engine::Engine* engine_ = nullptr;
};

}  // namespace lib
