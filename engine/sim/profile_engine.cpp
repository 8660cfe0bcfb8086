// The simulated profile functions, every one in this file: they share the cuts
// to the caller's room, the file lock and the write-back, and read best together.
#include "engine/sim/profile_engine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <system_error>

namespace sim {
using engine::Dword;

namespace {

// The folder a bare file name ("Trevo.ini") lives in, as Windows looks for it.
constexpr char16_t kWindowsFolder[] = u"C:\\windows\\";

// A file descriptor closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool Close() {
        if (fd_ < 0) return true;
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool ReadAll(const std::filesystem::path& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!in || ec) return false;
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

std::size_t UnitLength(const ProfileUnits& units) {
    for (std::size_t i = 0; i < units.size(); ++i)
        if (units[i].IsNul()) return i;
    return units.size();
}

// lstrcpyn into a wide buffer: at most room - 1 units of the text, then a NUL.
void CopyUnits(ProfileUnits& out, const ProfileUnits& text, std::size_t room) {
    const std::size_t count = std::min(text.size(), room - 1);
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(count));
    out.push_back(ProfileUnit::Nul());
}

// A value as the wide function copies it into room units: a value in matching
// quotes loses them, but only the opening one when the value is cut; and a value
// cut exactly before its closing quote loses its last character instead.
ProfileUnits CopyEntry(const ProfileDocument& doc, std::string_view value, std::size_t room) {
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && doc.EndsWith(value, value.front());
    if (quoted) value.remove_prefix(1);
    const ProfileUnits units = doc.ToUnits(value, room + 1);
    ProfileUnits out;
    CopyUnits(out, units, room);
    if (quoted && room >= units.size() && out.size() > 1) out.erase(out.end() - 2);
    return out;
}

// WideCharToMultiByte into room bytes: the bytes written, or 0 when the text does
// not fit, the whole characters that fit having been written all the same.
Dword Narrow(const ProfileUnits& units, std::size_t count, char* out, std::size_t room) {
    std::size_t written = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const ProfileUnit unit = i < units.size() ? units[i] : ProfileUnit::Nul();
        if (written + unit.count > room) return 0;
        std::memcpy(out + written, unit.bytes, unit.count);
        written += unit.count;
    }
    return static_cast<Dword>(written);
}

