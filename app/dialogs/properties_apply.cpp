// [Options] ApplyAtOnce: what Properties' OK wrote into Trevo.ini takes effect
// at once, as the next start would take it, and no window is left beyond the
// last desktop.
#include <algorithm>

#include "app/frmTrevo.h"
#include "app/session/windows_family.h"
#include "desktop/window_shift.h"

namespace trevo {
using engine::Long;

void FrmTrevo::ApplyWrittenSettings() {
    StartSettings written;
    try {
        written = ReadStartSettings(*bas_.gcIni, engine_.platform(), bas_.IniPath());
    } catch (const BadSetting& bad) {
        // The next start would stop at it: said now, and the running desktops stay.
        engine_.MsgBox(texts_.Say(bad.Message()), engine::kMbIconError, u"Trevo");
        return;
    }
    const Long wasActive = bas_.gOldDesk;
    const engine::String shownBefore = bas_.gWallpapers[static_cast<size_t>(wasActive - 1)];
    const desktop::WallpaperFit fitBefore{bas_.gKeepSize, bas_.gWallWidth, bas_.gWallHeight};
    if (written.deskCount != bas_.gDeskCount) ChangeDeskCount(written.deskCount);
    Adopt(written);
    for (Long n = 1; n <= bas_.gDeskCount; ++n) desk(n)->Wallpaper(written.wallpapers[static_cast<size_t>(n - 1)]);

    // The active desktop shows its picture now; the others theirs at their next visit.
    const Long active = bas_.gOldDesk;
    const desktop::SwitchOrder order = OrderTo(active);
    const desktop::WallpaperFit& fit = order.fit;
    const bool fitChanged =
        fit.keepSize != fitBefore.keepSize || fit.width != fitBefore.width || fit.height != fitBefore.height;
    if (active != wasActive) desk(active)->TrayOn(true, order);
    if (active != wasActive || fitChanged || bas_.gWallpapers[static_cast<size_t>(active - 1)] != shownBefore)
        desk(active)->SetWallpaper(order);
}

void FrmTrevo::ChangeDeskCount(Long count) {
    engine::Platform& platform = engine_.platform();
    const Long had = bas_.gDeskCount;
    // Windows minimised since the last switch are given their desktops first.
    pinned_.ForgetClosed(platform);
    if (everyday_.keepMinimised)
        minimised_.Update(*bas_.gcWinInterface, platform, neverMove_, pinned_, CurrentBands());
    const Long lastKept = std::min(had, count);
    const Long active = std::min(bas_.gOldDesk, count);
    MoveForCount(CurrentBands(), {lastKept, active});
    minimised_.JoinDesktop(lastKept);
    bas_.gNewDesk = bas_.gOldDesk = active;

    // The icons of the desktops that go, from the highest down, as at Exit.
    for (Long n = had; n > count; --n) {
        auto& slot = mDesks[static_cast<size_t>(n - 1)];
        slot->CloseMe();
        closedDesks_.push_back(std::move(slot));  // its menu may be the one running now
    }
    bas_.gDeskCount = count;
    if (count < had)
        mDesks.resize(static_cast<size_t>(count));
    else
        CreateDesktops(FamilyOf(*bas_.gcVer).iconsFromTop);
}

void FrmTrevo::MoveForCount(const desktop::Bands& now, const desktop::CountChange& change) {
    engine::Platform& platform = engine_.platform();
    const std::vector<desktop::WindowShift> shifts = desktop::PlanCountChange(
        *bas_.gcWinInterface, platform, neverMove_, {&pinned_, everyday_.keepMinimised}, now, change);
    if (shifts.empty() && change.active == now.active) return;
    sizes_.BeforeShift(platform, shifts, now);
    desktop::ShiftWindows(platform, shifts, RecordWitness(change.active, now.width));
    sizes_.AfterShift(platform);
    record_->WriteSizes(sizes_.KeptSizes());
}

}  // namespace trevo
