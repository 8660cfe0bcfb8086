#include "app/frmTrevo.h"

#include "lib/ansi_path.h"

#include "engine/error.h"
#include "engine/scoped_flag.h"
#include "engine/text.h"

// The controller form as the Properties dialog: where it opens, how its controls
// answer the user, and what OK and Cancel do.
namespace trevo {
using engine::Long;
using engine::String;

namespace {
constexpr Long kMinWidth = 400;
constexpr Long kMinHeight = 300;
constexpr engine::Dword kChooserFlags = 0x4 | 0x80000 | 0x200000;  // hide read-only, explorer, long names
constexpr engine::Dword kChooserRecordSize = 76;
constexpr engine::Dword kChooserRoom = 32767;
}  // namespace

void FrmTrevo::PropertiesClick() {
    if (selecting_) {  // opens once the running switch is done
        propertiesHeld_ = true;
        return;
    }
    // One dialog at a time.
    if (SettingsOpen()) {
        settings_->BringToFront();
        return;
    }
    // Icon menus keep working while the dialog waits: never show it twice.
    if (form_.Visible()) {
        form_.BringToFront();
        return;
    }
    engine::Platform& platform = engine_.platform();
    const engine::ScreenMetrics screen = engine_.Screen();
    const double width = form_.Width(), height = form_.Height();
    const double tx = screen.twipsPerPixelX, ty = screen.twipsPerPixelY;

    const engine::Hwnd taskbar = platform.FindWindowExA(0, 0, "Shell_TrayWnd", nullptr);
    const engine::Hwnd notifyArea = taskbar ? platform.FindWindowExA(taskbar, 0, "TrayNotifyWnd", nullptr) : 0;
    engine::Rect work;
    const bool placed = taskbar && notifyArea &&
                        platform.SystemParametersInfoA(engine::win::SPI_GETWORKAREA, 0, &work, 0) &&
                        work.right > work.left && work.bottom > work.top;
    double left, top;
    if (placed && work.left != 0) {  // task bar on the left
        left = work.left * tx;
        top = work.bottom * ty - height;
    } else if (placed && work.top != 0) {  // task bar at the top
        left = work.right * tx - width;
        top = work.top * ty;
    } else if (placed) {  // at the bottom, on the right, or hidden
        left = work.right * tx - width;
        top = work.bottom * ty - height;
    } else {
        // No notification area to stand by (or no work area known): the centre.
        left = static_cast<double>(static_cast<long long>(engine::RoundHalfEven(screen.width - width)) / 2);
        top = static_cast<double>(static_cast<long long>(engine::RoundHalfEven(screen.height - height)) / 2);
    }
    form_.Move(left, top);
    form_.ShowModal();
    // OK asked for its settings at once: applied with the dialog gone, as a
    // selection, so that clicks and menu choices meanwhile wait for them.
    if (std::exchange(applyHeld_, false)) WhileSelecting([this] { ApplyWrittenSettings(); });
}

void FrmTrevo::CountChanged() {
    const Long count = dlg_.HScr->Value();
    dlg_.txtDesktops->SetText(engine::DecimalText(count));
    for (Long i = 1; i <= 5; ++i) dlg_.optNumber[static_cast<size_t>(i - 1)]->SetEnabled(i <= count);
    dlg_.optNumber[0]->SetValue(true);
}

void FrmTrevo::SelectPanel(int n) {
    for (int i = 0; i < 5; ++i) dlg_.Container[static_cast<size_t>(i)]->SetVisible(i == n);
}

void FrmTrevo::WallpaperTextChanged(int i) {
    if (!dlg_.txtWallpaper[static_cast<size_t>(i)]->Text().empty()) return;
    engine::PictureBox& preview = *dlg_.Preview[static_cast<size_t>(i)];
    preview.SetAutoRedraw(true);
    preview.Cls();
    preview.SetAutoRedraw(false);
}

void FrmTrevo::SizeRuleChanged() {
    const bool ticked = dlg_.chkSize->Value() == 1;
    dlg_.txtWidth->SetEnabled(ticked);
    dlg_.txtHeight->SetEnabled(ticked);
}

void FrmTrevo::PaintPreview(int i, const String& path) {
    engine::PictureBox& preview = *dlg_.Preview[static_cast<size_t>(i)];
    preview.SetAutoRedraw(true);
    try {
        // A path that names no loadable picture leaves the preview blank.
        const engine::PicturePtr picture = engine_.LoadPicture(path);
        preview.PaintPicture(picture, 0, 0, preview.ScaleWidth(), preview.ScaleHeight(), engine::kSrcCopy);
    } catch (const engine::RuntimeError&) {
    }
    preview.SetAutoRedraw(false);
}

void FrmTrevo::ChoosePicture(int i) {
    // No input reaches the dialog while the chooser is open (it has no owner).
    form_.SetEnabled(false);
    const engine::ScopeExit enableAgain([this] { form_.SetEnabled(true); });

    engine::Platform& platform = engine_.platform();
    // The wide chooser: the answer of the A one names no file where the code
    // page cannot spell the name.
    const std::u16string filter(u"(bmp)\0*.bmp\0(all)\0*.*\0\0", 23);
    String file(kChooserRoom + 1, u'\0');
    engine::OpenFileNameW record;
    record.lStructSize = kChooserRecordSize;
    record.lpstrFilter = filter.data();
    record.nFilterIndex = 0;
    record.lpstrFile = file.data();
    record.nMaxFile = kChooserRoom;
    record.Flags = kChooserFlags;
    if (!platform.GetOpenFileNameW(&record)) return;

    // Trevo.ini and the start's picture loading spell the path in the code
    // page: where it cannot, the picture's short name is kept instead.
    const String chosen = engine::CutAtNul(file);
    const std::optional<String> ready = lib::AnsiReadyPath(platform, chosen);
    if (!ready) {
        engine_.MsgBox(texts_.Say(Phrase(IDS_PICTURE_NAME_UNSPELLABLE, {chosen})), engine::kMbIconExclamation,
                       u"Trevo");
        return;  // the previous picture stays
    }
    const size_t k = static_cast<size_t>(i);
    dlg_.txtWallpaper[k]->SetText(*ready);
    // Any file can be chosen; one that is no picture leaves the preview blank.
    engine::PictureBox& preview = *dlg_.Preview[k];
    preview.SetAutoRedraw(true);
    preview.Cls();
    preview.SetAutoRedraw(false);
    PaintPreview(i, dlg_.txtWallpaper[k]->Text());
}

namespace {
// The whole number in a size box, raised to the minimum; an empty box or one with
// more digits than a number can hold becomes the minimum too.
void RaiseToMinimum(engine::TextBox& box, Long minimum) {
    Long value = minimum - 1;
    try {
        value = engine::CLng(box.Text());
    } catch (const engine::RuntimeError&) {
    }
    if (value < minimum) box.SetText(engine::DecimalText(minimum));
}
}  // namespace

void FrmTrevo::WidthLeft() { RaiseToMinimum(*dlg_.txtWidth, kMinWidth); }
void FrmTrevo::HeightLeft() { RaiseToMinimum(*dlg_.txtHeight, kMinHeight); }

void FrmTrevo::Commit() {
    engine::Platform& platform = engine_.platform();
    lib::ClsKwini& ini = *bas_.gcIni;
    const String& file = bas_.IniPath();
    const bool keepSize = dlg_.chkSize->Value() == 1;
    const Long count = engine::CLng(dlg_.txtDesktops->Text());
    // A write that changes nothing first: a file that refuses it (read-only, in
    // use) stays as it was, and the dialog keeps what the user entered.
    bool saved =
        ini.vbWritePrivateProfileString(u"Desktops", u"Max", ini.vbGetPrivateProfileString(u"Desktops", u"Max", file),
                                        file);
    // The values go into a copy, which then takes the file's place in one step:
    // a Trevo killed on the way leaves the old file or the new one, whole. A
    // folder that takes no new file has them written into the file itself.
    const String draft = file + u".new";
    const bool drafted = saved && platform.CopyFileW(file.c_str(), draft.c_str(), false);
    const String& target = drafted ? draft : file;
    saved = saved && ini.vbWritePrivateProfileString(u"Desktops", u"Max", dlg_.txtDesktops->Text(), target);
    for (Long n = 1; saved && n <= kMaxDesks; ++n) {
        const String path = n <= count ? dlg_.txtWallpaper[static_cast<size_t>(n - 1)]->Text() : String();
        saved = ini.vbWritePrivateProfileString(u"Wallpaper", engine::DecimalText(n), path, target);
    }
    saved = saved && ini.vbWritePrivateProfileString(u"Size", u"KeepSize", keepSize ? u"-1" : u"0", target);
    saved = saved &&
            ini.vbWritePrivateProfileString(u"Size", u"Width", keepSize ? dlg_.txtWidth->Text() : u"400", target);
    saved = saved &&
            ini.vbWritePrivateProfileString(u"Size", u"Height", keepSize ? dlg_.txtHeight->Text() : u"300", target);
    if (drafted) {
        saved = saved && platform.MoveFileExW(draft.c_str(), file.c_str(),
                                              engine::win::MOVEFILE_REPLACE_EXISTING | engine::win::MOVEFILE_WRITE_THROUGH);
        if (!saved) platform.DeleteFileW(draft.c_str());
    }
    if (!saved) {
        engine_.MsgBox(texts_.Say(Phrase(IDS_NOT_SAVED, {file})), engine::kMbIconError, u"");
        return;  // the dialog stays open with the user's values
    }
    if (everyday_.applyAtOnce)
        applyHeld_ = true;  // applied once the dialog is closed, or by the selection running now
    else
        engine_.MsgBox(texts_.Text(IDS_CHANGES_AT_NEXT_START), engine::kMbIconExclamation, u"");
    form_.Hide();
}

void FrmTrevo::Cancel() { form_.Hide(); }

}  // namespace trevo
