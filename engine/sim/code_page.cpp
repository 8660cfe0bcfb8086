// The code page tables come from iconv; what Windows does beyond its tables (best
// fit, the bytes iconv leaves undefined, broken double-byte characters) is here.
#include "engine/sim/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "engine/sim/best_fit.h"

namespace sim {
namespace {

std::string IconvName(unsigned number) {
    switch (number) {
        case 1252:
            return "CP1252";
        case 932:
            return "CP932";
        case 65001:
            return "UTF-8";
        default:
            throw std::invalid_argument("unsupported simulated code page");
    }
}

// One iconv conversion descriptor, closed when it goes out of scope.
class Converter {
public:
    Converter(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of in; returns false (and converts nothing) when in is not whole.
    bool Convert(const char* in, size_t inLen, std::string& out) const {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string buf(inLen * 4 + 16, '\0');
        char* src = const_cast<char*>(in);
        char* dst = buf.data();
        size_t srcLeft = inLen;
        size_t dstLeft = buf.size();
        if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
        if (iconv(cd_, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
        out.assign(buf.data(), buf.size() - dstLeft);
        return true;
    }

private:
    iconv_t cd_;
};

// Single bytes Windows defines and iconv does not: 1252's five unassigned bytes
// stand for the C1 controls of the same number, 932's for characters of its own.
struct ByteAndChar {
    unsigned char byte;
    char16_t c;
};
constexpr ByteAndChar kWesternExtras[] = {
    {0x81, 0x0081}, {0x8D, 0x008D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x9D, 0x009D}};
constexpr ByteAndChar kJapaneseExtras[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};

std::basic_string_view<ByteAndChar> ExtrasOf(unsigned number) {
    if (number == 1252) return {kWesternExtras, std::size(kWesternExtras)};
    if (number == 932) return {kJapaneseExtras, std::size(kJapaneseExtras)};
    return {};
}

// Characters iconv's 932 table holds as compatibility mappings and Windows'
// does not: Windows writes '?' for them.
constexpr char16_t kNotInWindows932[] = {0x2014, 0x2016, 0x203E, 0x2212, 0x301C};

bool InWindowsTable(unsigned number, char16_t c) {
    if (number != 932) return true;
    for (char16_t missing : kNotInWindows932)
        if (c == missing) return false;
    return true;
}

char16_t DefaultCharacter(unsigned number) {
    switch (number) {
        case 932:
            return 0x30FB;  // KATAKANA MIDDLE DOT
        case 65001:
            return 0xFFFD;
        default:
            return u'?';
    }
}

bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The three code pages agree with ASCII below 0x80.
bool AllAscii(std::u16string_view text) {
    for (char16_t c : text)
        if (c >= 0x80) return false;
    return true;
}
bool AllAscii(std::string_view bytes) {
    for (char b : bytes)
        if (static_cast<unsigned char>(b) >= 0x80) return false;
    return true;
}

void AppendUtf16(const std::string& piece, engine::String& out) {
    for (size_t k = 0; k + 1 < piece.size(); k += 2)
        out += static_cast<char16_t>(static_cast<unsigned char>(piece[k]) |
                                     (static_cast<unsigned char>(piece[k + 1]) << 8));
}

}  // namespace

CodePage::CodePage(unsigned number) : number_(number), iconvName_(IconvName(number)) {}

bool CodePage::IsLeadByte(unsigned char byte) const {
    if (number_ != 932) return false;
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::string CodePage::Encode(std::u16string_view text, bool bestFit, bool* usedDefault) const {
    if (usedDefault) *usedDefault = false;
    if (AllAscii(text)) return std::string(text.begin(), text.end());
    Converter conv(iconvName_, "UTF-16LE");
    // The character's bytes in the code page's own table, if it has them.
    auto exact = [&](char16_t c, std::string& out) {
        for (const ByteAndChar& extra : ExtrasOf(number_))
            if (extra.c == c) {
                out += static_cast<char>(extra.byte);
                return true;
            }
        std::string piece;
        if (!InWindowsTable(number_, c) || !conv.Convert(reinterpret_cast<const char*>(&c), 2, piece)) return false;
        out += piece;
        return true;
    };
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (number_ == 65001 && IsSurrogate(c)) {
            // UTF-8 writes a pair as one character; an ANSI code page has none
            // and writes a '?' for each half.
            std::string piece;
            const size_t units = i + 1 < text.size() && c <= 0xDBFF ? 2 : 1;
            const bool converted = conv.Convert(reinterpret_cast<const char*>(text.data() + i), units * 2, piece);
            out += converted ? piece : "?";
            if (!converted && usedDefault) *usedDefault = true;
            i += units - 1;
        } else if (!exact(c, out)) {
            const char16_t fit = bestFit ? BestFit(number_, c) : 0;
            if (!fit || !exact(fit, out)) {
                out += '?';
                if (usedDefault) *usedDefault = true;
            }
        }
    }
    return out;
}

engine::String CodePage::Decode(std::string_view bytes) const {
    if (AllAscii(bytes)) {
        engine::String out;
        out.reserve(bytes.size());
        for (char b : bytes) out += static_cast<char16_t>(b);
        return out;
    }
    Converter conv("UTF-16LE", iconvName_);
    engine::String out;
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        size_t len = 1;
        if (IsLeadByte(b)) {
            // A lead byte takes any byte after it but NUL; alone it is no character.
            if (i + 1 >= bytes.size() || bytes[i + 1] == '\0') {
                out += DefaultCharacter(number_);
                ++i;
                continue;
            }
            len = 2;
        } else if (number_ == 65001) {
            len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
            if (i + len > bytes.size()) len = 1;
        }
        bool known = false;
        if (len == 1)
            for (const ByteAndChar& extra : ExtrasOf(number_))
                if (extra.byte == b) {
                    out += extra.c;
                    known = true;
                }
        std::string piece;
        if (!known && conv.Convert(bytes.data() + i, len, piece) && !piece.empty()) {
            AppendUtf16(piece, out);
            known = true;
        }
        if (!known) out += DefaultCharacter(number_);
        i += len;
    }
    return out;
}

}  // namespace sim
