// switch_timer.exe --windows N [--patterns P] [--rounds R] [--settle MS]
//                  [--desktop1-key ID --desktop2-key ID]
//                  [--wallpaper-picture PATH --wallpaper-bitmap PATH]
//
// Times Trevo's desktop switch against the contract's selection of
// contract_click.h (every desktop's icon told its state around the reference
// walk of reference_switch.h), in turns, with the N windows of bench_windows.exe
// on screen and Trevo running with P never-move patterns that match none of
// them. Each round: Trevo to desktop 2 and back by clicks, the reference to its
// desktop 2 and back (one screen left and back), and,
// given the ids of Trevo's Desktop1 and Desktop2 hotkeys, Trevo to desktop 2
// and back by those keys; the reference pair comes between the two others,
// whose order alternates, so that both lie as close to it in time. Then a click
// on the desktop already active, and, with patterns, the walk alone without name
// reads and with title and class reads.
// After every switch the bench windows must all have moved by the expected
// distance, or the tool stops with status 1: a switch that moved nothing was
// not timed. Given a picture and a bitmap path, each of the reference's
// selections also decodes the picture and writes it as the bitmap, then sets
// that (as Trevo does for a desktop whose wallpaper keeps its own size).
// Answers in JSON lines (one per kind of timing).
#include <windows.h>

#include <map>
#include <string>

#include "ansi_path.h"
#include "arguments.h"
#include "bench_window_set.h"
#include "contract_click.h"
#include "json_out.h"
#include "reference_switch.h"
#include "sample_set.h"
#include "stopwatch.h"
#include "trevo_desks.h"
#include "trevo_tray.h"

namespace winbench {
namespace {

constexpr const char* kTool = "switch_timer";

struct PhaseSamples {
    SampleSet decode, write, wallpaper, walk, rects, batch, icons, selection;
};

// Trevo's desktops beside the contract's selection and the reference walk.
class SwitchBench : public TrevoDesks {
public:
    using TrevoDesks::TrevoDesks;

    // The contract's selection of desktop `desk`, the windows moving by dx.
    bool ContractSelect(ContractDesks& reference, int desk, LONG dx, NameReads reads, const WallpaperJob* wallpaper,
                        SampleSet& into, PhaseSamples& phases, std::string& why) {
        const ContractPhases done = reference.Select(desk, dx, reads, Clock(), wallpaper);
        if (!done.selection.batchDone) return Failed(why, "the reference batch was refused");
        if (wallpaper && !done.selection.fitting.written) return Failed(why, "the reference wrote no bitmap");
        if (!Checked(dx, "the reference selection", why)) return false;
        into.Add(done.totalMs);
        visibleWindows_ = done.selection.moved;
        phases.icons.Add(done.iconsMs);
        phases.selection.Add(done.selection.totalMs);
        phases.decode.Add(done.selection.fitting.decodeMs);
        phases.write.Add(done.selection.fitting.writeMs);
        phases.wallpaper.Add(done.selection.wallpaperMs);
        phases.walk.Add(done.selection.walkMs);
        phases.rects.Add(done.selection.rectsMs);
        phases.batch.Add(done.selection.batchMs);
        return true;
    }

    // The walk and the moves alone, without the icons.
    bool WalkOnly(LONG dx, NameReads reads, SampleSet& into, std::string& why) {
        const ReferencePhases done = ReferenceSwitch(dx, reads, Clock());
        if (!done.batchDone) return Failed(why, "the reference batch was refused");
        if (!Checked(dx, "the reference move", why)) return false;
        into.Add(done.totalMs);
        return true;
    }

