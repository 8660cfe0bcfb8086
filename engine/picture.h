// A picture as the form engine hands it around: a bitmap or an icon with a handle.
#pragma once

#include <memory>

#include "engine/platform.h"

namespace engine {

enum class PictureKind { Bitmap, Icon };

class Picture {
public:
    virtual ~Picture() = default;
    virtual PictureKind Kind() const = 0;
    // The picture's handle (HBITMAP or HICON on Windows); what the shell is given.
    virtual Dword Handle() const = 0;
    virtual Long PixelWidth() const = 0;
    virtual Long PixelHeight() const = 0;
};

// Pictures are shared references, as object references are in the form engine.
using PicturePtr = std::shared_ptr<const Picture>;

inline constexpr Dword kSrcCopy = 0xCC0020;  // SRCCOPY
inline constexpr Long kResIcon = 1;          // LoadResPicture format: icon

}  // namespace engine
