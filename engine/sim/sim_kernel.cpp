// The kernel32 and advapi32 calls of the simulated Windows: the process's
// handles, named objects, the registry, profiles, folders and the version.
#include <algorithm>
#include <cstring>

#include "engine/sim/sim_platform.h"
#include "engine/sim/file_system.h"

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

SimPlatform::~SimPlatform() { ReleaseEverything(); }

void SimPlatform::ReleaseEverything() {
    while (!hooks_.empty()) UnhookWinEvent(hooks_.back());
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
        case win::HKEY_CURRENT_USER:
            return "HKCU";
        case win::HKEY_LOCAL_MACHINE:
            return "HKLM";
        default:
            return {};
    }
}
}  // namespace

World::RegistryKey* SimPlatform::KeyOf(Dword key) {
    auto it = handles_.find(key);
    if (it == handles_.end() || !it->second.isKey) return nullptr;
    auto found = world_.registry.find(it->second.name);
    return found == world_.registry.end() ? nullptr : &found->second;
}

// A handle to change a key's values with: Windows checks the right once, when
// the key is opened.
Dword SimPlatform::ChangeableKey(Dword key, World::RegistryKey** found) {
    *found = KeyOf(key);
    if (!*found) return win::ERROR_INVALID_HANDLE;
    return handles_[key].mayChange ? win::ERROR_SUCCESS : win::ERROR_ACCESS_DENIED;
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
            const std::string parent = path;
            path += "\\" + rest.substr(start, end - start);
            auto it = world_.registry.find(path);
            if (it == world_.registry.end()) {
                // Windows keeps no lasting key under one that goes with the session.
                if (parentVolatile && !isVolatile) return win::ERROR_CHILD_MUST_BE_VOLATILE;
                if (world_.guardedKeys.count(parent)) return win::ERROR_ACCESS_DENIED;
                it = world_.registry.emplace(path, World::RegistryKey{isVolatile, {}}).first;
                made = true;
            }
            parentVolatile = it->second.isVolatile;
        }
        start = end + 1;
    }
    // The key is opened to query and to set values.
    if (world_.guardedKeys.count(path)) return win::ERROR_ACCESS_DENIED;
    const Dword handle = world_.nextKernelHandle += 4;
    handles_[handle] = {true, path, true};
    *key = handle;
    if (disposition) *disposition = made ? win::REG_CREATED_NEW_KEY : win::REG_OPENED_EXISTING_KEY;
    return win::ERROR_SUCCESS;
}

Dword SimPlatform::RegOpenKeyExA(Dword root, const char* subKey, Dword access, Dword* key) {
    if (key) *key = 0;
    std::string path = RootName(root);
    if (path.empty() || !key) return win::ERROR_INVALID_HANDLE;
    const std::string rest = Upper(subKey);
    for (size_t start = 0; start <= rest.size();) {
        const size_t end = std::min(rest.find('\\', start), rest.size());
        if (end > start) path += "\\" + rest.substr(start, end - start);
        start = end + 1;
    }
    if (!world_.registry.count(path)) return win::ERROR_FILE_NOT_FOUND;
    const bool change = (access & win::KEY_SET_VALUE) != 0;
    if (change && world_.guardedKeys.count(path)) return win::ERROR_ACCESS_DENIED;
    const Dword handle = world_.nextKernelHandle += 4;
    handles_[handle] = {true, path, change};
    *key = handle;
    return win::ERROR_SUCCESS;
}

