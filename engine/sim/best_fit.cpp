#include "engine/sim/best_fit.h"

#include <string_view>

namespace sim {
namespace {

// Letters that come as a capital followed by its small letter, from `first` on:
// the base letter of each pair, ' ' where Windows has no fit for the pair.
struct LetterPairs {
    char16_t first;
    std::string_view bases;
};

// Code page 1252: Latin Extended-A and the letters of Latin Extended-B that
// Windows maps. Pairs whose letters 1252 holds (Œ, Š, Ž) are found before this.
constexpr LetterPairs kWesternPairs[] = {
    {0x0100, "AAACCCCDDEEEEEGGGGHHIIIII JK"},  // Ā .. ķ; no fit for Ĳ
    {0x0139, "LLL LNNN"},                      // Ĺ .. ň; none for Ŀ
    {0x014A, " OOO RRRSSSSTTTUUUUUUWY"},       // Ŋ .. ŷ; none for Ŋ
    {0x0179, "ZZZ"},                           // Ź .. ž
    {0x01A0, "O"},                             // Ơ ơ
    {0x01AF, "U"},                             // Ư ư
    {0x01CD, "AIOUUUUU"},                      // Ǎ .. ǜ
    {0x01DE, "A"},                             // Ǟ ǟ
    {0x01E4, "GGKOO"},                         // Ǥ .. ǭ
};

struct Fit {
    char16_t from;
    char16_t to;
};

// Letters without a partner in the pairs above, and the ones that fit a
// letter 1252 holds rather than a base letter.
constexpr Fit kWesternSingles[] = {
    {0x0110, 0x00D0}, {0x0180, u'b'}, {0x0189, 0x00D0}, {0x0191, 0x0192}, {0x0197, u'I'},
    {0x019A, u'l'},   {0x019F, u'O'}, {0x01AB, u't'},   {0x01AE, u'T'},   {0x01B6, u'z'},
    {0x01C0, u'|'},   {0x01C3, u'!'}, {0x01F0, u'j'},
};

// Code page 932: the letters of Latin-1, U+00C0 .. U+00FF, lose their marks
// ('*': × and ÷, which 932 holds).
constexpr std::u16string_view kLatin1Bases = u"AAAAAAACEEEEIIIIDNOOOOO*OUUUUYTsaaaaaaaceeeeiiiidnooooo*ouuuuyty";

// and the signs of Latin-1 that 932 lacks find a look-alike, as hiragana vu
// finds its katakana.
constexpr Fit kJapaneseFits[] = {
    {0x00A1, u'!'},   {0x00A5, u'\\'},  {0x00A6, u'|'},   {0x00A9, u'c'}, {0x00AA, u'a'},   {0x00AB, 0x226A},
    {0x00AD, u'-'},   {0x00AE, u'R'},   {0x00AF, 0xFFE3}, {0x00B2, u'2'}, {0x00B3, u'3'},   {0x00B5, 0x03BC},
    {0x00B7, 0x30FB}, {0x00B8, 0xFF0C}, {0x00B9, u'1'},   {0x00BA, u'o'}, {0x00BB, 0x226B}, {0x3094, 0x30F4},
};

template <std::size_t N>
char16_t Lookup(const Fit (&fits)[N], char16_t c) {
    for (const Fit& fit : fits)
        if (fit.from == c) return fit.to;
    return 0;
}

char16_t WesternBestFit(char16_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) return static_cast<char16_t>(c - 0xFF01 + u'!');  // full-width ASCII
    if (const char16_t single = Lookup(kWesternSingles, c)) return single;
    for (const LetterPairs& run : kWesternPairs) {
        if (c < run.first || c >= run.first + 2 * run.bases.size()) continue;
        const unsigned offset = c - run.first;
        const char base = run.bases[offset / 2];
        if (base == ' ') return 0;
        return static_cast<char16_t>(offset % 2 == 0 ? base : base - 'A' + 'a');
    }
    return 0;
}

char16_t JapaneseBestFit(char16_t c) {
    if (c >= 0x00C0 && c <= 0x00FF) {
        const char16_t base = kLatin1Bases[c - 0x00C0];
        return base == u'*' ? 0 : base;
    }
    return Lookup(kJapaneseFits, c);
}

}  // namespace

char16_t BestFit(unsigned codePage, char16_t c) {
    switch (codePage) {
        case 1252:
            return WesternBestFit(c);
        case 932:
            return JapaneseBestFit(c);
        default:
            return 0;
    }
}

}  // namespace sim
