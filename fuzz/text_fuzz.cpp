// The string class's text operations on any text: none may crash or hang, and
// each must keep the promises that cost little to check — fields put back together
// give the text again, case changes agree with each other, hexadecimal digits
// round-trip. A numbered run-time error is an answer, as long as it is one the
// operation is documented to raise.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/error.h"
#include "engine/sim/sim_platform.h"
#include "engine/sim/sim_world.h"
#include "fuzz_support.h"
#include "lib/ClsKwString.h"
#include "lib/Variant.h"

namespace {
using engine::Long;
using engine::String;
using lib::ClsKwString;
using lib::Variant;
using lib::VarType;
using std::u16string_view;

// Bytes as UTF-16: ASCII stays itself; the other bytes pick characters whose case
// or width the operations treat specially.
constexpr char16_t kSpecial[] =
    u"ÀÄÉßàäéÿ×÷µĀāıŁłſΑαςωАаѐЯяＡａＺｚｱﾟ日本あ"
    u"\uFF60\uFFA0\u0100\xD800\xDC00\u0141\u0142\u3046";

String Decode(std::string_view bytes) {
    String out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += b < 0x80 ? static_cast<char16_t>(b) : kSpecial[(b - 0x80) % (std::size(kSpecial) - 1)];
    }
    return out;
}

String TextOf(FuzzedDataProvider& in, std::size_t most) { return Decode(in.ConsumeRandomLengthString(most)); }

std::vector<String> Fields(const Variant& split) {
    std::vector<String> out;
    for (const Variant& v : split.AsArray()) out.push_back(v.AsString());
    return out;
}

String Joined(const std::vector<String>& fields, char16_t separator) {
    String out;
    for (std::size_t i = 0; i < fields.size(); ++i) out += (i ? String(1, separator) : String()) + fields[i];
    return out;
}

void CheckRanges(u16string_view text, u16string_view opening, u16string_view closing, Long start) {
    const String first = ClsKwString::GetStringByRange(text, opening, closing);
    // A range found starts after the opening token's first character.
    if (!first.empty()) FUZZ_CHECK(text.find(String(1, opening[0]) + first + String(closing)) != String::npos);

    (void)ClsKwString::GetStringByRangeEx(text, opening, closing, start);
    // A walk over every range moves forward and ends.
    Long at = 1;
    for (std::size_t steps = 0;; ++steps) {
        Long next = -1;
        const String range = ClsKwString::GetStringByRangeEx(text, opening, closing, at, &next);
        if (!range.empty()) FUZZ_CHECK(text.find(String(opening) + range + String(closing)) != String::npos);
        if (next == 0) break;
        FUZZ_CHECK(next > at && static_cast<std::size_t>(next) <= text.size());
        FUZZ_CHECK(steps <= text.size());
        at = next;
    }
}

void CheckFields(u16string_view text, u16string_view token, Long n) {
    (void)ClsKwString::GetStringByToken(text, token, n);
    FUZZ_CHECK(ClsKwString::GetStringByToken(text, token, 0).empty());
    const Long count = ClsKwString::TokenCount(text, token);
    const Variant split = ClsKwString::SplitVb5(text, token);
    if (text.empty()) {
        FUZZ_CHECK(count == 0 && split.Type() == VarType::Long && split.AsLong() == 0);
        return;
    }
    const std::vector<String> fields = Fields(split);
    if (token.size() != 1) {
        FUZZ_CHECK(count == 0);
        FUZZ_CHECK(fields.size() == 1 && fields[0] == text);
        if (!token.empty())
            for (Long k = 1; k <= 3; ++k)
                FUZZ_CHECK(text.find(ClsKwString::GetStringByToken(text, token, k)) != String::npos);
        return;
    }
    // One-character tokens: the fields joined by the token are the text again, and
    // the split holds the same fields but an empty last one.
    std::vector<String> byToken;
    for (Long k = 1; k <= count + 1; ++k) byToken.push_back(ClsKwString::GetStringByToken(text, token, k));
    FUZZ_CHECK(ClsKwString::GetStringByToken(text, token, count + 2).empty());
    FUZZ_CHECK(Joined(byToken, token[0]) == text);
    if (byToken.back().empty()) byToken.pop_back();
    FUZZ_CHECK(fields == byToken);
}

