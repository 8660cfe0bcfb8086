// Windows' best fit: what WideCharToMultiByte without WC_NO_BEST_FIT_CHARS writes
// for a character its code page lacks, a look-alike rather than the default '?'.
// Modelled for the characters a window title or a path is likely to hold: Latin
// letters with marks in 1252, Latin-1 in 932, full-width ASCII in 1252.
#pragma once

namespace sim {

// The character that stands in for c in the code page (one the code page
// holds), or 0 when Windows writes the default character.
char16_t BestFit(unsigned codePage, char16_t c);

}  // namespace sim
