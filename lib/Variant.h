// The program's own variant: the few value types the text operations take and give
// (empty, byte, 16- and 32-bit integers, double, decimal, string, array), with the
// runtime's conversion of each to a string.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "engine/error.h"
#include "engine/text.h"
#include "engine/types.h"

namespace lib {

// Type numbers as the runtime's VarType reports them.
enum class VarType : int {
    Empty = 0,
    Integer = 2,
    Long = 3,
    Double = 5,
    String = 8,
    Decimal = 14,
    Byte = 17,
    ArrayOfVariants = 0x2000 | 12,
};

// A whole number of the decimal type: a 96-bit magnitude and a sign. Only whole
// numbers are needed here, so there is no scale.
class Decimal {
public:
    Decimal() = default;

    // The whole number nearest to value (halves to even); 6 (overflow) when its
    // magnitude needs more than 96 bits, or for a value that is no number.
    static Decimal FromDouble(double value) {
        const double whole = std::nearbyint(value);
        const double magnitude = std::fabs(whole);
        if (!(magnitude < kTwoTo96)) engine::Raise(engine::err::kOverflow);
        Decimal d;
        // Each step is exact: the parts of a double are doubles again.
        const double high = std::floor(magnitude / kTwoTo64);
        double rest = magnitude - high * kTwoTo64;
        const double middle = std::floor(rest / kTwoTo32);
        rest -= middle * kTwoTo32;
        d.words_ = {static_cast<std::uint32_t>(rest), static_cast<std::uint32_t>(middle),
                    static_cast<std::uint32_t>(high)};
        d.negative_ = whole < 0 && !d.IsZero();
        return d;
    }

    bool IsZero() const { return words_[0] == 0 && words_[1] == 0 && words_[2] == 0; }
    bool IsNegative() const { return negative_; }

    double ToDouble() const {
        const double magnitude = words_[2] * kTwoTo64 + words_[1] * kTwoTo32 + words_[0];
        return negative_ ? -magnitude : magnitude;
    }

    // Decimal digits, with "-" for a negative number.
    engine::String ToString() const {
        std::array<std::uint32_t, 3> w = words_;
        engine::String digits;
        do {
            // Divide the 96-bit magnitude by 10, from the high word down.
            std::uint64_t remainder = 0;
            for (int i = 2; i >= 0; --i) {
                const std::uint64_t part = (remainder << 32) | w[static_cast<std::size_t>(i)];
                w[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(part / 10);
                remainder = part % 10;
            }
            digits.insert(digits.begin(), static_cast<char16_t>(u'0' + remainder));
        } while (w[0] != 0 || w[1] != 0 || w[2] != 0);
        return negative_ ? u"-" + digits : digits;
    }

    bool operator==(const Decimal&) const = default;

    static constexpr double kTwoTo32 = 4294967296.0;
    static constexpr double kTwoTo64 = kTwoTo32 * kTwoTo32;
    static constexpr double kTwoTo96 = kTwoTo64 * kTwoTo32;

private:
    std::array<std::uint32_t, 3> words_{};  // low, middle, high
    bool negative_ = false;
};

class Variant {
public:
    using Array = std::vector<Variant>;

    Variant() = default;
    Variant(std::uint8_t value) : value_(value) {}
    Variant(engine::Integer value) : value_(value) {}
    Variant(engine::Long value) : value_(value) {}
    Variant(double value) : value_(value) {}
    Variant(Decimal value) : value_(value) {}
    Variant(engine::String value) : value_(std::move(value)) {}
    Variant(const char16_t* value) : value_(engine::String(value)) {}
    Variant(Array value) : value_(std::move(value)) {}

    VarType Type() const {
        static constexpr VarType kTypes[] = {VarType::Empty,  VarType::Byte,           VarType::Integer,
                                             VarType::Long,   VarType::Double,         VarType::Decimal,
                                             VarType::String, VarType::ArrayOfVariants};
        return kTypes[value_.index()];
    }
    bool IsEmpty() const { return Type() == VarType::Empty; }

    // The value of exactly that type; 13 (type mismatch) for any other.
    std::uint8_t AsByte() const { return Get<std::uint8_t>(); }
    engine::Integer AsInteger() const { return Get<engine::Integer>(); }
    engine::Long AsLong() const { return Get<engine::Long>(); }
    double AsDouble() const { return Get<double>(); }
    const Decimal& AsDecimal() const { return Get<Decimal>(); }
    const engine::String& AsString() const { return Get<engine::String>(); }
    const Array& AsArray() const { return Get<Array>(); }

    // The runtime's string conversion: empty gives "", numbers their decimal
    // text (a double with up to 15 significant digits), an array raises 13.
    engine::String ToString() const {
        switch (Type()) {
            case VarType::Empty:
                return {};
            case VarType::Byte:
                return engine::DecimalText(AsByte());
            case VarType::Integer:
                return engine::DecimalText(AsInteger());
            case VarType::Long:
                return engine::DecimalText(AsLong());
            case VarType::Double:
                return DoubleText(AsDouble());
            case VarType::Decimal:
                return AsDecimal().ToString();
            case VarType::String:
                return AsString();
            case VarType::ArrayOfVariants:
                break;
        }
        engine::Raise(engine::err::kTypeMismatch);
    }

    bool operator==(const Variant&) const = default;

private:
    template <class T>
    const T& Get() const {
        const T* value = std::get_if<T>(&value_);
        if (!value) engine::Raise(engine::err::kTypeMismatch);
        return *value;
    }

    static engine::String DoubleText(double value) {
        if (value == 0) return u"0";  // also for a negative zero
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.15G", value);
        return engine::String(buffer, buffer + std::char_traits<char>::length(buffer));
    }

    std::variant<std::monostate, std::uint8_t, engine::Integer, engine::Long, double, Decimal, engine::String, Array>
        value_;
};

}  // namespace lib
