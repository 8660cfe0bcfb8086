#include "app/session/start_with_windows.h"

#include <algorithm>

#include "app/input/hotkeys.h"
#include "engine/text.h"

namespace trevo {
namespace win = engine::win;
using engine::Dword;
using engine::String;

namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// Task Manager's Startup tab (Windows 8 and later, and Settings' Startup apps)
// keeps its own switch for each Run value here, under the value's name, and
// never touches the Run value itself. Microsoft does not document it; what
// Task Manager was seen to write is REG_BINARY of 12 bytes: a first byte with
// its lowest bit clear when on (02, 06) and set when off (03, 07), then the
// FILETIME of the switch off, zeros while on. Trevo reads that bit only, and
// switches an entry on again with the bytes Task Manager writes for on.
constexpr const char* kApprovedKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
constexpr const char* kValueName = "Trevo";
constexpr const char16_t* kOptionKey = u"StartWithWindows";
constexpr const char* kChangeValue = "StartWithWindowsChanging";

enum class Access { Read, Change, MakeAndChange };

// A key of the current user, closed when it goes.
class UserKey {
public:
    UserKey(engine::Platform& platform, const char* path, Access access) : platform_(platform) {
        Dword key = 0;
        error_ =
            access == Access::MakeAndChange
                ? platform_.RegCreateKeyExA(win::HKEY_CURRENT_USER, path, win::REG_OPTION_NON_VOLATILE, &key, nullptr)
                : platform_.RegOpenKeyExA(win::HKEY_CURRENT_USER, path,
                                          win::KEY_QUERY_VALUE | (access == Access::Change ? win::KEY_SET_VALUE : 0),
                                          &key);
        if (error_ == win::ERROR_SUCCESS) key_ = key;
    }
    ~UserKey() {
        if (key_ != 0) platform_.RegCloseKey(key_);
    }
    UserKey(const UserKey&) = delete;
    UserKey& operator=(const UserKey&) = delete;

    std::optional<RegistryValue> Read(const char* name) {
        if (key_ == 0) return std::nullopt;
        RegistryValue value;
        Dword size = 0;
        if (platform_.RegQueryValueExA(key_, name, &value.type, nullptr, &size) != win::ERROR_SUCCESS)
            return std::nullopt;
        value.bytes.assign(size, '\0');
        if (size > 0 &&
            platform_.RegQueryValueExA(key_, name, &value.type, value.bytes.data(), &size) != win::ERROR_SUCCESS)
            return std::nullopt;
        value.bytes.resize(std::min<size_t>(size, value.bytes.size()));
        return value;
    }
    Dword Write(const char* name, const RegistryValue& value) {
        if (key_ == 0) return error_;
        return platform_.RegSetValueExA(key_, name, value.type, value.bytes.data(),
                                        static_cast<Dword>(value.bytes.size()));
    }
    // A value that is not there is gone already.
    Dword Delete(const char* name) {
        if (key_ == 0) return error_;
        const Dword error = platform_.RegDeleteValueA(key_, name);
        return error == win::ERROR_FILE_NOT_FOUND ? win::ERROR_SUCCESS : error;
    }

private:
    engine::Platform& platform_;
    Dword key_ = 0;
    Dword error_ = win::ERROR_SUCCESS;
};

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
    return text;
}

std::u16string_view FileName(std::u16string_view path) {
    const auto slash = path.find_last_of(u"\\/");
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

// The program a command starts: the quoted path, or, unquoted, the text up to
// the first ".exe" that ends a word (a path with blanks), else the first word.
std::u16string_view ProgramOf(std::u16string_view command) {
    if (!command.empty() && command.front() == u'"') {
        command.remove_prefix(1);
        return command.substr(0, command.find(u'"'));
    }
    const String lower = engine::LowerCase(command);
    for (size_t at = lower.find(u".exe"); at != String::npos; at = lower.find(u".exe", at + 1)) {
        const size_t end = at + 4;
        if (end == lower.size() || lower[end] == u' ' || lower[end] == u'\t') return command.substr(0, end);
    }
    return command.substr(0, command.find_first_of(u" \t"));
}

Phrase WindowsError(Dword error) { return Phrase(IDS_WINDOWS_ERROR, {engine::DecimalText(error)}); }

}  // namespace

