#include "engine/sim/sim_platform.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/sim/window_frame.h"
#include "engine/text.h"

namespace sim {
namespace win = engine::win;

namespace {

// A folder query's answer: the text when it fits with its NUL, else the room needed.
Dword CopyFolder(const std::string& text, char* buffer, Dword size) {
    if (text.size() + 1 > size) return static_cast<Dword>(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<Dword>(text.size());
}

// Registry and object names are matched without regard to (ASCII) case.
std::string Upper(const char* text) {
    std::string out = text ? text : "";
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace

SimPlatform::~SimPlatform() {
    while (!handles_.empty()) {
        const Dword h = handles_.begin()->first;
        if (handles_.begin()->second.isKey)
            RegCloseKey(h);
        else
            CloseHandle(h);
    }
}

Dword SimPlatform::CreateMutexA(const char* name) {
    lastError_ = win::ERROR_SUCCESS;
    const std::string key = Upper(name);
    if (!key.empty() && world_.namedObjects[key]++ > 0) lastError_ = win::ERROR_ALREADY_EXISTS;
    const Dword handle = world_.nextKernelHandle += 4;
    handles_[handle] = {false, key};
    return handle;
}

bool SimPlatform::CloseHandle(Dword handle) {
    auto it = handles_.find(handle);
    if (it == handles_.end() || it->second.isKey) {
        lastError_ = win::ERROR_INVALID_HANDLE;
        return false;
    }
    if (!it->second.name.empty()) {
        auto named = world_.namedObjects.find(it->second.name);
        if (named != world_.namedObjects.end() && --named->second <= 0) world_.namedObjects.erase(named);
    }
    handles_.erase(it);
    return true;
}

namespace {
std::string RootName(Dword root) {
    switch (root) {
        case win::HKEY_CURRENT_USER: return "HKCU";
        case win::HKEY_LOCAL_MACHINE: return "HKLM";
        default: return {};
    }
}
}  // namespace

World::RegistryKey* SimPlatform::KeyOf(Dword key) {
    auto it = handles_.find(key);
    if (it == handles_.end() || !it->second.isKey) return nullptr;
    auto found = world_.registry.find(it->second.name);
    return found == world_.registry.end() ? nullptr : &found->second;
}

Dword SimPlatform::RegCreateKeyExA(Dword root, const char* subKey, Dword options, Dword* key, Dword* disposition) {
    if (key) *key = 0;
    std::string path = RootName(root);
    if (path.empty() || !subKey || !key) return win::ERROR_INVALID_HANDLE;
    const bool isVolatile = (options & win::REG_OPTION_VOLATILE) != 0;
    bool made = false;
    bool parentVolatile = false;
    std::string rest = Upper(subKey);
    for (size_t start = 0; start <= rest.size();) {
        const size_t end = std::min(rest.find('\\', start), rest.size());
        if (end > start) {
            path += "\\" + rest.substr(start, end - start);
            auto it = world_.registry.find(path);
            if (it == world_.registry.end()) {
                // Windows keeps no lasting key under one that goes with the session.
                if (parentVolatile && !isVolatile) return win::ERROR_CHILD_MUST_BE_VOLATILE;
                it = world_.registry.emplace(path, World::RegistryKey{isVolatile, {}}).first;
                made = true;
            }
            parentVolatile = it->second.isVolatile;
        }
        start = end + 1;
    }
    const Dword handle = world_.nextKernelHandle += 4;
    handles_[handle] = {true, path};
    *key = handle;
    if (disposition) *disposition = made ? win::REG_CREATED_NEW_KEY : win::REG_OPENED_EXISTING_KEY;
    return win::ERROR_SUCCESS;
}

Dword SimPlatform::RegSetValueExA(Dword key, const char* name, Dword type, const void* data, Dword size) {
    World::RegistryKey* k = KeyOf(key);
    if (!k) return win::ERROR_INVALID_HANDLE;
    const std::string bytes = data ? std::string(static_cast<const char*>(data), size) : std::string();
    k->values[Upper(name ? name : "")] = {type, bytes};
    return win::ERROR_SUCCESS;
}

Dword SimPlatform::RegQueryValueExA(Dword key, const char* name, Dword* type, void* data, Dword* size) {
    World::RegistryKey* k = KeyOf(key);
    if (!k) return win::ERROR_INVALID_HANDLE;
    auto it = k->values.find(Upper(name ? name : ""));
    if (it == k->values.end()) return win::ERROR_FILE_NOT_FOUND;
    if (type) *type = it->second.first;
    const std::string& bytes = it->second.second;
    if (!size) return data ? win::ERROR_INVALID_HANDLE : win::ERROR_SUCCESS;
    const Dword room = *size;
    *size = static_cast<Dword>(bytes.size());
    if (!data) return win::ERROR_SUCCESS;
    if (room < bytes.size()) return win::ERROR_MORE_DATA;
    std::memcpy(data, bytes.data(), bytes.size());
    return win::ERROR_SUCCESS;
}

Dword SimPlatform::RegDeleteValueA(Dword key, const char* name) {
    World::RegistryKey* k = KeyOf(key);
    if (!k) return win::ERROR_INVALID_HANDLE;
    return k->values.erase(Upper(name ? name : "")) ? win::ERROR_SUCCESS
                                                                                             : win::ERROR_FILE_NOT_FOUND;
}

Dword SimPlatform::RegCloseKey(Dword key) {
    auto it = handles_.find(key);
    if (it == handles_.end() || !it->second.isKey) return win::ERROR_INVALID_HANDLE;
    handles_.erase(it);
    return win::ERROR_SUCCESS;
}

Dword SimPlatform::GetPrivateProfileStringA(const char* section, const char* key, const char* def, char* buffer,
                                            Dword size, const char* file) {
    return world_.profiles.GetString(section, key, def, buffer, size, file);
}

bool SimPlatform::WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                             const char* file) {
    return world_.profiles.WriteString(section, key, value, file);
}

Dword SimPlatform::GetPrivateProfileSectionA(const char* section, char* buffer, Dword size, const char* file) {
    return world_.profiles.GetSection(section, buffer, size, file);
}

bool SimPlatform::WritePrivateProfileSectionA(const char* section, const char* text, const char* file) {
    return world_.profiles.WriteSection(section, text, file);
}

Dword SimPlatform::GetPrivateProfileSectionNamesA(char* buffer, Dword size, const char* file) {
    return world_.profiles.GetSectionNames(buffer, size, file);
}

Dword SimPlatform::GetSystemDirectoryA(char* buffer, Dword size) {
    return CopyFolder(ToAnsi(world_.systemDir), buffer, size);
}

Dword SimPlatform::GetTempPathA(Dword size, char* buffer) { return CopyFolder(ToAnsi(world_.tempDir), buffer, size); }

Dword SimPlatform::GetWindowsDirectoryA(char* buffer, Dword size) {
    return CopyFolder(ToAnsi(world_.windowsDir), buffer, size);
}

bool SimPlatform::GetVersionExA(engine::OsVersionInfoA* info) {
    if (!info || (info->dwOSVersionInfoSize != 148 && info->dwOSVersionInfoSize != 156)) return false;
    info->dwMajorVersion = world_.options.major;
    info->dwMinorVersion = world_.options.minor;
    info->dwBuildNumber = world_.options.build;
    info->dwPlatformId = world_.options.platformId;
    std::memset(info->szCSDVersion, 0, sizeof(info->szCSDVersion));
    std::memcpy(info->szCSDVersion, world_.options.csdVersion.data(),
                std::min(world_.options.csdVersion.size(), sizeof(info->szCSDVersion) - 1));
    return true;
}

Dword SimPlatform::GetFileAttributesA(const char* path) {
    if (!path) return win::INVALID_FILE_ATTRIBUTES;
    std::error_code ec;
    const auto host = world_.files.ToHost(FromAnsi(path));
    if (std::filesystem::is_directory(host, ec)) return win::FILE_ATTRIBUTE_DIRECTORY;
    if (std::filesystem::exists(host, ec)) return win::FILE_ATTRIBUTE_ARCHIVE;
    return win::INVALID_FILE_ATTRIBUTES;
}

Long SimPlatform::GetWindowLongA(Hwnd hwnd, Long index) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w) return 0;
    if (index == win::GWL_STYLE) return static_cast<Long>(w->style);
    if (index == win::GWL_EXSTYLE) return static_cast<Long>(w->exStyle);
    return 0;
}

Long SimPlatform::SetWindowLongA(Hwnd hwnd, Long index, Long value) {
    Window* w = world_.windows.Find(hwnd);
    if (!w) return 0;
    Dword* field = index == win::GWL_STYLE ? &w->style : index == win::GWL_EXSTYLE ? &w->exStyle : nullptr;
    if (!field) return 0;
    const Long before = static_cast<Long>(*field);
    *field = static_cast<Dword>(value);
    return before;
}

namespace {
// As GetWindowTextA and GetClassNameA fill a narrow buffer: the whole characters
// that fit in max bytes, then a NUL at the last place whatever it cuts.
Long CopyNarrow(const CodePage& cp, const engine::String& text, char* buffer, Long max) {
    if (!buffer || max <= 0) return 0;
    std::string bytes = cp.Encode(text);
    if (static_cast<Long>(bytes.size()) < max) {  // the whole text fits
        std::memcpy(buffer, bytes.c_str(), bytes.size() + 1);
        return static_cast<Long>(bytes.size());
    }
    bytes.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        std::string one = cp.Encode(text.substr(i, 1));
        if (static_cast<Long>(bytes.size() + one.size()) > max) break;
        bytes += one;
    }
    if (static_cast<Long>(bytes.size()) >= max) bytes.resize(static_cast<size_t>(max - 1));
    std::memcpy(buffer, bytes.c_str(), bytes.size() + 1);
    return static_cast<Long>(bytes.size());
}
}  // namespace

