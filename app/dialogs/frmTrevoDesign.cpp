#include "app/dialogs/frmTrevoDesign.h"

#include "app/dialogs/control_design.h"

namespace trevo {
using engine::ControlDesign;
using engine::ControlKind;
using engine::Integer;
using engine::Long;
using engine::String;

namespace {

// Each panel's tab stops: the panel, then its path box, its "..." button and its
// preview (the first panel in that order, the others in the reverse order).
struct PanelTabs {
    Integer panel, text, button, preview;
};
constexpr PanelTabs kPanelTabs[5] = {
    {11, 12, 13, 14}, {20, 23, 22, 21}, {24, 27, 26, 25}, {28, 31, 30, 29}, {32, 35, 34, 33}};

}  // namespace

engine::FormDesign TrevoFormDesign() {
    engine::FormDesign design;
    design.name = u"frmTrevo";
    design.caption = u"Trevo - Properties";
    design.clientWidth = 4185;
    design.clientHeight = 5160;
    design.dialogFrame = true;
    design.iconResource = 1;
    return design;
}

TrevoDialog DeclareTrevoDialog(engine::Form& form) {
    TrevoDialog d;
    d.lblDesktops =
        &form.Add<engine::Label>(Design(ControlKind::Label, u"lblDesktops", u"Desktops:", 300, 210, 915, 195, 2));

    ControlDesign scroll = Design(ControlKind::HScrollBar, u"HScr", u"", 1290, 210, 2265, 195, 3);
    scroll.min = 1;
    scroll.max = 5;
    scroll.value = 1;
    d.HScr = &form.Add<engine::HScrollBar>(scroll);

    ControlDesign count = Design(ControlKind::TextBox, u"txtDesktops", u"1", 3570, 150, 315, 270, 4);
    count.readOnly = true;
    count.buttonFaceBack = true;
    d.txtDesktops = &form.Add<engine::TextBox>(count);

    d.lblWallpaper =
        &form.Add<engine::Label>(Design(ControlKind::Label, u"lblWallpaper", u"Wallpaper:", 300, 570, 915, 195, 5));

    for (Integer i = 0; i < 5; ++i) {
        ControlDesign option =
            Design(ControlKind::OptionButton, u"optNumber", String(1, static_cast<char16_t>(u'1' + i)), 1320 + 525 * i,
                   510, 495, 315, static_cast<Integer>(6 + i), i);
        option.buttonStyle = true;
        d.optNumber[i] = &form.Add<engine::OptionButton>(option);
    }

    for (Integer i = 0; i < 5; ++i) {
        const PanelTabs& tabs = kPanelTabs[i];
        ControlDesign panel = Design(ControlKind::PictureBox, u"Container", u"", 270, 900, 3645, 2895, tabs.panel, i);
        panel.border = true;
        engine::PictureBox& container = form.Add<engine::PictureBox>(panel);
        d.Container[i] = &container;
        d.txtWallpaper[i] = &form.Add<engine::TextBox>(
            Design(ControlKind::TextBox, u"txtWallpaper", u"", 90, 60, 3405, 270, tabs.text, i), &container);
        d.cmdView[i] = &form.Add<engine::CommandButton>(
            Design(ControlKind::CommandButton, u"cmdView", u"...", 3000, 390, 495, 285, tabs.button, i), &container);
        ControlDesign preview = Design(ControlKind::PictureBox, u"Preview", u"", 90, 750, 3405, 1995, tabs.preview, i);
        preview.border = true;
        d.Preview[i] = &form.Add<engine::PictureBox>(preview, &container);
    }

    d.chkSize = &form.Add<engine::CheckBox>(
        Design(ControlKind::CheckBox, u"chkSize", u"常にこのサイズで表示", 300, 3930, 2115, 255, 15));
    d.txtWidth =
        &form.Add<engine::TextBox>(Design(ControlKind::TextBox, u"txtWidth", u"400", 2430, 3900, 645, 270, 16));
    d.lblInfo[0] = &form.Add<engine::Label>(Design(ControlKind::Label, u"lblInfo", u"x", 3120, 3930, 135, 225, 17, 0));
    d.txtHeight =
        &form.Add<engine::TextBox>(Design(ControlKind::TextBox, u"txtHeight", u"300", 3270, 3900, 645, 270, 18));
    d.lblInfo[1] = &form.Add<engine::Label>(
        Design(ControlKind::Label, u"lblInfo", u"※[中央に表示]の場合のみ", 300, 4230, 3615, 195, 19, 1));
    d.cmdOk =
        &form.Add<engine::CommandButton>(Design(ControlKind::CommandButton, u"cmdOk", u"OK", 1140, 4650, 1005, 345, 1));
    d.cmdCancel = &form.Add<engine::CommandButton>(
        Design(ControlKind::CommandButton, u"cmdCancel", u"ｷｬﾝｾﾙ", 2190, 4650, 1005, 345, 0));
    return d;
}

namespace {
// Only a text that differs is set: without a language the design's texts stand as they are.
template <class Control>
void ShowText(Control& control, const String& text) {
    if (control.Caption() != text) control.SetCaption(text);
}
}  // namespace

void ShowDialogTexts(engine::Form& form, const TrevoDialog& d, const Texts& texts) {
    if (form.Caption() != texts.Text(IDS_PROPERTIES_TITLE)) form.SetCaption(texts.Text(IDS_PROPERTIES_TITLE));
    ShowText(*d.lblDesktops, texts.Text(IDS_DESKTOPS_LABEL));
    ShowText(*d.lblWallpaper, texts.Text(IDS_WALLPAPER_LABEL));
    ShowText(*d.chkSize, texts.Text(IDS_ALWAYS_THIS_SIZE));
    ShowText(*d.lblInfo[1], texts.Text(IDS_ONLY_WHEN_CENTRED));
    ShowText(*d.cmdOk, texts.Text(IDS_OK));
    ShowText(*d.cmdCancel, texts.Text(IDS_CANCEL));
}

}  // namespace trevo
