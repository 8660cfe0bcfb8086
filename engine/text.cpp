#include "engine/text.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "engine/error.h"

namespace engine {

String FromUtf8(std::string_view utf8) {
    String out;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char b = static_cast<unsigned char>(utf8[i]);
        char32_t cp;
        size_t len;
        if (b < 0x80) {
            cp = b;
            len = 1;
        } else if ((b >> 5) == 6) {
            cp = b & 0x1F;
            len = 2;
        } else if ((b >> 4) == 14) {
            cp = b & 0x0F;
            len = 3;
        } else if ((b >> 3) == 30) {
            cp = b & 0x07;
            len = 4;
        } else {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        if (i + len > utf8.size()) {
            out += u'\uFFFD';
            break;
        }
        bool ok = true;
        for (size_t k = 1; k < len; ++k) {
            unsigned char c = static_cast<unsigned char>(utf8[i + k]);
            if ((c >> 6) != 2) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += len;
    }
    return out;
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

namespace {
char16_t Lower(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
    return c;
}
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
}  // namespace

String LowerCase(std::u16string_view text) {
    String out(text);
    for (auto& c : out) c = Lower(c);
    return out;
}

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

bool StartsWithIgnoreCase(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

String DecimalText(long long value) {
    std::string s = std::to_string(value);
    return String(s.begin(), s.end());
}

double RoundHalfEven(double value) { return std::nearbyint(value); }

namespace {

// The number in text, or nothing when it is not one. Accepts blanks around it, a
// sign, decimal digits with an optional fraction and exponent, or &H / &O forms.
bool ParseNumber(std::u16string_view text, double& out) {
    size_t i = 0, n = text.size();
    while (i < n && IsBlank(text[i])) ++i;
    while (n > i && IsBlank(text[n - 1])) --n;
    if (i == n) return false;
    std::u16string_view s = text.substr(i, n - i);
    if (s.size() > 2 && s[0] == u'&' && (s[1] == u'H' || s[1] == u'h' || s[1] == u'O' || s[1] == u'o')) {
        unsigned base = (s[1] == u'H' || s[1] == u'h') ? 16 : 8;
        unsigned long long v = 0;
        for (size_t k = 2; k < s.size(); ++k) {
            char16_t c = s[k];
            unsigned d;
            if (c >= u'0' && c <= u'9')
                d = c - u'0';
            else if (base == 16 && c >= u'a' && c <= u'f')
                d = c - u'a' + 10;
            else if (base == 16 && c >= u'A' && c <= u'F')
                d = c - u'A' + 10;
            else
                return false;
            if (d >= base) return false;
            v = v * base + d;
            if (v > 0xFFFFFFFFull) return false;
        }
        // Hexadecimal and octal literals of up to 32 bits are two's complement.
        out = (v > 0x7FFFFFFFull) ? static_cast<double>(static_cast<std::int32_t>(v)) : static_cast<double>(v);
        return true;
    }
    std::string ascii;
    size_t k = 0;
    if (k < s.size() && (s[k] == u'+' || s[k] == u'-')) ascii += static_cast<char>(s[k++]);
    size_t digits = 0;
    while (k < s.size() && s[k] >= u'0' && s[k] <= u'9') {
        ascii += static_cast<char>(s[k++]);
        ++digits;
    }
    if (k < s.size() && s[k] == u'.') {
        ascii += '.';
        ++k;
        while (k < s.size() && s[k] >= u'0' && s[k] <= u'9') {
            ascii += static_cast<char>(s[k++]);
            ++digits;
        }
    }
    if (digits == 0) return false;
    if (k < s.size() && (s[k] == u'e' || s[k] == u'E')) {
        ascii += 'e';
        ++k;
        if (k < s.size() && (s[k] == u'+' || s[k] == u'-')) ascii += static_cast<char>(s[k++]);
        size_t expDigits = 0;
        while (k < s.size() && s[k] >= u'0' && s[k] <= u'9') {
            ascii += static_cast<char>(s[k++]);
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    if (k != s.size()) return false;
    out = std::strtod(ascii.c_str(), nullptr);
    return true;
}

template <class T>
T ToWhole(double v) {
    double r = RoundHalfEven(v);
    if (!std::isfinite(r) || r < static_cast<double>(std::numeric_limits<T>::min()) ||
        r > static_cast<double>(std::numeric_limits<T>::max()))
        Raise(err::kOverflow);
    return static_cast<T>(r);
}

}  // namespace

Long CLng(std::u16string_view text) {
    double v;
    if (!ParseNumber(text, v)) Raise(err::kTypeMismatch);
    return ToWhole<Long>(v);
}

Integer CInt(std::u16string_view text) {
    double v;
    if (!ParseNumber(text, v)) Raise(err::kTypeMismatch);
    return ToWhole<Integer>(v);
}

Integer CIntFromLong(Long value) { return ToWhole<Integer>(static_cast<double>(value)); }

String CutAtNul(std::u16string_view text) {
    auto p = text.find(u'\0');
    return String(p == std::u16string_view::npos ? text : text.substr(0, p));
}

std::string CutAtNul(std::string_view bytes) {
    auto p = bytes.find('\0');
    return std::string(p == std::string_view::npos ? bytes : bytes.substr(0, p));
}

}  // namespace engine
