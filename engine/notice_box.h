// Where a notice panel stands and how large it is, from the size of its text
// at a scale: one layout for both engines.
#pragma once

#include "engine/types.h"
#include "engine/win_constants.h"

namespace engine {

struct NoticeBox {
    Rect window;  // screen pixels
    Rect text;    // within the window
    Long border;  // the light frame's width
};

// The message font's height in pixels at 96 DPI, and how many times larger
// the panel's text is drawn: read from a metre away.
inline constexpr Long kMessageFontPixels = 12;
inline constexpr Long kNoticeTextScale = 2;

// The box around a text of that extent, drawn at dpi, centred on the monitor
// and never larger than it.
NoticeBox LayOutNotice(Long textWidth, Long textHeight, Dword dpi, const Rect& monitor);

// A length given at 96 DPI, at dpi.
Long AtDpi(Long length, Dword dpi);

}  // namespace engine