Long SimPlatform::GetWindowTextA(Hwnd hwnd, char* buffer, Long max) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w) {
        if (buffer && max > 0) buffer[0] = '\0';
        return 0;
    }
    return CopyNarrow(world_.codePage, w->title, buffer, max);
}

Long SimPlatform::GetClassNameA(Hwnd hwnd, char* buffer, Long max) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w) return 0;
    return CopyNarrow(world_.codePage, w->className, buffer, max);
}

Hwnd SimPlatform::FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className, const char* windowName) {
    const Window* p = world_.windows.Find(parent ? parent : world_.windows.Desktop());
    if (!p) return 0;
    bool started = childAfter == 0;
    for (Hwnd kid : p->children) {
        if (!started) {
            started = kid == childAfter;
            continue;
        }
        const Window& w = *world_.windows.Find(kid);
        if (className && !engine::EqualsIgnoreCase(w.className, FromAnsi(className))) continue;
        if (windowName && !engine::EqualsIgnoreCase(w.title, FromAnsi(windowName))) continue;
        return kid;
    }
    return 0;
}

Dword SimPlatform::GetWindowThreadProcessId(Hwnd hwnd, Dword* processId) {
    if (processId) *processId = 0;
    if (!world_.windows.Exists(hwnd)) return 0;
    if (processId) *processId = world_.windows.ThreadOf(hwnd);  // a process a thread
    return world_.windows.ThreadOf(hwnd);
}

