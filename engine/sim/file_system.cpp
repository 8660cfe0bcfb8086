#include "engine/sim/file_system.h"

#include <algorithm>
#include <vector>

#include "engine/text.h"

namespace sim {

FileSystem::FileSystem(std::filesystem::path root) : root_(std::move(root)) {}

namespace {
char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }
bool IsShortCharacter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           std::u16string_view(u"!#$%&'()-@^_`{}~").find(c) != std::u16string_view::npos;
}
// The characters of a long name an 8.3 name keeps, in capitals, at most `most`.
std::u16string Kept(std::u16string_view part, size_t most) {
    std::u16string out;
    for (char16_t c : part)
        if (IsShortCharacter(c) && c != u'~' && out.size() < most) out += Upper(c);
    return out;
}
bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return Upper(x) == Upper(y); });
}
std::vector<std::u16string> Components(std::u16string_view rest) {
    std::vector<std::u16string> parts{u""};
    for (char16_t c : rest) {
        if (c == u'\\' || c == u'/')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    std::erase_if(parts, [](const std::u16string& p) { return p.empty() || p == u"."; });
    return parts;
}
}  // namespace

bool FileSystem::IsShortName(std::u16string_view name) {
    const size_t dot = name.find(u'.');
    const std::u16string_view base = name.substr(0, dot);
    const std::u16string_view ext = dot == std::u16string_view::npos ? u"" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3 || ext.find(u'.') != std::u16string_view::npos) return false;
    return std::all_of(base.begin(), base.end(), IsShortCharacter) &&
           std::all_of(ext.begin(), ext.end(), IsShortCharacter);
}

namespace {
// The first six kept characters of a long name and three of its extension,
// which its short name is made of ("CAF", "BMP" for "café.bmp").
std::pair<std::u16string, std::u16string> Stem(const std::u16string& longName) {
    const size_t dot = longName.rfind(u'.');
    const std::u16string ext = dot == std::u16string::npos || dot == 0 ? u"" : Kept(longName.substr(dot + 1), 3);
    const std::u16string base = Kept(longName.substr(0, dot == 0 ? std::u16string::npos : dot), 6);
    return {base.empty() ? u"X" : base, ext};
}
}  // namespace

std::u16string FileSystem::ShortNameIn(const std::filesystem::path& folder, const std::u16string& longName) const {
    const auto stem = Stem(longName);
    // Entries that share the stem are numbered in the order of their long names.
    std::vector<std::u16string> sharing;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::u16string name = engine::FromUtf8(entry.path().filename().string());
        if (!IsShortName(name) && Stem(name) == stem) sharing.push_back(name);
    }
    std::sort(sharing.begin(), sharing.end());
    const auto at = std::find(sharing.begin(), sharing.end(), longName);
    const long long number = 1 + (at == sharing.end() ? 0 : at - sharing.begin());
    return stem.first + u"~" + engine::DecimalText(number) + (stem.second.empty() ? u"" : u"." + stem.second);
}

std::optional<std::u16string> FileSystem::ShortPath(std::u16string_view windowsPath) const {
    std::u16string_view rest = windowsPath;
    std::u16string out = u"C:";
    if (rest.size() >= 2 && rest[1] == u':') {
        out = std::u16string(1, Upper(rest[0])) + u":";
        rest.remove_prefix(2);
    }
    std::filesystem::path host = ToHost(out);
    for (const std::u16string& part : Components(rest)) {
        std::error_code ec;
        std::filesystem::path next = ToHost(out + u"\\" + part);
        if (!std::filesystem::exists(next, ec)) return std::nullopt;
        const std::u16string longName = engine::FromUtf8(next.filename().string());
        out += u"\\" + (IsShortName(longName) || !shortNames_ ? longName : ShortNameIn(host, longName));
        host = next;
    }
    return out;
}

std::filesystem::path FileSystem::ToHost(std::u16string_view windowsPath) const {
    std::u16string_view rest = windowsPath;
    char16_t drive = u'C';
    if (rest.size() >= 2 && rest[1] == u':') {
        drive = rest[0];
        if (drive >= u'a' && drive <= u'z') drive = static_cast<char16_t>(drive - u'a' + u'A');
        rest.remove_prefix(2);
    }
    std::filesystem::path out = root_ / std::string(1, static_cast<char>(drive));
    std::u16string part;
    auto flush = [&] {
        if (part.empty() || part == u".") return;
        std::error_code ec;
        std::filesystem::path named = out / engine::ToUtf8(part);
        if (shortNames_ && part.find(u'~') != std::u16string::npos && !std::filesystem::exists(named, ec)) {
            for (const auto& entry : std::filesystem::directory_iterator(out, ec)) {
                const std::u16string name = engine::FromUtf8(entry.path().filename().string());
                if (!IsShortName(name) && SameIgnoringCase(ShortNameIn(out, name), part)) {
                    named = entry.path();
                    break;
                }
            }
        }
        out = named;
        part.clear();
    };
    for (char16_t c : rest) {
        if (c == u'\\' || c == u'/')
            flush();
        else
            part += c;
    }
    flush();
    return out;
}

bool HasReadOnlyAttribute(const std::filesystem::path& host) {
    std::error_code ec;
    const auto status = std::filesystem::status(host, ec);
    return std::filesystem::is_regular_file(status) &&
           (status.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none;
}

}  // namespace sim
