// The simulated system's ANSI code page: 1252 (Western) or 932 (Japanese), chosen by
// the test, with the conversions WideCharToMultiByte and MultiByteToWideChar make
// without flags (and UTF-8, 65001, for files that carry it).
#pragma once

#include <string>
#include <string_view>

#include "engine/types.h"

namespace sim {

class CodePage {
public:
    explicit CodePage(unsigned number = 1252);
    unsigned Number() const { return number_; }
    // A character the code page lacks becomes its best fit where Windows has
    // one (Ā gives 'A'), else '?', Windows' default character.
    std::string Encode(std::u16string_view text) const { return Encode(text, true, nullptr); }
    // With bestFit false (WC_NO_BEST_FIT_CHARS) every character the code page
    // lacks becomes '?'; *usedDefault then says whether one did.
    std::string Encode(std::u16string_view text, bool bestFit, bool* usedDefault) const;
    // Bytes that form no character become the code page's default character:
    // U+30FB in 932 (a lead byte without its trail byte is one), U+FFFD in UTF-8.
    engine::String Decode(std::string_view bytes) const;
    // Bytes of one character starting at this lead byte: 1, or 2 for a DBCS lead byte.
    bool IsLeadByte(unsigned char byte) const;

private:
    unsigned number_;
    std::string iconvName_;
};

}  // namespace sim
