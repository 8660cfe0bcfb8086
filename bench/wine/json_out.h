// One JSON object per line on standard output: what run_wine.py reads back.
// Keys and texts are plain ASCII chosen by the tools themselves.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace winbench {

class JsonLine {
public:
    JsonLine& Number(const char* key, double value) {
        char text[64];
        std::snprintf(text, sizeof text, "%.4f", value);
        return Raw(key, text);
    }
    JsonLine& Integer(const char* key, long long value) { return Raw(key, std::to_string(value)); }
    JsonLine& Numbers(const char* key, const std::vector<double>& values) {
        std::string list = "[";
        for (double v : values) {
            char text[64];
            std::snprintf(text, sizeof text, "%s%.4f", list.size() > 1 ? ", " : "", v);
            list += text;
        }
        return Raw(key, list + "]");
    }
    JsonLine& Flag(const char* key, bool value) { return Raw(key, value ? "true" : "false"); }
    JsonLine& Text(const char* key, const std::string& value) {
        std::string quoted = "\"";
        for (char c : value) {
            if (c == '"' || c == '\\') quoted += '\\';
            quoted += (c >= 0x20 && c < 0x7f) ? c : '?';
        }
        return Raw(key, quoted + "\"");
    }
    void Print() const {
        std::printf("{%s}\n", body_.c_str());
        std::fflush(stdout);
    }

private:
    JsonLine& Raw(const char* key, const std::string& value) {
        if (!body_.empty()) body_ += ", ";
        body_ += "\"" + std::string(key) + "\": " + value;
        return *this;
    }
    std::string body_;
};

// A failure the caller must see: on standard error, with the tool's name.
inline int Fail(const char* tool, const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", tool, why.c_str());
    std::fflush(stderr);
    return 1;
}

}  // namespace winbench
