// Which Windows family each reported version counts as.
#include <gtest/gtest.h>

#include "engine/sim/sim_engine.h"
#include "lib/ClsKwVer.h"
#include "lib/ClsKwWinInterface.h"
#include "sim_fixture.h"

namespace {
using testing_support::TempDir;

struct VersionCase {
    engine::Dword platformId, major, minor, build;
    const char16_t* family;
};

class VersionClassification : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionClassification, NamesTheFamily) {
    const VersionCase& c = GetParam();
    TempDir dir;
    sim::Options o;
    o.root = dir.path();
    o.platformId = c.platformId;
    o.major = c.major;
    o.minor = c.minor;
    o.build = c.build;
    sim::World world(o);
    sim::SimPlatform platform(world);
    lib::ClsKwVer ver(platform);
    EXPECT_EQ(ver.Platform(), c.family);
    const std::u16string f = c.family;
    EXPECT_EQ(ver.IsWin95(), f == u"Win95" || f == u"Win95OSR2");
    EXPECT_EQ(ver.IsWin98(), f == u"Win98" || f == u"Win98SE");
    EXPECT_EQ(ver.IsWinME(), f == u"WinME");
    EXPECT_EQ(ver.IsWin9x(), ver.IsWin95() || ver.IsWin98() || ver.IsWinME());
    EXPECT_EQ(ver.IsWinNT(), f == u"WinNT" || f == u"Win2K" || f == u"WinXP");
    EXPECT_EQ(ver.IsWin2K(), f == u"Win2K");
    EXPECT_EQ(ver.IsWinXP(), f == u"WinXP");
    EXPECT_EQ(ver.MajorVersion(), static_cast<engine::Long>(c.major));
    EXPECT_EQ(ver.BuidNumber(), static_cast<engine::Long>(c.build));
    EXPECT_EQ(ver.PlatformID(), static_cast<engine::Long>(c.platformId));

    // The window class keeps coarser flags of its own.
    lib::ClsKwWinInterface wi(platform);
    EXPECT_EQ(wi.Win95(), ver.IsWin95());
    EXPECT_EQ(wi.Win98(), ver.IsWin98());
    EXPECT_EQ(wi.WinME(), ver.IsWinME());
    EXPECT_EQ(wi.WinNT(), f == u"WinNT");
    EXPECT_EQ(wi.Win2K(), ver.IsWin2K());
    EXPECT_EQ(wi.WinXP(), ver.IsWinXP());
}

INSTANTIATE_TEST_SUITE_P(Families, VersionClassification,
                         ::testing::Values(VersionCase{1, 4, 0, 950, u"Win95"}, VersionCase{1, 4, 0, 1110, u"Win95"},
                                           VersionCase{1, 4, 0, 1111, u"Win95OSR2"},
                                           VersionCase{1, 4, 10, 2221, u"Win98"},
                                           VersionCase{1, 4, 10, 2222, u"Win98SE"},
                                           VersionCase{1, 4, 90, 3000, u"WinME"},
                                           VersionCase{1, 4, 0, 0x0400'0BB8, u"WinME"},   // only the low word counts
                                           VersionCase{1, 4, 10, 0x0000'9000, u"Win98"},  // 0x9000 is negative
                                           VersionCase{2, 4, 0, 1381, u"WinNT"}, VersionCase{2, 5, 0, 2195, u"Win2K"},
                                           VersionCase{2, 5, 1, 2600, u"WinXP"}, VersionCase{2, 5, 2, 3790, u"WinXP"},
                                           VersionCase{2, 6, 0, 6002, u"Win2K"}, VersionCase{2, 6, 1, 7601, u"WinXP"},
                                           VersionCase{2, 10, 0, 19045, u"Win2K"}, VersionCase{0, 0, 0, 0, u"Unknown"},
                                           VersionCase{3, 5, 1, 0, u"Unknown"}));

TEST(VersionRecord, ServicePackTextAndAnUnfilledRecord) {
    TempDir dir;
    sim::Options o;
    o.root = dir.path();
    o.csdVersion = "Service Pack 3";
    sim::World world(o);
    sim::SimPlatform platform(world);
    EXPECT_EQ(lib::ClsKwVer(platform).CSDVersion(), u"Service Pack 3");
    world.options.csdVersion = "";
    EXPECT_EQ(lib::ClsKwVer(platform).CSDVersion(), u"");
}

}  // namespace
