// The simulated profile functions, case by case as Windows (here: Wine 8's kernel32)
// answers them: reading, cuts to the caller's room, writing, keeping every other
// line, failing writes, double-byte text, the lists, and hostile files. One file,
// as these are the cases of one family of functions over one model of a file.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "engine/sim/code_page.h"
#include "engine/sim/file_system.h"
#include "engine/sim/profile_engine.h"

namespace {
namespace fs = std::filesystem;
using engine::Dword;
using namespace std::string_literals;

// A folder of its own for one test, removed with everything in it afterwards.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        path_ = fs::temp_directory_path() /
                ("trevo-profile-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(path_, ec))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// What a call left in the caller's buffer, which starts out as all '*'.
struct Answer {
    Dword ret = 0;
    std::string buffer;
};

constexpr char kFile[] = "C:\\t.ini";
constexpr char kFill = '*';
constexpr size_t kGuard = 16;

class Profile : public ::testing::Test {
protected:
    explicit Profile(unsigned codePage = 1252)
        : codePage_(codePage), files_(folder_.path()), profiles_(codePage_, files_) {
        fs::create_directories(files_.ToHost(u"C:\\windows"));
    }
    fs::path Host(const char* file = kFile) const { return files_.ToHost(codePage_.Decode(file)); }
    void Put(const std::string& bytes, const char* file = kFile) const {
        fs::create_directories(Host(file).parent_path());
        std::ofstream(Host(file), std::ios::binary) << bytes;
    }
    std::string Read(const char* file = kFile) const {
        std::ifstream in(Host(file), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Each call gets a buffer of exactly `size` bytes and a guard behind it that must stay untouched.
    template <typename Call>
    Answer Run(Dword size, Call call) const {
        std::string room(size + kGuard, kFill);
        Answer a;
        a.ret = call(room.data());
        EXPECT_EQ(room.substr(size), std::string(kGuard, kFill)) << "written past the room";
        a.buffer = room.substr(0, size);
        return a;
    }
    Answer Get(const char* section, const char* key, const char* def, Dword size, const char* file = kFile) const {
        return Run(size, [&](char* b) { return profiles_.GetString(section, key, def, b, size, file); });
    }
    Answer Section(const char* section, Dword size, const char* file = kFile) const {
        return Run(size, [&](char* b) { return profiles_.GetSection(section, b, size, file); });
    }
    Answer Names(Dword size, const char* file = kFile) const {
        return Run(size, [&](char* b) { return profiles_.GetSectionNames(b, size, file); });
    }
    // A value as the program reads one: the bytes up to the returned length.
    std::string Value(const char* section, const char* key, const char* def = "DEF", const char* file = kFile) const {
        const Answer a = Get(section, key, def, 256, file);
        return a.buffer.substr(0, a.ret);
    }
    bool Write(const char* section, const char* key, const char* value, const char* file = kFile) {
        return profiles_.WriteString(section, key, value, file);
    }
    bool WriteSection(const char* section, const std::string& strings, const char* file = kFile) {
        const std::string text = strings + "\0\0"s;
        return profiles_.WriteSection(section, text.c_str(), file);
    }

    TempFolder folder_;
    sim::CodePage codePage_;
    sim::FileSystem files_;
    sim::ProfileEngine profiles_;
};

// ------------------------------------------------------------------ reading

using ProfileReading = Profile;

TEST_F(ProfileReading, NamesMatchInAnyCaseAndEverythingIsTrimmed) {
    Put("[Main]\r\n  Key  =  spaced value  \r\ntab\t=\ttabbed\t\r\n[ Spaced ]  text after\r\na=1\r\n");
    EXPECT_EQ(Value("MAIN", "key"), "spaced value");
    EXPECT_EQ(Value("  main\t", " KEY "), "spaced value");  // the arguments are trimmed too
    EXPECT_EQ(Value("Main", "TAB"), "tabbed");
    EXPECT_EQ(Value("spaced", "A"), "1");  // text after "]" is no part of the name
}

TEST_F(ProfileReading, TheFirstSectionAndTheFirstKeyOfANameWin) {
    Put("[S]\r\nk=first\r\nbare\r\nk=second\r\nbare=with value\r\n[s]\r\nk=other\r\nonly=here\r\n");
    EXPECT_EQ(Value("S", "k"), "first");
    EXPECT_EQ(Value("S", "only"), "DEF");  // a second section of the name is never looked in
    EXPECT_EQ(Value("S", "bare"), "DEF");  // the first "bare" has no "=", so no value
}

TEST_F(ProfileReading, MatchingQuotesComeOff) {
    Put("[S]\r\nd=\"double\"\r\ns='single'\r\nmixed=\"mis'\r\nlone=\"\r\nnone=\"\"\r\n"
        "inner=\" in \"\r\nthree=\"a\"b\"\r\n");
    EXPECT_EQ(Value("S", "d"), "double");
    EXPECT_EQ(Value("S", "s"), "single");
    EXPECT_EQ(Value("S", "mixed"), "\"mis'");
    EXPECT_EQ(Value("S", "lone"), "\"");
    EXPECT_EQ(Value("S", "none"), "");
    EXPECT_EQ(Value("S", "inner"), " in ");
    EXPECT_EQ(Value("S", "three"), "a\"b");
}

TEST_F(ProfileReading, CommentsAreNoKeysOfTheListsButTheirNamesStillFindThem) {
    Put("[S]\r\n;c=with equals\r\n  ; indented\r\nk=v\r\n");
    EXPECT_EQ(Get("S", nullptr, "", 64).buffer.substr(0, 3), "k\0\0"s);
    EXPECT_EQ(Section("S", 64).buffer.substr(0, 5), "k=v\0\0"s);
    // Windows has no comments when asked for a key by name: the line is a key named ";c".
    EXPECT_EQ(Value("S", ";c"), "with equals");
}

TEST_F(ProfileReading, TheDefaultLosesTrailingSpacesAndMatchingQuotes) {
    Put("[S]\r\nk=v\r\n");
    EXPECT_EQ(Value("S", "missing", "def  "), "def");
    EXPECT_EQ(Value("S", "missing", "   "), " ");  // an all-blank default keeps one
    EXPECT_EQ(Value("S", "missing", "  lead"), "  lead");
    EXPECT_EQ(Value("S", "missing", "\"quoted\" "), "quoted");
    EXPECT_EQ(Value("S", "missing", nullptr), "");
    EXPECT_EQ(Value("S", "missing", "\"quoted\"", "C:\\none.ini"), "quoted");  // a missing file opens empty
    // A file that cannot be opened at all gives the default as it was given.
    EXPECT_EQ(Value("S", "missing", "\"quoted\"", "C:\\no folder\\t.ini"), "\"quoted\"");
    EXPECT_FALSE(fs::exists(Host("C:\\none.ini")));
}

TEST_F(ProfileReading, KeysWithoutANameAndKeysBeforeAnySection) {
    Put("top=1\r\n[S]\r\n=first empty\r\n=second empty\r\n");
    EXPECT_EQ(Value("", "top"), "1");
    EXPECT_EQ(Value("S", ""), "first empty");
    EXPECT_EQ(Section("S", 64).buffer.substr(0, 14), "=first empty\0\0"s);  // a second "=" line is dropped
}

TEST_F(ProfileReading, LineBreaksOfEveryKindAndNulBytes) {
    Put("[S]\rcr=1\nlf=2\r\n\r\n\r\ncrlf=3\r\nnul=before\0after\r\nlast=no break"s);
    EXPECT_EQ(Value("S", "cr"), "1");
    EXPECT_EQ(Value("S", "lf"), "2");
    EXPECT_EQ(Value("S", "crlf"), "3");
    EXPECT_EQ(Value("S", "nul"), "before");
    EXPECT_EQ(Value("S", "last"), "no break");
}

TEST_F(ProfileReading, ABareFileNameIsLookedForInTheWindowsFolder) {
    Put("[S]\r\nk=windows\r\n", "C:\\windows\\bare.ini");
    EXPECT_EQ(Value("S", "k", "DEF", "bare.ini"), "windows");
}

TEST_F(ProfileReading, OnlyAsciiLettersMatchInEitherCase) {
    Put("[\xC9t\xE9]\r\nk\xE9y=1\r\n");  // "Été", "kéy" in code page 1252
    EXPECT_EQ(Value("\xC9T\xE9", "K\xE9Y"), "1");
    EXPECT_EQ(Value("\xE9t\xE9", "k\xE9y"), "DEF");
    EXPECT_EQ(Value("\xC9t\xE9", "k\xC9y"), "DEF");
}

TEST_F(ProfileReading, AUtf8FileIsReadInTheCodePage) {
    Put("\xEF\xBB\xBF[Caf\xC3\xA9]\r\nk=cr\xC3\xA8me\r\n");
    EXPECT_EQ(Value("Caf\xE9", "k"), "cr\xE8me");
}

// --------------------------------------------------------------------- cuts

using ProfileCuts = Profile;

TEST_F(ProfileCuts, AValueIsCutToTheRoomLessOne) {
    Put("[S]\r\nlong=abcdefghij\r\n");
    Answer a = Get("S", "long", "", 5);
    EXPECT_EQ(a.ret, 4u);
    EXPECT_EQ(a.buffer, "abcd\0"s);
    a = Get("S", "long", "", 1);
    EXPECT_EQ(a.ret, 0u);
    EXPECT_EQ(a.buffer, "\0"s);
    a = Get("S", "long", "", 0);
    EXPECT_EQ(a.ret, 0u);  // no room: nothing written
}

TEST_F(ProfileCuts, AQuotedValueCutJustBeforeItsClosingQuoteLosesALetter) {
    Put("[S]\r\nq=\"abcdefghij\"\r\n");
    // Room 11 holds the ten letters; Windows then takes the last one for the quote.
    EXPECT_EQ(Get("S", "q", "", 11).buffer, "abcdefghi\0*"s);
    EXPECT_EQ(Get("S", "q", "", 11).ret, 9u);
    EXPECT_EQ(Get("S", "q", "", 10).buffer, "abcdefghi\0"s);
    EXPECT_EQ(Get("S", "q", "", 12).buffer, "abcdefghij\0*"s);
}

TEST_F(ProfileCuts, AKeyListIsCutInsideItsLastName) {
    Put("[S]\r\nkey=1\r\nq1=2\r\nq2=3\r\n");
    const Answer a = Get("S", nullptr, "", 10);
    EXPECT_EQ(a.ret, 8u);
    EXPECT_EQ(a.buffer, "key\0q1\0q\0*"s);  // one NUL after the cut name; the last byte left as it was
}

TEST_F(ProfileCuts, ASectionListCutEndsInTwoNuls) {
    Put("[S]\r\nkey=value\r\nq1=\"quoted\"\r\n");
    Answer a = Section("S", 20);
    EXPECT_EQ(a.ret, 18u);
    EXPECT_EQ(a.buffer, "key=value\0q1=\"quot\0\0"s);
    // A list that fits exactly is answered as cut, all the same.
    a = Section("S", 23);
    EXPECT_EQ(a.ret, 21u);
    EXPECT_EQ(a.buffer, "key=value\0q1=\"quoted\"\0\0"s);
    a = Section("S", 24);
    EXPECT_EQ(a.ret, 22u);
    EXPECT_EQ(a.buffer, "key=value\0q1=\"quoted\"\0\0*"s);
}

TEST_F(ProfileCuts, ASectionNameListCutLeavesItsLastByte) {
    Put("[S]\r\n[T]\r\n[s]\r\n");
    Answer a = Names(4);
    EXPECT_EQ(a.ret, 2u);
    EXPECT_EQ(a.buffer, "S\0\0*"s);
    a = Get(nullptr, nullptr, "", 5);  // the same list through GetString
    EXPECT_EQ(a.ret, 3u);
    EXPECT_EQ(a.buffer, "S\0T\0*"s);
    a = Names(100);
    EXPECT_EQ(a.ret, 6u);
    EXPECT_EQ(a.buffer.substr(0, 7), "S\0T\0s\0\0"s);
}

// ------------------------------------------------------------------ writing

using ProfileWriting = Profile;

TEST_F(ProfileWriting, AWriteCreatesTheFileTheSectionAndTheKey) {
    EXPECT_TRUE(Write("Desktops", "Max", "2"));
    EXPECT_TRUE(Write("Desktops", "Min", "1"));
    EXPECT_TRUE(Write("Size", "Width", "  400"));
    EXPECT_EQ(Read(), "[Desktops]\r\nMax=2\r\nMin=1\r\n[Size]\r\nWidth=400\r\n");
}

TEST_F(ProfileWriting, AValueIsReplacedOnItsOwnLine) {
    Put("[S]\r\n  Max = 3  \r\nother=1\r\n");
    EXPECT_TRUE(Write(" s ", " MAX ", "5"));
    EXPECT_EQ(Read(), "[S]\r\nMax=5\r\nother=1\r\n");
    EXPECT_EQ(Value("S", "max"), "5");
}

TEST_F(ProfileWriting, ANewKeyFollowsTheLastLineOfItsSection) {
    Put("[A]\r\nx=1\r\n; about A\r\n\r\n[B]\r\ny=2");
    EXPECT_TRUE(Write("A", "new", "a"));
    EXPECT_TRUE(Write("B", "new", "b"));
    EXPECT_TRUE(Write("C", "new", "c"));
    EXPECT_EQ(Read(), "[A]\r\nx=1\r\n; about A\r\nnew=a\r\n\r\n[B]\r\ny=2\r\nnew=b\r\n[C]\r\nnew=c\r\n");
}

TEST_F(ProfileWriting, TheFilesLineBreaksAreKept) {
    Put("[A]\nx=1\n");
    EXPECT_TRUE(Write("A", "y", "2"));
    EXPECT_EQ(Read(), "[A]\nx=1\ny=2\n");
    Put("[A]\rx=1\r");
    EXPECT_TRUE(Write("B", "y", "2"));
    EXPECT_EQ(Read(), "[A]\rx=1\r[B]\ry=2\r");
}

TEST_F(ProfileWriting, NullValuesDeleteKeysAndNullKeysDeleteSections) {
    Put("[S]\r\na=1\r\nb=2\r\n[T]\r\nc=3\r\n[S]\r\nd=4\r\n");
    EXPECT_TRUE(Write("S", "d", nullptr));  // found in the second [S]
    EXPECT_TRUE(Write("S", "a", nullptr));
    EXPECT_TRUE(Write("T", nullptr, nullptr));
    EXPECT_TRUE(Write("Missing", nullptr, nullptr));
    EXPECT_EQ(Read(), "[S]\r\nb=2\r\n[S]\r\n");
}

TEST_F(ProfileWriting, NothingToDoLeavesTheFileAlone) {
    Put("[S]\r\nk = v \r\n");
    const auto before = fs::last_write_time(Host());
    struct stat original {};
    ASSERT_EQ(::stat(Host().c_str(), &original), 0);
    EXPECT_TRUE(Write("S", "k", "v"));
    EXPECT_TRUE(Write("S", "missing", nullptr));
    EXPECT_TRUE(Write("Missing", nullptr, nullptr));
    struct stat after {};
    ASSERT_EQ(::stat(Host().c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, original.st_ino);  // not even rewritten
    EXPECT_EQ(fs::last_write_time(Host()), before);
    EXPECT_TRUE(Write("S", "k", nullptr, "C:\\never.ini"));
    EXPECT_FALSE(fs::exists(Host("C:\\never.ini")));
}

TEST_F(ProfileWriting, AWholeSectionIsReplacedButOnlyByKeysWithEquals) {
    Put("[S]\r\n; note\r\na=1\r\nbare\r\n\r\n[T]\r\nc=3\r\n[S]\r\nd=4\r\n");
    EXPECT_TRUE(WriteSection("S", "x=9\0without equals\0 y = 2 \0=e"s));
    EXPECT_EQ(Read(), "[S]\r\n; note\r\nx=9\r\ny=2 \r\n=e\r\n\r\n[T]\r\nc=3\r\n[S]\r\n");
    EXPECT_EQ(Section("S", 64).buffer.substr(0, 15), "x=9\0y=2\0=e\0\0"s.append(3, '*'));
    EXPECT_TRUE(WriteSection("New", "k=v"));
    EXPECT_EQ(Value("New", "k"), "v");
    EXPECT_TRUE(WriteSection("T", ""s));  // an empty list empties the section
    EXPECT_EQ(Section("T", 8).buffer.substr(0, 2), "\0\0"s);
    EXPECT_TRUE(profiles_.WriteSection("New", nullptr, kFile));
    EXPECT_EQ(Value("New", "k"), "DEF");
}

TEST_F(ProfileWriting, CallsWithoutASectionFail) {
    Put("[S]\r\nk=v\r\n");
    EXPECT_FALSE(Write(nullptr, "k", "v"));
    EXPECT_FALSE(Write(nullptr, nullptr, nullptr));
    EXPECT_FALSE(profiles_.WriteSection(nullptr, "k=v\0", kFile));
    EXPECT_EQ(Read(), "[S]\r\nk=v\r\n");
}

// ---------------------------------------------------- keeping every other line

using ProfilePreservation = Profile;

TEST_F(ProfilePreservation, EveryLineNoWriteTouchesStaysByteForByte) {
    const std::string head = "; Trevo settings, edited by hand\r\n\r\n";
    const std::string handWritten =
        "[NoChange-XP]\r\n01=class(Shell_TrayWnd)\r\n   odd line without equals\r\n"
        "[broken header\r\n\x01\x02 binary \xFF junk\r\n=\r\n";
    Put(head + "[Desktops]\r\nMax=3\r\n\r\n" + handWritten + "[Size]\r\nWidth=400 ; not a comment\r\n");
    EXPECT_TRUE(Write("Desktops", "Max", "4"));
    EXPECT_TRUE(Write("Size", "Width", "640"));
    EXPECT_TRUE(Write("Size", "Height", "480"));
    EXPECT_TRUE(Write("Wallpaper", "1", "C:\\a.bmp"));
    EXPECT_EQ(Read(), head + "[Desktops]\r\nMax=4\r\n\r\n" + handWritten +
                          "[Size]\r\nWidth=640\r\nHeight=480\r\n[Wallpaper]\r\n1=C:\\a.bmp\r\n");
}

TEST_F(ProfilePreservation, ReplacingASectionKeepsItsComments) {
    Put("[S]\r\n; why these keys\r\nk=1\r\n;k2=old\r\n");
    EXPECT_TRUE(WriteSection("S", "k=2"));
    EXPECT_EQ(Read(), "[S]\r\n; why these keys\r\n;k2=old\r\nk=2\r\n");
}

// --------------------------------------------------- failing writes, atomicity

using ProfileAtomicity = Profile;

int RegularFilesIn(const fs::path& folder) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) count += entry.is_regular_file();
    return count;
}

TEST_F(ProfileAtomicity, AWriteThatCannotBeDoneFailsAndChangesNothing) {
    EXPECT_FALSE(Write("S", "k", "v", "C:\\missing folder\\t.ini"));
    EXPECT_FALSE(fs::exists(Host("C:\\missing folder")));
    fs::create_directories(Host("C:\\folder.ini"));
    EXPECT_FALSE(Write("S", "k", "v", "C:\\folder.ini"));  // a folder where the file should be
    EXPECT_FALSE(WriteSection("S", "k=v", "C:\\missing folder\\t.ini"));
    EXPECT_TRUE(fs::is_directory(Host("C:\\folder.ini")));
}

TEST_F(ProfileAtomicity, TheNewFileIsRenamedOverTheOld) {
    Put("[S]\r\nk=old\r\n");
    fs::permissions(Host(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = Host().parent_path() / "old-link";
    fs::create_hard_link(Host(), link);
    EXPECT_TRUE(Write("S", "k", "new"));
    EXPECT_EQ(Read(), "[S]\r\nk=new\r\n");
    std::ifstream old(link, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "[S]\r\nk=old\r\n");  // never written into
    EXPECT_EQ(fs::status(Host()).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(RegularFilesIn(Host().parent_path()), 2);  // the file and the link: no temporary left
}

// The disk fills up halfway through the write: the old file must stay whole.
TEST_F(ProfileAtomicity, AWriteFailingHalfwayLeavesTheOldFileWhole) {
    const std::string original = "[S]\r\nk=old\r\n";
    Put(original);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = Write("S", "k", std::string(1000, 'x').c_str());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_EQ(Read(), original);
    EXPECT_EQ(RegularFilesIn(Host().parent_path()), 1);
}

TEST_F(ProfileAtomicity, AReadOnlyFolderRefusesTheWrite) {
    Put("[S]\r\nk=old\r\n");
    const fs::path folder = Host().parent_path();
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(folder.c_str(), W_OK) == 0) {
        fs::permissions(folder, fs::perms::owner_all);
        GTEST_SKIP() << "this user writes into read-only folders (root)";
    }
    EXPECT_FALSE(Write("S", "k", "new"));
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(Read(), "[S]\r\nk=old\r\n");
    EXPECT_EQ(RegularFilesIn(folder), 1);
}

// ------------------------------------------------------------ code page 932

class ProfileDoubleByte : public Profile {
protected:
    ProfileDoubleByte() : Profile(932) {}
    std::string J(const std::u16string& text) const { return codePage_.Encode(text); }
};

TEST_F(ProfileDoubleByte, NamesAndValuesWithDoubleByteCharacters) {
    // "表" and "ソ" end in the byte of "\"; "十" in the byte of "\" too.
    Put("[" + J(u"表") + "]\r\n" + J(u"ソ") + "=" + J(u"十") + "\r\n" + J(u"キー") + " = " + J(u"値です") + "\r\n");
    EXPECT_EQ(Value(J(u"表").c_str(), J(u"ソ").c_str()), J(u"十"));
    EXPECT_EQ(Value(J(u"表").c_str(), J(u"キー").c_str()), J(u"値です"));
    EXPECT_TRUE(Write(J(u"表").c_str(), J(u"ソ").c_str(), J(u"ソフト").c_str()));
    EXPECT_EQ(Value(J(u"表").c_str(), J(u"ソ").c_str()), J(u"ソフト"));
    EXPECT_EQ(Names(32).buffer.substr(0, 4), J(u"表") + "\0\0"s);
}

TEST_F(ProfileDoubleByte, TrailBytesAreNeverFoldedAsLetters) {
    Put("[S]\r\n\x83\x41=a-kana\r\n\x83\x61=di-kana\r\n" + J(u"ＡＢ") + "=wide\r\n");  // ア and ヂ
    EXPECT_EQ(Value("S", "\x83\x41"), "a-kana");
    EXPECT_EQ(Value("S", "\x83\x61"), "di-kana");
    EXPECT_EQ(Value("S", J(u"ａｂ").c_str()), "DEF");  // full-width letters match only as they are
}

TEST_F(ProfileDoubleByte, ACutInsideACharacterLeavesItsByteAsItWas) {
    Put("[S]\r\nk=" + J(u"値です") + "\r\nmix=a" + J(u"あい") + "\r\n");
    Answer a = Get("S", "k", "", 4);
    EXPECT_EQ(a.ret, 3u);  // the room less one, as for any cut
    EXPECT_EQ(a.buffer, J(u"値") + "*\0"s);
    a = Get("S", "k", "", 5);
    EXPECT_EQ(a.ret, 4u);
    EXPECT_EQ(a.buffer, J(u"値で") + "\0"s);
    a = Get("S", "mix", "", 3);
    EXPECT_EQ(a.buffer, "a*\0"s);
    a = Get("S", "missing", J(u"デフォルト").c_str(), 6);
    EXPECT_EQ(a.buffer, J(u"デフ") + "*\0"s);
}

TEST_F(ProfileDoubleByte, ListCutsInsideACharacter) {
    Put("[" + J(u"表") + "]\r\n" + J(u"キー") + "=" + J(u"値です") + "\r\n[" + J(u"ａ") + "]\r\n");
    Answer a = Section(J(u"表").c_str(), 10);
    EXPECT_EQ(a.ret, 8u);
    EXPECT_EQ(a.buffer, J(u"キー") + "=" + J(u"値") + "\x82\0\0"s);  // a lead byte whose trail became a NUL
    a = Names(5);
    EXPECT_EQ(a.ret, 3u);
    EXPECT_EQ(a.buffer, J(u"表") + "\0*\0"s);
    a = Names(3);
    EXPECT_EQ(a.ret, 1u);
    EXPECT_EQ(a.buffer, J(u"表") + "\0"s);
}

TEST_F(ProfileDoubleByte, AUtf8FileIsReadInTheCodePage) {
    Put("\xEF\xBB\xBF[\xE8\xA8\xAD\xE5\xAE\x9A]\r\nk=\xE5\x80\xA4\r\n");  // 設定, 値
    EXPECT_EQ(Value(J(u"設定").c_str(), "k"), J(u"値"));
    EXPECT_TRUE(Write(J(u"設定").c_str(), "k2", J(u"新").c_str()));
    EXPECT_EQ(Read(), "\xEF\xBB\xBF[\xE8\xA8\xAD\xE5\xAE\x9A]\r\nk=\xE5\x80\xA4\r\nk2=\xE6\x96\xB0\r\n");
}

TEST_F(ProfileDoubleByte, ALeadByteEndingTheFileReadsAsTheDefaultCharacterAndKeepsLinesApart) {
    // With no second byte, the lead byte would take the line break written after it.
    for (const std::string lineBreak : {"\r\n", "\n"}) {
        Put("[S]" + lineBreak + "k=" + J(u"値") + "\x82");
        EXPECT_EQ(Value("S", "k"), J(u"値") + "?");
        ASSERT_TRUE(Write("S", "n", "1"));
        EXPECT_EQ(Value("S", "k"), J(u"値") + "?");
        EXPECT_EQ(Value("S", "n"), "1");
        ASSERT_TRUE(Write("T", "x", "2"));
        EXPECT_EQ(Read(), "[S]" + lineBreak + "k=" + J(u"値") + "?" + lineBreak + "n=1" + lineBreak + "[T]" +
                              lineBreak + "x=2" + lineBreak);
    }
}

TEST_F(ProfileReading, AUtf8LeadByteWithoutItsContinuationLeavesTheLineBreakAlone) {
    Put("\xEF\xBB\xBF[S]\r\nk=a\xE5\r\n");
    EXPECT_EQ(Value("S", "k").substr(0, 1), "a");
    ASSERT_TRUE(Write("T", "x", "1"));
    EXPECT_EQ(Read(), "\xEF\xBB\xBF[S]\r\nk=a\xE5\r\n[T]\r\nx=1\r\n");  // no empty line, nothing joined
    EXPECT_EQ(Value("T", "x"), "1");
    ASSERT_TRUE(Write("S", "n", "2"));
    EXPECT_EQ(Value("S", "n"), "2");
    EXPECT_EQ(Value("T", "x"), "1");
}

// --------------------------------------------------------------------- lists

using ProfileLists = Profile;

TEST_F(ProfileLists, KeyListsSectionsAndSectionNames) {
    Put("top=1\r\n[A]\r\nx=\"q\"\r\nbare\r\n;c=1\r\n=e\r\n[]\r\nhidden=1\r\n[B]\r\n[A]\r\ny=2\r\n");
    // Keys with values only, no comments; "=e" gives an empty name, which ends the list early.
    EXPECT_EQ(Get("A", nullptr, "", 64).buffer.substr(0, 4), "x\0\0\0"s);
    EXPECT_EQ(Section("A", 64).buffer.substr(0, 15), "x=\"q\"\0bare\0=e\0\0"s);
    EXPECT_EQ(Section("", 64).buffer.substr(0, 7), "top=1\0\0"s);  // the keys before any section
    EXPECT_EQ(Names(64).buffer.substr(0, 7), "A\0B\0A\0\0"s);      // "[]" is no name; duplicates are listed
    const Answer missing = Section("Missing", 8);
    EXPECT_EQ(missing.ret, 0u);
    EXPECT_EQ(missing.buffer.substr(0, 2), "\0\0"s);
    EXPECT_EQ(Get("Missing", nullptr, "\"def\"", 16).buffer.substr(0, 4), "def\0"s);
}

TEST_F(ProfileLists, NoFileNoSections) {
    EXPECT_EQ(Names(8).buffer, "\0*******"s);
    EXPECT_EQ(Names(8).ret, 0u);
    EXPECT_EQ(Section("S", 8).buffer, "\0\0******"s);
}

// ------------------------------------------------------------------ hostile

using ProfileHostile = Profile;

TEST_F(ProfileHostile, GarbageNeverCrashesAndWritesStayReadable) {
    std::mt19937 random(20240229);
    for (int round = 0; round < 20; ++round) {
        std::string garbage(20000 + random() % 20000, '\0');
        for (char& c : garbage) c = static_cast<char>(random());
        for (const char* piece : {"[S]\r\n", "=", "\"", "[", "]", ";", "\r", "\n"})
            garbage.insert(random() % garbage.size(), piece);
        Put(garbage);
        for (Dword size : {0u, 1u, 2u, 3u, 7u, 64u, 4096u}) {
            (void)Get("S", "k", "d", size);
            (void)Get("S", nullptr, "d", size);
            (void)Get(nullptr, nullptr, "d", size);
            (void)Section("S", size);
            (void)Names(size);
        }
        ASSERT_TRUE(Write("Fresh Section", "k", "value"));
        EXPECT_EQ(Value("Fresh Section", "k"), "value");
        ASSERT_TRUE(WriteSection("Fresh Section", "a=1\0b=2"s));
        EXPECT_EQ(Value("Fresh Section", "b"), "2");
    }
}

TEST_F(ProfileHostile, HugeFilesAndLines) {
    std::string big = "[S]\r\n";
    while (big.size() < 10'000'000) big += "key" + std::to_string(big.size()) + "=value without end of any kind\r\n";
    big += "last=found\r\n";
    Put(big);
    EXPECT_EQ(Value("S", "last"), "found");
    EXPECT_TRUE(Write("S", "last", "changed"));
    EXPECT_EQ(Value("S", "last"), "changed");
    EXPECT_EQ(Read().size(), big.size() + 2);

    Put("[" + std::string(5'000'000, 'x') + "\r\n" + std::string(5'000'000, '=') + "\r\n[S]\r\nk=v\r\n");
    EXPECT_EQ(Value("S", "k"), "v");
    const Answer a = Section(std::string(5'000'000, 'x').c_str(), 16);
    EXPECT_EQ(a.ret, 0u);  // the unclosed header is a key of the first section, not a section
}

TEST_F(ProfileHostile, NulBytesInNamesCutThem) {
    Put("[S\0junk]\r\nk\0junk=v\r\n"s);
    EXPECT_EQ(Value("S", "k"), "v");
    EXPECT_EQ(Names(16).buffer.substr(0, 3), "S\0\0"s);
}

}  // namespace
