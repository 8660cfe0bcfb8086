// Each desktop's fitted wallpaper, kept in the user's own folder beside a
// note of what it was made from (the picture's path, size and last-write
// time, and the fitting), so that a later visit of an unchanged picture
// hands Windows the same bitmap without decoding, fitting or writing.
#pragma once

#include <cstdint>
#include <optional>

#include "desktop/switch_order.h"
#include "engine/platform.h"

namespace desktop {

class KeptWallpapers {
public:
    // folder: where the bitmaps are kept, ending in a backslash ("" for nowhere).
    KeptWallpapers(engine::Platform& platform, engine::String folder) : platform_(platform), folder_(std::move(folder)) {}

    // The kept bitmap of the desktop when it was made from this picture as it
    // is now, with this fitting, and is still the file that was written; "".
    engine::String Find(engine::Long desk, const engine::String& picture, const WallpaperFit& fit);
    // Where the desktop's bitmap is to be written, or "" when nothing can be kept.
    engine::String BitmapPath(engine::Long desk) const;
    // The bitmap was written at BitmapPath(desk) from the picture as it is now.
    void Note(engine::Long desk, const engine::String& picture, const WallpaperFit& fit);
    // A desktop without a picture keeps no bitmap.
    void Drop(engine::Long desk);

private:
    struct FileStamp {
        std::uint64_t size = 0, written = 0;
    };
    std::optional<FileStamp> Stamp(const engine::String& path);
    std::string NoteFile() const;
    std::string Describe(const engine::String& picture, const FileStamp& source, const WallpaperFit& fit,
                         const FileStamp& bitmap) const;

    engine::Platform& platform_;
    engine::String folder_;
};

}  // namespace desktop
