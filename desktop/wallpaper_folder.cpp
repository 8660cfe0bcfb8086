#include "desktop/wallpaper_folder.h"

#include "lib/ansi_path.h"

namespace desktop {
namespace win = engine::win;

engine::String UserWallpaperFolder(engine::Platform& platform) {
    engine::String local(win::MAX_PATH + 1, u'\0');
    if (platform.SHGetFolderPathW(win::CSIDL_LOCAL_APPDATA | win::CSIDL_FLAG_CREATE, local.data()) != win::S_OK)
        return {};
    local.resize(local.find(u'\0'));
    if (local.empty()) return {};
    if (local.back() != u'\\') local += u'\\';
    const engine::String folder = local + u"Trevo";
    if (!platform.CreateDirectoryW(folder.c_str()) && platform.GetLastError() != win::ERROR_ALREADY_EXISTS) return {};
    // A user name the code page cannot spell is common here.
    return lib::AnsiReadyPath(platform, folder + u"\\").value_or(engine::String());
}

}  // namespace desktop