void CheckCase(u16string_view text) {
    const String lower = ClsKwString::LCaseAscii(text), upper = ClsKwString::UCaseAscii(text);
    FUZZ_CHECK(lower.size() == text.size() && upper.size() == text.size());
    FUZZ_CHECK(ClsKwString::LCaseAscii(lower) == lower && ClsKwString::UCaseAscii(upper) == upper);
    FUZZ_CHECK(ClsKwString::UCaseAscii(lower) == upper);
    const String lowerOfUpper = ClsKwString::LCaseAscii(upper);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0x100) FUZZ_CHECK(lower[i] == text[i] && upper[i] == text[i]);
        // "ÿ" has its capital beyond 0x100, which LCaseAscii leaves alone.
        if (upper[i] < 0x100) FUZZ_CHECK(lowerOfUpper[i] == lower[i]);
    }
}

void CheckPacking(u16string_view text, u16string_view pack) {
    const String packed = ClsKwString::PackedString(text, pack);
    if (pack.size() != 1) {
        FUZZ_CHECK(packed == text);
        return;
    }
    const char16_t p = pack[0];
    FUZZ_CHECK(packed.find(String(2, p)) == String::npos);
    FUZZ_CHECK(ClsKwString::PackedString(packed, pack) == packed);
    String withoutText(text), withoutPacked(packed);
    std::erase(withoutText, p);
    std::erase(withoutPacked, p);
    FUZZ_CHECK(withoutText == withoutPacked);  // only pack characters go
    FUZZ_CHECK((text.find(p) == String::npos) == (packed.find(p) == String::npos));
}

void CheckNarrowAndWide(u16string_view text, sim::SimPlatform& japanese) {
    const String narrow = ClsKwString::ExtractNarrowString(text), wide = ClsKwString::ExtractWideString(text);
    FUZZ_CHECK(narrow.size() + wide.size() == text.size());
    FUZZ_CHECK(ClsKwString::ExtractNarrowString(narrow) == narrow && ClsKwString::ExtractWideString(narrow).empty());
    FUZZ_CHECK(ClsKwString::ExtractWideString(wide) == wide && ClsKwString::ExtractNarrowString(wide).empty());
    if (text.empty()) return;
    ClsKwString strings(japanese);
    Long narrowCount = -1, wideCount = -1;
    const Long type = strings.StringType(text, &narrowCount, &wideCount);
    FUZZ_CHECK(narrowCount >= 0 && wideCount >= 0 && static_cast<std::size_t>(narrowCount + wideCount) == text.size());
    FUZZ_CHECK(type == (narrowCount && wideCount ? 0 : narrowCount ? 1 : 2));
}

// The value of the hexadecimal digits of an ASCII text, when doubles hold it exactly.
bool AsciiHexValue(u16string_view text, double& value, std::size_t& digits) {
    value = 0;
    digits = 0;
    for (const char16_t c : text) {
        if (c >= 0x80) return false;
        const char16_t u = c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c;
        if (u >= u'0' && u <= u'9')
            value = value * 16 + (u - u'0');
        else if (u >= u'A' && u <= u'F')
            value = value * 16 + (u - u'A' + 10);
        else
            continue;
        ++digits;
    }
    return digits <= 13;
}

double NumberOf(const Variant& v) {
    switch (v.Type()) {
        case VarType::Byte:
            return v.AsByte();
        case VarType::Integer:
            return v.AsInteger();
        case VarType::Long:
            return v.AsLong();
        case VarType::Decimal:
            return v.AsDecimal().ToDouble();
        default:
            fuzz::Fail("a hexadecimal text gave no number", __FILE__, __LINE__);
    }
}

VarType TypeForDigits(std::size_t digits) {
    if (digits <= 2) return VarType::Byte;
    if (digits == 3) return VarType::Integer;
    return digits <= 7 ? VarType::Long : VarType::Decimal;
}

