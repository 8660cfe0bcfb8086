// visit_timer.exe --windows N --desks D,... [--rounds R] [--settle MS]
//                 [--forget-kept] [--second-visits]
//
// Times Trevo's visits of desktops D (each from desktop 1 and back), with the
// N windows of bench_windows.exe on screen: for each visit, from the click to
// the moment every bench window lies one screen further (moved_ms), and to the
// end of Trevo's handling of the click, wallpaper included (done_ms). The order
// of the desktops alternates from round to round, so that the visits lie as
// close to each other in time as they can.
// --forget-kept deletes the bitmaps Trevo keeps (KeepWallpapers) before each
// visit, so that each is a first visit. --second-visits follows each visit,
// once back on desktop 1, with a second one, then times the wallpaper call
// alone on the bitmap kept for that desktop, when there is one (the call Trevo
// makes, with its flags), and the same call setting no wallpaper. Answers in
// JSON lines.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "ansi_path.h"
#include "arguments.h"
#include "bench_window_set.h"
#include "engine/win32/handles.h"
#include "json_out.h"
#include "sample_set.h"
#include "stopwatch.h"
#include "trevo_desks.h"
#include "trevo_tray.h"

namespace winbench {
namespace {

constexpr const char* kTool = "visit_timer";
constexpr int kMostDesks = 5;
constexpr UINT kAllIniFlags = 0xFFFFFFFFu;  // what Trevo passes with the wallpaper

struct VisitSamples {
    SampleSet moved, done;
};

struct DeskSamples {
    VisitSamples first, second;
    SampleSet alone, aloneNone;
};

// The click, sent from a thread of its own so that the caller can watch the
// windows while Trevo handles it.
struct ClickJob {
    HWND tray = nullptr;
    bool answered = false;
    long long doneAt = 0;
};

DWORD WINAPI SendClick(void* parameter) {
    ClickJob& job = *static_cast<ClickJob*>(parameter);
    job.answered = ClickTrayIcon(job.tray, kAnswerMs);
    job.doneAt = Stopwatch::Now();
    return 0;
}

bool TimedVisit(TrevoDesks& desks, HWND tray, LONG dx, VisitSamples* into, std::string& why) {
    ClickJob job;
    job.tray = tray;
    const long long start = Stopwatch::Now();
    const win32::UniqueHandle thread(CreateThread(nullptr, 0, SendClick, &job, 0, nullptr));
    if (!thread) return TrevoDesks::Failed(why, "no thread for the click");
    const std::optional<long long> moved = desks.Windows().WaitAllMovedBy(dx, kAnswerMs);
    WaitForSingleObject(thread.get(), INFINITE);
    if (!job.answered) return TrevoDesks::Failed(why, "Trevo did not answer a click");
    if (!moved) return TrevoDesks::Failed(why, "the windows did not all move by " + std::to_string(dx));
    if (!desks.Checked(dx, "Trevo's switch", why)) return false;
    if (into) {
        into->moved.Add(desks.Clock().Ms(start, *moved));
        into->done.Add(desks.Clock().Ms(start, job.doneAt));
    }
    return true;
}

// Where Trevo keeps each desktop's fitted bitmap: the user's local
// application-data folder.
std::wstring KeptFolder() {
    wchar_t path[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, path))) return L"";
    return std::wstring(path) + L"\\Trevo\\";
}

std::wstring KeptBitmap(const std::wstring& folder, int desk) {
    return folder + L"Desktop" + std::to_wstring(desk) + L".bmp";
}

void ForgetKept(const std::wstring& folder) {
    for (int desk = 1; desk <= kMostDesks; ++desk) DeleteFileW(KeptBitmap(folder, desk).c_str());
    DeleteFileW((folder + L"Wallpapers.ini").c_str());
}

bool TimeWallpaperCall(std::string path, const Stopwatch& clock, SampleSet& into, std::string& why) {
    const long long start = Stopwatch::Now();
    if (!SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, path.data(), kAllIniFlags))
        return TrevoDesks::Failed(why, "the wallpaper call alone failed");
    into.Add(clock.MsSince(start));
    return true;
}

