// Start with Windows: the menu entry, Trevo.ini's key and the user's Run value
// going together, Task Manager's own switch, a moved folder, another
// program's value, and writes that Windows or the file refuse.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/session/start_with_windows.h"
#include "sim_fixture.h"

namespace {
using testing_support::ReadFile;
using testing_support::SimTrevo;
using testing_support::U8;
namespace win = engine::win;
using Value = std::optional<std::pair<engine::Dword, std::string>>;

const std::u16string kEntry = u"Start with &Windows";
const std::string kOurCommand = "\"C:\\Trevo\\Trevo.exe\"";
const std::string kSwitchedOn = std::string("\x02") + std::string(11, '\0');

std::string IniWithOption(const std::string& value) {
    return std::string(testing_support::kGoodIni) + "[Options]\r\nStartWithWindows=" + value + "\r\n";
}

// The value named Trevo of a key, as the registry holds it.
Value Trevo(sim::World& world, const char* key) {
    const auto k = world.registry.find(key);
    if (k == world.registry.end() || !k->second.values.count("TREVO")) return std::nullopt;
    return k->second.values.at("TREVO");
}

void SetRun(sim::World& world, const std::string& command, engine::Dword type = win::REG_SZ) {
    world.registry[sim::kRunKey].values["TREVO"] = {type, command + '\0'};
}

class StartWithWindowsTest : public ::testing::Test {
protected:
    explicit StartWithWindowsTest(sim::Options o = {}) : t_(std::move(o)) {}

    // The check mark of the entry in a right click's menu.
    bool Checked() {
        t_.Click(1, win::WM_RBUTTONUP);
        const auto& menu = t_.world().menusShown.back();
        const auto at = std::find(menu.begin(), menu.end(), kEntry);
        if (at != menu.end()) return t_.world().menuChecks.back()[static_cast<size_t>(at - menu.begin())];
        ADD_FAILURE() << "the menu has no Start with Windows";
        return false;
    }
    void Choose() {
        t_.world().menuChoices.push_back(kEntry);
        t_.Click(1, win::WM_RBUTTONUP);
    }
    std::string IniOption() {
        const std::string ini = ReadFile(t_.IniFile());
        const auto at = ini.find("StartWithWindows=") + 17;
        return ini.substr(at, ini.find('\r', at) - at);
    }
    Value Run() { return Trevo(t_.world(), sim::kRunKey); }
    Value Approval() { return Trevo(t_.world(), sim::kStartupApprovedKey); }
    std::string LastMessage() { return t_.world().msgBoxes.empty() ? "" : U8(t_.world().msgBoxes.back().text); }

