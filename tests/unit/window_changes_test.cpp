// The window class's changes on the simulated system: style bits, layered
// windows, the topmost state, rectangles and points, and the arrangement of a
// document frame's children. One file, as these are the cases of one class.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "engine/sim/sim_platform.h"
#include "lib/ClsKwWinInterface.h"
#include "sim_fixture.h"

namespace {
using engine::Dword;
using engine::Hwnd;
using engine::Point;
using engine::Rect;
using testing_support::TempDir;
namespace win = engine::win;

constexpr Dword kCaption = 0x00C00000;
constexpr Dword kThickFrame = 0x00040000;
constexpr Dword kDisabled = 0x08000000;
constexpr Dword kClientEdge = 0x200;
constexpr Dword kToolWindow = 0x80;
constexpr Dword kFrameStyle = win::WS_VISIBLE | kCaption | kThickFrame;
constexpr Dword kChildStyle = win::WS_VISIBLE | win::WS_CHILD | kCaption;

struct Version {
    Dword platformId, major, minor;
};
constexpr Version kXp{2, 6, 1};  // what Wine reports: the XP family
constexpr Version kWindows2000{2, 5, 0};
constexpr Version kNt4{2, 4, 0};
constexpr Version kWindows98{1, 4, 10};
constexpr Version kWindows8{2, 6, 2};

using testing_support::ErrorNumber;

// A simulated system without a task bar, of the version asked for.
class Desk {
public:
    explicit Desk(Version v = kXp) : world_(Options(dir_, v)), platform_(world_), wi_(platform_) {}

    Hwnd Open(Rect rect, Dword style = win::WS_VISIBLE, Dword exStyle = 0, Hwnd parent = 0,
              const std::u16string& cls = u"Plain") {
        sim::WindowSpec s;
        s.className = cls;
        s.rect = rect;
        s.style = style;
        s.exStyle = exStyle;
        s.parent = parent;
        return world_.windows.Create(s);
    }
    sim::Window& W(Hwnd h) { return world_.windows.Get(h); }
    // Where a child lies in its parent's client coordinates.
    Rect InClientOf(Hwnd parent, Hwnd kid) {
        const Rect r = W(kid).rect;
        Point a{r.left, r.top}, b{r.right, r.bottom};
        platform_.ScreenToClient(parent, &a);
        platform_.ScreenToClient(parent, &b);
        return {a.x, a.y, b.x, b.y};
    }
    Rect ClientOf(Hwnd h) {
        Rect r;
        platform_.GetClientRect(h, &r);
        return r;
    }