bool SimPlatform::IsHungAppWindow(Hwnd hwnd) {
    return world_.windows.Exists(hwnd) && world_.windows.AnsweringOf(hwnd) == Answering::Hung;
}

bool SimPlatform::SendMessageTimeoutA(Hwnd hwnd, Dword /*message*/, Dword /*wParam*/, Long /*lParam*/, Dword flags,
                                      Dword timeoutMs, Dword* result) {
    if (result) *result = 0;
    if (!world_.windows.Exists(hwnd)) return false;
    switch (world_.windows.AnsweringOf(hwnd)) {
        case Answering::Yes: return true;
        case Answering::Hung:
            if (flags & win::SMTO_ABORTIFHUNG) return false;
            [[fallthrough]];
        case Answering::Stalled: world_.timeSpentWaiting += timeoutMs; return false;
    }
    return false;
}

Long SimPlatform::DwmGetWindowAttribute(Hwnd hwnd, Dword attribute, void* value, Dword size) {
    const auto& o = world_.options;
    const bool nt6 = o.platformId == win::VER_PLATFORM_WIN32_NT && o.major >= 6;
    if (!nt6) return win::HRESULT_MOD_NOT_FOUND;  // no dwmapi before Windows Vista
    if (o.dwmNotImplemented) return win::E_NOTIMPL;
    // Cloaking came with Windows 8; earlier systems know no such attribute.
    const bool eight = o.major > 6 || o.minor >= 2;
    const Window* w = world_.windows.Find(hwnd);
    if (!w || !value || attribute != win::DWMWA_CLOAKED || size != sizeof(Dword) || !eight) return win::E_INVALIDARG;
    const Dword cloaked = w->cloaked ? win::DWM_CLOAKED_SHELL : 0;
    std::memcpy(value, &cloaked, sizeof cloaked);
    return win::S_OK;
}

