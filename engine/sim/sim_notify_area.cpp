// The shell's notification area: Shell_NotifyIconA with the original record and
// Shell_NotifyIconW with the longer one of Windows 2000, each read only as far
// as its cbSize says, as the shell reads it.
#include <algorithm>
#include <iterator>
#include <optional>
#include <string>

#include "engine/sim/sim_platform.h"

namespace sim {
namespace win = engine::win;

namespace {

constexpr Dword kOriginalSize = sizeof(engine::NotifyIconDataA);
constexpr Dword kWideOriginalSize = 152;  // NOTIFYICONDATAW_V1_SIZE: the fields up to a 64-unit tip
constexpr Dword kVersion2Size = sizeof(engine::NotifyIconDataV2W);

// One call, from whichever record it came, its texts read in UTF-16.
struct NotifyRequest {
    Hwnd hwnd = 0;
    Dword id = 0;
    Dword flags = 0;
    Dword callbackMessage = 0;
    Dword icon = 0;
    engine::String tip;
    bool readsBalloon = false;  // the record has the balloon's fields and this shell knows them
    engine::String balloonTitle, balloonText;
    Dword balloonFlags = 0;
};

// A text field's units up to its NUL, or up to its end.
template <class Char>
std::basic_string<Char> UpToNul(const Char* field, size_t size) {
    return std::basic_string<Char>(field, std::find(field, field + size, Char{}) - field);
}

// The A record's tip is in the code page, the W record's in UTF-16.
engine::String TipText(const std::string& bytes, const CodePage& codePage) { return codePage.Decode(bytes); }
engine::String TipText(engine::String units, const CodePage&) { return units; }

// The original fields, which every record starts with.
template <class Record>
NotifyRequest OriginalFields(const Record& data, size_t tipRoom, const CodePage& codePage) {
    NotifyRequest r;
    r.hwnd = static_cast<Hwnd>(data.hWnd);
    r.id = data.uID;
    r.flags = data.uFlags;
    r.callbackMessage = data.uCallbackMessage;
    r.icon = data.hIcon;
    r.tip = TipText(UpToNul(data.szTip, tipRoom), codePage);
    return r;
}

// A text field up to its NUL; nothing when it has none (the shell would read on
// into the fields after it).
std::optional<engine::String> FieldText(const char16_t* field, size_t size) {
    engine::String text = UpToNul(field, size);
    if (text.size() == size) return std::nullopt;
    return text;
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
        if (request.flags & win::NIF_TIP) r.tip = request.tip;
        // A field left out of a call keeps what the icon was given before.
        r.flags |= request.flags & (win::NIF_MESSAGE | win::NIF_ICON | win::NIF_TIP);
        if (request.readsBalloon && (request.flags & win::NIF_INFO)) {
            r.balloonTitle = request.balloonTitle;
            r.balloonText = request.balloonText;
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
    return Apply(world_, message, OriginalFields(*data, sizeof data->szTip, world_.codePage));
}

bool SimPlatform::Shell_NotifyIconV2W(Dword message, const engine::NotifyIconDataV2W* data) {
    if (!data || data->cbSize < kWideOriginalSize) return false;
    if (data->cbSize > kVersion2Size) {
        // The shell would read the later records' fields beyond this one's end.
        world_.modelFaults.push_back("Shell_NotifyIcon: cbSize " + std::to_string(data->cbSize) +
                                     " is larger than the record");
        return false;
    }
    // A size the shell does not know gets the original fields only, as on Windows XP.
    const bool longer = data->cbSize == kVersion2Size;
    NotifyRequest request = OriginalFields(*data, longer ? std::size(data->szTip) : 64, world_.codePage);
    request.readsBalloon = longer && ShellKnowsBalloons(world_);
    if (request.readsBalloon && (data->uFlags & win::NIF_INFO)) {
        const auto title = FieldText(data->szInfoTitle, std::size(data->szInfoTitle));
        const auto text = FieldText(data->szInfo, std::size(data->szInfo));
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
