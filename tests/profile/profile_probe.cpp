// Answers a list of profile and code page queries and prints every answer in one
// format, so the simulated profile engine and code pages can be compared with the
// real kernel32 functions.
//
// Built twice: natively on sim::ProfileEngine and sim::CodePage (profile_probe
// --root DIR --code-page N QUERIES) and for Windows on kernel32 (profile_probe.exe
// QUERIES).
//
// A query line is an operation and its fields, separated by single spaces:
//   gs   SECTION KEY DEFAULT SIZE FILE   GetPrivateProfileStringA
//   ws   SECTION KEY VALUE FILE          WritePrivateProfileStringA
//   gsec SECTION SIZE FILE               GetPrivateProfileSectionA
//   wsec SECTION TEXT FILE               WritePrivateProfileSectionA (TEXT holds its \x00s)
//   gsn  SIZE FILE                       GetPrivateProfileSectionNamesA
//   w2m  TEXT                            WideCharToMultiByte(CP_ACP, 0), TEXT in UTF-16LE
//   m2w  BYTES                           MultiByteToWideChar(CP_ACP, 0)
// A text field is "~" for a null pointer, or "'" followed by the bytes with
// \xHH for every byte outside '!'..'~' and for the backslash. Lines starting
// with '#' and blank lines are skipped. Each answer is one line:
//   <line number> <operation> ret=<value> buf=<the SIZE bytes of the buffer, escaped>
// The buffer is filled with '*' before the call, so bytes the call leaves alone
// show; a write past SIZE adds " overrun". A conversion answers with the length
// it gives and its result: out=<bytes, escaped> or out=<UTF-16 units in hex>.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include "engine/sim/code_page.h"
#include "engine/sim/file_system.h"
#include "engine/sim/profile_engine.h"
#endif

namespace {

constexpr unsigned char kFill = '*';
constexpr size_t kGuard = 64;

using Field = std::optional<std::string>;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseField(const std::string& text, Field& out) {
    if (text == "~") {
        out.reset();
        return true;
    }
    if (text.empty() || text[0] != '\'') return false;
    std::string bytes;
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes += text[i];
            continue;
        }
        if (i + 3 >= text.size() || text[i + 1] != 'x') return false;
        const int hi = HexDigit(text[i + 2]);
        const int lo = HexDigit(text[i + 3]);
        if (hi < 0 || lo < 0) return false;
        bytes += static_cast<char>(hi * 16 + lo);
        i += 3;
    }
    out = bytes;
    return true;
}

std::string Escape(const unsigned char* bytes, size_t count) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char b = bytes[i];
        if (b > 0x20 && b < 0x7f && b != '\\') {
            out += static_cast<char>(b);
        } else {
            out += "\\x";
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

const char* Ptr(const Field& f) { return f ? f->c_str() : nullptr; }

// The calls under test, on whichever implementation this probe was built for.
class Profiles {
public:
#ifdef _WIN32
    Profiles() = default;
    unsigned CodePage() const { return GetACP(); }
    unsigned long GetString(const Field& s, const Field& k, const Field& d, char* buf, unsigned long size,
                            const Field& f) {
        return GetPrivateProfileStringA(Ptr(s), Ptr(k), Ptr(d), buf, size, Ptr(f));
    }
    bool WriteString(const Field& s, const Field& k, const Field& v, const Field& f) {
        return WritePrivateProfileStringA(Ptr(s), Ptr(k), Ptr(v), Ptr(f)) != FALSE;
    }
    unsigned long GetSection(const Field& s, char* buf, unsigned long size, const Field& f) {
        return GetPrivateProfileSectionA(Ptr(s), buf, size, Ptr(f));
    }
    bool WriteSection(const Field& s, const char* text, const Field& f) {
        return WritePrivateProfileSectionA(Ptr(s), text, Ptr(f)) != FALSE;
    }
    unsigned long GetSectionNames(char* buf, unsigned long size, const Field& f) {
        return GetPrivateProfileSectionNamesA(buf, size, Ptr(f));
    }
    std::string ToAnsi(const std::u16string& text) {
        std::string out(text.size() * 2 + 1, '\0');
        const int n =
            WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()),
                                out.data(), static_cast<int>(out.size()), nullptr, nullptr);
        out.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return out;
    }
    std::u16string FromAnsi(const std::string& bytes) {
        std::u16string out(bytes.size() + 1, u'\0');
        const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                          reinterpret_cast<wchar_t*>(out.data()), static_cast<int>(out.size()));
        out.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return out;
    }
#else
    Profiles(unsigned codePage, const std::string& root)
        : codePage_(codePage), files_(root), engine_(codePage_, files_) {}
    unsigned CodePage() const { return codePage_.Number(); }
    unsigned long GetString(const Field& s, const Field& k, const Field& d, char* buf, unsigned long size,
                            const Field& f) {
        return engine_.GetString(Ptr(s), Ptr(k), Ptr(d), buf, static_cast<engine::Dword>(size), Ptr(f));
    }
    bool WriteString(const Field& s, const Field& k, const Field& v, const Field& f) {
        return engine_.WriteString(Ptr(s), Ptr(k), Ptr(v), Ptr(f));
    }
    unsigned long GetSection(const Field& s, char* buf, unsigned long size, const Field& f) {
        return engine_.GetSection(Ptr(s), buf, static_cast<engine::Dword>(size), Ptr(f));
    }
    bool WriteSection(const Field& s, const char* text, const Field& f) {
        return engine_.WriteSection(Ptr(s), text, Ptr(f));
    }
    unsigned long GetSectionNames(char* buf, unsigned long size, const Field& f) {
        return engine_.GetSectionNames(buf, static_cast<engine::Dword>(size), Ptr(f));
    }
    std::string ToAnsi(const std::u16string& text) { return codePage_.Encode(text); }
    std::u16string FromAnsi(const std::string& bytes) { return codePage_.Decode(bytes); }

