// The simulated profile functions on settings files of any content. The input is
// the file's bytes; its last few bytes also choose the code page, the rooms the
// calls get, and a section, key and value to write. Every call must stay inside
// its room and end its text there; a value written must read back as Windows
// gives values back (blanks at both ends trimmed, matching quotes taken off), and
// no other key may change with it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/sim/code_page.h"
#include "engine/sim/file_system.h"
#include "engine/sim/profile_engine.h"
#include "fuzz_support.h"

namespace {
using engine::Dword;

constexpr char kFile[] = "C:\\fuzz.ini";
constexpr char kDefault[] = "\x01missing";
constexpr std::size_t kGuard = 16;
constexpr char kFill = '*';
constexpr std::size_t kMostSections = 6;  // looked into per run, to keep runs fast
constexpr std::size_t kMostKeys = 12;

// What a call left in its room, which starts out as all kFill with a guard behind.
struct Answer {
    Dword ret = 0;
    std::string room;
    std::string Text() const { return room.substr(0, ret); }
};

template <typename Call>
Answer Run(Dword size, Call call) {
    std::string room(size + kGuard, kFill);
    Answer a{call(room.data()), {}};
    FUZZ_CHECK(room.compare(size, kGuard, std::string(kGuard, kFill)) == 0);  // nothing past the room
    room.resize(size);
    a.room = std::move(room);
    return a;
}

// The strings of a NUL-separated list, up to the empty one that ends it.
std::vector<std::string> Strings(const std::string& list, std::size_t most) {
    std::vector<std::string> out;
    for (std::size_t at = 0; at < list.size() && out.size() < most;) {
        const std::size_t nul = list.find('\0', at);
        if (nul == at || nul == std::string::npos) break;
        out.push_back(list.substr(at, nul - at));
        at = nul + 1;
    }
    return out;
}

bool IsBlank(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x09 && b <= 0x0D) || b == 0x1A || b == 0x20;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// A written value as a read gives it back. Only whole characters of the code page
// are written, and no trail byte is a blank or a quote, so bytes can be looked at.
std::string AsRead(std::string_view value) {
    value = Trim(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// Text for a message: bytes outside printable ASCII as \xNN.
std::string Shown(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", b);
        out += b >= 0x20 && b < 0x7F && b != '\\' ? std::string(1, c) : std::string(hex);
    }
    return out;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether two names may name the same key. Folding every byte also folds trail
// bytes, so this says yes a little more often than the profile functions do.
bool MaySameName(std::string_view a, std::string_view b) {
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

// One simulated system with a drive of its own, in one code page.
class System {
public:
    explicit System(unsigned codePage)
        : codePage_(codePage),
          files_(fuzz::ProcessFolder() / std::to_string(codePage)),
          profiles_(codePage_, files_),
          host_(files_.ToHost(u"C:\\fuzz.ini")) {
        std::filesystem::create_directories(host_.parent_path());
        for (char c = ' '; c <= '~'; ++c) characters_.emplace_back(1, c);
        for (const char* c : {"\t", "\x0B", "\x0C", "\x1A", " ", " ", "\"", "'", "[", "]", "=", ";"})
            characters_.emplace_back(c);
        if (codePage == 932) {
            for (int b = 0xA1; b <= 0xDF; b += 7) characters_.emplace_back(1, static_cast<char>(b));  // half-width kana
            // Among them characters whose second byte is "\", "[", "]" or a letter.
            for (const char16_t c : std::u16string_view(u"表ソ十能予値あーア漢字ヂ"))
                characters_.push_back(codePage_.Encode(std::u16string_view(&c, 1)));
        } else {
            for (int b = 0x80; b <= 0xFF; b += 3)
                if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D)
                    characters_.emplace_back(1, static_cast<char>(b));
        }
    }

    // Text of whole characters the code page holds, at most `most` of them.
    std::string Text(FuzzedDataProvider& in, std::size_t most) const {
        std::string out;
        const auto count = in.ConsumeIntegralInRange<std::size_t>(0, most);
        for (std::size_t i = 0; i < count; ++i)
            out += characters_[in.ConsumeIntegral<std::uint8_t>() % characters_.size()];
        return out;
    }

    void Put(const std::string& bytes) const {
        std::ofstream out(host_, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        FUZZ_CHECK(out.good());
    }

    // GetPrivateProfileString: the text ends at the count returned.
    Answer Get(const char* section, const char* key, Dword size) const {
        const Answer a =
            Run(size, [&](char* b) { return profiles_.GetString(section, key, kDefault, b, size, kFile); });
        if (size == 0) {
            FUZZ_CHECK(a.ret == 0);
        } else {
            FUZZ_CHECK(a.ret < size);
            FUZZ_CHECK(a.room[a.ret] == '\0');
        }
        return a;
    }
    std::string Value(const std::string& section, const std::string& key) const {
        return Get(section.c_str(), key.c_str(), 1024).Text();
    }

    // GetPrivateProfileSection: a list that ends in a NUL where the count says.
    Answer Section(const char* section, Dword size) const {
        const Answer a = Run(size, [&](char* b) { return profiles_.GetSection(section, b, size, kFile); });
        if (size < 2) {
            FUZZ_CHECK(a.ret == 0);
        } else {
            FUZZ_CHECK(a.ret <= size - 2);
            FUZZ_CHECK(a.room[a.ret] == '\0');
        }
        return a;
    }

    // GetPrivateProfileSectionNames: a cut list may leave the byte before its last NUL.
    Answer Names(Dword size) const {
        const Answer a = Run(size, [&](char* b) { return profiles_.GetSectionNames(b, size, kFile); });
        if (size < 2) {
            FUZZ_CHECK(a.ret == 0);
        } else {
            FUZZ_CHECK(a.ret <= size - 2);
            FUZZ_CHECK(a.room[a.ret] == '\0' || (a.ret == size - 2 && a.room[size - 1] == '\0'));
        }
        return a;
    }

    sim::ProfileEngine& profiles() { return profiles_; }

    std::string Bytes() const {
        std::ifstream in(host_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    sim::CodePage codePage_;
    sim::FileSystem files_;
    sim::ProfileEngine profiles_;
    std::filesystem::path host_;
    std::vector<std::string> characters_;
};

using Pair = std::pair<std::string, std::string>;  // section, key

// Reads every kind of list in a room that holds it and in a small one, and gives
// back the (section, key) pairs met on the way.
std::vector<Pair> Explore(const System& system, Dword whole, Dword small) {
    std::vector<Pair> pairs;
    (void)system.Names(small);
    (void)system.Get(nullptr, nullptr, small);
    for (const std::string& section : Strings(system.Names(whole).room, kMostSections)) {
        (void)system.Section(section.c_str(), small);
        (void)system.Get(section.c_str(), nullptr, small);
        for (const std::string& entry : Strings(system.Section(section.c_str(), whole).room, kMostKeys)) {
            if (pairs.size() >= kMostKeys) break;
            const std::string key = entry.substr(0, entry.find('='));
            (void)system.Get(section.c_str(), key.c_str(), small);
            pairs.emplace_back(section, key);
        }
        for (const std::string& key : Strings(system.Get(section.c_str(), nullptr, whole).room, kMostKeys))
            if (pairs.size() < 2 * kMostKeys) pairs.emplace_back(section, key);
    }
    return pairs;
}

std::vector<std::string> Values(const System& system, const std::vector<Pair>& pairs) {
    std::vector<std::string> values;
    for (const auto& [section, key] : pairs) values.push_back(system.Value(section, key));
    return values;
}

// The pairs a write of (section, key) may not change read as before.
void CheckOthersKept(const System& system, const std::vector<Pair>& pairs, const std::vector<std::string>& before,
                     const std::string& section, const std::string& key) {
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (MaySameName(pairs[i].first, section) && MaySameName(pairs[i].second, key)) continue;
        const std::string now = system.Value(pairs[i].first, pairs[i].second);
        if (now != before[i])
            std::fprintf(stderr, "[%s] %s was \"%s\", after a write of [%s] %s is \"%s\" in\n%s\n",
                         Shown(pairs[i].first).c_str(), Shown(pairs[i].second).c_str(), Shown(before[i]).c_str(),
                         Shown(section).c_str(), Shown(key).c_str(), Shown(now).c_str(), Shown(system.Bytes()).c_str());
        FUZZ_CHECK(now == before[i]);
    }
}

void CheckReadsBack(const System& system, const std::string& section, const std::string& key,
                    const std::string& written) {
    const std::string read = system.Value(section, key);
    if (read != AsRead(written))
        std::fprintf(stderr, "[%s] %s written as \"%s\" reads back as \"%s\" from\n%s\n", Shown(section).c_str(),
                     Shown(key).c_str(), Shown(written).c_str(), Shown(read).c_str(), Shown(system.Bytes()).c_str());
    FUZZ_CHECK(read == AsRead(written));
}

// Names the profile functions could never find again as written: a section name
// ends at its first "]"; a key name ends at its first "=", and one that starts with
// "[" may be a section header, one with ";" a comment the section lists keep.
std::string SectionName(std::string text) {
    for (char& c : text)
        if (c == ']') c = ')';
    return text;
}

std::string KeyName(std::string text) {
    for (char& c : text)
        if (c == '=') c = '-';
    const std::size_t first = text.find_first_not_of(" \t\x0B\x0C\x1A");
    if (first != std::string::npos && (text[first] == '[' || text[first] == ';')) text[first] = '(';
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static System western(1252), japanese(932);
    FuzzedDataProvider in(data, size);
    System& system = in.ConsumeBool() ? japanese : western;
    const auto small = in.ConsumeIntegralInRange<Dword>(0, 40);
    const std::string section = SectionName(system.Text(in, 12));
    const std::string key = KeyName(system.Text(in, 12));
    const std::string value = system.Text(in, 24);
    const std::string file = in.ConsumeRemainingBytesAsString();
    system.Put(file);
    const auto whole = static_cast<Dword>(2 * file.size() + 64);  // more than any list of the file needs

    const std::vector<Pair> pairs = Explore(system, whole, small);
    const std::vector<std::string> before = Values(system, pairs);

    // A value written reads back, and nothing else changes.
    FUZZ_CHECK(system.profiles().WriteString(section.c_str(), key.c_str(), value.c_str(), kFile));
    CheckReadsBack(system, section, key, value);
    CheckOthersKept(system, pairs, before, section, key);
    (void)Explore(system, whole + 256, small);

    // Deleting it changes nothing else either.
    FUZZ_CHECK(system.profiles().WriteString(section.c_str(), key.c_str(), nullptr, kFile));
    CheckOthersKept(system, pairs, before, section, key);

    // A whole section written: its keys read back (the name given as the lists give names).
    const std::string name(Trim(section));
    const std::string other = key + "_";
    const std::string list = key + "=" + value + '\0' + other + "=" + value + "x" + '\0' + '\0';
    FUZZ_CHECK(system.profiles().WriteSection(name.c_str(), list.c_str(), kFile));
    // Of lines in a row that start with "=", only the first is a key; Windows drops
    // the others whenever it writes the file, the simulated functions keep them,
    // and one comes back as the key named "" once the keys before it are gone.
    if (!Trim(key).empty()) CheckReadsBack(system, name, key, value);
    CheckReadsBack(system, name, other, value + "x");
    return 0;
}
