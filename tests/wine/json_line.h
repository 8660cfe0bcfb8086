// Builds one JSON object per output line, in UTF-8, so that Japanese window
// text reaches the Linux side intact whatever the console code page is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wintool {

std::string ToUtf8(std::wstring_view text);
std::string JsonQuoted(std::wstring_view text);

class JsonLine {
public:
    JsonLine& Text(std::string_view key, std::wstring_view value);
    JsonLine& Number(std::string_view key, std::int64_t value);
    JsonLine& Flag(std::string_view key, bool value);
    JsonLine& Numbers(std::string_view key, const std::vector<std::int64_t>& values);
    // value must already be valid JSON (an object or array built elsewhere).
    JsonLine& Raw(std::string_view key, std::string_view value);

    std::string Object() const { return "{" + body_ + "}"; }
    // Writes the object and a newline to standard output, unbuffered.
    void Print() const;

private:
    void Key(std::string_view key);
    std::string body_;
};

// Writes a UTF-8 line to standard output or standard error.
void PrintLine(std::string_view utf8);
void PrintError(std::wstring_view message);
// Whether PrintError has said anything yet.
bool ErrorSaid();

}  // namespace wintool