    size_t VisibleWindows() const { return visibleWindows_; }

private:
    size_t visibleWindows_ = 0;
};

void PrintSummary(const char* kind, const SampleSet& samples) {
    JsonLine()
        .Text("kind", kind)
        .Number("median_ms", samples.Median())
        .Number("min_ms", samples.Min())
        .Number("max_ms", samples.Max())
        .Integer("samples", static_cast<long long>(samples.Count()))
        .Print();
}

int Run(const Arguments& args) {
    const std::optional<long> windowCount = args.Number(L"--windows", 0, 1, 2000);
    const std::optional<long> patterns = args.Number(L"--patterns", 0, 0, 999);
    const std::optional<long> rounds = args.Number(L"--rounds", 10, 1, 1000);
    const std::optional<long> settle = args.Number(L"--settle", 20, 0, 10000);
    const std::optional<long> key1 = args.Number(L"--desktop1-key", 0, 1, 64);
    const std::optional<long> key2 = args.Number(L"--desktop2-key", 0, 1, 64);
    const std::optional<std::wstring> picture = args.Value(L"--wallpaper-picture");
    const std::optional<std::wstring> bitmap = args.Value(L"--wallpaper-bitmap");
    if (!windowCount || *windowCount == 0 || !patterns || !rounds || !settle || !key1 || !key2 ||
        (*key1 == 0) != (*key2 == 0) || (*key1 != 0 && *key1 == *key2) || picture.has_value() != bitmap.has_value())
        return Fail(kTool,
                    "usage: switch_timer.exe --windows N [--patterns P] [--rounds R] [--settle MS] "
                    "[--desktop1-key ID --desktop2-key ID] [--wallpaper-picture PATH --wallpaper-bitmap PATH]");
    std::optional<WallpaperJob> wallpaper;
    if (picture) {
        if (!StartImaging()) return Fail(kTool, "COM could not start for the imaging codecs");
        wallpaper = WallpaperJob{*picture, *bitmap, AnsiPath(*bitmap)};
    }
    const WallpaperJob* job = wallpaper ? &*wallpaper : nullptr;
    const bool byKeys = *key1 != 0;

    std::optional<BenchWindowSet> windows = BenchWindowSet::WaitFor(static_cast<size_t>(*windowCount), 120000);
    if (!windows) return Fail(kTool, "the window host did not show " + std::to_string(*windowCount) + " windows");
    const std::vector<HWND> trays = TrevoTrayWindows();
    if (trays.size() < 2) return Fail(kTool, "Trevo is not running with two desktops or more");
    const HWND controller = byKeys ? TrevoControllerWindow() : nullptr;
    if (byKeys && controller == nullptr) return Fail(kTool, "Trevo's controller window is not there");
    const LONG width = GetSystemMetrics(SM_CXSCREEN);

    SwitchBench bench(*windows, width, static_cast<DWORD>(*settle));
    std::string why;
    if (!bench.MapDesks(trays, why)) return Fail(kTool, why);
    ContractDesks contract(static_cast<int>(trays.size()));
    if (!contract.Valid()) return Fail(kTool, "the reference's icons could not be added");

    const NameReads reads = *patterns > 0 ? NameReads::Title : NameReads::None;
    SampleSet trevo, reference, byKey, sameDesk, noNames, bothNames;
    PhaseSamples phases;
    HWND desk1 = bench.Desk(1), desk2 = bench.Desk(2);
    for (long round = 0; round < *rounds; ++round) {
        auto trevoPair = [&] {
            return bench.TrevoSwitch(desk2, -width, &trevo, why) && bench.TrevoSwitch(desk1, width, &trevo, why);
        };
        auto referencePair = [&] {
            return bench.ContractSelect(contract, 2, -width, reads, job, reference, phases, why) &&
                   bench.ContractSelect(contract, 1, width, reads, job, reference, phases, why);
        };
        auto walkPair = [&](NameReads which, SampleSet& into) {
            return bench.WalkOnly(-width, which, into, why) && bench.WalkOnly(width, which, into, why);
        };
        auto keyPair = [&] {
            return !byKeys || (bench.TrevoKeySwitch(controller, static_cast<int>(*key2), -width, byKey, why) &&
                               bench.TrevoKeySwitch(controller, static_cast<int>(*key1), width, byKey, why));
        };
        // Without keys, clicks and reference simply take turns at going first.
        const bool pairsDone = round % 2 == 0
                                   ? trevoPair() && referencePair() && keyPair()
                                   : keyPair() && referencePair() && trevoPair();
        if (!pairsDone || !bench.TrevoSwitch(desk1, 0, &sameDesk, why)) return Fail(kTool, why);
        if (*patterns > 0 &&
            (!walkPair(NameReads::None, noNames) || !walkPair(NameReads::TitleAndClass, bothNames)))
            return Fail(kTool, why);
    }

    JsonLine()
        .Text("kind", "setup")
        .Integer("windows", *windowCount)
        .Integer("patterns", *patterns)
        .Integer("rounds", *rounds)
        .Integer("screen_width", width)
        .Integer("desktops", static_cast<long long>(trays.size()))
        .Integer("visible_windows_moved", static_cast<long long>(bench.VisibleWindows()))
        .Print();
    PrintSummary("trevo", trevo);
    PrintSummary("reference", reference);
    if (byKeys) PrintSummary("trevo_hotkey", byKey);
    PrintSummary("trevo_same_desktop", sameDesk);
    // Switch k of Trevo, by click and by key, and move k of the reference come
    // from the same round and go the same way.
    JsonLine pairs;
    pairs.Text("kind", "pairs").Numbers("trevo_ms", trevo.Values()).Numbers("reference_ms", reference.Values());
    if (byKeys) pairs.Numbers("hotkey_ms", byKey.Values());
    pairs.Print();
    if (!noNames.Empty()) PrintSummary("reference_no_names", noNames);
    if (!bothNames.Empty()) PrintSummary("reference_title_and_class", bothNames);
    JsonLine()
        .Text("kind", "reference_phases")
        .Number("icons_ms", phases.icons.Median())
        .Number("decode_ms", phases.decode.Median())
        .Number("write_ms", phases.write.Median())
        .Number("selection_ms", phases.selection.Median())
        .Number("wallpaper_ms", phases.wallpaper.Median())
        .Number("walk_ms", phases.walk.Median())
        .Number("rects_ms", phases.rects.Median())
        .Number("batch_ms", phases.batch.Median())
        .Print();
    return 0;
}

}  // namespace
}  // namespace winbench

int wmain(int argc, wchar_t** argv) { return winbench::Run(winbench::Arguments(argc, argv)); }
