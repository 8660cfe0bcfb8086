#include "lib/ansi_path.h"

namespace lib {

std::optional<engine::String> AnsiReadyPath(engine::Platform& platform, const engine::String& path) {
    if (platform.AnsiSpellsExactly(path)) return path;
    // A closing backslash is kept apart: the short form is asked of the folder itself.
    const bool folder = !path.empty() && path.back() == u'\\';
    const engine::String asked = folder ? path.substr(0, path.size() - 1) : path;
    engine::String shortPath(asked.size() + 1, u'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const engine::Dword n =
            platform.GetShortPathNameW(asked.c_str(), shortPath.data(), static_cast<engine::Dword>(shortPath.size()));
        if (n == 0) return std::nullopt;
        if (n < shortPath.size()) {
            shortPath.resize(n);
            if (folder) shortPath += u'\\';
            if (!platform.AnsiSpellsExactly(shortPath)) return std::nullopt;  // no short name on this volume
            return shortPath;
        }
        shortPath.assign(n, u'\0');  // the room it asked for, NUL included
    }
    return std::nullopt;
}

}  // namespace lib
