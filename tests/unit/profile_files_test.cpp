// The simulated profile functions: how files are read, and that writes keep every
// line they do not change.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "sim_fixture.h"

namespace {
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

class ProfileFiles : public ::testing::Test {
protected:
    explicit ProfileFiles(unsigned codePage = 1252) : cp_(codePage), files_(dir_.path()), engine_(cp_, files_) {
        std::filesystem::create_directories(files_.ToHost(u"C:\\"));
    }
    void Put(const std::string& bytes) { WriteFile(Host(), bytes); }
    std::filesystem::path Host() const { return files_.ToHost(u"C:\\t.ini"); }
    std::string Get(const char* section, const char* key, const char* def = "DEF", engine::Dword size = 256) {
        std::string buffer(size + 8, '\x7F');
        const engine::Dword n = engine_.GetString(section, key, def, buffer.data(), size, "C:\\t.ini");
        last_ = n;
        return std::string(buffer.data(), n);
    }
    std::string List(const char* section, engine::Dword size = 1024) {
        std::string buffer(size, '\x7F');
        const engine::Dword n = engine_.GetSection(section, buffer.data(), size, "C:\\t.ini");
        last_ = n;
        return std::string(buffer.data(), n + 1);
    }
    bool Write(const char* section, const char* key, const char* value) {
        return engine_.WriteString(section, key, value, "C:\\t.ini");
    }
    TempDir dir_;
    sim::CodePage cp_;
    sim::FileSystem files_;
    sim::ProfileEngine engine_;
    engine::Dword last_ = 0;
};

TEST_F(ProfileFiles, NamesAnyCaseValuesTrimmedFirstMatchWins) {
    Put("[Main]\r\n  Key  =  spaced value  \r\nkey=second\r\n[main]\r\nother=x\r\n");
    EXPECT_EQ(Get("MAIN", "KEY"), "spaced value");
    EXPECT_EQ(Get("main", "other"), "DEF");  // only the first section of a name is looked at
    EXPECT_EQ(Get("Main", "missing"), "DEF");
    EXPECT_EQ(Get("Nope", "key"), "DEF");
    EXPECT_EQ(Get("Main", "missing", "trailing   "), "trailing");  // the default loses trailing blanks
    EXPECT_EQ(Get("Main", "missing", nullptr), "");
}

TEST_F(ProfileFiles, QuotesCommentsAndLinesWithoutEquals) {
    Put("[S]\r\nq=\"quoted\"\r\ns='single'\r\nhalf=\"open\r\n;c=comment\r\nbare\r\nempty=\r\n");
    EXPECT_EQ(Get("S", "q"), "quoted");
    EXPECT_EQ(Get("S", "s"), "single");
    EXPECT_EQ(Get("S", "half"), "\"open");
    EXPECT_EQ(Get("S", ";c"), "comment");  // Windows finds a comment line asked for by name
    EXPECT_EQ(Get("S", "bare"), "DEF");
    EXPECT_EQ(Get("S", "empty"), "");
    EXPECT_EQ(List("S"), std::string("q=\"quoted\"\0s='single'\0half=\"open\0bare\0empty=\0\0", 46));
}

TEST_F(ProfileFiles, ValuesAreCutToTheRoomLessOne) {
    Put("[S]\r\nlong=" + std::string(300, 'x') + "\r\n");
    EXPECT_EQ(Get("S", "long", "", 255), std::string(254, 'x'));
    EXPECT_EQ(last_, 254u);
    EXPECT_EQ(Get("S", "long", "", 1), "");
}

TEST_F(ProfileFiles, AMissingFileGivesTheDefault) {
    EXPECT_EQ(Get("S", "k"), "DEF");
    EXPECT_FALSE(std::filesystem::exists(Host()));  // reading creates nothing
}

TEST_F(ProfileFiles, ListsOfSectionsAndKeys) {
    Put("[A]\r\nx=1\r\n[B]\r\n[C]\r\ny=2\r\nz\r\n");
    std::string names(64, '\x7F');
    engine::Dword n = engine_.GetSectionNames(names.data(), 64, "C:\\t.ini");
    EXPECT_EQ(std::string(names.data(), n + 1), std::string("A\0B\0C\0\0", 7));
    std::string keys(64, '\x7F');
    n = engine_.GetString("C", nullptr, "", keys.data(), 64, "C:\\t.ini");
    EXPECT_EQ(std::string(keys.data(), n + 1), std::string("y\0\0", 3));  // a line without "=" is no key
    std::string small(5, '\x7F');
    n = engine_.GetSectionNames(small.data(), 5, "C:\\t.ini");
    EXPECT_EQ(n, 3u);                                // cut: as much as fits and the closing pair of NULs
    EXPECT_EQ(small, std::string("A\0B\0\x7F", 5));  // the last byte is left as it was
    EXPECT_EQ(List("Missing"), std::string("\0", 1));
}

TEST_F(ProfileFiles, WritesCreateTheFileTheSectionAndTheKey) {
    EXPECT_TRUE(Write("Desktops", "Max", "2"));
    EXPECT_TRUE(Write("Wallpaper", "1", ""));
    EXPECT_EQ(ReadFile(Host()), "[Desktops]\r\nMax=2\r\n[Wallpaper]\r\n1=\r\n");
    EXPECT_EQ(Get("desktops", "max"), "2");
}

TEST_F(ProfileFiles, WritesKeepEveryOtherLine) {
    const std::string original =
        "; my notes\r\n[Desktops]\r\nMAX = 3\r\n\r\n[Size]\r\nWidth=400\r\n; keep me\r\n\r\n"
        "[NoChange-XP]\r\n01=class(Shell_TrayWnd)\r\n   odd line without equals\r\n";
    Put(original);
    EXPECT_TRUE(Write("desktops", "max", "5"));
    EXPECT_TRUE(Write("Size", "Height", "300"));
    EXPECT_TRUE(Write("Wallpaper", "1", "C:\\a.bmp"));
    EXPECT_EQ(ReadFile(Host()),
              "; my notes\r\n[Desktops]\r\nMAX=5\r\n\r\n[Size]\r\nWidth=400\r\n; keep me\r\nHeight=300\r\n\r\n"
              "[NoChange-XP]\r\n01=class(Shell_TrayWnd)\r\n   odd line without equals\r\n"
              "[Wallpaper]\r\n1=C:\\a.bmp\r\n");
}

TEST_F(ProfileFiles, LineEndsOfTheFileAreKept) {
    Put("[S]\na=1\n[T]\nb=2");
    EXPECT_TRUE(Write("S", "c", "3"));
    EXPECT_TRUE(Write("T", "d", "4"));
    EXPECT_EQ(ReadFile(Host()), "[S]\na=1\nc=3\n[T]\nb=2\nd=4\n");
}

TEST_F(ProfileFiles, DeletingKeysAndSections) {
    Put("[S]\r\na=1\r\nb=2\r\n[T]\r\nc=3\r\n");
    EXPECT_TRUE(Write("S", "a", nullptr));
    EXPECT_TRUE(Write("T", nullptr, nullptr));
    EXPECT_EQ(ReadFile(Host()), "[S]\r\nb=2\r\n");
}

TEST_F(ProfileFiles, WholeSectionsAreReplaced) {
    Put("[S]\r\n; note\r\na=1\r\n\r\n[T]\r\nc=3\r\n");
    EXPECT_TRUE(engine_.WriteSection("S", "x=9\0y\0", "C:\\t.ini"));
    EXPECT_EQ(ReadFile(Host()), "[S]\r\n; note\r\nx=9\r\n\r\n[T]\r\nc=3\r\n");  // entries need "="
}

TEST_F(ProfileFiles, AWriteThatCannotBeDoneChangesNothing) {
    EXPECT_FALSE(engine_.WriteString("S", "k", "v", "C:\\no such folder\\t.ini"));
    EXPECT_FALSE(std::filesystem::exists(files_.ToHost(u"C:\\no such folder")));
    if (::geteuid() != 0) {  // root writes through read-only folders
        Put("[S]\r\nk=old\r\n");
        std::filesystem::permissions(Host().parent_path(),
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        EXPECT_FALSE(Write("S", "k", "new"));
        std::filesystem::permissions(Host().parent_path(), std::filesystem::perms::owner_all);
        EXPECT_EQ(ReadFile(Host()), "[S]\r\nk=old\r\n");
    }
}

TEST_F(ProfileFiles, AWriteLeavesNoTemporaryFileBehind) {
    Put("[S]\r\nk=1\r\n");
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(Write("S", "k", std::to_string(i).c_str()));
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(Host().parent_path())) files += e.is_regular_file();
    EXPECT_EQ(files, 1);
    EXPECT_EQ(Get("S", "k"), "19");
}

TEST_F(ProfileFiles, HostileFilesNeitherCrashNorHang) {
    std::string garbage;
    for (int i = 0; i < 100000; ++i) garbage += static_cast<char>((i * 7919) % 256);
    garbage += std::string("\0\0[S]\r\nk=v\r\n", 12);
    Put(garbage);
    (void)Get("S", "k");
    EXPECT_TRUE(Write("S", "k", "w"));
    EXPECT_EQ(Get("S", "k"), "w");
    Put("[" + std::string(200000, 'x') + "\r\n" + std::string(300000, '=') + "\r\n");
    EXPECT_EQ(Get("S", "k"), "DEF");
}

class ProfileFilesJapanese : public ProfileFiles {
protected:
    ProfileFilesJapanese() : ProfileFiles(932) {}
};

TEST_F(ProfileFilesJapanese, DoubleByteNamesAndValues) {
    const std::string section = cp_.Encode(u"設定"), key = cp_.Encode(u"壁紙"), value = cp_.Encode(u"C:\\写真\\表.bmp");
    Put("[" + section + "]\r\n" + key + "=" + value + "\r\n");
    EXPECT_EQ(Get(section.c_str(), key.c_str()), value);
    // "表" ends in the byte of "\": the value is read whole all the same.
    EXPECT_TRUE(Write(section.c_str(), key.c_str(), cp_.Encode(u"ソフト").c_str()));
    EXPECT_EQ(Get(section.c_str(), key.c_str()), cp_.Encode(u"ソフト"));
}

TEST_F(ProfileFilesJapanese, ACutNeverSplitsACharacterBeforeTheLastByte) {
    Put("[S]\r\nk=" + cp_.Encode(std::u16string(200, u'字')) + "\r\n");
    const std::string got = Get("S", "k", "", 255);
    EXPECT_EQ(got, cp_.Encode(std::u16string(127, u'字')));  // 254 bytes
}

}  // namespace
