#include "lib/ClsKwString.h"

namespace lib {
using engine::Long;
using engine::String;

ClsKwString::ClsKwString(engine::Platform& platform) : platform_(platform) {}

Long ClsKwString::AddStyle(engine::Control& control, engine::Dword bit) {
    const Long style = platform_.GetWindowLongA(control.hWnd(), engine::win::GWL_STYLE);
    platform_.SetWindowLongA(control.hWnd(), engine::win::GWL_STYLE, static_cast<Long>(static_cast<engine::Dword>(style) | bit));
    return style;
}

Long ClsKwString::SetNumericAttribute(engine::Control& control) { return AddStyle(control, engine::win::ES_NUMBER); }
Long ClsKwString::SetUpperCaseAttribute(engine::Control& control) { return AddStyle(control, engine::win::ES_UPPERCASE); }
Long ClsKwString::SetLowerCaseAttribute(engine::Control& control) { return AddStyle(control, engine::win::ES_LOWERCASE); }

String ClsKwString::GetStringByRange(std::u16string_view text, std::u16string_view opening,
                                     std::u16string_view closing) {
    if (opening.empty() || closing.empty()) return {};
    const auto a = text.find(opening);
    if (a == std::u16string_view::npos) return {};
    // The range starts right after the opening token's first character.
    const auto b = text.find(closing, a + 1);
    if (b == std::u16string_view::npos || b == a + 1) return {};
    return String(text.substr(a + 1, b - a - 1));
}

}  // namespace lib
