#include "app/session/session_state.h"

#include <limits>

namespace trevo {
namespace win = engine::win;
using engine::Dword;
using engine::Long;

namespace {
// "Local\" names the log-on session's own namespace, so that each user of a
// shared machine has a Trevo of their own; Windows 98 knows no namespaces.
constexpr const char* kLockName = "Local\\Trevo.VirtualDesktops";
constexpr const char* kLockName9x = "Trevo.VirtualDesktops";
constexpr const char* kRecordKey = "Software\\Trevo";
constexpr const char* kDeskValue = "ActiveDesktop";
constexpr const char* kWidthValue = "DesktopWidth";
constexpr const char* kMovingValue = "Moving";
constexpr const char* kSizesValue = "KeptSizes";
constexpr const char* kWallpaperValue = "WallpaperBefore";  // UTF-16, without an end mark
constexpr Long kMostDesks = 5;
}  // namespace

SessionLock::SessionLock(engine::Platform& platform, bool win9x) : platform_(platform) {
    handle_ = platform_.CreateMutexA(win9x ? kLockName9x : kLockName);
    // A mutex that cannot be made at all is no reason to refuse the user Trevo.
    held_ = handle_ == 0 || platform_.GetLastError() != win::ERROR_ALREADY_EXISTS;
}

SessionLock::~SessionLock() {
    if (handle_ != 0) platform_.CloseHandle(handle_);
}

DesktopRecord::DesktopRecord(engine::Platform& platform) : platform_(platform) {
    Dword key = 0;
    if (platform_.RegCreateKeyExA(win::HKEY_CURRENT_USER, kRecordKey, win::REG_OPTION_VOLATILE, &key, nullptr) ==
        win::ERROR_SUCCESS)
        key_ = key;
}

DesktopRecord::~DesktopRecord() {
    if (key_ != 0) platform_.RegCloseKey(key_);
}

std::optional<Dword> DesktopRecord::ReadNumber(const char* name) {
    Dword value = 0, type = 0, size = sizeof value;
    if (platform_.RegQueryValueExA(key_, name, &type, &value, &size) != win::ERROR_SUCCESS || type != win::REG_DWORD ||
        size != sizeof value)
        return std::nullopt;
    return value;
}

std::optional<DesktopRecord::Left> DesktopRecord::Read() {
    if (key_ == 0) return std::nullopt;
    const auto desk = ReadNumber(kDeskValue), width = ReadNumber(kWidthValue);
    if (!desk || !width) return std::nullopt;
    // Only a record a Trevo can have written: a desktop number and a width whose
    // product a shift can carry.
    if (*desk < 1 || *desk > kMostDesks || *width < 1 ||
        static_cast<long long>(*width) * (kMostDesks - 1) > std::numeric_limits<Long>::max())
        return std::nullopt;
    return Left{static_cast<Long>(*desk), static_cast<Long>(*width)};
}

void DesktopRecord::Write(Long desk, Long width) {
    if (key_ == 0) return;
    const Dword d = static_cast<Dword>(desk), w = static_cast<Dword>(width);
    platform_.RegSetValueExA(key_, kWidthValue, win::REG_DWORD, &w, sizeof w);
    platform_.RegSetValueExA(key_, kDeskValue, win::REG_DWORD, &d, sizeof d);
    // Only now: until the desktop is written, the moves say where each window is.
    platform_.RegDeleteValueA(key_, kMovingValue);
}

void DesktopRecord::Clear() {
    if (key_ == 0) return;
    for (const char* name : {kDeskValue, kWidthValue, kMovingValue, kSizesValue}) platform_.RegDeleteValueA(key_, name);
}

// A list of 32-bit numbers as one binary value: it is written whole or not at all.
std::vector<Long> DesktopRecord::ReadNumbers(const char* name) {
    if (key_ == 0) return {};
    Dword type = 0, size = 0;
    if (platform_.RegQueryValueExA(key_, name, &type, nullptr, &size) != win::ERROR_SUCCESS ||
        type != win::REG_BINARY || size % sizeof(Long) != 0)
        return {};
    std::vector<Long> numbers(size / sizeof(Long));
    if (numbers.empty() || platform_.RegQueryValueExA(key_, name, &type, numbers.data(), &size) != win::ERROR_SUCCESS ||
        size != numbers.size() * sizeof(Long))
        return {};
    return numbers;
}

void DesktopRecord::WriteNumbers(const char* name, const std::vector<Long>& numbers) {
    if (key_ == 0) return;
    platform_.RegSetValueExA(key_, name, win::REG_BINARY, numbers.data(),
                             static_cast<Dword>(numbers.size() * sizeof(Long)));
}

void DesktopRecord::Moving(Long to, Long width, const std::vector<desktop::PlannedMove>& moves) {
    std::vector<Long> numbers{to, width};
    for (const desktop::PlannedMove& m : moves)
        numbers.insert(numbers.end(), {static_cast<Long>(m.hwnd), m.fromLeft, m.toLeft});
    WriteNumbers(kMovingValue, numbers);
}

std::optional<DesktopRecord::MoveUnderWay> DesktopRecord::ReadMove() {
    const std::vector<Long> numbers = ReadNumbers(kMovingValue);
    if (numbers.size() < 2 || (numbers.size() - 2) % 3 != 0 || numbers[0] < 1 || numbers[0] > kMostDesks ||
        numbers[1] < 1)
        return std::nullopt;
    MoveUnderWay move{numbers[0], numbers[1], {}};
    for (size_t i = 2; i < numbers.size(); i += 3)
        move.moves.push_back({static_cast<engine::Hwnd>(numbers[i]), numbers[i + 1], numbers[i + 2]});
    return move;
}

void DesktopRecord::WriteSizes(const std::vector<desktop::WindowSizes::Kept>& sizes) {
    std::vector<Long> numbers;
    for (const auto& kept : sizes) numbers.insert(numbers.end(), {static_cast<Long>(kept.hwnd), kept.width, kept.height});
    if (numbers.empty()) {
        if (key_ != 0) platform_.RegDeleteValueA(key_, kSizesValue);
        return;
    }
    WriteNumbers(kSizesValue, numbers);
}

std::vector<desktop::WindowSizes::Kept> DesktopRecord::ReadSizes() {
    const std::vector<Long> numbers = ReadNumbers(kSizesValue);
    std::vector<desktop::WindowSizes::Kept> sizes;
    if (numbers.size() % 3 != 0) return sizes;
    for (size_t i = 0; i < numbers.size(); i += 3)
        if (numbers[i + 1] > 0 && numbers[i + 2] > 0)
            sizes.push_back({static_cast<engine::Hwnd>(numbers[i]), numbers[i + 1], numbers[i + 2]});
    return sizes;
}

void DesktopRecord::KeepWallpaperBefore(const engine::String& path) {
    if (key_ == 0) return;
    platform_.RegSetValueExA(key_, kWallpaperValue, win::REG_BINARY, path.data(),
                             static_cast<Dword>(path.size() * sizeof(char16_t)));
}

std::optional<engine::String> DesktopRecord::WallpaperBefore() {
    if (key_ == 0) return std::nullopt;
    Dword type = 0, size = 0;
    if (platform_.RegQueryValueExA(key_, kWallpaperValue, &type, nullptr, &size) != win::ERROR_SUCCESS ||
        type != win::REG_BINARY || size % sizeof(char16_t) != 0)
        return std::nullopt;
    engine::String path(size / sizeof(char16_t), u'\0');
    if (size != 0 && (platform_.RegQueryValueExA(key_, kWallpaperValue, &type, path.data(), &size) !=
                          win::ERROR_SUCCESS ||
                      size != path.size() * sizeof(char16_t)))
        return std::nullopt;
    // A path holds no end mark: anything after one is not a path Trevo wrote.
    if (path.find(u'\0') != engine::String::npos) return std::nullopt;
    return path;
}

void DesktopRecord::ForgetWallpaperBefore() {
    if (key_ != 0) platform_.RegDeleteValueA(key_, kWallpaperValue);
}

}  // namespace trevo
