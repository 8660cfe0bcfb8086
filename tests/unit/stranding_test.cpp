// No window is left beside every screen: desktops as wide as all monitors together.
#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace {
using engine::Hwnd;
using engine::Rect;
using testing_support::SimTrevo;

bool Overlaps(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

struct Arrangement {
    const char* name;
    std::vector<Rect> others;  // the primary is at 0, 0, 1024, 768
};

class Monitors : public ::testing::TestWithParam<Arrangement> {};

// Windows on every monitor form desktop 1; at every switch each monitor shows
// the active desktop's windows and none of the others'.
TEST_P(Monitors, EveryMonitorShowsTheActiveDesktopAndNothingElse) {
    sim::Options o;
    o.otherMonitors = GetParam().others;
    SimTrevo t(o);
    const Rect v = t.world().VirtualScreen();
    const engine::Long width = v.right - v.left;
    std::vector<Rect> monitors = o.otherMonitors;
    monitors.push_back(o.screen);
    std::vector<Hwnd> first, second;
    for (const Rect& m : monitors) {
        first.push_back(t.OpenWindow(u"one", u"Probe", {m.left + 10, 10, m.left + 210, 110}));
        second.push_back(t.OpenWindow(u"two", u"Probe", {m.left + width + 20, 20, m.left + width + 220, 120}));
    }
    t.WriteIni("[Desktops]\r\nMax=3\r\n[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n");
    t.Start();
    EXPECT_EQ(t.bas().gScreenWidth, width);
    auto onScreen = [&](Hwnd h) {
        for (const Rect& m : monitors)
            if (Overlaps(t.RectOf(h), m)) return true;
        return false;
    };
    for (engine::Long desk : {2, 3, 1, 2, 1}) {
        t.Click(desk);
        for (size_t i = 0; i < monitors.size(); ++i) {
            EXPECT_EQ(onScreen(first[i]), desk == 1) << "desktop " << desk << ", monitor " << i;
            EXPECT_EQ(onScreen(second[i]), desk == 2) << "desktop " << desk << ", monitor " << i;
        }
    }
    for (size_t i = 0; i < monitors.size(); ++i) EXPECT_EQ(t.RectOf(first[i]).left, monitors[i].left + 10);
}

INSTANTIATE_TEST_SUITE_P(
    Arrangements, Monitors,
    ::testing::Values(Arrangement{"One", {}}, Arrangement{"RightOfThePrimary", {{1024, 0, 2304, 1024}}},
                      Arrangement{"LeftOfThePrimary", {{-1280, -256, 0, 768}}},
                      Arrangement{"OnBothSides", {{-1280, 0, 0, 1024}, {1024, 0, 2944, 1080}}},
                      Arrangement{"TwoToTheRight", {{1024, 0, 2048, 768}, {2048, 0, 3072, 768}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
