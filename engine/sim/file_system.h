// Where the simulated Windows keeps its files: drive letters map to folders of the
// host, so "C:\Trevo\Trevo.ini" is a real file the tests can read and write.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "engine/types.h"

namespace sim {

class FileSystem {
public:
    // Drive C: and every other drive letter map below root ("root/C/...").
    explicit FileSystem(std::filesystem::path root);
    const std::filesystem::path& Root() const { return root_; }
    // "C:\a\b.txt" -> root/C/a/b.txt; forward slashes are accepted as separators.
    // A path without a drive letter is taken relative to drive C's root.
    // A component written in its short (8.3) form names the entry it is the short name of.
    std::filesystem::path ToHost(std::u16string_view windowsPath) const;

    // 8.3 names are made per volume; a volume can be without them.
    void SetShortNames(bool on) { shortNames_ = on; }
    // GetShortPathName: every component that is no 8.3 name in its short form,
    // or as it is on a volume without them; nothing when the path names nothing.
    std::optional<std::u16string> ShortPath(std::u16string_view windowsPath) const;
    // Whether a name is an 8.3 name already: plain ASCII, no blanks, at most
    // eight characters, a dot and three.
    static bool IsShortName(std::u16string_view name);

private:
    // The short name Windows gives an entry of a host folder ("CAF~1").
    std::u16string ShortNameIn(const std::filesystem::path& folder, const std::u16string& longName) const;
    std::filesystem::path root_;
    bool shortNames_ = true;
};

// A host file its owner may not write stands for a file with the read-only
// attribute, which Windows honours for every user: the superuser is refused too.
bool HasReadOnlyAttribute(const std::filesystem::path& host);

}  // namespace sim
