// The Settings dialog: each desktop's name, each key of [Keys] in Windows'
// own hot-key control with a button that clears it, and each switch of
// [Options] with a line that says what it does. It only shows and collects
// values; what OK does with them is the controller's.
#pragma once

#include <array>
#include <functional>

#include "app/language/texts.h"
#include "app/settings/everyday_settings.h"
#include "engine/forms.h"

namespace trevo {

struct SettingsControls {
    engine::Label* lblNames = nullptr;
    std::array<engine::TextBox*, kMaxDesks> txtName{};
    engine::Label* lblKeys = nullptr;
    std::array<engine::Label*, kKeyCount> lblKey{};
    // "Win +" before a key whose combination in the file holds Win, which the
    // control cannot show: that part is kept while the key is not changed.
    std::array<engine::Label*, kKeyCount> lblWinKept{};
    std::array<engine::HotKeyBox*, kKeyCount> hkyKey{};
    std::array<engine::CommandButton*, kKeyCount> cmdClear{};
    engine::Label* lblOptions = nullptr;
    std::array<engine::CheckBox*, kOptionSwitches.size()> chkOption{};
    std::array<engine::Label*, kOptionSwitches.size()> lblOptionLine{};
    engine::Label* lblLanguage = nullptr;
    std::array<engine::OptionButton*, kLanguageValues.size()> optLanguage{};
    engine::Label* lblLanguageNote = nullptr;
    engine::CommandButton* cmdOk = nullptr;
    engine::CommandButton* cmdCancel = nullptr;
};

class SettingsDialog {
public:
    explicit SettingsDialog(engine::Engine& engine);
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;

    // Shows these values modally; returns once the dialog is closed. Start
    // with Windows cannot be withdrawn from the menu while it is on.
    void Show(const EverydaySettings& now, const Texts& texts, bool startsWithWindows);
    // What the controls hold now; a key left as it was keeps its text from the file.
    EverydaySettings Edited();
    void Close() { form_.Unload(); }
    bool Open() { return form_.IsLoaded() && form_.Visible(); }
    void BringToFront() { form_.BringToFront(); }

    // OK or Enter; Cancel, Esc or the close box.
    std::function<void()> Ok;
    std::function<void()> Cancel;

    engine::Form& form() { return form_; }
    const SettingsControls& controls() const { return c_; }

private:
    void ShowTexts(const Texts& texts);
    void Place();

    engine::Engine& engine_;
    engine::Form form_;
    SettingsControls c_;
    EverydaySettings shown_;                            // the values the dialog opened with
    std::array<engine::Long, kKeyCount> shownWords_{};  // the controls' words at opening
    size_t shownLanguage_ = 0;
};

}  // namespace trevo
