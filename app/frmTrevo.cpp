#include "app/frmTrevo.h"

#include <map>
#include <utility>

#include "lib/ansi_path.h"
#include "app/session/icons_hint.h"
#include "app/session/wallpaper_before.h"
#include "app/language/language_choice.h"
#include "app/settings/settings_check.h"
#include "app/session/windows_family.h"
#include "desktop/window_gather.h"
#include "desktop/window_send.h"
#include "desktop/window_shift.h"
#include "engine/error.h"
#include "engine/scoped_flag.h"
#include "engine/text.h"

namespace trevo {
using engine::Long;
using engine::String;

namespace {
// Every monitor together; a system that knows one screen only answers 0 for it.
engine::Rect VirtualScreen(engine::Platform& platform) {
    const Long left = platform.GetSystemMetrics(engine::win::SM_XVIRTUALSCREEN);
    const Long top = platform.GetSystemMetrics(engine::win::SM_YVIRTUALSCREEN);
    return {left, top, left + platform.GetSystemMetrics(engine::win::SM_CXVIRTUALSCREEN),
            top + platform.GetSystemMetrics(engine::win::SM_CYVIRTUALSCREEN)};
}

// "/gather", in any case, with blanks around it.
bool IsGatherCommand(std::u16string_view command) {
    while (!command.empty() && (command.front() == u' ' || command.front() == u'\t')) command.remove_prefix(1);
    while (!command.empty() && (command.back() == u' ' || command.back() == u'\t')) command.remove_suffix(1);
    return engine::EqualsIgnoreCase(command, u"/gather");
}
}  // namespace

FrmTrevo::FrmTrevo(engine::Engine& engine)
    : engine_(engine), texts_(engine), form_(engine, TrevoFormDesign()), dlg_(DeclareTrevoDialog(form_)) {
    form_.OnLoad = [this] { Form_Load(); };
    form_.OnUnload = [this] { Form_Unload(); };
    form_.SessionEnding = [this] { SessionEnding(); };
    form_.HotKey = [this](Long id) { HotKeyPressed(id); };
    // At another monitor's scale the previews are drawn again at their new size.
    form_.ScaleChanged = [this] {
        for (size_t i = 0; i < dlg_.txtWallpaper.size(); ++i)
            PaintPreview(static_cast<int>(i), dlg_.txtWallpaper[i]->Text());
    };
    // The frame's close box leaves the dialog as Cancel does: the controller stays.
    form_.CloseRequest = [this] { form_.Hide(); };

    dlg_.HScr->Change = [this] { CountChanged(); };
    for (int i = 0; i < 5; ++i) {
        dlg_.optNumber[i]->Click = [this, i] { SelectPanel(i); };
        dlg_.txtWallpaper[i]->Change = [this, i] { WallpaperTextChanged(i); };
    }
    dlg_.chkSize->Click = [this] { SizeRuleChanged(); };
    for (int i = 0; i < 5; ++i) dlg_.cmdView[i]->OnClick = [this, i] { ChoosePicture(i); };
    dlg_.txtWidth->LostFocus = [this] { WidthLeft(); };
    dlg_.txtHeight->LostFocus = [this] { HeightLeft(); };
    dlg_.cmdOk->OnClick = [this] { Commit(); };
    dlg_.cmdCancel->OnClick = [this] { Cancel(); };
}

FrmTrevo::~FrmTrevo() = default;

desktop::FrmTrevoTray* FrmTrevo::desk(Long n) const {
    if (n < 1 || n > DeskSlots()) return nullptr;
    return mDesks[static_cast<size_t>(n - 1)].get();
}

void FrmTrevo::Form_Load() {
    engine::Platform& platform = engine_.platform();
    const bool gather = IsGatherCommand(engine_.App().command);
    lock_ = std::make_unique<SessionLock>(platform, lib::ClsKwVer(platform).IsWin9x());
    if (!lock_->Held()) {
        // Another Trevo runs in this session. Two of them would each shift the
        // windows by their own active desktop: this one ends before it touches
        // anything. A second start says nothing (the icons are there to see);
        // a rescue says why it did nothing.
        if (gather)
            engine_.MsgBox(SettledTexts().Say(Phrase(IDS_GATHER_WHILE_RUNNING)), engine::kMbIconExclamation,
                           u"Trevo");
        engine_.End(0);
    }
    try {
        if (gather) {
            Gather();
            engine_.End(0);
        }
        StartUp();
    } catch (const BadSetting& bad) {
        // Nothing has been added or written yet: tell the user and stop.
        engine_.MsgBox(SettledTexts().Say(bad.Message()), engine::kMbIconError, u"Trevo");
        engine_.End(1);
    }
}

void FrmTrevo::CreateSupportObjects() {
    engine::Platform& platform = engine_.platform();
    bas_.gcWinInterface = std::make_unique<lib::ClsKwWinInterface>(platform);
    bas_.gcVer = std::make_unique<lib::ClsKwVer>(platform);
    bas_.gcIni = std::make_unique<lib::ClsKwini>(platform);
    bas_.gcString = std::make_unique<lib::ClsKwString>(platform);
    bas_.gAppPath = engine_.App().path;
    if (bas_.gAppPath.empty() || bas_.gAppPath.back() != u'\\') bas_.gAppPath += u'\\';
    // Every settings, bitmap and wallpaper call spells the folder in the ANSI
    // code page: where it cannot, the folder's short name stands in for it.
    const std::optional<String> ready = lib::AnsiReadyPath(platform, bas_.gAppPath);
    if (!ready) throw BadSetting(Phrase(IDS_FOLDER_NAME_UNSPELLABLE, {bas_.gAppPath}));
    bas_.gAppPath = *ready;
    bas_.gIniName = u"Trevo.ini";
}

Texts FrmTrevo::SettledTexts() {
    if (textsSettled_) return texts_;
    if (bas_.gIniName.empty()) {
        try {
            CreateSupportObjects();
        } catch (const BadSetting&) {
            return texts_;  // a folder Trevo cannot name holds no settings it could read
        }
    }
    const String iniPath = bas_.IniPath();
    try {
        const String value = bas_.gcIni->vbGetPrivateProfileString(u"Options", u"Language", iniPath);
        return Texts(engine_, ChooseLanguage(engine_, {iniPath, true, u"Options", u"Language"}, value));
    } catch (const BadSetting&) {
        return Texts(engine_, LanguageOfWindows(engine_));  // the user asked for a language: Windows' is the nearest
    }
}

void FrmTrevo::ReadNeverMoveList(const String& code) {
    bas_.gNoChange = std::make_unique<engine::Collection<String>>();
    for (long long k = 1; !code.empty(); ++k) {
        String key = engine::DecimalText(k);
        if (key.size() < 2) key = u"0" + key;
        String entry = bas_.gcIni->vbGetPrivateProfileString(u"NoChange-" + code, key, bas_.IniPath());
        if (entry.empty()) break;
        bas_.gNoChange->Add(std::move(entry));
    }
    // Cut and compiled once: every switch tests each window against them.
    neverMove_ = desktop::ScanPatterns(*bas_.gNoChange);
}

void FrmTrevo::Gather() {
    CreateSupportObjects();
    ReadNeverMoveList(FamilyOf(*bas_.gcVer).code);
    record_ = std::make_unique<DesktopRecord>(engine_.platform());
    // A Trevo killed among its moves left them half done: done first, so that
    // every window lies where some desktop has it before it is brought back.
    FinishMoveUnderWay();
    GatherOntoScreen();
}

void FrmTrevo::GatherOntoScreen() {
    engine::Platform& platform = engine_.platform();
    const engine::Rect screen = VirtualScreen(platform);
    const Long width = screen.right - screen.left;
    // Desktop 1 is on the screen again once the last window is back: a later
    // start must not bring it back a second time. A gather killed half way is
    // finished by the next start, which also gives the sizes back.
    desktop::ShiftWitness witness;
    witness.planned = [&](const std::vector<desktop::PlannedMove>& plan) {
        record_->WriteSizes(sizes_.KeptSizes());
        record_->Moving(1, width, plan);
    };
    desktop::GatherWindows(*bas_.gcWinInterface, platform, neverMove_, screen, witness);
    // Windows that came back onto the screen have the size they left it with.
    sizes_.Adopt(platform, sizes_.KeptSizes(), {screen.left, width});
    record_->Clear();
}

void FrmTrevo::BringEveryWindowHome() {
    GatherOntoScreen();
    PutBackWallpaperBefore(engine_.platform(), *record_);
}

desktop::ShiftWitness FrmTrevo::RecordWitness(Long to, Long width) {
    desktop::ShiftWitness witness;
    if (!record_) return witness;
    witness.planned = [this, to, width](const std::vector<desktop::PlannedMove>& plan) {
        // The sizes first: the moves once noted are finished by the next start,
        // which then needs the size each window leaves with.
        record_->WriteSizes(sizes_.KeptSizes());
        record_->Moving(to, width, plan);
    };
    // Before anything else: the icons, the wallpaper and the yield of its
    // fitting all come after this, and a Trevo killed then leaves a record
    // that names where the windows are.
    witness.moved = [this, to, width] { record_->Write(to, width); };
    return witness;
}

void FrmTrevo::FinishMoveUnderWay() {
    const std::optional<DesktopRecord::MoveUnderWay> move = record_->ReadMove();
    if (!move) return;
    // A Trevo killed among a shift's moves: the windows still where the shift
    // found them make their move now, so that all lie as one desktop has them.
    engine::Platform& platform = engine_.platform();
    lib::ClsKwWinInterface& wi = *bas_.gcWinInterface;
    desktop::AnswerProbe probe(platform);
    std::map<Long, std::vector<desktop::WindowToMove>> behind;  // by the distance each still has to go
    for (const desktop::PlannedMove& m : move->moves) {
        if (!desktop::IsMovable(wi, platform, neverMove_, nullptr, m.hwnd)) continue;
        const std::optional<engine::Rect> where = desktop::WhereItLies(platform, wi, m.hwnd);
        if (!where || where->left != m.fromLeft) continue;  // moved already
        behind[m.toLeft - m.fromLeft].push_back(desktop::PrepareWindow(wi, platform, probe, m.hwnd, false));
    }
    for (const auto& [dx, windows] : behind) desktop::ShiftWindows(platform, windows, dx);
    record_->Write(move->to, move->width);
}

void FrmTrevo::BringBackDesktopOne() {
    FinishMoveUnderWay();
    const std::optional<DesktopRecord::Left> left = record_->Read();
    engine::Platform& platform = engine_.platform();
    const Long width = left ? left->width : bas_.gScreenWidth;
    // Windows that came back without the size they left with get it now.
    sizes_.Adopt(platform, record_->ReadSizes(), {screenLeft_, width});
    if (!left || left->desk == 1) return;
    // A Trevo of this session ended on desktop k without Exit: desktop 1 lies
    // k - 1 of its widths left of the screen, every other desktop beside it.
    const std::vector<desktop::WindowToMove> windows =
        desktop::CollectWindows(*bas_.gcWinInterface, platform, neverMove_, {nullptr, everyday_.keepMinimised});
    const Long dx = desktop::ShiftDistance(left->desk, 1, left->width);
    // Windows it takes off the screen come back at their size, as at a switch.
    sizes_.BeforeShift(platform, windows, {screenLeft_, left->width}, dx);
    desktop::ShiftWindows(platform, windows, dx, RecordWitness(1, left->width));
    sizes_.AfterShift(platform);
    record_->WriteSizes(sizes_.KeptSizes());
}

Long FrmTrevo::DesktopWidth() {
    // A desktop is as wide as every monitor together, so that each monitor shows
    // the active desktop and nothing of the others; a system that knows one
    // screen only answers 0, and then the screen object's width holds.
    const engine::Rect box = VirtualScreen(engine_.platform());
    if (box.right - box.left > 0) return box.right - box.left;
    const engine::ScreenMetrics screen = engine_.Screen();
    const auto screenTwips = static_cast<long long>(engine::RoundHalfEven(screen.width));
    const auto twipsPerPixel = static_cast<long long>(engine::RoundHalfEven(screen.twipsPerPixelX));
    if (twipsPerPixel == 0) engine::Raise(11, u"Division by zero");
    return static_cast<Long>(screenTwips / twipsPerPixel);
}

void FrmTrevo::Adopt(const StartSettings& settings) {
    bas_.gDeskCount = settings.deskCount;
    bas_.gWallpapers = settings.wallpapers;
    bas_.gKeepSize = settings.keepSize;
    bas_.gWallWidth = settings.width;
    bas_.gWallHeight = settings.height;
}

void FrmTrevo::FillDialog(const StartSettings& settings) {
    const engine::Integer count = engine::CIntFromLong(settings.deskCount);
    // Setting the value the bar already has fires no change: the count's
    // buttons are then set here.
    const bool fires = dlg_.HScr->Value() != count;
    dlg_.HScr->SetValue(count);
    if (!fires) CountChanged();
    for (size_t i = 0; i < settings.wallpapers.size(); ++i) {
        dlg_.txtWallpaper[i]->SetText(settings.wallpapers[i]);
        PaintPreview(static_cast<int>(i), settings.wallpapers[i]);
    }
    dlg_.chkSize->SetValue(settings.keepSize ? 1 : 0);
    SizeRuleChanged();
    dlg_.txtWidth->SetText(settings.widthText);
    dlg_.txtHeight->SetText(settings.heightText);
}

void FrmTrevo::CreateDesktops(bool iconsFromTop) {
    // The order of creation is the order of the icons in the notification area.
    // Desktops added to running ones: where the shell puts a new icon first,
    // the icons already there are added again after the new ones.
    const Long had = DeskSlots();
    mDesks.resize(static_cast<size_t>(bas_.gDeskCount));
    for (Long step = 0; step < bas_.gDeskCount; ++step) {
        const Long n = iconsFromTop ? bas_.gDeskCount - step : step + 1;
        auto& slot = mDesks[static_cast<size_t>(n - 1)];
        if (n <= had) {
            if (iconsFromTop) slot->AddIconAgain();
            continue;
        }
        slot = std::make_unique<desktop::FrmTrevoTray>(engine_, *this);
        slot->TrayNum(n);
        slot->Wallpaper(bas_.gWallpapers[static_cast<size_t>(n - 1)]);
        slot->Name(everyday_.names[static_cast<size_t>(n - 1)]);
        slot->Load();
    }
}

void FrmTrevo::StartUp() {
    engine::Platform& platform = engine_.platform();
    CreateSupportObjects();
    bas_.gcString->SetNumericAttribute(*dlg_.txtWidth);
    bas_.gcString->SetNumericAttribute(*dlg_.txtHeight);
    bas_.gScreenWidth = DesktopWidth();
    screenLeft_ = VirtualScreen(platform).left;

    const StartSettings settings = ReadStartSettings(*bas_.gcIni, platform, bas_.IniPath());
    everyday_ = ReadKeysAndOptions(platform, *bas_.gcIni, bas_.IniPath(), settings.fileExists);
    const String iniPath = bas_.IniPath();
    texts_ = Texts(engine_, ChooseLanguage(engine_, {iniPath, settings.fileExists, u"Options", u"Language"},
                                           everyday_.language));
    textsSettled_ = true;
    // English captions at the size of Windows' own dialogs, where they fit the boxes.
    if (texts_.Language()) engine_.SetTextLanguage(*texts_.Language());
    ShowDialogTexts(form_, dlg_, texts_);
    if (everyday_.startWithWindows) MakeStartWithWindows();
    offersSettings_ = HasEverydaySections(platform, iniPath);
    Adopt(settings);
    FillDialog(settings);

    const WindowsFamily family = FamilyOf(*bas_.gcVer);
    ReadNeverMoveList(family.code);
    record_ = std::make_unique<DesktopRecord>(platform);
    BringBackDesktopOne();
    // A Trevo ended between Properties' OK and the windows' moves left some
    // beyond the desktops Trevo.ini now names.
    if (everyday_.applyAtOnce)
        MoveForCount({screenLeft_, bas_.gScreenWidth, 1, bas_.gDeskCount}, {bas_.gDeskCount, 1});

    // Before the first wallpaper of the session is Trevo's: an Exit that
    // brings the windows home, also one after a crash, puts it back.
    RememberWallpaperBefore(platform, *record_);
    CreateDesktops(family.iconsFromTop);
    form_.Hide();
    bas_.gOldDesk = 0;
    TrayLClick(1);
    // An Exit chosen during the first selection has already closed everything.
    if (!form_.IsLoaded()) return;
    if (everyday_.iconsHint) HintWhereIconsAre(platform, texts_, *bas_.gcVer, *mDesks[0]);
    dlg_.optNumber[0]->SetValue(true);
    StartEverydayInput();
    // Trevo is running by now: a start that fails to follow a moved folder still has its icons.
    if (startWithWindows_) startWithWindows_->FinishChange();
    if (everyday_.startWithWindows.value_or(false)) startWithWindows_->FollowMove();
}

void FrmTrevo::Form_Unload() {
    if (settings_) settings_->Close();  // its form too, or the process would not end
    StopEverydayInput();
    startWithWindows_.reset();  // it writes through the settings object, which goes next
    if (bas_.gNoChange)
        for (Long k = bas_.gNoChange->Count(); k >= 1; --k) bas_.gNoChange->Remove(k);
    bas_.gNoChange.reset();
    bas_.gcString.reset();
    bas_.gcIni.reset();
    bas_.gcVer.reset();
    bas_.gcWinInterface.reset();
}

void FrmTrevo::TrayLClick(Long desk) {
    if (form_.Visible() || SettingsOpen()) return;  // a dialog is open
    Choose(desk);
}

String FrmTrevo::MenuCaption(desktop::MenuEntry entry) const {
    switch (entry) {
        case desktop::MenuEntry::Properties: return texts_.Text(IDS_MENU_PROPERTIES);
        case desktop::MenuEntry::Settings: return texts_.Text(IDS_MENU_SETTINGS);
        case desktop::MenuEntry::StartWithWindows: return texts_.Text(IDS_MENU_START_WITH_WINDOWS);
        case desktop::MenuEntry::Exit: break;
    }
    return texts_.Text(IDS_MENU_EXIT);
}

bool FrmTrevo::StartsWithWindows() { return startWithWindows_ && startWithWindows_->On(); }

// It touches no desktop: also during a switch it runs at once.
void FrmTrevo::StartWithWindowsClick() {
    if (startWithWindows_) startWithWindows_->Toggle();
}

void FrmTrevo::SessionEnding() {
    // Programs write down where their windows are as the session ends: every
    // one of them must be on the screen then, also with the dialog open.
    Choose(1);
}

void FrmTrevo::Choose(Long desk) {
    if (selecting_) {
        // A click during the wallpaper fitting's yield waits for the running
        // selection; of several, the last counts.
        heldSelection_ = desk;
        return;
    }
    WhileSelecting([this, desk] { Select(desk); });
}

void FrmTrevo::WhileSelecting(const std::function<void()>& step) {
    {
        const engine::ScopedFlag selecting(selecting_);
        step();
        while (!exitHeld_) {
            if (std::exchange(applyHeld_, false)) {
                ApplyWrittenSettings();
                continue;
            }
            const Long next = std::exchange(heldSelection_, 0);
            if (next == 0 || form_.Visible()) break;
            // A click on a desktop that the settings applied meanwhile removed goes nowhere.
            if (next <= bas_.gDeskCount) Select(next);
        }
        heldSelection_ = 0;
        if (!exitHeld_) AfterSelection();
    }
    RunHeldMenuChoice();
}

void FrmTrevo::RunHeldMenuChoice() {
    // Exit wins: the user wants Trevo gone, not its dialog.
    if (std::exchange(exitHeld_, false)) {
        propertiesHeld_ = settingsHeld_ = false;
        CloseAll();
    } else if (std::exchange(propertiesHeld_, false)) {
        PropertiesClick();
    } else if (std::exchange(settingsHeld_, false)) {
        SettingsClick();
    }
}

desktop::SwitchOrder FrmTrevo::OrderTo(Long desk) {
    desktop::SwitchOrder order;
    order.from = bas_.gOldDesk;
    order.to = desk;
    order.bandWidth = bas_.gScreenWidth;
    order.screenLeft = screenLeft_;
    order.sizes = &sizes_;
    order.fit = {bas_.gKeepSize, bas_.gWallWidth, bas_.gWallHeight};
    order.folder = bas_.gAppPath;
    order.windows = bas_.gcWinInterface.get();
    order.neverMove = &neverMove_;
    order.collect = {&pinned_, everyday_.keepMinimised};
    order.windowsFirst = everyday_.windowsFirst;
    order.keepWallpapers = everyday_.keepWallpapers;
    return order;
}

void FrmTrevo::Select(Long desk) {
    bas_.gNewDesk = desk;
    pinned_.ForgetClosed(engine_.platform());
    desktop::SwitchOrder order = OrderTo(desk);
    if (everyday_.keepMinimised && order.from != order.to) {
        desktop::Bands before = CurrentBands();
        before.active = order.from == 0 ? 1 : order.from;  // the windows on screen at the start are desktop 1
        minimised_.Update(*bas_.gcWinInterface, engine_.platform(), neverMove_, pinned_, before);
    }
    if (order.from != 0 && order.from != order.to) order.witness = RecordWitness(order.to, order.bandWidth);
    // Without the option the new desktop fits its wallpaper and then moves the
    // windows as its icon changes; with it the windows move first, then every
    // icon, and the wallpaper last, so that nobody waits for the picture.
    desktop::FrmTrevoTray* const chosen =
        bas_.gNewDesk >= 1 && static_cast<size_t>(bas_.gNewDesk) <= mDesks.size()
            ? mDesks[static_cast<size_t>(bas_.gNewDesk) - 1].get()
            : nullptr;
    const bool stepByStep = order.windowsFirst && order.from != order.to && chosen;
    if (stepByStep) chosen->MoveWindows(order);
    for (size_t i = 0; i < mDesks.size(); ++i)
        if (mDesks[i]) mDesks[i]->TrayOn(static_cast<Long>(i) + 1 == bas_.gNewDesk, order);
    if (stepByStep) chosen->SetWallpaper(order);
    bas_.gOldDesk = bas_.gNewDesk;
    if (!record_) return;
    record_->Write(bas_.gOldDesk, bas_.gScreenWidth);
    record_->WriteSizes(sizes_.KeptSizes());
}

void FrmTrevo::CloseAll() {
    // Chosen from the menu during a selection's yield: the running switch
    // still uses every desktop and the support objects, so it ends first.
    if (selecting_) {
        exitHeld_ = true;
        return;
    }
    if (record_ && everyday_.gatherOnExit) BringEveryWindowHome();
    if (record_) record_->Clear();  // ended by Exit: nothing to bring back at the next start
    for (size_t i = mDesks.size(); i-- > 0;) {
        if (!mDesks[i]) continue;
        mDesks[i]->CloseMe();
        closedDesks_.push_back(std::move(mDesks[i]));
    }
    form_.Unload();
}

}  // namespace trevo
