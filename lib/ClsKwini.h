// Profile (INI) files through the platform's profile functions, and three system folders.
#pragma once

#include "engine/platform.h"

namespace lib {

class ClsKwini {
public:
    explicit ClsKwini(engine::Platform& platform);

    // Enumerates the entries ("key=value") of a section: First refills the list,
    // Next takes the following entry; "" at the end. Next before First raises 5.
    engine::String vbFirstPrivateProfileSection(const engine::String& section, const engine::String& file);
    engine::String vbNextPrivateProfileSection();
    void vbWritePrivateProfileSection(const engine::String& section, const engine::String& text,
                                      const engine::String& file);
    // Enumerates the section names of a file in the same way.
    engine::String vbFirstPrivateProfileSectionName(const engine::String& file);
    engine::String vbNextPrivateProfileSectionName();

    // A value, or "" for a missing file, section or key, an empty value, or "Non".
    engine::String vbGetPrivateProfileString(const engine::String& section, const engine::String& key,
                                             const engine::String& file);
    // False when the file could not be written (read-only, a folder, no room).
    bool vbWritePrivateProfileString(const engine::String& section, const engine::String& key,
                                     const engine::String& value, const engine::String& file);

    engine::String vbGetSystemDirectory();
    engine::String vbGetTempPath();
    engine::String vbGetWindowsDirectory();

private:
    static engine::String TakeItem(engine::String& list);

    engine::Platform& platform_;
    engine::String sectionEntries_;
    engine::String sectionNames_;
};

}  // namespace lib
