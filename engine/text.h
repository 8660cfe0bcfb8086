// Text helpers of the runtime: UTF-8 <-> UTF-16, case and number conversion.
#pragma once

#include <string>
#include <string_view>

#include "engine/types.h"

namespace engine {

String FromUtf8(std::string_view utf8);
std::string ToUtf8(std::u16string_view text);

// Letter case of ASCII and Latin-1 letters only, as the profile and pattern code needs.
String LowerCase(std::u16string_view text);
bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);
bool StartsWithIgnoreCase(std::u16string_view text, std::u16string_view prefix);

// Decimal text without sign, spaces or leading zeros.
String DecimalText(long long value);

// The runtime's text-to-number conversions. Blanks around the number are allowed,
// a fraction is rounded to the nearest whole number with halves to even, "&H" and
// "&O" prefixes give hexadecimal and octal. Text that is no number raises 13; a
// number outside the target's range raises 6.
Long CLng(std::u16string_view text);
Integer CInt(std::u16string_view text);
Integer CIntFromLong(Long value);  // raises 6 outside the 16-bit range

// Nearest whole number, halves to even (the runtime's rounding).
double RoundHalfEven(double value);

// Cut at the first NUL, as every buffer filled by a platform call is read back.
String CutAtNul(std::u16string_view text);
std::string CutAtNul(std::string_view bytes);

}  // namespace engine