RunCommandOwner OwnerOfRunCommand(const String& command, const String& thisExe) {
    const std::u16string_view text = Trimmed(command);
    if (!thisExe.empty() && engine::EqualsIgnoreCase(text, u"\"" + thisExe + u"\"")) return RunCommandOwner::ThisTrevo;
    const std::u16string_view file = FileName(ProgramOf(text));
    const std::u16string_view ownFile = FileName(thisExe);
    if (engine::EqualsIgnoreCase(file, u"Trevo.exe") || (!ownFile.empty() && engine::EqualsIgnoreCase(file, ownFile)))
        return RunCommandOwner::OtherTrevo;
    return RunCommandOwner::OtherProgram;
}

StartWithWindows::StartWithWindows(engine::Engine& engine, const Texts& texts, lib::ClsKwini& ini, String iniPath,
                                   String exe)
    : engine_(engine), texts_(texts), ini_(ini), iniPath_(std::move(iniPath)), exe_(std::move(exe)) {}

StartWithWindows::Registered StartWithWindows::Read() {
    engine::Platform& platform = engine_.platform();
    Registered now;
    now.run = UserKey(platform, kRunKey, Access::Read).Read(kValueName);
    const std::optional<RegistryValue> approval = UserKey(platform, kApprovedKey, Access::Read).Read(kValueName);
    now.switchedOff = approval && !approval->bytes.empty() && (approval->bytes[0] & 1) != 0;
    return now;
}

std::optional<RunCommandOwner> StartWithWindows::Owner(const std::optional<RegistryValue>& run) const {
    if (!run) return std::nullopt;
    if (run->type != win::REG_SZ && run->type != win::REG_EXPAND_SZ) return RunCommandOwner::OtherProgram;
    return OwnerOfRunCommand(CommandText(*run), exe_);
}

String StartWithWindows::CommandText(const RegistryValue& run) const {
    return engine_.platform().FromAnsi(engine::CutAtNul(run.bytes));
}

bool StartWithWindows::On() {
    const Registered now = Read();
    return Owner(now.run) == RunCommandOwner::ThisTrevo && !now.switchedOff;
}

void StartWithWindows::FollowMove() {
    // A value of Trevo's that was removed stays removed (the user or a tool of
    // theirs did that), and another program's is never touched.
    const Registered now = Read();
    if (exe_.empty() || Owner(now.run) != RunCommandOwner::OtherTrevo) return;
    if (const Dword error = WriteRunValue())
        engine_.MsgBox(texts_.Say(Phrase(IDS_RUN_ENTRY_NOT_FOLLOWED, {WindowsError(error), CommandText(*now.run)})),
                       engine::kMbIconExclamation, u"Trevo");
}

void StartWithWindows::Toggle() {
    const Registered before = Read();
    const bool off = Owner(before.run) == RunCommandOwner::ThisTrevo && !before.switchedOff;
    // Noted before the first step and taken away after the last: a Trevo killed
    // between them leaves the note, from which the next start finishes the change.
    NoteChange(!off);
    if (off)
        TurnOff();
    else
        TurnOn(before);
    NoteChange(std::nullopt);
}

void StartWithWindows::NoteChange(std::optional<bool> on) {
    UserKey notes(engine_.platform(), kNoticeKey, Access::MakeAndChange);
    if (on)
        notes.Write(kChangeValue, {win::REG_DWORD, std::string(*on ? "\x01\0\0\0" : "\0\0\0\0", 4)});
    else
        notes.Delete(kChangeValue);
}

void StartWithWindows::FinishChange() {
    const std::optional<RegistryValue> note =
        UserKey(engine_.platform(), kNoticeKey, Access::Read).Read(kChangeValue);
    if (!note) return;
    const bool wanted = !note->bytes.empty() && note->bytes[0] != 0;
    const Registered now = Read();
    const bool on = Owner(now.run) == RunCommandOwner::ThisTrevo && !now.switchedOff;
    const String written = ini_.vbGetPrivateProfileString(u"Options", kOptionKey, iniPath_);
    // Each step again: those already taken change nothing, and a refusal says so.
    if (wanted && !(on && written == u"1"))
        TurnOn(now);
    else if (!wanted && Owner(now.run) == RunCommandOwner::ThisTrevo)
        TurnOff();
    else if (!wanted && written != u"0" && !ini_.vbWritePrivateProfileString(u"Options", kOptionKey, u"0", iniPath_))
        TellIniRefused();
    NoteChange(std::nullopt);
}