bool SimPlatform::GetWindowPlacement(Hwnd hwnd, engine::WindowPlacement* placement) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w || !placement || placement->length != sizeof(engine::WindowPlacement)) return false;
    placement->flags = 0;
    placement->showCmd = (w->style & win::WS_MINIMIZE)   ? win::SW_SHOWMINIMIZED
                         : (w->style & win::WS_MAXIMIZE) ? win::SW_SHOWMAXIMIZED
                                                         : win::SW_SHOWNORMAL;
    placement->ptMinPosition = {-1, -1};
    placement->ptMaxPosition = {-1, -1};
    placement->rcNormalPosition = w->normalRect;
    // A top-level window that is no tool window is placed in workspace
    // coordinates: from the corner of the work area.
    if (w->parent == world_.windows.Desktop() && !(w->exStyle & win::WS_EX_TOOLWINDOW)) {
        Rect& r = placement->rcNormalPosition;
        r = {r.left - world_.workArea.left, r.top - world_.workArea.top, r.right - world_.workArea.left,
             r.bottom - world_.workArea.top};
    }
    return true;
}

bool SimPlatform::SetWindowPlacement(Hwnd hwnd, const engine::WindowPlacement* placement) {
    world_.windows.WaitFor(hwnd, "SetWindowPlacement");
    Window* w = world_.windows.Find(hwnd);
    if (!w || !placement || placement->length != sizeof(engine::WindowPlacement)) return false;
    Rect r = placement->rcNormalPosition;
    if (w->parent == world_.windows.Desktop() && !(w->exStyle & win::WS_EX_TOOLWINDOW))
        r = {r.left + world_.workArea.left, r.top + world_.workArea.top, r.right + world_.workArea.left,
             r.bottom + world_.workArea.top};
    w->normalRect = r;
    if (!(w->style & (win::WS_MINIMIZE | win::WS_MAXIMIZE))) {
        if (!(w->rect == r)) ++w->moveCount;
        w->rect = r;
    }
    return true;
}

bool SimPlatform::GetWindowRect(Hwnd hwnd, Rect* rect) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w || !rect) return false;
    *rect = w->rect;
    return true;
}

bool SimPlatform::GetClientRect(Hwnd hwnd, Rect* rect) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w || !rect) return false;
    if (w->style & win::WS_MINIMIZE) {  // a minimised window shows no client area
        *rect = {0, 0, 0, 0};
        return true;
    }
    Rect frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, w->style, false, w->exStyle);
    *rect = {0, 0, (w->rect.right - w->rect.left) - (frame.right - frame.left),
             (w->rect.bottom - w->rect.top) - (frame.bottom - frame.top)};
    if (rect->right < 0) rect->right = 0;
    if (rect->bottom < 0) rect->bottom = 0;
    return true;
}

bool SimPlatform::SystemParametersInfoA(Dword action, Dword param, void* pv, Dword /*winIni*/) {
    switch (action) {
        case win::SPI_SETDESKWALLPAPER:
            world_.wallpaper = pv ? FromAnsi(static_cast<const char*>(pv)) : engine::String();
            ++world_.wallpaperSets;
            return true;
        case win::SPI_GETDESKWALLPAPER: {
            if (!pv || param == 0) return false;
            const std::string path = ToAnsi(world_.wallpaper);
            const size_t n = std::min<size_t>(path.size(), param - 1);
            std::memcpy(pv, path.data(), n);
            static_cast<char*>(pv)[n] = '\0';
            return true;
        }
        case win::SPI_GETWORKAREA:
            if (!pv) return false;
            *static_cast<Rect*>(pv) = world_.workArea;
            return true;
        default: return false;
    }
}