void CheckHexadecimal(u16string_view text, FuzzedDataProvider& in) {
    try {
        const Variant v = ClsKwString::HexStringToVariant(text);
        double value = 0;
        std::size_t digits = 0;
        if (AsciiHexValue(text, value, digits)) {
            FUZZ_CHECK(v.Type() == TypeForDigits(digits));
            FUZZ_CHECK(NumberOf(v) == value);
        }
    } catch (const engine::RuntimeError& e) {
        FUZZ_CHECK(e.Number() == engine::err::kOverflow);  // the only error it has
    }
    const auto byte = in.ConsumeIntegral<std::uint8_t>();
    const auto integer = in.ConsumeIntegral<engine::Integer>();
    const auto whole = in.ConsumeIntegral<Long>();
    const String byteHex = ClsKwString::HexString(Variant(byte));
    const String integerHex = ClsKwString::HexString(Variant(integer));
    const String wholeHex = ClsKwString::HexString(Variant(whole));
    FUZZ_CHECK(byteHex.size() == 2 && integerHex.size() == 4 && wholeHex.size() == 8);
    FUZZ_CHECK(ClsKwString::UCaseAscii(wholeHex) == wholeHex);
    FUZZ_CHECK(ClsKwString::HexStringToVariant(byteHex) == Variant(byte));
    FUZZ_CHECK(ClsKwString::HexStringToVariant(integerHex) == Variant(Long{static_cast<std::uint16_t>(integer)}));
    const Variant back = ClsKwString::HexStringToVariant(ClsKwString::LCaseAscii(wholeHex));
    FUZZ_CHECK(back.Type() == VarType::Decimal && back.AsDecimal().ToDouble() == static_cast<std::uint32_t>(whole));
    FUZZ_CHECK(ClsKwString::HexString(Variant(1.0)).empty() && ClsKwString::HexString(Variant(String(text))).empty());
}

Variant ItemOf(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0:
            return Variant();
        case 1:
            return Variant(in.ConsumeIntegral<Long>());
        case 2:
            return Variant(in.ConsumeFloatingPoint<double>());
        case 3:
            return Variant(in.ConsumeIntegral<std::uint8_t>());
        default:
            return Variant(TextOf(in, 6));
    }
}

void CheckReplacements(u16string_view text, FuzzedDataProvider& in) {
    // A few short pairs, as the program passes them: many pairs that each
    // lengthen the text would make a text of any size, as they are asked to.
    std::vector<Variant> pairs;
    const auto count = in.ConsumeIntegralInRange<std::size_t>(0, 7);
    for (std::size_t i = 0; i < count; ++i) pairs.push_back(ItemOf(in));
    const String resolved = ClsKwString::ResolveString(text, pairs);
    FUZZ_CHECK(ClsKwString::ResolveString(text, {}) == text);
    if (pairs.size() >= 2) {
        // A replacement shorter than its search text leaves no occurrence behind.
        const String search = pairs[0].ToString(), replacement = pairs[1].ToString();
        if (replacement.size() < search.size())
            FUZZ_CHECK(ClsKwString::ResolveString(text, {pairs[0], pairs[1]}).find(search) == String::npos);
    }
    String first(text), second = resolved;
    ClsKwString::ReplaceString(first, second);
    FUZZ_CHECK(first == resolved && second == text);
}

sim::SimPlatform& JapanesePlatform() {
    static sim::World world([] {
        sim::Options o;
        o.root = fuzz::ProcessFolder();
        o.codePage = 932;
        o.taskbar = false;
        return o;
    }());
    static sim::SimPlatform platform(world);
    return platform;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sim::SimPlatform& japanese = JapanesePlatform();
    FuzzedDataProvider in(data, size);
    const String opening = TextOf(in, 3), closing = TextOf(in, 3);
    const auto n = in.ConsumeIntegralInRange<Long>(-2, 40);
    const auto start = in.ConsumeIntegral<Long>();
    const String text = TextOf(in, 512);
    try {
        CheckRanges(text, opening, closing, start);
        CheckFields(text, opening, n);
        CheckCase(text);
        CheckPacking(text, closing);
        CheckNarrowAndWide(text, japanese);
        CheckHexadecimal(text, in);
        CheckReplacements(text.substr(0, 128), in);
    } catch (const engine::RuntimeError& e) {
        // Only conversions of values of another type may fail.
        FUZZ_CHECK(e.Number() == engine::err::kTypeMismatch || e.Number() == engine::err::kOverflow);
    }
    return 0;
}