Dword SimPlatform::RegSetValueExA(Dword key, const char* name, Dword type, const void* data, Dword size) {
    World::RegistryKey* k = nullptr;
    if (const Dword refused = ChangeableKey(key, &k)) return refused;
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
    World::RegistryKey* k = nullptr;
    if (const Dword refused = ChangeableKey(key, &k)) return refused;
    return k->values.erase(Upper(name ? name : "")) ? win::ERROR_SUCCESS : win::ERROR_FILE_NOT_FOUND;
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
    constexpr Dword kExtendedSize = 156;  // OSVERSIONINFOEXA
    if (!info ||
        (info->dwOSVersionInfoSize != sizeof(engine::OsVersionInfoA) && info->dwOSVersionInfoSize != kExtendedSize))
        return false;
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

bool SimPlatform::CreateDirectoryW(const char16_t* path) {
    const std::filesystem::path host = world_.files.ToHost(path ? path : u"");
    std::error_code ec;
    lastError_ = std::filesystem::exists(host, ec)                        ? win::ERROR_ALREADY_EXISTS
                 : !std::filesystem::is_directory(host.parent_path(), ec) ? win::ERROR_PATH_NOT_FOUND
                 : !world_.MayWriteIn(host.parent_path())                 ? win::ERROR_ACCESS_DENIED
                                                                          : win::ERROR_SUCCESS;
    if (lastError_ != win::ERROR_SUCCESS) return false;
    std::filesystem::create_directory(host, ec);
    return !ec;
}

bool SimPlatform::GetFileAttributesExW(const char16_t* path, engine::FileAttributeData* data) {
    const std::filesystem::path host = world_.files.ToHost(path ? path : u"");
    std::error_code ec;
    const auto status = std::filesystem::status(host, ec);
    if (ec || !std::filesystem::exists(status) || !data) {
        lastError_ = win::ERROR_FILE_NOT_FOUND;
        return false;
    }
    *data = {};
    const bool folder = std::filesystem::is_directory(status);
    data->dwFileAttributes = folder ? win::FILE_ATTRIBUTE_DIRECTORY : win::FILE_ATTRIBUTE_ARCHIVE;
    const std::uint64_t size = folder ? 0 : std::filesystem::file_size(host, ec);
    data->nFileSizeHigh = static_cast<Dword>(size >> 32);
    data->nFileSizeLow = static_cast<Dword>(size);
    // The host's clock in its own ticks: only its changes matter to a caller.
    const auto written = static_cast<std::uint64_t>(std::filesystem::last_write_time(host, ec).time_since_epoch().count());
    data->ftLastWriteTime = {static_cast<Dword>(written), static_cast<Dword>(written >> 32)};
    return true;
}

bool SimPlatform::DeleteFileW(const char16_t* path) {
    const std::filesystem::path host = world_.files.ToHost(path ? path : u"");
    std::error_code ec;
    lastError_ = !std::filesystem::is_regular_file(host, ec)      ? win::ERROR_FILE_NOT_FOUND
                 : HasReadOnlyAttribute(host) || !world_.MayWriteIn(host.parent_path()) ? win::ERROR_ACCESS_DENIED
                                                                                        : win::ERROR_SUCCESS;
    if (lastError_ != win::ERROR_SUCCESS) return false;
    return std::filesystem::remove(host, ec) && !ec;
}

namespace {
// Why Windows refuses to copy or move source onto target; ERROR_SUCCESS when it does not.
Dword TransferRefusal(const World& world, const std::filesystem::path& source, const std::filesystem::path& target,
                      bool replaces, Dword taken, bool removesSource) {
    std::error_code ec;
    const bool there = std::filesystem::exists(target, ec);
    if (!std::filesystem::is_regular_file(source, ec)) return win::ERROR_FILE_NOT_FOUND;
    if (there && !replaces) return taken;
    if ((there && HasReadOnlyAttribute(target)) || !world.MayWriteIn(target.parent_path()) ||
        (removesSource && !world.MayWriteIn(source.parent_path())))
        return win::ERROR_ACCESS_DENIED;
    return win::ERROR_SUCCESS;
}
}  // namespace

bool SimPlatform::CopyFileW(const char16_t* from, const char16_t* to, bool failIfExists) {
    const std::filesystem::path source = world_.files.ToHost(from ? from : u"");
    const std::filesystem::path target = world_.files.ToHost(to ? to : u"");
    lastError_ = TransferRefusal(world_, source, target, !failIfExists, win::ERROR_FILE_EXISTS, false);
    if (lastError_ != win::ERROR_SUCCESS) return false;
    std::error_code ec;
    std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing, ec);
    return !ec;
}

bool SimPlatform::MoveFileExW(const char16_t* from, const char16_t* to, Dword flags) {
    const std::filesystem::path source = world_.files.ToHost(from ? from : u"");
    const std::filesystem::path target = world_.files.ToHost(to ? to : u"");
    lastError_ = TransferRefusal(world_, source, target, (flags & win::MOVEFILE_REPLACE_EXISTING) != 0,
                                 win::ERROR_ALREADY_EXISTS, true);
    if (lastError_ != win::ERROR_SUCCESS) return false;
    std::error_code ec;
    std::filesystem::rename(source, target, ec);  // one step, as on one volume
    return !ec;
}

Long SimPlatform::SHGetFolderPathW(Long folder, char16_t* path) {
    // shell32 has it from Windows 2000 on (5.0, and the NT family only).
    const bool has = world_.options.platformId == win::VER_PLATFORM_WIN32_NT && world_.options.major >= 5;
    if (!has) return win::E_NOTIMPL;
    if (!path || (folder & ~win::CSIDL_FLAG_CREATE) != win::CSIDL_LOCAL_APPDATA) return win::E_INVALIDARG;
    const engine::String& where = world_.localAppData;
    if (where.size() >= win::MAX_PATH) return win::E_INVALIDARG;
    std::error_code ec;
    std::filesystem::create_directories(world_.files.ToHost(where), ec);  // every user has it
    std::copy(where.begin(), where.end(), path);
    path[where.size()] = u'\0';
    return win::S_OK;
}

Dword SimPlatform::GetShortPathNameW(const char16_t* longPath, char16_t* buffer, Dword size) {
    const std::optional<std::u16string> shortPath = longPath ? world_.files.ShortPath(longPath) : std::nullopt;
    if (!shortPath) {
        lastError_ = win::ERROR_FILE_NOT_FOUND;
        return 0;
    }
    const auto length = static_cast<Dword>(shortPath->size());
    if (!buffer || size <= length) return length + 1;
    std::copy(shortPath->begin(), shortPath->end(), buffer);
    buffer[length] = u'\0';
    return length;
}

}  // namespace sim
