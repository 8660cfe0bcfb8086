#include "app/input/hotkeys.h"

#include <string>

#include "engine/text.h"

namespace trevo {
namespace win = engine::win;
using engine::Long;
using engine::String;

HotkeyTable::HotkeyTable(engine::Platform& platform, engine::Hwnd hwnd, std::vector<KeyBinding> keys,
                         bool knowsNoRepeat)
    : platform_(platform), hwnd_(hwnd), keys_(std::move(keys)), taken_(keys_.size(), false), errors_(keys_.size(), 0) {
    const engine::Dword noRepeat = knowsNoRepeat ? win::MOD_NOREPEAT : 0;
    for (size_t i = 0; i < keys_.size(); ++i) {
        taken_[i] = platform_.RegisterHotKey(hwnd_, static_cast<Long>(i + 1), keys_[i].combination.modifiers | noRepeat,
                                             keys_[i].combination.key);
        if (!taken_[i]) errors_[i] = platform_.GetLastError();
    }
}

HotkeyTable::~HotkeyTable() {
    for (size_t i = 0; i < keys_.size(); ++i)
        if (taken_[i]) platform_.UnregisterHotKey(hwnd_, static_cast<Long>(i + 1));
}

const KeyBinding* HotkeyTable::Find(Long id) const {
    if (id < 1 || static_cast<size_t>(id) > keys_.size() || !taken_[static_cast<size_t>(id - 1)]) return nullptr;
    return &keys_[static_cast<size_t>(id - 1)];
}

std::vector<const KeyBinding*> HotkeyTable::NotTaken() const {
    std::vector<const KeyBinding*> out;
    for (size_t i = 0; i < keys_.size(); ++i)
        if (!taken_[i]) out.push_back(&keys_[i]);
    return out;
}

std::pair<const KeyBinding*, engine::Dword> HotkeyTable::RefusedOutright() const {
    for (size_t i = 0; i < keys_.size(); ++i)
        if (!taken_[i] && errors_[i] != win::ERROR_HOTKEY_ALREADY_REGISTERED) return {&keys_[i], errors_[i]};
    return {nullptr, 0};
}

namespace {
constexpr const char* kNoticeValue = "NotTaken";

// What was said last time, or "" when nothing was.
std::string LastNotice(engine::Platform& platform, engine::Dword key) {
    engine::Dword type = 0, size = 0;
    if (platform.RegQueryValueExA(key, kNoticeValue, &type, nullptr, &size) != win::ERROR_SUCCESS || size == 0 ||
        type != win::REG_SZ)
        return {};
    std::string text(size, '\0');
    if (platform.RegQueryValueExA(key, kNoticeValue, &type, text.data(), &size) != win::ERROR_SUCCESS) return {};
    text.resize(std::min<size_t>(size, text.size()));
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}
}  // namespace

void TellKeysNotTaken(engine::Engine& engine, const Texts& texts, const std::vector<const KeyBinding*>& notTaken) {
    engine::Platform& platform = engine.platform();
    String list;
    for (const KeyBinding* binding : notTaken) list += u"\r\n" + binding->name + u"=" + binding->text;
    engine::Dword key = 0;
    const bool kept = platform.RegCreateKeyExA(win::HKEY_CURRENT_USER, kNoticeKey, win::REG_OPTION_NON_VOLATILE, &key,
                                               nullptr) == win::ERROR_SUCCESS;
    const std::string stored = platform.ToAnsi(list);
    const bool saidBefore = kept && LastNotice(platform, key) == stored;
    if (kept) {
        if (list.empty())
            platform.RegDeleteValueA(key, kNoticeValue);
        else if (!saidBefore)
            platform.RegSetValueExA(key, kNoticeValue, win::REG_SZ, stored.c_str(),
                                    static_cast<engine::Dword>(stored.size() + 1));
        platform.RegCloseKey(key);
    }
    if (list.empty() || saidBefore) return;
    engine.MsgBox(texts.Say(Phrase(IDS_KEYS_TAKEN, {list})), engine::kMbIconExclamation, u"Trevo");
}

}  // namespace trevo
