// The profile functions of the simulated Windows (GetPrivateProfileStringA and its
// kin) over real files, answering as the Windows functions answer: names matched
// without regard to ASCII case, names and values trimmed, matching quotes taken off
// values read, the first match winning, the default for whatever is missing, and
// text cut to the caller's room the way the narrow functions cut it. Writes keep
// every line they do not change and replace the file in one step.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "engine/platform.h"
#include "engine/sim/code_page.h"
#include "engine/sim/file_system.h"
#include "engine/sim/profile_document.h"

namespace sim {

class ProfileEngine {
public:
    ProfileEngine(const CodePage& codePage, const FileSystem& files);

    // The narrow kernel32 functions of the same meaning, on files of the simulated file
    // system. Arguments and file text are in the code page's bytes.
    engine::Dword GetString(const char* section, const char* key, const char* def, char* buffer, engine::Dword size,
                            const char* file) const;
    bool WriteString(const char* section, const char* key, const char* value, const char* file);
    engine::Dword GetSection(const char* section, char* buffer, engine::Dword size, const char* file) const;
    // text: "key=value" strings, each ended by a NUL, and a closing NUL.
    bool WriteSection(const char* section, const char* text, const char* file);
    engine::Dword GetSectionNames(char* buffer, engine::Dword size, const char* file) const;

private:
    // A profile file as opened: "opened" is false where Windows cannot open it (a
    // folder that does not exist, a folder in its place, no right to write); a file
    // that does not exist yet opens as an empty one.
    struct Opened {
        std::filesystem::path host;
        bool opened = false;
        std::optional<ProfileDocument> doc;
    };
    void Open(const char* file, bool forWriting, Opened& out) const;
    // Writes the new bytes beside the file and renames them over it.
    static bool ReplaceFile(const std::filesystem::path& host, const std::string& bytes);
    bool DeleteSection(const char* section, const char* file);

    // What the wide functions put in their buffer of `room` units.
    ProfileUnits KeyValue(const Opened& f, const char* section, const char* key, const char* def,
                          std::size_t room) const;
    long long KeyList(const Opened& f, const char* section, std::size_t room, bool withValues, ProfileUnits& out) const;
    static long long SectionNames(const Opened& f, std::size_t room, ProfileUnits& out);

    const CodePage& codePage_;
    const FileSystem& files_;
};

}  // namespace sim
