// A path in the ANSI code page, for the calls Trevo makes with ANSI texts.
#pragma once

#include <windows.h>

#include <string>

namespace winbench {

inline std::string AnsiPath(const std::wstring& path) {
    const int n = WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(n > 0 ? static_cast<size_t>(n) : 1u, '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, text.data(), n, nullptr, nullptr);
    text.resize(text.size() - 1);
    return text;
}

}  // namespace winbench
