#include "captions.h"

#include <cwchar>

namespace wintool {

std::wstring WithoutMnemonics(const std::wstring& caption) {
    std::wstring plain;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
        plain += caption[i];
    }
    return plain;
}

bool HidesMnemonics(const std::wstring& class_name, LONG style) {
    if (_wcsicmp(class_name.c_str(), L"Button") == 0) return true;
    return _wcsicmp(class_name.c_str(), L"Static") == 0 && (style & SS_NOPREFIX) == 0;
}

}  // namespace wintool
