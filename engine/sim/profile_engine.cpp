#include "engine/sim/profile_engine.h"

#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

namespace sim {
using engine::Dword;
using engine::String;

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

String StripMatchingQuotes(const String& value, size_t room) {
    if (value.size() < 2 || (value[0] != u'"' && value[0] != u'\'')) return value;
    if (value.back() != value[0]) return value;
    // A value cut by the room keeps its closing quote, as Windows leaves it.
    String inner = value.substr(1);
    if (room >= inner.size()) inner.pop_back();
    return inner;
}

String TrimTrailingBlanks(String s) {
    while (!s.empty() && s.back() == u' ') s.pop_back();
    return s;
}

}  // namespace

ProfileEngine::ProfileEngine(const CodePage& codePage, const FileSystem& files)
    : codePage_(codePage), files_(files) {}

ProfileDocument ProfileEngine::Load(const char* file) const {
    if (!file) return ProfileDocument::Parse(u"");
    std::ifstream in(files_.ToHost(codePage_.Decode(file)), std::ios::binary);
    if (!in) return ProfileDocument::Parse(u"");
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string text = bytes.str();
    if (text.compare(0, 3, kUtf8Bom) == 0) return ProfileDocument::Parse(CodePage(65001).Decode(text.substr(3)));
    return ProfileDocument::Parse(codePage_.Decode(text));
}

bool ProfileEngine::Save(const char* file, const ProfileDocument& doc) const {
    if (!file) return false;
    const auto target = files_.ToHost(codePage_.Decode(file));
    std::error_code ec;
    if (!std::filesystem::is_directory(target.parent_path(), ec)) return false;
    const std::string bytes = codePage_.Encode(doc.Serialize());
    {
        std::ifstream old(target, std::ios::binary);
        if (old) {
            std::stringstream current;
            current << old.rdbuf();
            if (current.str() == bytes) return true;  // nothing changes: leave the file alone
        }
    }
    // Written beside the file and renamed over it: a crash leaves the old file whole.
    std::random_device rd;
    auto temp = target;
    temp += ".trevo-" + std::to_string(rd()) + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(temp, ec);
            return false;
        }
    }
    std::filesystem::rename(temp, target, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

Dword ProfileEngine::PutText(const String& text, char* buffer, Dword size) const {
    if (!buffer || size == 0) return 0;
    // The wide text is cut to size - 1 characters; of its narrow form, the whole
    // characters that fit in size bytes are kept and the last byte is the NUL.
    const String cut = text.substr(0, size - 1);
    std::string bytes;
    bool whole = true;
    for (size_t i = 0; i < cut.size(); ++i) {
        const std::string one = codePage_.Encode(cut.substr(i, 1));
        if (bytes.size() + one.size() > size) {
            whole = false;
            break;
        }
        bytes += one;
    }
    if (!whole || bytes.size() >= size) {
        bytes.resize(size - 1);
        std::memcpy(buffer, bytes.data(), bytes.size());
        buffer[size - 1] = '\0';
        return size - 1;
    }
    std::memcpy(buffer, bytes.c_str(), bytes.size() + 1);
    return static_cast<Dword>(bytes.size());
}

Dword ProfileEngine::PutList(const std::vector<String>& items, char* buffer, Dword size) const {
    if (!buffer || size == 0) return 0;
    if (size == 1) {
        buffer[0] = '\0';
        return 0;
    }
    std::string list;
    for (const String& item : items) {
        list += codePage_.Encode(item);
        list += '\0';
    }
    if (list.size() + 1 <= size) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        if (list.empty()) buffer[1] = '\0';
        return static_cast<Dword>(list.size());
    }
    // Too long: as much as fits, then the closing pair of NULs.
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

Dword ProfileEngine::GetString(const char* section, const char* key, const char* def, char* buffer, Dword size,
                               const char* file) const {
    const ProfileDocument doc = Load(file);
    if (!section) return PutList(doc.SectionNames(), buffer, size);
    const String sec = codePage_.Decode(section);
    if (!key) {
        std::vector<String> names;
        for (const auto& entry : doc.SectionEntries(sec)) names.push_back(entry.name);
        return PutList(names, buffer, size);
    }
    const auto found = doc.FindKey(sec, codePage_.Decode(key));
    if (found && found->value) return PutText(StripMatchingQuotes(*found->value, size ? size - 1 : 0), buffer, size);
    return PutText(TrimTrailingBlanks(def ? codePage_.Decode(def) : String()), buffer, size);
}

bool ProfileEngine::WriteString(const char* section, const char* key, const char* value, const char* file) {
    if (!section) return false;
    ProfileDocument doc = Load(file);
    const String sec = codePage_.Decode(section);
    if (!key)
        doc.DeleteSection(sec);
    else if (!value)
        doc.DeleteKey(sec, codePage_.Decode(key));
    else
        doc.SetValue(sec, codePage_.Decode(key), codePage_.Decode(value));
    return Save(file, doc);
}

Dword ProfileEngine::GetSection(const char* section, char* buffer, Dword size, const char* file) const {
    if (!section) return PutList({}, buffer, size);
    std::vector<String> items;
    for (const auto& entry : Load(file).SectionEntries(codePage_.Decode(section)))
        items.push_back(entry.value ? entry.name + u"=" + *entry.value : entry.name);
    return PutList(items, buffer, size);
}

bool ProfileEngine::WriteSection(const char* section, const char* text, const char* file) {
    if (!section) return false;
    ProfileDocument doc = Load(file);
    const String sec = codePage_.Decode(section);
    if (!text) {
        doc.DeleteSection(sec);
        return Save(file, doc);
    }
    std::vector<String> entries;
    for (const char* p = text; *p; p += std::strlen(p) + 1) entries.push_back(codePage_.Decode(p));
    doc.ReplaceSection(sec, entries);
    return Save(file, doc);
}

Dword ProfileEngine::GetSectionNames(char* buffer, Dword size, const char* file) const {
    return PutList(Load(file).SectionNames(), buffer, size);
}

}  // namespace sim