    sim::World& world() { return world_; }
    sim::SimPlatform& platform() { return platform_; }
    lib::ClsKwWinInterface& wi() { return wi_; }

private:
    static sim::Options Options(const TempDir& dir, Version v) {
        sim::Options o;
        o.root = dir.path();
        o.taskbar = false;
        o.platformId = v.platformId;
        o.major = v.major;
        o.minor = v.minor;
        o.build = v.platformId == 1 ? 2222 : 2195;
        return o;
    }
    TempDir dir_;
    sim::World world_;
    sim::SimPlatform platform_;
    lib::ClsKwWinInterface wi_;
};

// --------------------------------------------------------------- style bits

TEST(WindowStyles, BitsAreOnlyEverAdded) {
    Desk d;
    const Hwnd h = d.Open({0, 0, 100, 100}, win::WS_VISIBLE | kCaption, kClientEdge);
    d.wi().SetWindowStyle(h, 0);
    EXPECT_EQ(d.W(h).style, win::WS_VISIBLE | kCaption);
    d.wi().SetWindowStyle(h, kThickFrame | win::WS_VISIBLE);
    EXPECT_EQ(d.W(h).style, win::WS_VISIBLE | kCaption | kThickFrame);
    d.wi().SetWindowExStyle(h, kToolWindow);
    EXPECT_EQ(d.W(h).exStyle, kClientEdge | kToolWindow);
    EXPECT_TRUE(d.wi().IsWindowExStyle(h, kClientEdge | kToolWindow));
    EXPECT_EQ(d.wi().GetWindowExStyle(h), static_cast<engine::Long>(kClientEdge | kToolWindow));
}

TEST(WindowStyles, TheLayeredBitAloneIsRefusedWhereLayeredWindowsDoNotExist) {
    for (Version v : {kNt4, kWindows98}) {
        Desk d(v);
        const Hwnd h = d.Open({0, 0, 100, 100});
        d.wi().SetWindowExStyle(h, win::WS_EX_LAYERED);
        EXPECT_EQ(d.W(h).exStyle, 0u);
        // Only the bit on its own is held back.
        d.wi().SetWindowExStyle(h, win::WS_EX_LAYERED | kClientEdge);
        EXPECT_EQ(d.W(h).exStyle, win::WS_EX_LAYERED | kClientEdge);
    }
    for (Version v : {kWindows2000, kXp}) {
        Desk d(v);
        const Hwnd h = d.Open({0, 0, 100, 100});
        d.wi().SetWindowExStyle(h, win::WS_EX_LAYERED);
        EXPECT_EQ(d.W(h).exStyle, win::WS_EX_LAYERED);
    }
}

// ---------------------------------------------------------- layered windows

TEST(LayeredWindows, OpacityInPercentBecomesAnAlphaWithHalvesToEven) {
    Desk d;
    const Hwnd h = d.Open({0, 0, 100, 100});
    const std::pair<engine::Long, int> cases[] = {{50, 128}, {1, 3}, {100, 255}, {0, 0}, {30, 76}, {99, 252}};
    for (auto [percent, alpha] : cases) {
        EXPECT_TRUE(d.wi().LayeredAlpha(h, percent)) << percent;
        EXPECT_EQ(d.W(h).layeredAlpha, alpha) << percent;
        EXPECT_EQ(d.W(h).layeredFlags, 2u);
    }
    EXPECT_TRUE(d.wi().IsWindowExStyle(h, win::WS_EX_LAYERED));
}

TEST(LayeredWindows, AColourKeyMakesTheWindowLayeredFirst) {
    Desk d(kWindows2000);
    const Hwnd h = d.Open({0, 0, 100, 100}, win::WS_VISIBLE, kClientEdge);
    EXPECT_TRUE(d.wi().LayeredColorKey(h, 0x00FF00FF));
    EXPECT_EQ(d.W(h).exStyle, kClientEdge | win::WS_EX_LAYERED);
    EXPECT_EQ(d.W(h).layeredKey, 0x00FF00FFu);
    EXPECT_EQ(d.W(h).layeredFlags, 1u);
}

TEST(LayeredWindows, OutsideAPercentOverflowsAfterTheStyleIsSet) {
    for (engine::Long percent : {101, -1, 1000}) {
        Desk d;
        const Hwnd h = d.Open({0, 0, 100, 100});
        EXPECT_EQ(ErrorNumber([&] { d.wi().LayeredAlpha(h, percent); }), engine::err::kOverflow) << percent;
        EXPECT_EQ(d.W(h).exStyle, win::WS_EX_LAYERED);
        EXPECT_EQ(d.W(h).layeredFlags, 0u);  // the attributes were never set
    }
}

TEST(LayeredWindows, NothingHappensOnSystemsWithoutThem) {
    for (Version v : {kNt4, kWindows98}) {
        Desk d(v);
        const Hwnd h = d.Open({0, 0, 100, 100});
        EXPECT_FALSE(d.wi().LayeredAlpha(h, 50));
        EXPECT_FALSE(d.wi().LayeredColorKey(h, 0xFF));
        EXPECT_FALSE(d.wi().LayeredAlpha(h, 500));  // not even the overflow
        EXPECT_EQ(d.W(h).exStyle, 0u);
        EXPECT_EQ(d.W(h).layeredFlags, 0u);
    }
}

TEST(LayeredWindows, TheResultIsThePlatformsAnswer) {
    Desk d;
    const Hwnd frame = d.Open({0, 0, 400, 300}, kFrameStyle);
    const Hwnd child = d.Open({10, 30, 100, 100}, kChildStyle, 0, frame);
    EXPECT_FALSE(d.wi().LayeredAlpha(child, 50));  // child windows only from Windows 8 on
    EXPECT_TRUE(d.wi().IsWindowExStyle(child, win::WS_EX_LAYERED));
    EXPECT_FALSE(d.wi().LayeredColorKey(0xDEAD0, 0));  // no such window

    Desk eight(kWindows8);
    const Hwnd frame8 = eight.Open({0, 0, 400, 300}, kFrameStyle);
    const Hwnd child8 = eight.Open({10, 30, 100, 100}, kChildStyle, 0, frame8);
    EXPECT_TRUE(eight.wi().LayeredAlpha(child8, 50));
    EXPECT_EQ(eight.W(child8).layeredAlpha, 128);
}

// ------------------------------------------------------------------ topmost

TEST(TopMostState, SetAndClearedWithTheStackingOrder) {
    Desk d;
    const Hwnd a = d.Open({0, 0, 100, 100});
    const Hwnd b = d.Open({0, 0, 100, 100});
    const Hwnd pinned = d.Open({0, 0, 50, 50}, win::WS_VISIBLE, win::WS_EX_TOPMOST);
    ASSERT_EQ(d.world().windows.TopLevel(), (std::vector<Hwnd>{pinned, b, a}));

    EXPECT_TRUE(d.wi().TopMost(a));
    EXPECT_TRUE(d.wi().IsWindowTopMost(a));
    EXPECT_EQ(d.world().windows.TopLevel().front(), a);

    EXPECT_TRUE(d.wi().NoTopMost(a));
    EXPECT_FALSE(d.wi().IsWindowTopMost(a));
    // Below every topmost window, above the rest.
    EXPECT_EQ(d.world().windows.TopLevel(), (std::vector<Hwnd>{pinned, a, b}));
    EXPECT_EQ(d.W(a).rect, (Rect{0, 0, 100, 100}));  // neither moved nor sized
}

TEST(TopMostState, ShowsAHiddenWindowAndFailsForAMissingOne) {
    Desk d;
    const Hwnd hidden = d.Open({0, 0, 100, 100}, 0);
    EXPECT_TRUE(d.wi().TopMost(hidden));
    EXPECT_TRUE(d.wi().IsWindowVisible(hidden));
    EXPECT_FALSE(d.wi().TopMost(0xDEAD0));
    EXPECT_FALSE(d.wi().NoTopMost(0xDEAD0));
}

// ---------------------------------------------------- rectangles and points

TEST(Rectangles, AdjustedForTheWindowsOwnStyles) {
    Desk d;
    const Hwnd h = d.Open({100, 100, 500, 400}, kFrameStyle, kClientEdge);
    Rect client = d.ClientOf(h);
    ASSERT_LT(client.right, 400);

    Rect withEx = client;
    d.wi().vbAdjustWindowRectEx(h, false, withEx);
    EXPECT_EQ(withEx.right - withEx.left, 400);
    EXPECT_EQ(withEx.bottom - withEx.top, 300);

    // Without the extended style the client edge is not counted.
    Rect plain = client;
    d.wi().vbAdjustWindowRect(h, false, plain);
    EXPECT_EQ(plain.right - plain.left, 400 - 4);
    EXPECT_EQ(plain.bottom - plain.top, 300 - 4);

    Rect withMenu = client;
    d.wi().vbAdjustWindowRectEx(h, true, withMenu);
    EXPECT_LT(withMenu.top, withEx.top);
    EXPECT_EQ(withMenu.bottom, withEx.bottom);
}

TEST(Rectangles, ClientAndScreenCoordinatesBothWays) {
    Desk d;
    const Hwnd h = d.Open({100, 50, 500, 400}, kFrameStyle);
    Rect frame{0, 0, 0, 0};
    d.platform().AdjustWindowRectEx(&frame, kFrameStyle, false, 0);
    const Point origin{100 - frame.left, 50 - frame.top};

    Point p{0, 0};
    d.wi().vbClientToScreenByPoint(h, p);
    EXPECT_EQ(p, origin);
    d.wi().vbScreenToClientByPoint(h, p);
    EXPECT_EQ(p, (Point{0, 0}));

    Rect r{10, 20, 30, 40};
    d.wi().vbClientToScreen(h, r);
    EXPECT_EQ(r, (Rect{origin.x + 10, origin.y + 20, origin.x + 30, origin.y + 40}));
    d.wi().vbScreenToClient(h, r);
    EXPECT_EQ(r, (Rect{10, 20, 30, 40}));

    Point untouched{7, 8};
    d.wi().vbClientToScreenByPoint(0xDEAD0, untouched);
    EXPECT_EQ(untouched, (Point{7, 8}));
}

TEST(Rectangles, PointsMappedFromOneWindowToAnother) {
    Desk d;
    const Hwnd frame = d.Open({100, 50, 500, 400}, kFrameStyle);
    const Hwnd child = d.Open({150, 120, 300, 250}, kChildStyle, 0, frame);
    Point viaScreen{5, 6};
    d.platform().ClientToScreen(child, &viaScreen);
    d.platform().ScreenToClient(frame, &viaScreen);

    Point p{5, 6};
    d.wi().vbMapWindowPoint(child, frame, p);
    EXPECT_EQ(p, viaScreen);

    std::vector<Point> points{{5, 6}, {0, 0}, {1, 1}};
    d.wi().vbMapWindowPoints(child, frame, points, 2);
    EXPECT_EQ(points[0], viaScreen);
    EXPECT_EQ(points[1], (Point{viaScreen.x - 5, viaScreen.y - 6}));
    EXPECT_EQ(points[2], (Point{1, 1}));  // beyond the count asked for

    // 0 stands for the screen.
    Point s{0, 0};
    d.wi().vbMapWindowPoint(frame, 0, s);
    Point expected{0, 0};
    d.platform().ClientToScreen(frame, &expected);
    EXPECT_EQ(s, expected);
}

TEST(Rectangles, APointCountThatMakesNoArrayFails) {
    Desk d;
    const Hwnd h = d.Open({100, 50, 500, 400}, kFrameStyle);
    std::vector<Point> points{{1, 2}, {3, 4}};
    EXPECT_EQ(ErrorNumber([&] { d.wi().vbMapWindowPoints(h, 0, points, 0); }), engine::err::kSubscript);
    EXPECT_EQ(ErrorNumber([&] { d.wi().vbMapWindowPoints(h, 0, points, -5); }), engine::err::kSubscript);
    EXPECT_EQ(ErrorNumber([&] { d.wi().vbMapWindowPoints(h, 0, points, 0x10000000); }), engine::err::kOverflow);
    EXPECT_EQ(ErrorNumber([&] { d.wi().vbMapWindowPoints(h, 0, points, 3); }), engine::err::kSubscript);
    EXPECT_EQ(points, (std::vector<Point>{{1, 2}, {3, 4}}));
}

// -------------------------------------------------- arranging a frame's children

// A document frame: a frame window, its "MDIClient" child and n children of that.
struct DocumentFrame {
    DocumentFrame(Desk& d, int n, const std::u16string& clientClass = u"MDIClient") {
        frame = d.Open({0, 0, 800, 600}, kFrameStyle, 0, 0, u"Frame");
        d.Open({4, 500, 796, 520}, kChildStyle, 0, frame, u"msctls_statusbar32");
        client = d.Open({4, 23, 604, 443}, win::WS_VISIBLE | win::WS_CHILD, kClientEdge, frame, clientClass);
        for (int i = 0; i < n; ++i) kids.insert(kids.begin(), d.Open({10, 10, 60, 60}, kChildStyle, 0, client));
    }
    Hwnd frame = 0, client = 0;
    std::vector<Hwnd> kids;  // stacking order, the top first
};

TEST(Arrangement, TwoColumnsWithTheLargerHalfOnTheLeft) {
    Desk d;
    DocumentFrame f(d, 5);
    const Rect area = d.ClientOf(f.client);
    const engine::Long half = area.right / 2;
    d.wi().vbTileWindows(f.frame);
    for (int k = 0; k < 3; ++k) {
        const engine::Long row = area.bottom / 3;
        EXPECT_EQ(d.InClientOf(f.client, f.kids[k]), (Rect{0, k * row, half, (k + 1) * row})) << k;
    }
    for (int k = 0; k < 2; ++k) {
        const engine::Long row = area.bottom / 2;
        EXPECT_EQ(d.InClientOf(f.client, f.kids[3 + k]), (Rect{half, k * row, area.right, (k + 1) * row})) << k;
    }
    // The tiling ran its own walk to the end.
    EXPECT_EQ(ErrorNumber([&] { d.wi().NextChildWindow(); }), engine::err::kInvalidCall);
}

TEST(Arrangement, TwoChildrenShareTheWholeClientArea) {
    Desk d;
    DocumentFrame f(d, 2);
    const Rect area = d.ClientOf(f.client);
    d.wi().vbTileWindows(f.frame);
    const engine::Long row = area.bottom / 2;
    EXPECT_EQ(d.InClientOf(f.client, f.kids[0]), (Rect{0, 0, area.right, row}));
    EXPECT_EQ(d.InClientOf(f.client, f.kids[1]), (Rect{0, row, area.right, 2 * row}));
}

TEST(Arrangement, HiddenChildrenCountForTheSplitButStayWhereTheyAre) {
    Desk d;
    DocumentFrame f(d, 4);
    d.world().windows.Show(f.kids[1], win::SW_HIDE);
    const Rect area = d.ClientOf(f.client);
    const engine::Long half = area.right / 2;
    d.wi().vbTileWindows(f.frame);
    // The left column was given the top two; only the shown one of them is tiled.
    EXPECT_EQ(d.InClientOf(f.client, f.kids[0]), (Rect{0, 0, half, area.bottom}));
    EXPECT_EQ(d.W(f.kids[1]).moveCount, 0);
    EXPECT_EQ(d.InClientOf(f.client, f.kids[2]).left, half);
    EXPECT_EQ(d.InClientOf(f.client, f.kids[3]).left, half);
}

TEST(Arrangement, AFrameWithoutChildrenOrWithoutAFrameChangesNothing) {
    Desk d;
    DocumentFrame empty(d, 0);
    const Hwnd other = d.Open({5, 5, 50, 50});
    d.wi().vbTileWindows(empty.frame);
    Hwnd start = 0;
    d.wi().FirstChildWindow(start);
    d.wi().vbTileWindows(0);
    d.wi().Cascade(0);
    d.wi().TileHorz(0);
    d.wi().TileVert(0);
    EXPECT_EQ(d.W(other).moveCount, 0);
    EXPECT_EQ(d.W(empty.frame).moveCount, 0);
    // A frame of 0 runs no walk: the one under way goes on.
    EXPECT_EQ(d.wi().NextChildWindow(), empty.frame);
}

TEST(Arrangement, CascadeAndTheTwoTilingsOfTheClientsChildren) {
    Desk d;
    DocumentFrame f(d, 3);
    const Hwnd disabled = d.Open({10, 10, 60, 60}, kChildStyle | kDisabled, 0, f.client);

    d.wi().TileHorz(f.frame);  // one above the other
    EXPECT_EQ(d.InClientOf(f.client, f.kids[0]).top, 0);
    EXPECT_EQ(d.InClientOf(f.client, f.kids[1]).left, 0);
    EXPECT_GT(d.InClientOf(f.client, f.kids[1]).top, 0);

    d.wi().TileVert(f.frame);  // side by side
    EXPECT_EQ(d.InClientOf(f.client, f.kids[1]).top, 0);
    EXPECT_GT(d.InClientOf(f.client, f.kids[1]).left, 0);

    d.wi().Cascade(f.frame);
    // The top of the stacking order ends in front, furthest from the corner.
    const Rect top = d.InClientOf(f.client, f.kids[0]), bottom = d.InClientOf(f.client, f.kids[2]);
    EXPECT_EQ(bottom.left, 0);
    EXPECT_GT(top.left, bottom.left);
    EXPECT_GT(top.top, bottom.top);
    EXPECT_EQ(d.W(disabled).moveCount, 0);  // disabled children are skipped
}

TEST(Arrangement, WithoutAnMdiClientTheTopLevelWindowsAreArranged) {
    Desk d;
    DocumentFrame f(d, 2, u"mdiclient");  // the class name must match exactly
    const Hwnd pinned = d.Open({0, 0, 50, 50}, win::WS_VISIBLE, win::WS_EX_TOPMOST);
    const Hwnd other = d.Open({300, 300, 350, 350});
    d.wi().TileVert(f.frame);
    const Rect screen = d.world().options.screen;
    EXPECT_EQ(d.W(other).rect.top, screen.top);
    EXPECT_EQ(d.W(f.frame).rect.top, screen.top);
    EXPECT_EQ(d.W(other).rect.right - d.W(other).rect.left, (screen.right - screen.left) / 2);
    EXPECT_EQ(d.W(pinned).moveCount, 0);  // topmost windows keep their place
    EXPECT_EQ(d.W(f.kids[0]).moveCount, 0);

    d.wi().vbTileWindows(f.frame);  // the walk covers the desktop
    EXPECT_EQ(d.W(other).rect.left, screen.left);
    EXPECT_EQ(d.W(f.frame).rect.top, screen.top);
}

TEST(Arrangement, TilingRestoresAMaximisedChild) {
    Desk d;
    DocumentFrame f(d, 2);
    d.W(f.kids[0]).style |= win::WS_MAXIMIZE;
    d.wi().vbTileWindows(f.frame);
    EXPECT_FALSE(d.wi().IsWindowStyle(f.kids[0], win::WS_MAXIMIZE));
    EXPECT_EQ(d.InClientOf(f.client, f.kids[0]).bottom, d.ClientOf(f.client).bottom / 2);
}

TEST(Owner, ZeroMeansTheWalksWindow) {
    Desk d;
    const Hwnd owner = d.Open({0, 0, 10, 10});
    sim::WindowSpec s;
    s.owner = owner;
    s.style = win::WS_VISIBLE;
    const Hwnd owned = d.world().windows.Create(s);
    Hwnd start = 0;
    ASSERT_EQ(d.wi().FirstChildWindow(start), owned);
    Hwnd h = 0;
    EXPECT_EQ(d.wi().OwnerHWnd(h), owner);
    EXPECT_EQ(h, owned);
    Hwnd unowned = owner;
    EXPECT_EQ(d.wi().OwnerHWnd(unowned), 0u);
}

}  // namespace