// Trevo.ini first: a file that refuses (read-only, in use) leaves everything as
// it was. The registry after it: where Windows refuses, the earlier steps are
// undone, so that the two never disagree without a word.
void StartWithWindows::TurnOn(const Registered& before) {
    if (Owner(before.run) == RunCommandOwner::OtherProgram) {
        const Phrase command = before.run->type == win::REG_SZ || before.run->type == win::REG_EXPAND_SZ
                                   ? Phrase(CommandText(*before.run))
                                   : Phrase(IDS_NOT_A_COMMAND);
        engine_.MsgBox(texts_.Say(Phrase(IDS_RUN_ENTRY_OTHER_PROGRAM, {command})), engine::kMbIconExclamation,
                       u"Trevo");
        return;
    }
    if (exe_.empty()) {
        engine_.MsgBox(texts_.Text(IDS_EXE_NAME_UNSPELLABLE), engine::kMbIconExclamation, u"Trevo");
        return;
    }
    const String iniBefore = ini_.vbGetPrivateProfileString(u"Options", kOptionKey, iniPath_);
    if (!ini_.vbWritePrivateProfileString(u"Options", kOptionKey, u"1", iniPath_)) return TellIniRefused();
    if (const Dword error = WriteRunValue())
        return Undo(iniBefore, IDS_REFUSED_ADD, error);
    if (!before.switchedOff) return;
    if (const Dword error = SwitchOnInTaskManager()) {
        PutBack(before.run);  // it was written a moment ago: it goes back the same way
        Undo(iniBefore, IDS_REFUSED_SWITCH_ON, error);
    }
}

void StartWithWindows::TurnOff() {
    const String iniBefore = ini_.vbGetPrivateProfileString(u"Options", kOptionKey, iniPath_);
    if (!ini_.vbWritePrivateProfileString(u"Options", kOptionKey, u"0", iniPath_)) return TellIniRefused();
    // Task Manager's switch stays as the user left it; without the Run value
    // it names nothing.
    if (const Dword error = UserKey(engine_.platform(), kRunKey, Access::Change).Delete(kValueName))
        Undo(iniBefore, IDS_REFUSED_REMOVE, error);
}

Dword StartWithWindows::WriteRunValue() {
    // Quoted, so that a folder with blanks in its name is one path to Windows.
    const RegistryValue value{win::REG_SZ, engine_.platform().ToAnsi(Command()) + '\0'};
    return UserKey(engine_.platform(), kRunKey, Access::MakeAndChange).Write(kValueName, value);
}

Dword StartWithWindows::PutBack(const std::optional<RegistryValue>& run) {
    UserKey key(engine_.platform(), kRunKey, Access::Change);
    return run ? key.Write(kValueName, *run) : key.Delete(kValueName);
}

Dword StartWithWindows::SwitchOnInTaskManager() {
    RegistryValue on{win::REG_BINARY, std::string(12, '\0')};
    on.bytes[0] = '\x02';
    return UserKey(engine_.platform(), kApprovedKey, Access::Change).Write(kValueName, on);
}

void StartWithWindows::Undo(const String& iniBefore, engine::Long refused, Dword error) {
    const Phrase what(refused, {WindowsError(error)});
    const Phrase text = ini_.vbWritePrivateProfileString(u"Options", kOptionKey, iniBefore, iniPath_)
                            ? Phrase(IDS_REFUSAL_UNDONE, {what})
                            : Phrase(IDS_REFUSAL_NOT_UNDONE, {what, iniPath_});
    engine_.MsgBox(texts_.Say(text), engine::kMbIconError, u"Trevo");
}

void StartWithWindows::TellIniRefused() {
    engine_.MsgBox(texts_.Say(Phrase(IDS_OPTION_NOT_SAVED, {iniPath_})), engine::kMbIconError, u"Trevo");
}

}  // namespace trevo
