#include "app/dialogs/settings_design.h"

#include "app/dialogs/control_design.h"

namespace trevo {
using engine::ControlDesign;
using engine::ControlKind;
using engine::Integer;
using engine::Long;

namespace {

// Two columns: names and keys on the left, options and the language on the
// right, OK and Cancel below them. Twips, at 15 a pixel.
constexpr Long kMargin = 120;
constexpr Long kRow = 330;
constexpr Long kKeyLabelWidth = 1800, kWinWidth = 510, kHotKeyWidth = 2100, kClearWidth = 750;
constexpr Long kWinLeft = kMargin + kKeyLabelWidth + 30;
constexpr Long kHotKeyLeft = kWinLeft + kWinWidth + 30;
constexpr Long kClearLeft = kHotKeyLeft + kHotKeyWidth + 60;
constexpr Long kRight = kClearLeft + kClearWidth + 210;  // the options' column
constexpr Long kRightWidth = 5400;
constexpr Long kOptionStep = 600;
constexpr Long kClientWidth = kRight + kRightWidth + kMargin;
constexpr Long kNamesTop = 360, kKeysHeader = 2100, kKeysTop = 2370;
constexpr Long kLanguageHeader = 360 + 9 * kOptionStep + 60;
constexpr Long kButtonsTop = kKeysTop + 13 * kRow + 240;
constexpr Long kButtonWidth = 1275, kButtonHeight = 345;
constexpr Long kClientHeight = kButtonsTop + kButtonHeight + kMargin;

enum class Press { None, OnEnter, OnEsc };

// Tab stops in the order of reading, each control after the one before it.
class Declarer {
public:
    explicit Declarer(engine::Form& form) : form_(form) {}
    template <class C>
    C& Add(ControlKind kind, engine::String name, Long left, Long top, Long width, Long height, Integer index = -1,
           engine::String text = u"", Press press = Press::None) {
        ControlDesign d = Design(kind, std::move(name), std::move(text), left, top, width, height, tab_++, index);
        d.defaultButton = press == Press::OnEnter;
        d.cancelButton = press == Press::OnEsc;
        return form_.Add<C>(d);
    }

private:
    engine::Form& form_;
    Integer tab_ = 0;
};

}  // namespace

engine::FormDesign SettingsFormDesign() {
    engine::FormDesign design;
    design.name = u"frmSettings";
    design.caption = u"Trevo - Settings";
    design.clientWidth = kClientWidth;
    design.clientHeight = kClientHeight;
    design.dialogFrame = true;
    design.iconResource = 1;
    return design;
}

SettingsControls DeclareSettingsControls(engine::Form& form) {
    SettingsControls c;
    Declarer d(form);
    c.lblNames = &d.Add<engine::Label>(ControlKind::Label, u"lblNames", kMargin, 120, 3000, 195);
    for (Integer i = 0; i < kMaxDesks; ++i) {
        const Long top = kNamesTop + i * kRow;
        d.Add<engine::Label>(ControlKind::Label, u"lblName", kMargin, top + 30, 300, 195, i,
                             engine::String(1, static_cast<char16_t>(u'1' + i)));
        c.txtName[i] = &d.Add<engine::TextBox>(ControlKind::TextBox, u"txtName", kMargin + 330, top,
                                               kClearLeft + kClearWidth - kMargin - 330, 270, i);
    }
    c.lblKeys = &d.Add<engine::Label>(ControlKind::Label, u"lblKeys", kMargin, kKeysHeader, 3000, 195);
    for (Integer i = 0; i < static_cast<Integer>(kKeyCount); ++i) {
        const Long top = kKeysTop + i * kRow;
        c.lblKey[i] = &d.Add<engine::Label>(ControlKind::Label, u"lblKey", kMargin, top + 30, kKeyLabelWidth, 195, i);
        c.lblWinKept[i] =
            &d.Add<engine::Label>(ControlKind::Label, u"lblWinKept", kWinLeft, top + 30, kWinWidth, 195, i);
        c.hkyKey[i] = &d.Add<engine::HotKeyBox>(ControlKind::HotKey, u"hkyKey", kHotKeyLeft, top, kHotKeyWidth, 270, i);
        c.cmdClear[i] = &d.Add<engine::CommandButton>(ControlKind::CommandButton, u"cmdClear", kClearLeft, top - 15,
                                                      kClearWidth, 300, i);
    }
    c.lblOptions = &d.Add<engine::Label>(ControlKind::Label, u"lblOptions", kRight, 120, 3000, 195);
    for (Integer i = 0; i < static_cast<Integer>(kOptionSwitches.size()); ++i) {
        const Long top = 360 + i * kOptionStep;
        c.chkOption[i] =
            &d.Add<engine::CheckBox>(ControlKind::CheckBox, u"chkOption", kRight, top, kRightWidth, 255, i);
        c.lblOptionLine[i] = &d.Add<engine::Label>(ControlKind::Label, u"lblOptionLine", kRight + 240, top + 270,
                                                   kRightWidth - 240, 195, i);
    }
    c.lblLanguage = &d.Add<engine::Label>(ControlKind::Label, u"lblLanguage", kRight, kLanguageHeader, 3000, 195);
    constexpr Long kChoiceWidth = kRightWidth / 4;
    for (Integer i = 0; i < static_cast<Integer>(kLanguageValues.size()); ++i)
        c.optLanguage[i] =
            &d.Add<engine::OptionButton>(ControlKind::OptionButton, u"optLanguage", kRight + i * kChoiceWidth,
                                         kLanguageHeader + 270, kChoiceWidth - 60, 255, i);
    c.lblLanguageNote =
        &d.Add<engine::Label>(ControlKind::Label, u"lblLanguageNote", kRight, kLanguageHeader + 600, kRightWidth, 195);
    c.cmdOk = &d.Add<engine::CommandButton>(ControlKind::CommandButton, u"cmdOk",
                                            kClientWidth - kMargin - 2 * kButtonWidth - 120, kButtonsTop, kButtonWidth,
                                            kButtonHeight, -1, u"OK", Press::OnEnter);
    c.cmdCancel =
        &d.Add<engine::CommandButton>(ControlKind::CommandButton, u"cmdCancel", kClientWidth - kMargin - kButtonWidth,
                                      kButtonsTop, kButtonWidth, kButtonHeight, -1, u"Cancel", Press::OnEsc);
    return c;
}

}  // namespace trevo
