#include "desktop/kept_wallpapers.h"

#include <array>
#include <cstdio>

#include "engine/text.h"

namespace desktop {
using engine::Long;
using engine::String;

namespace {
constexpr const char* kNoteName = "Wallpapers.ini";
constexpr const char* kNoteKey = "Made";

std::string Section(Long desk) { return "Desktop" + std::to_string(desk); }

// The picture's path, without relying on the code page to spell it.
std::uint64_t PathHash(const String& path) {
    std::uint64_t hash = 1469598103934665603ULL;  // FNV-1a
    for (char16_t c : path) {
        hash = (hash ^ static_cast<std::uint64_t>(c & 0xFF)) * 1099511628211ULL;
        hash = (hash ^ static_cast<std::uint64_t>(c >> 8)) * 1099511628211ULL;
    }
    return hash;
}
}  // namespace

std::optional<KeptWallpapers::FileStamp> KeptWallpapers::Stamp(const String& path) {
    engine::FileAttributeData data;
    if (path.empty() || !platform_.GetFileAttributesExW(path.c_str(), &data) ||
        (data.dwFileAttributes & engine::win::FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return FileStamp{(static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                     (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                         data.ftLastWriteTime.dwLowDateTime};
}

std::string KeptWallpapers::NoteFile() const { return platform_.ToAnsi(folder_) + kNoteName; }

String KeptWallpapers::BitmapPath(Long desk) const {
    return folder_.empty() ? String() : folder_ + u"Desktop" + engine::DecimalText(desk) + u".bmp";
}

std::string KeptWallpapers::Describe(const String& picture, const FileStamp& source, const WallpaperFit& fit,
                                     const FileStamp& bitmap) const {
    std::array<char, 160> text{};
    std::snprintf(text.data(), text.size(), "%016llx %llu %llu %d %ld %ld %llu %llu",
                  static_cast<unsigned long long>(PathHash(picture)), static_cast<unsigned long long>(source.size),
                  static_cast<unsigned long long>(source.written), fit.keepSize ? 1 : 0,
                  static_cast<long>(fit.width), static_cast<long>(fit.height),
                  static_cast<unsigned long long>(bitmap.size), static_cast<unsigned long long>(bitmap.written));
    return text.data();
}

String KeptWallpapers::Find(Long desk, const String& picture, const WallpaperFit& fit) {
    const String bitmapPath = BitmapPath(desk);
    const std::optional<FileStamp> source = Stamp(picture), bitmap = Stamp(bitmapPath);
    if (!source || !bitmap) return {};
    const std::string wanted = Describe(picture, *source, fit, *bitmap);
    std::array<char, 256> noted{};
    platform_.GetPrivateProfileStringA(Section(desk).c_str(), kNoteKey, "", noted.data(),
                                       static_cast<engine::Dword>(noted.size()), NoteFile().c_str());
    return wanted == noted.data() ? bitmapPath : String();
}

void KeptWallpapers::Note(Long desk, const String& picture, const WallpaperFit& fit) {
    const std::optional<FileStamp> source = Stamp(picture), bitmap = Stamp(BitmapPath(desk));
    // Unreadable now: nothing noted, so the next visit fits the picture again.
    const std::string note = source && bitmap ? Describe(picture, *source, fit, *bitmap) : std::string();
    platform_.WritePrivateProfileStringA(Section(desk).c_str(), kNoteKey, note.empty() ? nullptr : note.c_str(),
                                         NoteFile().c_str());
}

void KeptWallpapers::Drop(Long desk) {
    const String bitmapPath = BitmapPath(desk);
    if (bitmapPath.empty() || !Stamp(bitmapPath)) return;
    platform_.DeleteFileW(bitmapPath.c_str());
    platform_.WritePrivateProfileStringA(Section(desk).c_str(), nullptr, nullptr, NoteFile().c_str());
}

}  // namespace desktop
