// Where the simulated Windows keeps its files: drive letters map to folders of the
// host, so "C:\Trevo\Trevo.ini" is a real file the tests can read and write.
#pragma once

#include <filesystem>
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
    std::filesystem::path ToHost(std::u16string_view windowsPath) const;

private:
    std::filesystem::path root_;
};

// A host file its owner may not write stands for a file with the read-only
// attribute, which Windows honours for every user: the superuser is refused too.
bool HasReadOnlyAttribute(const std::filesystem::path& host);

}  // namespace sim
