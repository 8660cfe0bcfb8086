#include "app/dialogs/settings_dialog.h"

#include "app/dialogs/settings_design.h"
#include "engine/text.h"

namespace trevo {
using engine::Long;
using engine::String;

namespace {

struct OptionTexts {
    Long caption, line;
};
constexpr std::array<OptionTexts, kOptionSwitches.size()> kOptionTexts = {{
    {IDS_OPTION_FOLLOW_FOCUS, IDS_OPTION_FOLLOW_FOCUS_LINE},
    {IDS_OPTION_KEEP_MINIMISED, IDS_OPTION_KEEP_MINIMISED_LINE},
    {IDS_OPTION_WINDOWS_FIRST, IDS_OPTION_WINDOWS_FIRST_LINE},
    {IDS_OPTION_KEEP_WALLPAPERS, IDS_OPTION_KEEP_WALLPAPERS_LINE},
    {IDS_OPTION_SHOW_DESKTOP, IDS_OPTION_SHOW_DESKTOP_LINE},
    {IDS_OPTION_START_WITH_WINDOWS, IDS_OPTION_START_WITH_WINDOWS_LINE},
    {IDS_OPTION_ICONS_HINT, IDS_OPTION_ICONS_HINT_LINE},
    {IDS_OPTION_APPLY_AT_ONCE, IDS_OPTION_APPLY_AT_ONCE_LINE},
    {IDS_OPTION_GATHER_ON_EXIT, IDS_OPTION_GATHER_ON_EXIT_LINE},
}};
constexpr std::array<Long, kLanguageValues.size()> kLanguageTexts = {IDS_LANGUAGE_AS_ALWAYS, IDS_LANGUAGE_OF_WINDOWS,
                                                                     IDS_LANGUAGE_ENGLISH, IDS_LANGUAGE_JAPANESE};

// What a key row says of a key: its caption ("Desktop 2", "Next desktop").
Phrase KeyCaption(const KeyName& key) {
    const String number = engine::DecimalText(key.desk);
    switch (key.action) {
        case KeyAction::Desktop:
            return Phrase(IDS_SETTINGS_KEY_DESKTOP, {number});
        case KeyAction::Next:
            return Phrase(IDS_SETTINGS_KEY_NEXT);
        case KeyAction::Previous:
            return Phrase(IDS_SETTINGS_KEY_PREVIOUS);
        case KeyAction::Send:
            return Phrase(IDS_SETTINGS_KEY_SEND, {number});
        case KeyAction::Pin:
            break;
    }
    return Phrase(IDS_SETTINGS_KEY_PIN);
}

// The text a key the user set in the control is written with. A key the file
// has no name for is spelled so that the check names it as a key Trevo does
// not know.
String WrittenKey(Long word) {
    if (word == 0) return {};
    const KeyCombination combination = CombinationOfHotKeyWord(word);
    if (std::optional<String> text = KeyCombinationText(combination)) return *text;
    KeyCombination modifiersOnly = combination;
    modifiersOnly.key = 'A';
    const String prefix = KeyCombinationText(modifiersOnly).value_or(u"A");
    return prefix.substr(0, prefix.size() - 1) + u"VK" + engine::DecimalText(static_cast<long long>(combination.key));
}

}  // namespace

SettingsDialog::SettingsDialog(engine::Engine& engine)
    : engine_(engine), form_(engine, SettingsFormDesign()), c_(DeclareSettingsControls(form_)) {
    c_.cmdOk->OnClick = [this] {
        if (Ok) Ok();
    };
    const auto cancel = [this] {
        if (Cancel) Cancel();
    };
    c_.cmdCancel->OnClick = cancel;
    form_.CloseRequest = cancel;
    for (size_t i = 0; i < kKeyCount; ++i) {
        c_.cmdClear[i]->OnClick = [this, i] { c_.hkyKey[i]->SetValue(0); };
        // Changed, the key no longer holds the Win of the file.
        c_.hkyKey[i]->Change = [this, i] { c_.lblWinKept[i]->SetVisible(false); };
    }
}

void SettingsDialog::ShowTexts(const Texts& texts) {
    form_.SetCaption(texts.Text(IDS_SETTINGS_TITLE));
    c_.lblNames->SetCaption(texts.Text(IDS_SETTINGS_NAMES));
    c_.lblKeys->SetCaption(texts.Text(IDS_SETTINGS_KEYS));
    c_.lblOptions->SetCaption(texts.Text(IDS_SETTINGS_OPTIONS));
    c_.lblLanguage->SetCaption(texts.Text(IDS_SETTINGS_LANGUAGE));
    c_.lblLanguageNote->SetCaption(texts.Text(IDS_LANGUAGE_AT_NEXT_START));
    for (size_t i = 0; i < kKeyCount; ++i) {
        c_.lblKey[i]->SetCaption(texts.Say(KeyCaption(KeyNames()[i])));
        c_.lblWinKept[i]->SetCaption(texts.Text(IDS_SETTINGS_WIN_KEPT));
        c_.cmdClear[i]->SetCaption(texts.Text(IDS_SETTINGS_CLEAR));
    }
    for (size_t i = 0; i < kOptionTexts.size(); ++i) {
        c_.chkOption[i]->SetCaption(texts.Text(kOptionTexts[i].caption));
        c_.lblOptionLine[i]->SetCaption(texts.Text(kOptionTexts[i].line));
    }
    for (size_t i = 0; i < kLanguageTexts.size(); ++i) c_.optLanguage[i]->SetCaption(texts.Text(kLanguageTexts[i]));
    c_.cmdOk->SetCaption(texts.Text(IDS_OK));
    c_.cmdCancel->SetCaption(texts.Text(IDS_CANCEL));
}

void SettingsDialog::Place() {
    // In the middle of the screen: too large to stand by the notification area.
    const engine::ScreenMetrics screen = engine_.Screen();
    form_.Move(std::max(0.0, (screen.width - form_.Width()) / 2), std::max(0.0, (screen.height - form_.Height()) / 2));
}

void SettingsDialog::Show(const EverydaySettings& now, const Texts& texts, bool startsWithWindows) {
    shown_ = now;
    form_.Load();
    ShowTexts(texts);
    for (size_t i = 0; i < now.names.size(); ++i) c_.txtName[i]->SetText(now.names[i]);
    for (size_t i = 0; i < kKeyCount; ++i) {
        const std::optional<KeyCombination> combination = ParseKeyCombination(now.keys[i], nullptr);
        shownWords_[i] = combination ? HotKeyWordOf(*combination) : 0;
        c_.hkyKey[i]->SetValue(shownWords_[i]);
        c_.lblWinKept[i]->SetVisible(combination && (combination->modifiers & engine::win::MOD_WIN));
    }
    for (size_t i = 0; i < now.options.size(); ++i) c_.chkOption[i]->SetValue(now.options[i] ? 1 : 0);
    c_.chkOption[kStartWithWindowsSwitch]->SetEnabled(!startsWithWindows);
    shownLanguage_ = 0;  // a language without a choice of its own shows as none, and stays
    for (size_t i = 0; i < kLanguageValues.size(); ++i)
        if (engine::EqualsIgnoreCase(now.language, kLanguageValues[i])) shownLanguage_ = i;
    c_.optLanguage[shownLanguage_]->SetValue(true);
    Place();
    form_.ShowModal();
}

EverydaySettings SettingsDialog::Edited() {
    EverydaySettings edited = shown_;
    for (size_t i = 0; i < edited.names.size(); ++i) edited.names[i] = c_.txtName[i]->Text();
    for (size_t i = 0; i < kKeyCount; ++i) {
        const Long word = c_.hkyKey[i]->Value();
        // Untouched, a key keeps the file's own text (and the Win the control cannot show).
        if (word != shownWords_[i]) edited.keys[i] = WrittenKey(word);
    }
    for (size_t i = 0; i < edited.options.size(); ++i) edited.options[i] = c_.chkOption[i]->Value() == 1;
    for (size_t i = 0; i < kLanguageValues.size(); ++i)
        if (c_.optLanguage[i]->Value() && i != shownLanguage_) edited.language = kLanguageValues[i];
    return edited;
}

}  // namespace trevo
