// The "--name value" command lines of the benchmark tools.
#pragma once

#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace winbench {

class Arguments {
public:
    Arguments(int argc, wchar_t** argv) : words_(argv + 1, argv + argc) {}

    // The whole number after `name`, the fallback when `name` is absent, and
    // empty when it is there but not a number within [low, high].
    std::optional<long> Number(const wchar_t* name, long fallback, long low, long high) const {
        const std::optional<std::wstring> text = Value(name);
        if (!text) return fallback;
        wchar_t* end = nullptr;
        const long value = std::wcstol(text->c_str(), &end, 0);
        if (text->empty() || *end != L'\0' || value < low || value > high) return std::nullopt;
        return value;
    }

    std::optional<std::wstring> Value(const wchar_t* name) const {
        for (size_t i = 0; i + 1 < words_.size(); ++i)
            if (words_[i] == name) return words_[i + 1];
        return std::nullopt;
    }

    // The words after "--", the command line of a program to start.
    std::vector<std::wstring> Rest() const {
        for (size_t i = 0; i < words_.size(); ++i)
            if (words_[i] == L"--") return {words_.begin() + static_cast<long>(i) + 1, words_.end()};
        return {};
    }

    const std::vector<std::wstring>& Words() const { return words_; }

private:
    std::vector<std::wstring> words_;
};

}  // namespace winbench
