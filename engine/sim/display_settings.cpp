// The monitors' scales as the user sets them, and the screen as the program
// sees it at them.
#include <string>

#include "engine/sim/sim_peers.h"
#include "engine/sim/sim_world.h"

namespace sim {

Monitors World::MonitorsOf(const Options& options) {
    std::vector<Monitor> all{{options.screen, options.dpi}};
    for (std::size_t i = 0; i < options.otherMonitors.size(); ++i)
        all.push_back({options.otherMonitors[i], i < options.otherDpis.size() ? options.otherDpis[i] : kUnscaledDpi});
    return Monitors(std::move(all));
}

void World::RefuseScalesOfOlderWindows() {
    if (Version().PerMonitorScales()) return;
    Monitors& monitors = windows.monitors();
    const Dword primary = monitors.Primary().dpi;
    for (std::size_t i = 0; i < monitors.All().size(); ++i) {
        if (monitors.All()[i].dpi == primary) continue;
        modelFaults.push_back("monitor " + std::to_string(i) + " has a scale of its own: Windows before 8.1 has one " +
                              "scale for every monitor");
        monitors.SetDpi(i, primary);
    }
}

engine::ScreenMetrics World::ProgramScreen() const {
    const DpiView view = ProgramView();
    const Monitor& primary = windows.monitors().Primary();
    const Rect seen = view.ToProgram(primary.rect, primary.dpi);
    engine::ScreenMetrics metrics;
    metrics.twipsPerPixelX = metrics.twipsPerPixelY = 1440.0 / view.SeenDpi(primary.dpi);
    metrics.width = (seen.right - seen.left) * metrics.twipsPerPixelX;
    metrics.height = (seen.bottom - seen.top) * metrics.twipsPerPixelY;
    return metrics;
}

void World::SetProgramAwareness(Awareness awareness) {
    programAwareness_ = awareness;
    screen = ProgramScreen();
}

void World::ChangeScale(std::size_t monitor, Dword dpi) {
    if (!Version().PerMonitorScales()) {
        modelFaults.push_back("Windows before 8.1 takes a new scale only at the next log-on");
        return;
    }
    windows.monitors().SetDpi(monitor, dpi);
    screen = ProgramScreen();
    Deliver([&] {
        for (Hwnd h : windows.TopLevel()) windows.Rescale(h);
    });
    RestartShell();
    ToEveryForm(&SimFormPeer::DeliverDisplayChanged);
}

}  // namespace sim