Long SimPlatform::GetSystemMetrics(Long index) {
    const Rect v = world_.VirtualScreen();
    const bool multipleMonitors = world_.options.platformId == win::VER_PLATFORM_WIN32_NT
                                      ? world_.options.major >= 5
                                      : world_.options.minor >= 10;  // from Windows 98 and 2000 on
    switch (index) {
        case win::SM_CXSCREEN: return world_.options.screen.right - world_.options.screen.left;
        case win::SM_XVIRTUALSCREEN: return multipleMonitors ? v.left : 0;
        case win::SM_YVIRTUALSCREEN: return multipleMonitors ? v.top : 0;
        case win::SM_CXVIRTUALSCREEN: return multipleMonitors ? v.right - v.left : 0;
        case win::SM_CYVIRTUALSCREEN: return multipleMonitors ? v.bottom - v.top : 0;
        case win::SM_CMONITORS:
            return multipleMonitors ? static_cast<Long>(1 + world_.options.otherMonitors.size()) : 0;
        default: return 0;
    }
}

bool SimPlatform::AdjustWindowRect(Rect* rect, Dword style, bool menu) {
    return AdjustWindowRectEx(rect, style, menu, 0);
}

bool SimPlatform::AdjustWindowRectEx(Rect* rect, Dword style, bool menu, Dword exStyle) {
    return AddFrame(rect, style, menu, exStyle);
}

bool SimPlatform::SetLayeredWindowAttributes(Hwnd hwnd, Dword colorKey, std::uint8_t alpha, Dword flags) {
    Window* w = world_.windows.Find(hwnd);
    if (!w || !(w->exStyle & win::WS_EX_LAYERED)) return false;
    // Child windows can be layered from Windows 8 (6.2) on only.
    const bool childLayering = world_.options.platformId == win::VER_PLATFORM_WIN32_NT &&
                               (world_.options.major > 6 || (world_.options.major == 6 && world_.options.minor >= 2));
    if (w->parent != world_.windows.Desktop() && !childLayering) return false;
    w->layeredKey = colorKey;
    w->layeredAlpha = alpha;
    w->layeredFlags = flags;
    return true;
}

bool SimPlatform::ClientToScreen(Hwnd hwnd, engine::Point* point) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w || !point) return false;
    const auto o = ClientOrigin(*w);
    point->x += o.x;
    point->y += o.y;
    return true;
}

bool SimPlatform::ScreenToClient(Hwnd hwnd, engine::Point* point) {
    const Window* w = world_.windows.Find(hwnd);
    if (!w || !point) return false;
    const auto o = ClientOrigin(*w);
    point->x -= o.x;
    point->y -= o.y;
    return true;
}

