#include "app/frmTrevo.h"

#include <utility>

#include "app/settings_check.h"
#include "app/windows_family.h"
#include "engine/error.h"
#include "engine/scoped_flag.h"
#include "engine/text.h"

namespace trevo {
using engine::Long;
using engine::String;

FrmTrevo::FrmTrevo(engine::Engine& engine)
    : engine_(engine), form_(engine, TrevoFormDesign()), dlg_(DeclareTrevoDialog(form_)) {
    form_.OnLoad = [this] { Form_Load(); };
    form_.OnUnload = [this] { Form_Unload(); };
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
    try {
        StartUp();
    } catch (const BadSetting& bad) {
        // Nothing has been added or written yet: tell the user and stop.
        engine_.MsgBox(bad.Message(), engine::kMbIconError, u"Trevo");
        engine_.End(1);
    }
}

void FrmTrevo::StartUp() {
    engine::Platform& platform = engine_.platform();
    bas_.gcWinInterface = std::make_unique<lib::ClsKwWinInterface>(platform);
    bas_.gcVer = std::make_unique<lib::ClsKwVer>(platform);
    bas_.gcIni = std::make_unique<lib::ClsKwini>(platform);
    bas_.gcString = std::make_unique<lib::ClsKwString>(platform);

    bas_.gcString->SetNumericAttribute(*dlg_.txtWidth);
    bas_.gcString->SetNumericAttribute(*dlg_.txtHeight);

    bas_.gAppPath = engine_.App().path;
    if (bas_.gAppPath.empty() || bas_.gAppPath.back() != u'\\') bas_.gAppPath += u'\\';

    const engine::ScreenMetrics screen = engine_.Screen();
    const auto screenTwips = static_cast<long long>(engine::RoundHalfEven(screen.width));
    const auto twipsPerPixel = static_cast<long long>(engine::RoundHalfEven(screen.twipsPerPixelX));
    if (twipsPerPixel == 0) engine::Raise(11, u"Division by zero");
    // A desktop is as wide as every monitor together, so that each monitor shows
    // the active desktop and nothing of the others; a system that knows one
    // screen only answers 0.
    const Long virtualWidth = platform.GetSystemMetrics(engine::win::SM_CXVIRTUALSCREEN);
    bas_.gScreenWidth = virtualWidth > 0 ? virtualWidth : static_cast<Long>(screenTwips / twipsPerPixel);

    bas_.gIniName = u"Trevo.ini";
    lib::ClsKwini& ini = *bas_.gcIni;
    const String iniPath = bas_.IniPath();
    const bool fileExists =
        platform.GetFileAttributesA(platform.ToAnsi(iniPath).c_str()) != engine::win::INVALID_FILE_ATTRIBUTES;

    bas_.gDeskCount = CheckedDeskCount({iniPath, fileExists, u"Desktops", u"Max"},
                                       ini.vbGetPrivateProfileString(u"Desktops", u"Max", bas_.IniPath()));
    dlg_.HScr->SetValue(engine::CIntFromLong(bas_.gDeskCount));
    // The count handling runs for the design value too, so the buttons match.
    if (bas_.gDeskCount == 1) CountChanged();

    for (Long n = 1; n <= kMaxDesks; ++n) {
        const size_t i = static_cast<size_t>(n - 1);
        bas_.gWallpapers[i] = ini.vbGetPrivateProfileString(u"Wallpaper", engine::DecimalText(n), bas_.IniPath());
        dlg_.txtWallpaper[i]->SetText(bas_.gWallpapers[i]);
        PaintPreview(static_cast<int>(i), bas_.gWallpapers[i]);
    }

    bas_.gKeepSize = ini.vbGetPrivateProfileString(u"Size", u"KeepSize", bas_.IniPath()) == u"-1";
    dlg_.chkSize->SetValue(bas_.gKeepSize ? 1 : 0);
    SizeRuleChanged();

    dlg_.txtWidth->SetText(ini.vbGetPrivateProfileString(u"Size", u"Width", bas_.IniPath()));
    bas_.gWallWidth = CheckedWholeNumber({iniPath, fileExists, u"Size", u"Width"}, dlg_.txtWidth->Text());
    dlg_.txtHeight->SetText(ini.vbGetPrivateProfileString(u"Size", u"Height", bas_.IniPath()));
    bas_.gWallHeight = CheckedWholeNumber({iniPath, fileExists, u"Size", u"Height"}, dlg_.txtHeight->Text());

    bas_.gNoChange = std::make_unique<engine::Collection<String>>();
    const WindowsFamily family = FamilyOf(*bas_.gcVer);
    const String& code = family.code;
    if (!code.empty()) {
        for (long long k = 1;; ++k) {
            String key = engine::DecimalText(k);
            if (key.size() < 2) key = u"0" + key;
            String entry = ini.vbGetPrivateProfileString(u"NoChange-" + code, key, bas_.IniPath());
            if (entry.empty()) break;
            bas_.gNoChange->Add(std::move(entry));
        }
    }

    mDesks.resize(static_cast<size_t>(bas_.gDeskCount));
    const bool fromTop = family.iconsFromTop;
    for (Long step = 0; step < bas_.gDeskCount; ++step) {
        const Long n = fromTop ? bas_.gDeskCount - step : step + 1;
        auto& slot = mDesks[static_cast<size_t>(n - 1)];
        slot = std::make_unique<desktop::FrmTrevoTray>(engine_, bas_, *this);
        slot->TrayNum(n);
        slot->Wallpaper(bas_.gWallpapers[static_cast<size_t>(n - 1)]);
        slot->Hide();
    }

    form_.Hide();
    bas_.gOldDesk = 0;
    TrayLClick(1);
    // An Exit chosen during the first selection has already closed everything.
    if (form_.IsLoaded()) dlg_.optNumber[0]->SetValue(true);
}

void FrmTrevo::Form_Unload() {
    if (bas_.gNoChange)
        for (Long k = bas_.gNoChange->Count(); k >= 1; --k) bas_.gNoChange->Remove(k);
    bas_.gNoChange.reset();
    bas_.gcString.reset();
    bas_.gcIni.reset();
    bas_.gcVer.reset();
    bas_.gcWinInterface.reset();
}

void FrmTrevo::TrayLClick(Long desk) {
    if (form_.Visible()) return;  // the Properties dialog is open
    if (selecting_) {
        // A click during the wallpaper fitting's yield waits for the running
        // selection; of several, the last counts.
        heldSelection_ = desk;
        return;
    }
    {
        const engine::ScopedFlag selecting(selecting_);
        Select(desk);
        while (heldSelection_ != 0 && !exitHeld_) {
            const Long next = heldSelection_;
            heldSelection_ = 0;
            if (form_.Visible()) break;
            Select(next);
        }
        heldSelection_ = 0;
    }
    RunHeldMenuChoice();
}

void FrmTrevo::RunHeldMenuChoice() {
    // Exit wins: the user wants Trevo gone, not its dialog.
    if (std::exchange(exitHeld_, false)) {
        propertiesHeld_ = false;
        CloseAll();
    } else if (std::exchange(propertiesHeld_, false)) {
        PropertiesClick();
    }
}

void FrmTrevo::Select(Long desk) {
    bas_.gNewDesk = desk;
    for (size_t i = 0; i < mDesks.size(); ++i)
        if (mDesks[i]) mDesks[i]->TrayOn(static_cast<Long>(i) + 1 == bas_.gNewDesk);
    bas_.gOldDesk = bas_.gNewDesk;
}

void FrmTrevo::CloseAll() {
    // Chosen from the menu during a selection's yield: the running switch
    // still uses every desktop and the support objects, so it ends first.
    if (selecting_) {
        exitHeld_ = true;
        return;
    }
    for (size_t i = mDesks.size(); i-- > 0;) {
        if (!mDesks[i]) continue;
        mDesks[i]->CloseMe();
        closedDesks_.push_back(std::move(mDesks[i]));
    }
    form_.Unload();
}

}  // namespace trevo
