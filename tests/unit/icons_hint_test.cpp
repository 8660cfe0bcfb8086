// On Windows 11 the first start says, in one notification from desktop 1's
// icon, where the icons are; later starts, and older Windows, say nothing.
#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace {
using testing_support::SimTrevo;
using testing_support::U8;

const std::string kHintOn = std::string(testing_support::kGoodIni) + "[Options]\r\nIconsHint=1\r\n";

sim::Options OnWindows(engine::Dword major, engine::Dword minor, engine::Dword build) {
    sim::Options o;
    o.major = major;
    o.minor = minor;
    o.build = build;
    return o;
}

int Balloons(SimTrevo& t) {
    int shown = 0;
    for (const auto& [key, icon] : t.world().trayIcons) shown += icon.balloonsShown;
    return shown;
}

TEST(IconsHint, Windows11ShowsItOnceFromDesktopOne) {
    for (engine::Dword build : {22000u, 26100u}) {
        SCOPED_TRACE(build);
        SimTrevo t(OnWindows(10, 0, build));
        t.WriteIni(kHintOn);
        t.Start();
        ASSERT_EQ(Balloons(t), 1);
        const sim::NotifyRecord& first = *t.Icon(1);
        EXPECT_EQ(first.balloonsShown, 1);
        EXPECT_EQ(first.balloonFlags, engine::win::NIIF_INFO);
        EXPECT_FALSE(first.balloonTitle.empty());
        EXPECT_NE(U8(first.balloonText).find("Other system tray icons"), std::string::npos) << U8(first.balloonText);
        t.Click(2);  // the icons still answer
        EXPECT_EQ(t.bas().gOldDesk, 2);

        t.Kill();
        t.world().RestartWindows();  // the next log-on
        t.Start();
        EXPECT_EQ(Balloons(t), 0);
    }
}

TEST(IconsHint, NoneBeforeWindows11NorWithoutTheOption) {
    struct Run {
        sim::Options options;
        std::string ini;
    };
    const Run runs[] = {{OnWindows(10, 0, 19045), kHintOn},
                        {OnWindows(6, 1, 7601), kHintOn},
                        {OnWindows(10, 0, 22631), testing_support::kGoodIni}};
    for (const Run& run : runs) {
        SCOPED_TRACE(std::to_string(run.options.major) + "." + std::to_string(run.options.build));
        SimTrevo t(run.options);
        t.WriteIni(run.ini);
        t.Start();
        ASSERT_FALSE(t.world().ended);
        EXPECT_EQ(Balloons(t), 0);
        EXPECT_EQ(t.world().registry.count("HKCU\\SOFTWARE\\TREVO KEYS"), 0u);
    }
}

// A registry that refuses the mark, or a shell that refuses the notification
// (at log-on its task bar may not be made yet): Trevo starts all the same, and
// the next start tells it again.
TEST(IconsHint, WhatIsRefusedIsToldAgainAtTheNextStart) {
    SimTrevo t(OnWindows(10, 0, 22631));
    t.world().guardedKeys.insert("HKCU\\SOFTWARE");  // no key of Trevo's can be made
    t.WriteIni(kHintOn);
    t.Start();
    ASSERT_FALSE(t.world().ended);
    EXPECT_EQ(t.world().trayIcons.size(), 3u);
    EXPECT_EQ(Balloons(t), 1);
    t.Kill();
    t.world().PointerOverIcons();
    t.Start();
    EXPECT_EQ(Balloons(t), 1);  // nothing remembered it

    SimTrevo early(OnWindows(10, 0, 22631));
    early.world().shellAnswers = false;
    early.WriteIni(kHintOn);
    early.Start();
    ASSERT_FALSE(early.world().ended);
    early.world().shellAnswers = true;
    early.world().RestartShell();  // the task bar is there now: the icons come, the notification does not
    EXPECT_EQ(early.world().trayIcons.size(), 3u);
    EXPECT_EQ(Balloons(early), 0);
    early.Kill();
    early.world().PointerOverIcons();  // the killed Trevo's icons go
    early.Start();
    EXPECT_EQ(Balloons(early), 1);
    early.Kill();
    early.world().PointerOverIcons();
    early.Start();
    EXPECT_EQ(Balloons(early), 0);
}

}  // namespace