    SimTrevo t_;
};

// ------------------------------------------------------------ the model

TEST(StartupAppsModel, TaskManagersSwitchDecidesWhatRunsAndGuardedKeysOnlyRead) {
    SimTrevo t;
    sim::World& world = t.world();
    EXPECT_TRUE(world.registry.count(sim::kRunKey)) << "every user has a Run key";
    EXPECT_EQ(world.CommandAtLogOn("Trevo"), std::nullopt);
    SetRun(world, kOurCommand);
    EXPECT_EQ(world.CommandAtLogOn("trevo"), kOurCommand);
    world.SwitchInTaskManager("Trevo", false);
    const Value off = Trevo(world, sim::kStartupApprovedKey);
    ASSERT_TRUE(off);
    EXPECT_EQ(off->first, win::REG_BINARY);
    ASSERT_EQ(off->second.size(), 12u);
    EXPECT_EQ(off->second[0], '\x03');
    EXPECT_NE(off->second.substr(4), std::string(8, '\0')) << "the time it was switched off";
    EXPECT_EQ(world.CommandAtLogOn("Trevo"), std::nullopt);
    world.SwitchInTaskManager("Trevo", true);
    EXPECT_EQ(Trevo(world, sim::kStartupApprovedKey)->second, kSwitchedOn);
    EXPECT_EQ(world.CommandAtLogOn("Trevo"), kOurCommand);

    // A guarded key is read, never changed; opening a missing one makes nothing.
    engine::Platform& p = t.engine().platform();
    const char* run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    world.guardedKeys.insert(sim::kRunKey);
    engine::Dword key = 0;
    EXPECT_EQ(p.RegOpenKeyExA(win::HKEY_CURRENT_USER, "Software\\None", win::KEY_QUERY_VALUE, &key),
              win::ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(world.registry.count("HKCU\\SOFTWARE\\NONE"));
    EXPECT_EQ(p.RegOpenKeyExA(win::HKEY_CURRENT_USER, run, win::KEY_QUERY_VALUE | win::KEY_SET_VALUE, &key),
              win::ERROR_ACCESS_DENIED);
    EXPECT_EQ(p.RegCreateKeyExA(win::HKEY_CURRENT_USER, run, 0, &key, nullptr), win::ERROR_ACCESS_DENIED);
    EXPECT_EQ(p.RegCreateKeyExA(win::HKEY_CURRENT_USER, (std::string(run) + "\\Sub").c_str(), 0, &key, nullptr),
              win::ERROR_ACCESS_DENIED);
    ASSERT_EQ(p.RegOpenKeyExA(win::HKEY_CURRENT_USER, run, win::KEY_QUERY_VALUE, &key), win::ERROR_SUCCESS);
    engine::Dword type = 0, size = 0;
    EXPECT_EQ(p.RegQueryValueExA(key, "Trevo", &type, nullptr, &size), win::ERROR_SUCCESS);
    EXPECT_EQ(size, kOurCommand.size() + 1);
    EXPECT_EQ(p.RegSetValueExA(key, "Trevo", win::REG_SZ, "x", 2), win::ERROR_ACCESS_DENIED);
    EXPECT_EQ(p.RegDeleteValueA(key, "Trevo"), win::ERROR_ACCESS_DENIED);
    p.RegCloseKey(key);
    EXPECT_EQ(world.CommandAtLogOn("Trevo"), kOurCommand);
}

TEST(WhoseRunCommand, OnlyATrevoExeIsTrevosOwn) {
    using trevo::OwnerOfRunCommand;
    using trevo::RunCommandOwner;
    const std::u16string self = u"C:\\Tools\\Trevo\\Trevo.exe";
    EXPECT_EQ(OwnerOfRunCommand(u" \"c:\\tools\\trevo\\TREVO.EXE\" ", self), RunCommandOwner::ThisTrevo);
    for (const char16_t* other : {u"\"D:\\Old Place\\Trevo.exe\"", u"D:\\Old Place\\trevo.exe /gather",
                                  u"\"C:\\Tools\\Trevo\\Trevo.exe\" /gather", u"Trevo.exe"})
        EXPECT_EQ(OwnerOfRunCommand(other, self), RunCommandOwner::OtherTrevo) << U8(other);
    for (const char16_t* other : {u"\"C:\\Trevo\\Trevo.exe.bak\"", u"\"C:\\Trevo.exe\\other.exe\"",
                                  u"C:\\Program Files\\Trevor\\Trevor.exe", u"rundll32.exe C:\\Trevo\\Trevo.exe", u""})
        EXPECT_EQ(OwnerOfRunCommand(other, self), RunCommandOwner::OtherProgram) << U8(other);
    // A renamed copy knows its own name.
    EXPECT_EQ(OwnerOfRunCommand(u"\"D:\\Old\\Desks.exe\"", u"C:\\New\\Desks.exe"), RunCommandOwner::OtherTrevo);
}

// ------------------------------------------------------------ the menu, on and off

TEST(StartWithWindowsMenu, IsOfferedOnlyWhenTrevoIniNamesTheOption) {
    // Any [Options] section offers the Settings dialog too.
    const std::vector<std::u16string> plain{u"&Properties...", u"-", u"E&xit"};
    const std::vector<std::u16string> withSettings{u"&Properties...", u"&Settings...", u"-", u"E&xit"};
    const std::vector<std::u16string> offered{u"&Properties...", u"&Settings...", kEntry, u"-", u"E&xit"};
    const std::vector<std::pair<std::string, const std::vector<std::u16string>*>> cases{
        {testing_support::kGoodIni, &plain},
        {IniWithOption(""), &withSettings},
        {IniWithOption("0"), &offered},
        {IniWithOption("-1"), &offered}};
    for (const auto& [ini, menu] : cases) {
        SCOPED_TRACE(ini);
        SimTrevo t;
        t.WriteIni(ini);
        t.Start();
        t.Click(2, win::WM_RBUTTONUP);
        EXPECT_EQ(t.world().menusShown.back(), *menu);
        EXPECT_EQ(t.world().menuChecks.back(), std::vector<bool>(menu->size(), false));
        EXPECT_FALSE(Trevo(t.world(), sim::kRunKey)) << "offering it registers nothing";
    }
    SimTrevo bad;
    bad.WriteIni(IniWithOption("yes"));
    bad.Start();
    EXPECT_TRUE(bad.world().ended);
    EXPECT_NE(U8(bad.world().msgBoxes.at(0).text).find("StartWithWindows"), std::string::npos);
}

class OnAndOff : public StartWithWindowsTest, public ::testing::WithParamInterface<engine::Dword> {
protected:
    static sim::Options AtVersion(engine::Dword major) {
        sim::Options o;
        o.major = major;
        o.minor = major == 10 ? 0 : 1;
        o.build = major == 10 ? 22631 : 7601;
        return o;
    }
    OnAndOff() : StartWithWindowsTest(AtVersion(GetParam())) {}
};

TEST_P(OnAndOff, TrevoIniTheRunValueAndTaskManagerFollowTheEntry) {
    t_.WriteIni(IniWithOption("0"));
    t_.Start();
    EXPECT_FALSE(Checked());
    Choose();
    EXPECT_EQ(IniOption(), "1");
    EXPECT_EQ(Run(), Value({win::REG_SZ, kOurCommand + '\0'}));
    EXPECT_TRUE(Checked());

    // The Properties dialog's OK keeps the line.
    t_.world().modalScript = [&](engine::Hwnd) { t_.world().ControlAt(t_.app().dialog().cmdOk->hWnd()).UserClick(); };
    t_.world().menuChoices.push_back(u"&Properties...");
    t_.Click(1, win::WM_RBUTTONUP);
    EXPECT_EQ(IniOption(), "1");

    // Switched off in Task Manager: unchecked; the entry switches it on there too.
    t_.world().SwitchInTaskManager("Trevo", false);
    EXPECT_FALSE(Checked());
    Choose();
    EXPECT_EQ(Approval(), Value({win::REG_BINARY, kSwitchedOn})) << "as Task Manager writes it";
    EXPECT_EQ(t_.world().CommandAtLogOn("Trevo"), kOurCommand);
    EXPECT_TRUE(Checked());

    Choose();
    EXPECT_EQ(IniOption(), "0");
    EXPECT_EQ(Run(), std::nullopt);
    EXPECT_FALSE(Checked());
    EXPECT_EQ(t_.world().msgBoxes.size(), 1u) << "only OK's own message: " << LastMessage();
}

INSTANTIATE_TEST_SUITE_P(Windows, OnAndOff, ::testing::Values(6u, 10u));

// ------------------------------------------------------------ at start

TEST(StartWithWindowsAtStart, AMovedFolderIsFollowedAndNothingElseIsTouched) {
    struct Case {
        const char* option;
        std::optional<std::string> before;  // the Run value when Trevo starts
        engine::Dword type;
        std::optional<std::string> after;
    };
    const std::string moved = "\"D:\\Old Place\\Trevo.exe\"", other = "\"C:\\Tools\\Other.exe\" /tray";
    for (const Case& c : {Case{"1", moved, win::REG_SZ, kOurCommand},  // the folder was moved
                          Case{"1", "C:\\Old\\trevo.exe", win::REG_EXPAND_SZ, kOurCommand},
                          Case{"0", moved, win::REG_SZ, moved},                // the user did not ask for it
                          Case{"1", std::nullopt, win::REG_SZ, std::nullopt},  // removed by the user: stays so
                          Case{"1", other, win::REG_SZ, other},                // another program's
                          Case{"1", moved, win::REG_BINARY, moved}}) {         // not a command
        SCOPED_TRACE(std::string(c.option) + " " + c.before.value_or("(none)"));
        SimTrevo t;
        if (c.before) SetRun(t.world(), *c.before, c.type);
        t.WriteIni(IniWithOption(c.option));
        t.Start();
        EXPECT_TRUE(t.world().msgBoxes.empty());
        const Value after = Trevo(t.world(), sim::kRunKey);
        ASSERT_EQ(after.has_value(), c.after.has_value());
        if (after) {
            EXPECT_EQ(after->second, *c.after + '\0');
        }
    }
    // A renamed copy in a folder with blanks registers itself, quoted.
    sim::Options o;
    o.appPath = u"C:\\My Tools\\Desks";
    SimTrevo renamed(o);
    renamed.world().app.exeFile = u"Desks.exe";
    SetRun(renamed.world(), "\"C:\\Old\\Desks.exe\"");
    renamed.WriteIni(IniWithOption("1"));
    renamed.Start();
    EXPECT_EQ(renamed.world().CommandAtLogOn("Trevo"), "\"C:\\My Tools\\Desks\\Desks.exe\"");
}

TEST_F(StartWithWindowsTest, ASecondTrevoStartedAtLogOnEndsAtOnceAndWritesNothing) {
    t_.WriteIni(IniWithOption("1"));
    t_.Start();
    Choose();
    SetRun(t_.world(), "\"D:\\Copy\\Trevo.exe\"");  // another copy, registered since
    const std::string ini = ReadFile(t_.IniFile());
    EXPECT_EQ(t_.StartAnotherCopy(), 0);
    EXPECT_EQ(t_.world().CommandAtLogOn("Trevo"), "\"D:\\Copy\\Trevo.exe\"") << "the second copy wrote";
    EXPECT_EQ(ReadFile(t_.IniFile()), ini);
    EXPECT_NE(t_.Icon(1), nullptr);
}

// ------------------------------------------------------------ refusals

TEST_F(StartWithWindowsTest, ARefusalUndoesWhatWasDoneAndSaysSo) {
    SetRun(t_.world(), "\"C:\\Tools\\Other.exe\"");
    t_.WriteIni(IniWithOption("0"));
    t_.Start();
    Choose();  // another program's value: left alone
    EXPECT_EQ(t_.world().CommandAtLogOn("Trevo"), "\"C:\\Tools\\Other.exe\"");
    EXPECT_EQ(IniOption(), "0");
    EXPECT_NE(LastMessage().find("C:\\Tools\\Other.exe"), std::string::npos) << LastMessage();
    t_.world().registry[sim::kRunKey].values.clear();

    // The Run key guarded (a policy, a security program): on is refused whole, and off.
    t_.world().guardedKeys.insert(sim::kRunKey);
    Choose();
    EXPECT_EQ(IniOption(), "0");
    EXPECT_EQ(Run(), std::nullopt);
    EXPECT_NE(LastMessage().find("error 5"), std::string::npos) << LastMessage();
    EXPECT_NE(LastMessage().find("Nothing was changed"), std::string::npos) << LastMessage();
    t_.world().guardedKeys.clear();
    Choose();
    t_.world().guardedKeys.insert(sim::kRunKey);
    Choose();
    EXPECT_EQ(IniOption(), "1");
    EXPECT_EQ(t_.world().CommandAtLogOn("Trevo"), kOurCommand);

    // Task Manager's record guarded while it has Trevo off: all stays as it was,
    // the Run value too, which was written before the refusal: ours, a moved
    // folder's, or none at all.
    t_.world().guardedKeys = {sim::kStartupApprovedKey};
    t_.world().SwitchInTaskManager("Trevo", false);
    const Value off = Approval();
    for (const std::optional<std::string>& before :
         {std::optional<std::string>(kOurCommand), std::optional<std::string>("\"D:\\Old\\Trevo.exe\""),
          std::optional<std::string>()}) {
        SCOPED_TRACE(before.value_or("(none)"));
        t_.world().registry[sim::kRunKey].values.erase("TREVO");
        if (before) SetRun(t_.world(), *before);
        const Value run = Run();
        const std::string option = IniOption();
        Choose();
        EXPECT_EQ(Approval(), off);
        EXPECT_EQ(Run(), run);
        EXPECT_EQ(IniOption(), option);
        EXPECT_NE(LastMessage().find("Task Manager"), std::string::npos) << LastMessage();
        EXPECT_NE(LastMessage().find("Nothing was changed"), std::string::npos) << LastMessage();
    }
    SetRun(t_.world(), kOurCommand);

    // A read-only Trevo.ini: the registry is not touched.
    t_.world().guardedKeys.clear();
    t_.world().SwitchInTaskManager("Trevo", true);
    std::filesystem::permissions(t_.IniFile(), std::filesystem::perms::all & ~std::filesystem::perms::owner_write);
    Choose();
    EXPECT_EQ(t_.world().CommandAtLogOn("Trevo"), kOurCommand);
    EXPECT_NE(LastMessage().find("could not save its settings"), std::string::npos) << LastMessage();
    EXPECT_FALSE(t_.world().ended);
}

TEST_F(StartWithWindowsTest, AMovedFolderThatCannotBeFollowedIsToldAtStart) {
    SetRun(t_.world(), "\"D:\\Old\\Trevo.exe\"");
    t_.world().guardedKeys.insert(sim::kRunKey);
    t_.WriteIni(IniWithOption("1"));
    t_.Start();
    EXPECT_NE(t_.Icon(1), nullptr) << "Trevo runs all the same";
    ASSERT_EQ(t_.world().msgBoxes.size(), 1u);
    EXPECT_NE(LastMessage().find("D:\\Old\\Trevo.exe"), std::string::npos) << LastMessage();
    EXPECT_FALSE(Checked());
}

}  // namespace
