#include "engine/sim/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace sim {
namespace {

std::string IconvName(unsigned number) {
    switch (number) {
        case 1252: return "CP1252";
        case 932: return "CP932";
        case 65001: return "UTF-8";
        default: throw std::invalid_argument("unsupported simulated code page");
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

}  // namespace

CodePage::CodePage(unsigned number) : number_(number), iconvName_(IconvName(number)) {}

bool CodePage::IsLeadByte(unsigned char byte) const {
    if (number_ != 932) return false;
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

namespace {
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
}  // namespace

std::string CodePage::Encode(std::u16string_view text) const {
    if (AllAscii(text)) return std::string(text.begin(), text.end());
    Converter conv(iconvName_, "UTF-16LE");
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t units = 1;
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size()) units = 2;
        std::string piece;
        if (conv.Convert(reinterpret_cast<const char*>(text.data() + i), units * 2, piece))
            out += piece;
        else
            out += '?';
        i += units - 1;
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
        size_t len = 1;
        if (number_ == 932 && IsLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size())
            len = 2;
        else if (number_ == 65001) {
            unsigned char b = static_cast<unsigned char>(bytes[i]);
            len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
            if (i + len > bytes.size()) len = 1;
        }
        std::string piece;
        if (conv.Convert(bytes.data() + i, len, piece) && !piece.empty()) {
            for (size_t k = 0; k + 1 < piece.size(); k += 2)
                out += static_cast<char16_t>(static_cast<unsigned char>(piece[k]) |
                                             (static_cast<unsigned char>(piece[k + 1]) << 8));
        } else {
            out += u'\uFFFD';
        }
        i += len;
    }
    return out;
}

}  // namespace sim
