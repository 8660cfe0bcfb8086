// Text operations, and the restricted input modes of an edit control.
#pragma once

#include "engine/forms.h"

namespace lib {

class ClsKwString {
public:
    explicit ClsKwString(engine::Platform& platform);

    // Each adds one style bit to the control's window (digits only, upper case,
    // lower case) and returns the style it had before.
    engine::Long SetNumericAttribute(engine::Control& control);
    engine::Long SetUpperCaseAttribute(engine::Control& control);
    engine::Long SetLowerCaseAttribute(engine::Control& control);

    // The text between the first opening token and the next closing token after
    // it, or "" when there is no such pair or nothing between them.
    static engine::String GetStringByRange(std::u16string_view text, std::u16string_view opening,
                                           std::u16string_view closing);

private:
    engine::Long AddStyle(engine::Control& control, engine::Dword bit);
    engine::Platform& platform_;
};

}  // namespace lib
