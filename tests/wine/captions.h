// Captions as the standard controls draw them.
#pragma once

#include <windows.h>

#include <string>

namespace wintool {

// "&&" is one "&"; any other "&" only underlines the letter after it.
std::wstring WithoutMnemonics(const std::wstring& caption);

// Buttons, and statics without SS_NOPREFIX, treat "&" as a mnemonic mark;
// edit controls show their text as it is.
bool HidesMnemonics(const std::wstring& class_name, LONG style);

}  // namespace wintool
