// The shell's notification area: Shell_NotifyIcon with the original record and
// with the longer one of Windows 2000, each read only as far as its cbSize
// says, as the shell reads it.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "engine/sim/sim_platform.h"

namespace sim {
namespace win = engine::win;

namespace {

constexpr Dword kOriginalSize = sizeof(engine::NotifyIconDataA);
constexpr Dword kVersion2Size = sizeof(engine::NotifyIconDataV2A);

// One call, from whichever record it came.
struct NotifyRequest {
    Hwnd hwnd = 0;
    Dword id = 0;
    Dword flags = 0;
    Dword callbackMessage = 0;
    Dword icon = 0;
    std::string tip;
    bool readsBalloon = false;  // the record has the balloon's fields and this shell knows them
    std::string balloonTitle, balloonText;
    Dword balloonFlags = 0;
};

// The original fields, which every record starts with.
template <class Record>
NotifyRequest OriginalFields(const Record& data, size_t tipRoom) {
    NotifyRequest r;
    r.hwnd = static_cast<Hwnd>(data.hWnd);
    r.id = data.uID;
    r.flags = data.uFlags;
    r.callbackMessage = data.uCallbackMessage;
    r.icon = data.hIcon;
    r.tip.assign(data.szTip, strnlen(data.szTip, tipRoom));
    return r;
}

// A text field up to its NUL; nothing when it has none (the shell would read on
// into the fields after it).
std::optional<std::string> FieldText(const char* field, size_t size) {
    const size_t length = strnlen(field, size);
    if (length == size) return std::nullopt;
    return std::string(field, length);
}

// Balloons came with the shell of Windows 2000 and ME; an older shell reads the
// longer record's original fields only.
bool ShellKnowsBalloons(const World& world) {
    const Options& o = world.options;
    if (o.platformId == win::VER_PLATFORM_WIN32_NT) return o.major >= 5;
    return o.major > 4 || (o.major == 4 && o.minor >= 90);
}

bool Apply(World& world, Dword message, const NotifyRequest& request) {
    if (!world.shellAnswers) return false;
    const auto key = std::make_pair(request.hwnd, request.id);
    auto apply = [&](NotifyRecord& r) {
        if (request.flags & win::NIF_MESSAGE) r.callbackMessage = request.callbackMessage;
        if (request.flags & win::NIF_ICON) r.icon = request.icon;
        if (request.flags & win::NIF_TIP) r.tip = world.codePage.Decode(request.tip);
        // A field left out of a call keeps what the icon was given before.
        r.flags |= request.flags & (win::NIF_MESSAGE | win::NIF_ICON | win::NIF_TIP);
        if (request.readsBalloon && (request.flags & win::NIF_INFO)) {
            r.balloonTitle = world.codePage.Decode(request.balloonTitle);
            r.balloonText = world.codePage.Decode(request.balloonText);
            r.balloonFlags = request.balloonFlags;
            if (!r.balloonText.empty()) ++r.balloonsShown;
        }
    };
    switch (message) {
        case win::NIM_ADD: {
            if (world.trayIcons.count(key) || !world.windows.Exists(key.first)) return false;
            NotifyRecord r;
            apply(r);
            world.trayIcons.emplace(key, r);
            world.trayOrder.push_back(key);
            return true;
        }
        case win::NIM_MODIFY: {
            auto it = world.trayIcons.find(key);
            if (it == world.trayIcons.end()) return false;
            apply(it->second);
            return true;
        }
        case win::NIM_DELETE: {
            if (!world.trayIcons.erase(key)) return false;
            auto& order = world.trayOrder;
            order.erase(std::remove(order.begin(), order.end(), key), order.end());
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

bool SimPlatform::Shell_NotifyIconA(Dword message, const engine::NotifyIconDataA* data) {
    if (!data || data->cbSize < kOriginalSize) return false;
    return Apply(world_, message, OriginalFields(*data, sizeof data->szTip));
}

bool SimPlatform::Shell_NotifyIconV2A(Dword message, const engine::NotifyIconDataV2A* data) {
    if (!data || data->cbSize < kOriginalSize) return false;
    if (data->cbSize > kVersion2Size) {
        // The shell would read the later records' fields beyond this one's end.
        world_.modelFaults.push_back("Shell_NotifyIcon: cbSize " + std::to_string(data->cbSize) +
                                     " is larger than the record");
        return false;
    }
    // A size the shell does not know gets the original fields only, as on Windows XP.
    const bool longer = data->cbSize == kVersion2Size;
    NotifyRequest request =
        OriginalFields(*data, longer ? sizeof(data->szTip) : sizeof(engine::NotifyIconDataA::szTip));
    request.readsBalloon = longer && ShellKnowsBalloons(world_);
    if (request.readsBalloon && (data->uFlags & win::NIF_INFO)) {
        const auto title = FieldText(data->szInfoTitle, sizeof data->szInfoTitle);
        const auto text = FieldText(data->szInfo, sizeof data->szInfo);
        if (!title || !text) {
            world_.modelFaults.push_back("Shell_NotifyIcon: a balloon text without its NUL");
            return false;
        }
        request.balloonTitle = *title;
        request.balloonText = *text;
        request.balloonFlags = data->dwInfoFlags;
    }
    return Apply(world_, message, request);
}

}  // namespace sim
