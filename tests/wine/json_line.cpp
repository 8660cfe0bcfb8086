#include "json_line.h"

#include <windows.h>

#include <cstdio>

namespace wintool {

std::string ToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, result.data(), needed, nullptr, nullptr);
    return result;
}

std::string JsonQuoted(std::wstring_view text) {
    std::string out = "\"";
    for (const char c : ToUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

void JsonLine::Key(std::string_view key) {
    if (!body_.empty()) body_ += ",";
    body_ += "\"";
    body_ += key;
    body_ += "\":";
}

JsonLine& JsonLine::Text(std::string_view key, std::wstring_view value) {
    Key(key);
    body_ += JsonQuoted(value);
    return *this;
}

JsonLine& JsonLine::Number(std::string_view key, std::int64_t value) {
    Key(key);
    body_ += std::to_string(value);
    return *this;
}

JsonLine& JsonLine::Flag(std::string_view key, bool value) {
    Key(key);
    body_ += value ? "true" : "false";
    return *this;
}

JsonLine& JsonLine::Numbers(std::string_view key, const std::vector<std::int64_t>& values) {
    Key(key);
    body_ += "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i != 0) body_ += ",";
        body_ += std::to_string(values[i]);
    }
    body_ += "]";
    return *this;
}

JsonLine& JsonLine::Raw(std::string_view key, std::string_view value) {
    Key(key);
    body_ += value;
    return *this;
}

void JsonLine::Print() const { PrintLine(Object()); }

namespace {

void WriteAll(DWORD which, std::string_view text) {
    const HANDLE out = GetStdHandle(which);
    while (!text.empty()) {
        DWORD written = 0;
        if (!WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) || written == 0) return;
        text.remove_prefix(written);
    }
}

}  // namespace

void PrintLine(std::string_view utf8) { WriteAll(STD_OUTPUT_HANDLE, std::string(utf8) + "\n"); }

namespace {
bool error_said = false;
}  // namespace

void PrintError(std::wstring_view message) {
    error_said = true;
    WriteAll(STD_ERROR_HANDLE, "wintool: " + ToUtf8(message) + "\n");
}

bool ErrorSaid() { return error_said; }

}  // namespace wintool
