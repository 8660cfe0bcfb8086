// Trevo among the programs Windows starts when the user logs on: the value
// "Trevo" of the user's Run key, the switch Task Manager's Startup tab keeps
// for it, and [Options] StartWithWindows in Trevo.ini, which go together.
#pragma once

#include <optional>
#include <string>

#include "app/language/texts.h"
#include "engine/engine.h"
#include "lib/ClsKwini.h"

namespace trevo {

struct RegistryValue {
    engine::Dword type = 0;
    std::string bytes;
};

// Whose the command of the Run value named "Trevo" is.
enum class RunCommandOwner {
    ThisTrevo,     // exactly the command this Trevo writes
    OtherTrevo,    // another Trevo.exe (the folder was moved or renamed, or another copy)
    OtherProgram,  // not a Trevo: never touched
};

// thisExe is this Trevo's program file, spelled as the command names it. A
// command is a Trevo's when the program it starts is a file named Trevo.exe,
// or named as this one is (a renamed copy).
RunCommandOwner OwnerOfRunCommand(const engine::String& command, const engine::String& thisExe);

class StartWithWindows {
public:
    // exe: this Trevo's program file as the ANSI calls spell it; empty when
    // they cannot.
    StartWithWindows(engine::Engine& engine, const Texts& texts, lib::ClsKwini& ini, engine::String iniPath,
                     engine::String exe);

    // Windows starts this Trevo when the user next logs on: the Run value
    // names it and Task Manager has not switched it off.
    bool On();
    // At a start with the option on: a value of Trevo's that names another
    // Trevo.exe (the folder was moved or renamed) names this one again.
    void FollowMove();
    // The menu entry: Trevo.ini and the registry both go over to the other
    // state. Where Windows or the file refuses a step, the steps already taken
    // are undone and a message says what happened.
    void Toggle();
    // At a start: a change that a Trevo ended in the middle of (killed between
    // the file and the registry) is carried through, so that the two agree.
    void FinishChange();

private:
    // What the registry says now.
    struct Registered {
        std::optional<RegistryValue> run;  // the Run value
        bool switchedOff = false;          // Task Manager has it off
    };

    Registered Read();
    std::optional<RunCommandOwner> Owner(const std::optional<RegistryValue>& run) const;
    engine::String CommandText(const RegistryValue& run) const;
    void TurnOn(const Registered& before);
    void TurnOff();
    // Each returns a Windows error code.
    engine::Dword WriteRunValue();
    engine::Dword PutBack(const std::optional<RegistryValue>& run);
    engine::Dword SwitchOnInTaskManager();
    // After a refusal of the registry: Trevo.ini's key back to its earlier
    // text, and a message.
    void Undo(const engine::String& iniBefore, engine::Long refused, engine::Dword error);
    void TellIniRefused();
    engine::String Command() const { return u"\"" + exe_ + u"\""; }
    // The change under way, noted in a lasting key of Trevo's; nullopt takes the note away.
    void NoteChange(std::optional<bool> on);

    engine::Engine& engine_;
    const Texts& texts_;
    lib::ClsKwini& ini_;
    engine::String iniPath_;
    engine::String exe_;
};

}  // namespace trevo
