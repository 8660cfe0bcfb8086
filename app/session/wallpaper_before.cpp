#include "app/session/wallpaper_before.h"

#include <array>
#include <string_view>

#include "engine/text.h"

namespace trevo {
namespace win = engine::win;

namespace {
// Set the way Trevo sets its own bitmap: written to the user's profile and
// told to every window.
constexpr engine::Dword kSaveAndTell = 0xFFFFFFFFu;

// A bitmap Trevo wrote: "Trevo.bmp", or a kept "DesktopN.bmp" in a folder
// named Trevo. No picture at all may be Trevo's doing too (a desktop without one).
bool TrevosOwn(std::u16string_view path) {
    if (path.empty()) return true;
    const auto name = [](std::u16string_view p) { return p.substr(p.find_last_of(u'\\') + 1); };
    const std::u16string_view file = name(path);
    if (engine::EqualsIgnoreCase(file, u"Trevo.bmp")) return true;
    const std::u16string_view folder = path.substr(0, path.size() - file.size());
    return folder.size() > 1 && engine::EqualsIgnoreCase(name(folder.substr(0, folder.size() - 1)), u"Trevo") &&
           file.size() == 12 && engine::EqualsIgnoreCase(file.substr(0, 7), u"Desktop") &&
           file[7] >= u'1' && file[7] <= u'5' && engine::EqualsIgnoreCase(file.substr(8), u".bmp");
}
}  // namespace

void RememberWallpaperBefore(engine::Platform& platform, DesktopRecord& record) {
    // The wide call: a picture in a folder the code page cannot spell is still named whole.
    std::array<char16_t, 1024> path{};
    if (!platform.SystemParametersInfoW(win::SPI_GETDESKWALLPAPER, static_cast<engine::Dword>(path.size()),
                                        path.data(), 0))
        return;  // nothing known, nothing to put back
    path.back() = u'\0';
    // Trevo's own bitmap on the screen (a Trevo ended without putting the
    // user's back) leaves the one remembered; a picture the user chose since
    // takes its place.
    if (record.WallpaperBefore() && TrevosOwn(path.data())) return;
    record.KeepWallpaperBefore(path.data());
}

void PutBackWallpaperBefore(engine::Platform& platform, DesktopRecord& record) {
    const std::optional<engine::String> path = record.WallpaperBefore();
    if (!path) return;
    engine::String text = *path;
    if (platform.SystemParametersInfoW(win::SPI_SETDESKWALLPAPER, 0, text.data(), kSaveAndTell))
        record.ForgetWallpaperBefore();
}

}  // namespace trevo