private:
    sim::CodePage codePage_;
    sim::FileSystem files_;
    sim::ProfileEngine engine_;
#endif
};

// A buffer of SIZE bytes with a guard zone behind it, both pre-filled.
class Buffer {
public:
    explicit Buffer(unsigned long size) : size_(size), bytes_(size + kGuard, kFill) {}
    char* data() { return reinterpret_cast<char*>(bytes_.data()); }
    std::string Describe() const {
        std::string out = "buf=" + Escape(bytes_.data(), size_);
        for (size_t i = size_; i < bytes_.size(); ++i)
            if (bytes_[i] != kFill) return out + " overrun";
        return out;
    }

private:
    unsigned long size_;
    std::vector<unsigned char> bytes_;
};

bool ParseSize(const std::string& text, unsigned long& size) {
    if (text.empty() || text.size() > 9) return false;
    size = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        size = size * 10 + static_cast<unsigned long>(c - '0');
    }
    return true;
}

// The UTF-16LE text a w2m field holds.
std::u16string Utf16(const std::string& bytes) {
    std::u16string out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return out;
}

std::string HexUnits(const std::u16string& text) {
    std::ostringstream out;
    out << std::hex;
    for (char16_t c : text) out << (out.tellp() > 0 ? "," : "") << static_cast<unsigned>(c);
    return out.str();
}

// Runs one query; returns the answer line, or an empty string when the query is malformed.
std::string Run(Profiles& profiles, const std::vector<std::string>& words) {
    const std::string& op = words[0];
    auto fields = [&](size_t count, std::vector<Field>& out) {
        if (words.size() != count + 1) return false;
        out.resize(count);
        for (size_t i = 0; i < count; ++i)
            if (!ParseField(words[i + 1], out[i])) return false;
        return true;
    };
    std::vector<Field> f;
    unsigned long size = 0;
    std::ostringstream answer;
    if (op == "gs") {
        if (words.size() != 6 || !ParseSize(words[4], size)) return {};
        Field s, k, d, file;
        if (!ParseField(words[1], s) || !ParseField(words[2], k) || !ParseField(words[3], d) ||
            !ParseField(words[5], file))
            return {};
        Buffer buffer(size);
        const unsigned long ret = profiles.GetString(s, k, d, buffer.data(), size, file);
        answer << "ret=" << ret << ' ' << buffer.Describe();
    } else if (op == "ws") {
        if (!fields(4, f)) return {};
        answer << "ret=" << profiles.WriteString(f[0], f[1], f[2], f[3]);
    } else if (op == "gsec") {
        if (words.size() != 4 || !ParseSize(words[2], size)) return {};
        Field s, file;
        if (!ParseField(words[1], s) || !ParseField(words[3], file)) return {};
        Buffer buffer(size);
        const unsigned long ret = profiles.GetSection(s, buffer.data(), size, file);
        answer << "ret=" << ret << ' ' << buffer.Describe();
    } else if (op == "wsec") {
        if (!fields(3, f)) return {};
        std::string text;
        if (f[1]) text = *f[1] + std::string(2, '\0');
        answer << "ret=" << profiles.WriteSection(f[0], f[1] ? text.c_str() : nullptr, f[2]);
    } else if (op == "gsn") {
        if (words.size() != 3 || !ParseSize(words[1], size)) return {};
        Field file;
        if (!ParseField(words[2], file)) return {};
        Buffer buffer(size);
        const unsigned long ret = profiles.GetSectionNames(buffer.data(), size, file);
        answer << "ret=" << ret << ' ' << buffer.Describe();
    } else if (op == "w2m") {
        if (!fields(1, f) || !f[0]) return {};
        const std::string out = profiles.ToAnsi(Utf16(*f[0]));
        answer << "ret=" << out.size()
               << " out=" << Escape(reinterpret_cast<const unsigned char*>(out.data()), out.size());
    } else if (op == "m2w") {
        if (!fields(1, f) || !f[0]) return {};
        const std::u16string out = profiles.FromAnsi(*f[0]);
        answer << "ret=" << out.size() << " out=" << HexUnits(out);
    } else {
        return {};
    }
    return answer.str();
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    std::istringstream in(line);
    while (in >> word) words.push_back(word);
    return words;
}

int Usage() {
#ifdef _WIN32
    std::fprintf(stderr, "usage: profile_probe QUERIES\n");
#else
    std::fprintf(stderr, "usage: profile_probe --root DIR --code-page N QUERIES\n");
#endif
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    if (argc != 2) return Usage();
    const std::string queries = argv[1];
    Profiles profiles;
#else
    if (argc != 6 || std::strcmp(argv[1], "--root") != 0 || std::strcmp(argv[3], "--code-page") != 0) return Usage();
    unsigned long codePage = 0;
    if (!ParseSize(argv[4], codePage)) return Usage();
    const std::string queries = argv[5];
    Profiles profiles(static_cast<unsigned>(codePage), argv[2]);
#endif
    std::ifstream in(queries, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", queries.c_str());
        return 2;
    }
    std::printf("acp=%u\n", profiles.CodePage());
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> words = Split(line);
        if (words.empty() || words[0][0] == '#') continue;
        const std::string answer = Run(profiles, words);
        if (answer.empty()) {
            std::fprintf(stderr, "line %d: malformed query: %s\n", number, line.c_str());
            return 2;
        }
        std::printf("%d %s %s\n", number, words[0].c_str(), answer.c_str());
        std::fflush(stdout);
    }
    return 0;
}
