#include "engine/notice_box.h"

#include <algorithm>
#include <cstdint>

namespace engine {

namespace {
constexpr Long kPaddingX = 24, kPaddingY = 14;  // at 96 DPI
}  // namespace

Long AtDpi(Long length, Dword dpi) { return static_cast<Long>((static_cast<std::int64_t>(length) * dpi + 48) / 96); }

NoticeBox LayOutNotice(Long textWidth, Long textHeight, Dword dpi, const Rect& monitor) {
    NoticeBox box;
    box.border = std::max<Long>(1, AtDpi(1, dpi));
    const Long padX = AtDpi(kPaddingX, dpi), padY = AtDpi(kPaddingY, dpi);
    const Long monitorWidth = std::max<Long>(0, monitor.right - monitor.left);
    const Long monitorHeight = std::max<Long>(0, monitor.bottom - monitor.top);
    // A short text still gets a box wider than tall, so a lone digit reads as a panel.
    const Long height = std::min(monitorHeight, std::max<Long>(0, textHeight) + 2 * padY);
    const Long width = std::min(monitorWidth, std::max(std::max<Long>(0, textWidth) + 2 * padX, height * 3 / 2));
    const Long left = monitor.left + (monitorWidth - width) / 2;
    const Long top = monitor.top + (monitorHeight - height) / 2;
    box.window = {left, top, left + width, top + height};
    box.text = {padX, padY, std::max(padX, width - padX), std::max(padY, height - padY)};
    return box;
}

}  // namespace engine
