#include "desktop/frmTrevoTray.h"

#include <limits>

#include "desktop/tray_tip.h"
#include "desktop/wallpaper_folder.h"
#include "desktop/window_shift.h"
#include "engine/error.h"
#include "engine/text.h"

namespace desktop {
using engine::Long;
using engine::String;

namespace {

engine::FormDesign TrayFormDesign() {
    engine::FormDesign design;
    design.name = u"frmTrevoTray";
    design.caption = u"TrevoTray";
    design.iconResource = 1;
    return design;
}

engine::ControlDesign WallPictureDesign() {
    engine::ControlDesign d;
    d.kind = engine::ControlKind::PictureBox;
    d.name = u"WallPicture";
    d.width = 495;
    d.height = 495;
    return d;
}

// The largest canvas the fitting asks for, in pixels along either axis.
constexpr Long kMaxWallpaperPixels = 16384;

}  // namespace

FrmTrevoTray::FrmTrevoTray(engine::Engine& engine, Controller& controller)
    : engine_(engine),
      controller_(controller),
      form_(engine, TrayFormDesign()),
      WallPicture(form_.Add<engine::PictureBox>(WallPictureDesign())),
      mnuPopup(form_.AddMenu(u"&Popup")) {
    mnuPopup.AddEntry(controller_.MenuCaption(MenuEntry::Properties)).Click = [this] {
        controller_.PropertiesClick();
    };
    // Only where Trevo.ini offers them: a file without them keeps the menu as it was.
    mnuSettings = &mnuPopup.AddEntry(controller_.MenuCaption(MenuEntry::Settings));
    mnuSettings->Click = [this] { controller_.SettingsClick(); };
    mnuStartWithWindows = &mnuPopup.AddEntry(controller_.MenuCaption(MenuEntry::StartWithWindows));
    mnuStartWithWindows->Click = [this] { controller_.StartWithWindowsClick(); };
    OfferMenuEntries();
    mnuPopup.AddEntry(u"-");
    mnuPopup.AddEntry(controller_.MenuCaption(MenuEntry::Exit)).Click = [this] { controller_.CloseAll(); };
    form_.OnLoad = [this] { Form_Load(); };
    form_.OnUnload = [this] { Form_Unload(); };
}

void FrmTrevoTray::Form_Load() {
    cTray = std::make_unique<lib::ClsKwTray>(engine_);
    cTray->SetTrayButton(2);  // the right button's release shows the menu
    cTray->SetTrayForm(&form_);
    cTray->SetTrayPopup(&mnuPopup);
    cTray->LClick = [this] { cTray_LClick(); };
    // Task Manager or another Trevo may have changed it since the last menu.
    cTray->RClick = [this] {
        if (mnuStartWithWindows->Visible()) mnuStartWithWindows->SetChecked(controller_.StartsWithWindows());
    };
    // Explorer announces a new task bar after a change of scale too.
    cTray->ShellRestarted = [this] { ReloadIcons(); };
    form_.DisplayChanged = [this] {
        if (!cTray) return;
        ReloadIcons();
        cTray->ModifyNotifyIcon();
    };
    cTray->AddNotifyIcon();
    ShowState(false);
}

void FrmTrevoTray::OfferMenuEntries() {
    mnuSettings->SetVisible(controller_.OffersSettings());
    mnuStartWithWindows->SetVisible(controller_.OffersStartWithWindows());
}

void FrmTrevoTray::Rename(const String& name) {
    mName = name;
    if (cTray) ShowState(mTrayOn);
}

void FrmTrevoTray::Form_Unload() {
    // Unloading moves no window and leaves the wallpaper alone.
    cTray.reset();
}

void FrmTrevoTray::cTray_LClick() { controller_.TrayLClick(mTrayNum); }

void FrmTrevoTray::CloseMe() {
    cTray->DeleteNotifyIcon();
    form_.Unload();
}

void FrmTrevoTray::AddIconAgain() {
    cTray->DeleteNotifyIcon();
    cTray->AddNotifyIcon();
}

void FrmTrevoTray::TrayOn(bool on, const SwitchOrder& order) {
    ShowState(on);
    if (on && order.from != order.to && !order.windowsFirst) {
        SetWallpaper(order);
        MoveWindows(order);
    }
}

const engine::PicturePtr& FrmTrevoTray::StateIcon(bool on) {
    // Each picture is loaded once: every click tells every desktop its state.
    engine::PicturePtr& icon = icons_[on ? 1 : 0];
    if (icon) return icon;
    const long long id = static_cast<long long>(mTrayNum) * 10 + (on ? 2 : 1);
    if (id > std::numeric_limits<Long>::max() || id < std::numeric_limits<Long>::min())
        engine::Raise(engine::err::kOverflow);
    icon = engine_.LoadResPicture(static_cast<Long>(id), engine::kResIcon);
    return icon;
}

void FrmTrevoTray::ReloadIcons() {
    icons_ = {};
    cTray->SetTrayIcon(StateIcon(mTrayOn));
}

void FrmTrevoTray::ShowState(bool on) {
    mTrayOn = on;
    cTray->SetTrayIcon(StateIcon(on));

    cTray->SetTrayTip(TrayTip(engine_.platform(), engine_.App(), mTrayNum, mName, on));
    cTray->ModifyNotifyIcon();
}

bool FrmTrevoTray::ShowBalloon(const String& title, const String& text) {
    if (!cTray) return false;
    try {
        return cTray->ShowBalloon(title, text);
    } catch (const engine::RuntimeError&) {
        return false;  // a text the record cannot hold is no reason to stop
    }
}

void FrmTrevoTray::SetWallpaper(const SwitchOrder& order) {
    engine::Platform& platform = engine_.platform();
    String wallpaper = ChangeWallpaper(order);
    std::string path = platform.ToAnsi(wallpaper);
    platform.SystemParametersInfoA(engine::win::SPI_SETDESKWALLPAPER, 0, path.data(), 0xFFFFFFFFu);
}

void FrmTrevoTray::MoveWindows(const SwitchOrder& order) {
    engine::Platform& platform = engine_.platform();
    const std::vector<WindowToMove> windows = CollectWindows(*order.windows, platform, *order.neverMove, order.collect);
    // At the first activation the windows on screen simply are desktop 1.
    if (order.from == 0) return;
    const Long dx = ShiftDistance(order.from, order.to, order.bandWidth);
    if (order.sizes) order.sizes->BeforeShift(platform, windows, {order.screenLeft, order.bandWidth}, dx);
    ShiftWindows(platform, windows, dx, order.witness);
    if (order.sizes) order.sizes->AfterShift(platform);
}

String FrmTrevoTray::ChangeWallpaper(const SwitchOrder& order) {
    if (!order.keepWallpapers) return FitWallpaper(order, nullptr);
    KeptWallpapers kept(engine_.platform(), UserWallpaperFolder(engine_.platform()));
    if (mWallpaper.empty()) {
        kept.Drop(mTrayNum);
        return {};
    }
    if (String ready = kept.Find(mTrayNum, mWallpaper, order.fit); !ready.empty()) return ready;
    return FitWallpaper(order, &kept);
}

String FrmTrevoTray::FitWallpaper(const SwitchOrder& order, KeptWallpapers* kept) {
    if (mWallpaper.empty()) return {};
    engine::PicturePtr picture;
    try {
        picture = engine_.LoadPicture(mWallpaper);
    } catch (const engine::RuntimeError&) {
        return {};  // no usable picture: no wallpaper, and Trevo.bmp stays as it was
    }
    // A size of 0 or less, or larger than a canvas can be, keeps the picture's own size.
    const WallpaperFit& size = order.fit;
    const bool fit = size.keepSize && size.width > 0 && size.height > 0 && size.width <= kMaxWallpaperPixels &&
                     size.height <= kMaxWallpaperPixels;
    engine::PicturePtr image = picture;
    try {
        if (fit) {
            const engine::ScreenMetrics screen = engine_.Screen();
            WallPicture.SetWidth(screen.twipsPerPixelX * size.width);
            WallPicture.SetHeight(screen.twipsPerPixelY * size.height);
            // The canvas takes its new size here. Clicks, menu choices and the end
            // of the session that arrive meanwhile are held by the controller
            // until its selection is done.
            engine_.DoEvents();
            WallPicture.SetAutoRedraw(true);
            const double w = WallPicture.Width(), h = WallPicture.Height();
            WallPicture.PaintPicture(picture, 0, 0, w, h, engine::kSrcCopy);
            WallPicture.SetAutoRedraw(false);
            WallPicture.Refresh();
            image = WallPicture.Image();
        }
    } catch (const engine::RuntimeError&) {
        return {};  // no memory for the canvas: this desktop goes without its wallpaper
    }
    // Kept, the bitmap is what Windows shows: Trevo.bmp is left as it was.
    if (kept) {
        const String keptPath = kept->BitmapPath(mTrayNum);
        if (!keptPath.empty() && SaveAs(*image, keptPath)) {
            kept->Note(mTrayNum, mWallpaper, order.fit);
            return keptPath;
        }
    }
    // The program folder first, every time, so that Trevo.bmp goes back there
    // once it can be written again; where it refuses the file (a folder the user
    // may not write, a read-only file), the user's own folder.
    if (SaveAs(*image, order.folder + u"Trevo.bmp")) return order.folder + u"Trevo.bmp";
    const String spare = UserWallpaperFolder(engine_.platform());
    if (!spare.empty() && SaveAs(*image, spare + u"Trevo.bmp")) return spare + u"Trevo.bmp";
    // Neither can be written (a full disk, say): the windows still move.
    return {};
}

bool FrmTrevoTray::SaveAs(const engine::Picture& image, const String& path) {
    try {
        engine_.SavePicture(image, path);
        return true;
    } catch (const engine::RuntimeError&) {
        return false;
    }
}

}  // namespace desktop
