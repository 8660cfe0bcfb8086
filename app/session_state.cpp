#include "app/session_state.h"

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

std::optional<DesktopRecord::Left> DesktopRecord::Read() {
    if (key_ == 0) return std::nullopt;
    auto read = [&](const char* name) -> std::optional<Dword> {
        Dword value = 0, type = 0, size = sizeof value;
        if (platform_.RegQueryValueExA(key_, name, &type, &value, &size) != win::ERROR_SUCCESS ||
            type != win::REG_DWORD || size != sizeof value)
            return std::nullopt;
        return value;
    };
    const auto desk = read(kDeskValue), width = read(kWidthValue);
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
}

void DesktopRecord::Clear() {
    if (key_ == 0) return;
    platform_.RegDeleteValueA(key_, kDeskValue);
    platform_.RegDeleteValueA(key_, kWidthValue);
}

}  // namespace trevo