// The call on the kept bitmap, then the same call that sets no wallpaper (what
// a desktop without a picture costs of a click). Not timed for a desktop that
// has no kept bitmap: the caller sees the missing samples.
bool TimeCallsAlone(const std::wstring& bitmap, const Stopwatch& clock, DeskSamples& into, std::string& why) {
    if (GetFileAttributesW(bitmap.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    return TimeWallpaperCall(AnsiPath(bitmap), clock, into.alone, why) &&
           TimeWallpaperCall("", clock, into.aloneNone, why);
}

// "2,3,4" -> {2, 3, 4}; empty when a number is not a desktop above 1.
std::vector<int> DeskList(const std::wstring& text) {
    std::vector<int> desks;
    size_t at = 0;
    while (at <= text.size()) {
        const size_t comma = std::min(text.find(L',', at), text.size());
        const std::wstring word = text.substr(at, comma - at);
        if (word.size() != 1 || word[0] < L'2' || word[0] > L'0' + kMostDesks) return {};
        desks.push_back(word[0] - L'0');
        at = comma + 1;
    }
    return desks;
}

void PrintVisits(const char* kind, int desk, const VisitSamples& samples) {
    JsonLine()
        .Text("kind", kind)
        .Integer("desk", desk)
        .Numbers("moved_ms", samples.moved.Values())
        .Numbers("done_ms", samples.done.Values())
        .Print();
}

int Run(const Arguments& args) {
    const std::optional<long> windowCount = args.Number(L"--windows", 0, 1, 2000);
    const std::optional<long> rounds = args.Number(L"--rounds", 12, 1, 1000);
    const std::optional<long> settle = args.Number(L"--settle", 20, 0, 10000);
    const std::vector<int> visited = DeskList(args.Value(L"--desks").value_or(L""));
    const auto& words = args.Words();
    const bool forget = std::find(words.begin(), words.end(), L"--forget-kept") != words.end();
    const bool second = std::find(words.begin(), words.end(), L"--second-visits") != words.end();
    if (!windowCount || *windowCount == 0 || !rounds || !settle || visited.empty())
        return Fail(kTool,
                    "usage: visit_timer.exe --windows N --desks D,... [--rounds R] [--settle MS] [--forget-kept] "
                    "[--second-visits]");
    const std::wstring kept = KeptFolder();
    if ((forget || second) && kept.empty()) return Fail(kTool, "no local application-data folder");

    std::optional<BenchWindowSet> windows = BenchWindowSet::WaitFor(static_cast<size_t>(*windowCount), 120000);
    if (!windows) return Fail(kTool, "the window host did not show " + std::to_string(*windowCount) + " windows");
    const std::vector<HWND> trays = TrevoTrayWindows();
    TrevoDesks desks(*windows, GetSystemMetrics(SM_CXSCREEN), static_cast<DWORD>(*settle));
    std::string why;
    if (!desks.MapDesks(trays, why)) return Fail(kTool, why);
    for (int desk : visited)
        if (!desks.Has(desk)) return Fail(kTool, "Trevo has no desktop " + std::to_string(desk));

    std::map<int, DeskSamples> samples;
    const LONG width = desks.Width();
    auto visit = [&](int desk, VisitSamples& into) {
        const LONG away = -(desk - 1) * width;
        return TimedVisit(desks, desks.Desk(desk), away, &into, why) &&
               TimedVisit(desks, desks.Desk(1), -away, nullptr, why);
    };
    for (long round = 0; round < *rounds; ++round) {
        std::vector<int> order = visited;
        if (round % 2) std::reverse(order.begin(), order.end());
        for (int desk : order) {
            DeskSamples& mine = samples[desk];
            if (forget) ForgetKept(kept);
            if (!visit(desk, mine.first)) return Fail(kTool, why);
            if (second && (!visit(desk, mine.second) ||
                           !TimeCallsAlone(KeptBitmap(kept, desk), desks.Clock(), mine, why)))
                return Fail(kTool, why);
        }
    }

    for (const auto& [desk, mine] : samples) {
        PrintVisits("visits", desk, mine.first);
        if (!second) continue;
        PrintVisits("second_visits", desk, mine.second);
        JsonLine()
            .Text("kind", "call_alone")
            .Integer("desk", desk)
            .Numbers("ms", mine.alone.Values())
            .Numbers("none_ms", mine.aloneNone.Values())
            .Print();
    }
    return 0;
}

}  // namespace
}  // namespace winbench

int wmain(int argc, wchar_t** argv) { return winbench::Run(winbench::Arguments(argc, argv)); }
