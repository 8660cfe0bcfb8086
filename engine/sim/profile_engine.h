// The profile functions of the simulated Windows (GetPrivateProfileStringA and its
// kin) over real files: names matched without regard to case, names and values
// trimmed, matching quotes stripped from values read, the first match winning,
// the default for whatever is missing, and writes that keep every other line and
// replace the file in one step.
#pragma once

#include "engine/platform.h"
#include "engine/sim/code_page.h"
#include "engine/sim/file_system.h"
#include "engine/sim/profile_document.h"

namespace sim {

class ProfileEngine {
public:
    ProfileEngine(const CodePage& codePage, const FileSystem& files);

    engine::Dword GetString(const char* section, const char* key, const char* def, char* buffer,
                            engine::Dword size, const char* file) const;
    bool WriteString(const char* section, const char* key, const char* value, const char* file);
    engine::Dword GetSection(const char* section, char* buffer, engine::Dword size, const char* file) const;
    bool WriteSection(const char* section, const char* text, const char* file);
    engine::Dword GetSectionNames(char* buffer, engine::Dword size, const char* file) const;

private:
    ProfileDocument Load(const char* file) const;
    bool Save(const char* file, const ProfileDocument& doc) const;
    // A list of NUL-ended items and a closing NUL, cut to the room as Windows cuts it.
    engine::Dword PutList(const std::vector<engine::String>& items, char* buffer, engine::Dword size) const;
    // One text, cut to size - 1 bytes and NUL-ended, as the narrow functions give it.
    engine::Dword PutText(const engine::String& text, char* buffer, engine::Dword size) const;

    const CodePage& codePage_;
    const FileSystem& files_;
};

}  // namespace sim