Long SimPlatform::MapWindowPoints(Hwnd from, Hwnd to, engine::Point* points, Dword count) {
    // 0 stands for the screen, as the desktop window does.
    engine::Point o1{0, 0}, o2{0, 0};
    if (from) {
        const Window* w = world_.windows.Find(from);
        if (!w) return 0;
        o1 = ClientOrigin(*w);
    }
    if (to) {
        const Window* w = world_.windows.Find(to);
        if (!w) return 0;
        o2 = ClientOrigin(*w);
    }
    const Long dx = o1.x - o2.x, dy = o1.y - o2.y;
    for (Dword i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return static_cast<Long>((static_cast<std::uint32_t>(dy & 0xFFFF) << 16) | static_cast<std::uint32_t>(dx & 0xFFFF));
}

namespace {
// The windows an arrangement moves: the list given, or the parent's children in
// stacking order; of those only shown windows that are not minimised (nor
// disabled, when asked), and no top-level window that is topmost or a tool window.
std::vector<Hwnd> Arranged(const WindowModel& model, Hwnd parent, Dword how, Dword count, const Hwnd* kids) {
    std::vector<Hwnd> list;
    if (kids) {
        list.assign(kids, kids + count);
    } else if (const Window* p = model.Find(parent)) {
        list = p->children;
    }
    std::vector<Hwnd> out;
    for (Hwnd h : list) {
        const Window* w = model.Find(h);
        if (!w || h == model.Desktop() || !(w->style & win::WS_VISIBLE) || (w->style & win::WS_MINIMIZE)) continue;
        if ((how & win::MDITILE_SKIPDISABLED) && (w->style & win::WS_DISABLED)) continue;
        if (w->parent == model.Desktop() && (w->exStyle & (win::WS_EX_TOPMOST | win::WS_EX_TOOLWINDOW))) continue;
        out.push_back(h);
    }
    return out;
}

// Arranging restores a maximised window first.
void Restore(Window& w) { w.style &= ~win::WS_MAXIMIZE; }

// The area of an arrangement in screen coordinates: the rectangle given (in the
// parent's client coordinates), else the parent's client area, which for the
// desktop is the work area.
Rect ArrangementArea(SimPlatform& platform, World& world, Hwnd parent, const Rect* area) {
    const Window& p = world.windows.Get(parent);
    Rect box;
    if (area)
        box = *area;
    else if (parent == world.windows.Desktop())
        box = world.workArea;
    else
        platform.GetClientRect(parent, &box);
    const auto o = ClientOrigin(p);
    return {box.left + o.x, box.top + o.y, box.right + o.x, box.bottom + o.y};
}

constexpr Long kCascadeStep = kCaptionHeight + kSizingFrame + kDialogFrame;  // a caption and a sizing frame
}  // namespace

std::uint16_t SimPlatform::CascadeWindows(Hwnd parent, Dword how, const Rect* area, Dword count, const Hwnd* kids) {
    if (!parent) parent = world_.windows.Desktop();
    if (!world_.windows.Exists(parent)) return 0;
    const Rect box = ArrangementArea(*this, world_, parent, area);
    const auto list = Arranged(world_.windows, parent, how, count, kids);
    const Long step = kCascadeStep;
    const Long width = (box.right - box.left) * 3 / 4, height = (box.bottom - box.top) * 3 / 4;
    // The bottom of the stacking order goes first, so the top window ends in front.
    Long i = 0;
    for (auto it = list.rbegin(); it != list.rend(); ++it, ++i) {
        Restore(world_.windows.Get(*it));
        world_.windows.Place(*it, 0, box.left + i * step, box.top + i * step, width, height,
                             win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    }
    return static_cast<std::uint16_t>(list.size());
}

std::uint16_t SimPlatform::TileWindows(Hwnd parent, Dword how, const Rect* area, Dword count, const Hwnd* kids) {
    if (!parent) parent = world_.windows.Desktop();
    if (!world_.windows.Exists(parent)) return 0;
    const Rect box = ArrangementArea(*this, world_, parent, area);
    const auto list = Arranged(world_.windows, parent, how, count, kids);
    const Long n = static_cast<Long>(list.size());
    if (n == 0) return 0;
    // Up to three windows share one band; more make a grid of about sqrt(n)
    // bands, the later bands taking the windows left over.
    const Long bands = n < 4 ? 1 : static_cast<Long>(std::sqrt(static_cast<double>(n)));
    const bool stacked = (how & win::MDITILE_HORIZONTAL) != 0;  // bands are columns, windows one above the other
    const Long width = box.right - box.left, height = box.bottom - box.top;
    const Long across = stacked ? width : height;  // the extent the bands share
    const Long along = stacked ? height : width;   // the extent the windows of one band share
    Long next = 0;
    for (Long band = 0; band < bands; ++band) {
        const Long inBand = n / bands + (band >= bands - n % bands ? 1 : 0);
        const Long bandSize = across / bands, cell = along / inBand;
        for (Long k = 0; k < inBand; ++k, ++next) {
            const Hwnd h = list[static_cast<std::size_t>(next)];
            Restore(world_.windows.Get(h));
            if (stacked)
                world_.windows.Place(h, 0, box.left + band * bandSize, box.top + k * cell, bandSize, cell,
                                     win::SWP_NOZORDER | win::SWP_NOACTIVATE);
            else
                world_.windows.Place(h, 0, box.left + k * cell, box.top + band * bandSize, cell, bandSize,
                                     win::SWP_NOZORDER | win::SWP_NOACTIVATE);
        }
    }
    return static_cast<std::uint16_t>(n);
}

bool SimPlatform::Shell_NotifyIconA(Dword message, const engine::NotifyIconDataA* data) {
    if (!data || data->cbSize < sizeof(engine::NotifyIconDataA)) return false;
    const auto key = std::make_pair(static_cast<Hwnd>(data->hWnd), data->uID);
    world_.trayCalls.push_back({message, key});
    auto apply = [&](NotifyRecord& r) {
        if (data->uFlags & win::NIF_MESSAGE) r.callbackMessage = data->uCallbackMessage;
        if (data->uFlags & win::NIF_ICON) r.icon = data->hIcon;
        if (data->uFlags & win::NIF_TIP)
            r.tip = FromAnsi(std::string(data->szTip, strnlen(data->szTip, sizeof(data->szTip))));
        r.flags = data->uFlags;
    };
    switch (message) {
        case win::NIM_ADD: {
            if (world_.trayIcons.count(key) || !world_.windows.Exists(key.first)) return false;
            NotifyRecord r;
            apply(r);
            world_.trayIcons.emplace(key, r);
            world_.trayOrder.push_back(key);
            return true;
        }
        case win::NIM_MODIFY: {
            auto it = world_.trayIcons.find(key);
            if (it == world_.trayIcons.end()) return false;
            apply(it->second);
            return true;
        }
        case win::NIM_DELETE: {
            if (!world_.trayIcons.erase(key)) return false;
            auto& order = world_.trayOrder;
            order.erase(std::remove(order.begin(), order.end(), key), order.end());
            return true;
        }
        default: return false;
    }
}

bool SimPlatform::GetOpenFileNameA(engine::OpenFileNameA* record) {
    if (!record) return false;
    FileChooserCall call;
    call.structSize = record->lStructSize;
    call.owner = record->hwndOwner;
    if (record->lpstrFilter) {
        const char* p = record->lpstrFilter;
        while (*p) p += std::strlen(p) + 1;
        call.filter.assign(record->lpstrFilter, static_cast<size_t>(p - record->lpstrFilter) + 1);
    }
    call.filterIndex = record->nFilterIndex;
    call.maxFile = record->nMaxFile;
    call.flags = record->Flags;
    call.otherMembersZero = record->hwndOwner == 0 && record->hInstance == 0 && !record->lpstrCustomFilter &&
                            record->nMaxCustFilter == 0 && !record->lpstrFileTitle && record->nMaxFileTitle == 0 &&
                            !record->lpstrInitialDir && !record->lpstrTitle && record->nFileOffset == 0 &&
                            record->nFileExtension == 0 && !record->lpstrDefExt && record->lCustData == 0 &&
                            record->lpfnHook == 0 && !record->lpTemplateName;
    for (Hwnd h : world_.windows.TopLevel()) {
        const Window& w = *world_.windows.Find(h);
        if (w.className == u"TrevoForm" && (w.style & win::WS_VISIBLE) && (w.style & win::WS_DISABLED))
            call.visibleFormDisabled = true;
    }
    world_.fileChooserCalls.push_back(call);
    if (record->lStructSize != 76 && record->lStructSize != 88) return false;

    if (world_.fileChoices.empty()) return false;
    auto choice = world_.fileChoices.front();
    world_.fileChoices.pop_front();
    if (!choice || !record->lpstrFile) return false;
    const std::string path = ToAnsi(*choice);
    if (path.size() + 1 > record->nMaxFile) return false;
    std::memcpy(record->lpstrFile, path.c_str(), path.size() + 1);
    const auto slash = path.find_last_of('\\');
    record->nFileOffset = static_cast<std::uint16_t>(slash == std::string::npos ? 0 : slash + 1);
    const auto dot = path.find_last_of('.');
    record->nFileExtension =
        static_cast<std::uint16_t>(dot == std::string::npos || dot < record->nFileOffset ? 0 : dot + 1);
    return true;
}

}  // namespace sim
