// Cost of one desktop switch on the simulated Windows, for a given number of
// visible windows and never-move patterns. Under callgrind only the switch itself
// is counted; run bench/run for the table.
#include <valgrind/callgrind.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "app/frmTrevo.h"
#include "engine/sim/sim_engine.h"
#include "engine/text.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: switch_bench WINDOWS PATTERNS\n");
        return 2;
    }
    const int windows = std::atoi(argv[1]);
    const int patterns = std::atoi(argv[2]);

    std::random_device rd;
    const auto root = std::filesystem::temp_directory_path() / ("trevo-bench-" + std::to_string(rd()));
    std::filesystem::create_directories(root / "C" / "Trevo");
    {
        std::ofstream ini(root / "C" / "Trevo" / "Trevo.ini", std::ios::binary);
        ini << "[Desktops]\r\nMax=2\r\n[Size]\r\nKeepSize=0\r\nWidth=400\r\nHeight=300\r\n[NoChange-XP]\r\n";
        // Patterns that name no window: every window is tested against all of them.
        for (int k = 1; k <= patterns; ++k)
            ini << (k < 10 ? "0" : "") << k << "=title(Nothing like " << k << "*)class(NoSuchClass" << k << ")\r\n";
    }
    sim::Options options;
    options.root = root;
    options.taskbar = false;
    sim::World world(options);
    sim::SimEngine engine(world);
    for (int i = 0; i < windows; ++i) {
        sim::WindowSpec request;
        request.title = u"Document " + engine::DecimalText(i) + u" - Editor";
        request.className = u"EditorWindow";
        request.rect = {10 + i % 500, 10 + i % 300, 400 + i % 500, 300 + i % 300};
        request.style = engine::win::WS_VISIBLE;
        world.windows.Create(request);
    }
    trevo::FrmTrevo app(engine);
    world.Deliver([&] { engine.RunEvent([&] { app.form().Load(); }); });
    if (world.ended) return 1;

    const engine::Hwnd desk2 = app.desk(2)->form().hWnd();
    const auto start = std::chrono::steady_clock::now();
    CALLGRIND_START_INSTRUMENTATION;
    world.TrayMessage(desk2, 0, engine::win::WM_LBUTTONUP);
    CALLGRIND_STOP_INSTRUMENTATION;
    const auto elapsed = std::chrono::steady_clock::now() - start;

    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    if (app.bas().gOldDesk != 2) return 1;
    std::printf("%d windows, %d patterns: %lld us\n", windows, patterns,
                static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count()));
    return 0;
}
