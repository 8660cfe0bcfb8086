// Plain values shared by the program and both engine implementations.
#pragma once

#include <cstdint>
#include <string>

namespace engine {

using Long = std::int32_t;      // 32-bit signed, the program's everyday integer
using Integer = std::int16_t;   // 16-bit signed, where the form engine wants one
using Hwnd = std::uint32_t;     // a window handle as 32-bit Windows passes it; 0 is no window
using String = std::u16string;  // text is held as UTF-16 code units

struct Rect {
    Long left = 0;
    Long top = 0;
    Long right = 0;
    Long bottom = 0;
    bool operator==(const Rect&) const = default;
};

struct Point {
    Long x = 0;
    Long y = 0;
    bool operator==(const Point&) const = default;
};

}  // namespace engine
