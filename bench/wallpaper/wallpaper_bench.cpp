// wallpaper_bench PICTURE WIDTH HEIGHT RUNS
//
// Times the click that makes desktop 2 active when its wallpaper is PICTURE:
// loaded, fitted to WIDTH x HEIGHT (or kept at its own size when both are 0) and
// written to Trevo.bmp, on the simulated Windows with no other window. Prints
// the median and the fastest of RUNS clicks in milliseconds, as one JSON line.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/frmTrevo.h"
#include "engine/sim/sim_engine.h"
#include "engine/sim/sim_picture.h"

namespace {

namespace fs = std::filesystem;

// A folder of its own, removed afterwards.
class Scratch {
public:
    Scratch() {
        std::random_device random;
        path_ = fs::temp_directory_path() / ("trevo-wallpaper-bench-" + std::to_string(random()));
        fs::create_directories(path_ / "C" / "Trevo");
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

double Milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: wallpaper_bench PICTURE WIDTH HEIGHT RUNS\n");
        return 2;
    }
    const fs::path picture = fs::absolute(argv[1]);
    const int width = std::atoi(argv[2]), height = std::atoi(argv[3]), runs = std::atoi(argv[4]);
    if (!fs::is_regular_file(picture) || width < 0 || height < 0 || runs < 1) {
        std::fprintf(stderr, "wallpaper_bench: no picture %s, or a size or run count out of range\n", argv[1]);
        return 2;
    }
    const bool fit = width > 0 && height > 0;

    Scratch scratch;
    const fs::path copied = scratch.path() / "C" / "pics" / ("wallpaper" + picture.extension().string());
    fs::create_directories(copied.parent_path());
    fs::copy_file(picture, copied);
    {
        std::ofstream ini(scratch.path() / "C" / "Trevo" / "Trevo.ini", std::ios::binary);
        ini << "[Desktops]\r\nMax=2\r\n[Wallpaper]\r\n1=\r\n2=C:\\pics\\" << copied.filename().string()
            << "\r\n[Size]\r\nKeepSize=" << (fit ? "-1" : "0") << "\r\nWidth=" << width << "\r\nHeight=" << height
            << "\r\n";
    }
    sim::Options options;
    options.root = scratch.path();
    options.taskbar = false;
    options.screen = {0, 0, 1920, 1080};
    sim::World world(options);
    sim::SimEngine engine(world);
    trevo::FrmTrevo app(engine);
    world.Deliver([&] { engine.RunEvent([&] { app.form().Load(); }); });
    if (world.ended) {
        std::fprintf(stderr, "wallpaper_bench: Trevo did not start\n");
        return 1;
    }

    const engine::Hwnd desk1 = app.desk(1)->form().hWnd(), desk2 = app.desk(2)->form().hWnd();
    const fs::path written = scratch.path() / "C" / "Trevo" / "Trevo.bmp";
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        std::error_code ec;
        fs::remove(written, ec);
        const auto start = std::chrono::steady_clock::now();
        world.TrayMessage(desk2, 0, engine::win::WM_LBUTTONUP);
        times.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
        if (app.bas().gOldDesk != 2 || !fs::exists(written)) {
            std::fprintf(stderr, "wallpaper_bench: the click made no wallpaper\n");
            return 1;
        }
        world.TrayMessage(desk1, 0, engine::win::WM_LBUTTONUP);  // desktop 1 has none: nothing to fit
    }
    const engine::PicturePtr result = sim::LoadPictureFile(written);
    std::sort(times.begin(), times.end());
    std::printf("{\"median_ms\": %.1f, \"min_ms\": %.1f, \"runs\": %d, \"width\": %d, \"height\": %d}\n",
                times[times.size() / 2], times.front(), runs, static_cast<int>(result->PixelWidth()),
                static_cast<int>(result->PixelHeight()));
    return 0;
}