// The default loses its trailing spaces, but an all-space default keeps one.
std::string_view TrimDefault(const char* def) {
    std::string_view text = def ? def : "";
    while (text.size() > 1 && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Strings(const char* text) {
    std::vector<std::string_view> out;
    for (const char* p = text; *p; p += std::strlen(p) + 1) out.emplace_back(p);
    return out;
}

}  // namespace

ProfileEngine::ProfileEngine(const CodePage& codePage, const FileSystem& files) : codePage_(codePage), files_(files) {}

void ProfileEngine::Open(const char* file, bool forWriting, Opened& out) const {
    engine::String name = codePage_.Decode(file ? file : "win.ini");
    const bool bare = name.find_first_of(u"\\/") == engine::String::npos && !(name.size() >= 2 && name[1] == u':');
    if (bare) name = kWindowsFolder + name;
    out.host = files_.ToHost(name);
    std::string bytes;
    std::error_code ec;
    const auto status = std::filesystem::status(out.host, ec);
    if (std::filesystem::is_regular_file(status))
        out.opened = (!forWriting || (!HasReadOnlyAttribute(out.host) && ::access(out.host.c_str(), W_OK) == 0)) &&
                     ReadAll(out.host, bytes);
    else  // nothing there yet: fine, as long as its folder is
        out.opened = !std::filesystem::exists(status) && std::filesystem::is_directory(out.host.parent_path(), ec);
    out.doc.emplace(codePage_, out.opened ? std::move(bytes) : std::string());
}

bool ProfileEngine::ReplaceFile(const std::filesystem::path& host, const std::string& bytes) {
    std::string temp = (host.parent_path() / ("." + host.filename().string() + ".XXXXXX")).string();
    Descriptor fd(::mkstemp(temp.data()));
    if (fd.get() < 0) return false;
    struct stat old {};
    const mode_t mode = ::stat(host.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    bool ok = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0 && ::fchmod(fd.get(), mode) == 0;
    ok = fd.Close() && ok;
    if (ok && ::rename(temp.c_str(), host.c_str()) == 0) return true;
    ::unlink(temp.c_str());
    return false;
}

ProfileUnits ProfileEngine::KeyValue(const Opened& f, const char* section, const char* key, const char* def,
                                     std::size_t room) const {
    const ProfileDocument& doc = *f.doc;
    const std::string fallback = doc.FromAnsi(TrimDefault(def));
    if (!f.opened) {  // no file to look in: the default as it is, quotes and all
        ProfileUnits out;
        CopyUnits(out, doc.ToUnits(fallback, room), room);
        return out;
    }
    const std::string wantedSection = doc.FromAnsi(section), wantedKey = doc.FromAnsi(key);
    const std::string_view sectionName = doc.Trim(wantedSection), keyName = doc.Trim(wantedKey);
    for (const auto& s : doc.Sections()) {
        if (!doc.SameName(s.name, sectionName)) continue;
        for (const auto& e : s.entries) {
            if (!doc.SameName(e.name, keyName)) continue;
            if (e.value) return CopyEntry(doc, *e.value, room);
            break;
        }
        break;
    }
    return CopyEntry(doc, fallback, room);
}

long long ProfileEngine::KeyList(const Opened& f, const char* section, std::size_t room, bool withValues,
                                 ProfileUnits& out) const {
    out.clear();
    if (!f.opened || room <= 1) {
        out.push_back(ProfileUnit::Nul());
        return 0;
    }
    const ProfileDocument& doc = *f.doc;
    const std::string wanted = doc.FromAnsi(section);  // matched untrimmed, unlike a key's section
    for (const auto& s : doc.Sections()) {
        if (!doc.SameName(s.name, wanted)) continue;
        std::size_t left = room;
        for (const auto& e : s.entries) {
            if (left <= 2) break;
            if ((e.name.empty() && !e.value) || e.IsComment() || (!withValues && !e.value)) continue;
            std::size_t mark = out.size();
            CopyUnits(out, doc.ToUnits(e.name, left - 1), left - 1);
            left -= out.size() - mark;
            if (left < 2) break;
            if (withValues && e.value) {
                out.back() = ProfileUnit{{'='}, 1};
                mark = out.size();
                CopyUnits(out, doc.ToUnits(*e.value, left - 1), left - 1);
                left -= out.size() - mark;
            }
        }
        out.push_back(ProfileUnit::Nul());
        if (left <= 1) {  // cut: the last string is cut short and followed by two NULs
            out[out.size() - 2] = ProfileUnit::Nul();
            return static_cast<long long>(room) - 2;
        }
        return static_cast<long long>(room - left);
    }
    out = {ProfileUnit::Nul(), ProfileUnit::Nul()};
    return 0;
}

long long ProfileEngine::SectionNames(const Opened& f, std::size_t room, ProfileUnits& out) {
    out.clear();
    if (!f.opened || room == 0) return 0;
    if (room == 1) {
        out.push_back(ProfileUnit::Nul());
        return 0;
    }
    const ProfileDocument& doc = *f.doc;
    std::size_t left = room - 1;
    for (const auto& s : doc.Sections()) {
        if (s.name.empty()) continue;
        const ProfileUnits name = doc.ToUnits(s.name, left);
        if (name.size() + 1 >= left) {  // the first name that does not fit is cut
            out.insert(out.end(), name.begin(), name.begin() + static_cast<std::ptrdiff_t>(left - 1));
            out.push_back(ProfileUnit::Nul());
            out.push_back(ProfileUnit::Nul());
            return static_cast<long long>(room) - 2;
        }
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(ProfileUnit::Nul());
        left -= name.size() + 1;
    }
    out.push_back(ProfileUnit::Nul());
    return static_cast<long long>(out.size()) - 1;
}

Dword ProfileEngine::GetString(const char* section, const char* key, const char* def, char* buffer, Dword size,
                               const char* file) const {
    if (!buffer || size == 0) return 0;
    Opened f;
    Open(file, false, f);
    ProfileUnits wide;
    long long length = 0;
    if (!section) {
        length = SectionNames(f, size, wide);
    } else if (!key) {
        length = KeyList(f, section, size, false, wide);
        if (wide.empty() || wide[0].IsNul()) {  // nothing listed: the default, untrimmed
            const std::string fallback = f.doc->FromAnsi(def ? def : "");
            wide = CopyEntry(*f.doc, fallback, size);
            length = static_cast<long long>(UnitLength(wide));
        }
    } else {
        wide = KeyValue(f, section, key, def, size);
        length = static_cast<long long>(UnitLength(wide));
    }
    Dword ret = 0;
    if (length > 0 && size > 1) {
        ret = Narrow(wide, static_cast<std::size_t>(length), buffer, size - 1);
        if (ret == 0) ret = size - 1;  // cut: what fitted, a byte left as it was, the NUL last
    }
    buffer[ret] = '\0';
    return ret;
}

Dword ProfileEngine::GetSection(const char* section, char* buffer, Dword size, const char* file) const {
    if (!section || !buffer || size == 0) return 0;
    Opened f;
    Open(file, false, f);
    // The wide list gets twice the room, so the narrow form is what is cut.
    const std::size_t room = static_cast<std::size_t>(size) * 2;
    ProfileUnits wide;
    long long length = KeyList(f, section, room, true, wide);
    if (length <= 0) {
        buffer[0] = '\0';
        if (size > 1) buffer[1] = '\0';
        return 0;
    }
    if (static_cast<std::size_t>(length) == room - 2) ++length;
    Dword ret = Narrow(wide, static_cast<std::size_t>(length) + 1, buffer, size);
    if (ret == 0 || ret == size) {  // cut: the two closing NULs take the last two bytes
        buffer[size - 2] = '\0';
        buffer[size - 1] = '\0';
        return size - 2;
    }
    return ret - 1;
}

Dword ProfileEngine::GetSectionNames(char* buffer, Dword size, const char* file) const {
    if (!buffer || size == 0) return 0;
    Opened f;
    Open(file, false, f);
    ProfileUnits wide;
    const long long length = SectionNames(f, size, wide);
    if (length <= 0 || size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    const Dword ret = Narrow(wide, static_cast<std::size_t>(length) + 1, buffer, size - 1);
    if (ret == 0) {  // cut: the last byte is the NUL; the one before may be left as it was
        buffer[size - 1] = '\0';
        return size - 2;
    }
    return ret - 1;
}

bool ProfileEngine::DeleteSection(const char* section, const char* file) {
    if (!section) return false;
    Opened f;
    Open(file, true, f);
    if (!f.opened) return false;
    ProfileDocument& doc = *f.doc;
    const std::string wanted = doc.FromAnsi(section);
    const auto& sections = doc.Sections();
    for (std::size_t s = 0; s < sections.size(); ++s) {
        if (!doc.SameName(sections[s].name, wanted)) continue;
        doc.RemoveSection(s);
        return ReplaceFile(f.host, doc.Bytes());
    }
    return true;
}

bool ProfileEngine::WriteString(const char* section, const char* key, const char* value, const char* file) {
    if (!key) return DeleteSection(section, file);
    if (!section) return false;
    Opened f;
    Open(file, true, f);
    if (!f.opened) return false;
    ProfileDocument& doc = *f.doc;
    const auto& sections = doc.Sections();
    if (!value) {  // the first key of that name in any section of that name goes
        const std::string wantedSection = doc.FromAnsi(section), wantedKey = doc.FromAnsi(key);
        for (std::size_t s = 0; s < sections.size(); ++s) {
            if (!doc.SameName(sections[s].name, wantedSection)) continue;
            const auto& entries = sections[s].entries;
            for (std::size_t e = 0; e < entries.size(); ++e) {
                if (!doc.SameName(entries[e].name, wantedKey)) continue;
                doc.RemoveEntry(s, e);
                return ReplaceFile(f.host, doc.Bytes());
            }
        }
        return true;
    }
    const std::string wantedSection = doc.FromAnsi(section), wantedKey = doc.FromAnsi(key);
    const std::string newValue = doc.FromAnsi(value);
    const std::string_view sectionName = doc.Trim(wantedSection), keyName = doc.Trim(wantedKey);
    const std::string_view text = doc.TrimLeft(newValue);
    for (std::size_t s = 0; s < sections.size(); ++s) {
        if (!doc.SameName(sections[s].name, sectionName)) continue;
        const auto& entries = sections[s].entries;
        for (std::size_t e = 0; e < entries.size(); ++e) {
            if (!doc.SameName(entries[e].name, keyName)) continue;
            if (entries[e].value && *entries[e].value == text) return true;  // nothing changes
            doc.SetValue(s, e, text);
            return ReplaceFile(f.host, doc.Bytes());
        }
        doc.AddKeys(s, {{std::string(keyName), std::string(text)}});
        return ReplaceFile(f.host, doc.Bytes());
    }
    doc.AddSection(sectionName, {{std::string(keyName), std::string(text)}});
    return ReplaceFile(f.host, doc.Bytes());
}

bool ProfileEngine::WriteSection(const char* section, const char* text, const char* file) {
    if (!text) return DeleteSection(section, file);
    if (!section) return false;
    Opened f;
    Open(file, true, f);
    if (!f.opened) return false;
    ProfileDocument& doc = *f.doc;
    bool changed = false;
    // Every section of the name as given loses its keys...
    const std::string wanted = doc.FromAnsi(section);
    for (std::size_t s = 0; s < doc.Sections().size(); ++s) {
        const auto& entries = doc.Sections()[s].entries;
        if (!doc.SameName(doc.Sections()[s].name, wanted)) continue;
        if (std::none_of(entries.begin(), entries.end(), [](const auto& e) { return !e.IsComment(); })) continue;
        doc.RemoveKeys(s);
        changed = true;
    }
    // ...and the first of the trimmed name gets the new ones; strings without "=" are no keys.
    std::vector<ProfileKey> keys;
    for (const std::string_view item : Strings(text)) {
        const std::string line = doc.FromAnsi(item);
        const std::size_t equals = doc.Find(line, '=');
        if (equals == std::string::npos) continue;
        keys.emplace_back(doc.Trim(std::string_view(line).substr(0, equals)),
                          doc.TrimLeft(std::string_view(line).substr(equals + 1)));
    }
    if (!keys.empty()) {
        const std::string_view name = doc.Trim(wanted);
        const auto& sections = doc.Sections();
        const auto target =
            std::find_if(sections.begin(), sections.end(), [&](const auto& s) { return doc.SameName(s.name, name); });
        if (target != sections.end())
            doc.AddKeys(static_cast<std::size_t>(target - sections.begin()), keys);
        else
            doc.AddSection(name, keys);
        changed = true;
    }
    return changed ? ReplaceFile(f.host, doc.Bytes()) : true;
}

}  // namespace sim
