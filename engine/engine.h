// The form engine: the host of the program's forms, with its screen and
// application objects, message box, pictures, one event-loop yield and the
// standard report for an error that no procedure handled.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine/error.h"
#include "engine/notice_panel.h"
#include "engine/peers.h"
#include "engine/picture.h"
#include "engine/platform.h"

namespace engine {

struct ScreenMetrics {
    double width = 0;   // twips
    double height = 0;  // twips
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;
};

struct AppInfo {
    String path;     // the program's folder, no closing backslash except at a drive root
    String exeFile;  // the program file's name in that folder: "Trevo.exe"
    String title;    // "Trevo"
    Long major = 0;
    Long minor = 0;
    Long revision = 0;
    String command;  // what follows the program's name on its command line
};

// Message box styles and answers.
inline constexpr Long kMbOk = 0;
inline constexpr Long kMbIconError = 16;
inline constexpr Long kMbIconExclamation = 48;
inline constexpr Long kIdOk = 1;

class Engine {
public:
    virtual ~Engine() = default;

    virtual Platform& platform() = 0;
    virtual ScreenMetrics Screen() const = 0;
    virtual AppInfo App() const = 0;

    // A modal message box; an empty title shows the application title.
    virtual Long MsgBox(const String& text, Long style, const String& title) = 0;
    // Handles the pending events once.
    virtual void DoEvents() = 0;

    // Raises 53 for a missing file and 481 for one that is no picture.
    virtual PicturePtr LoadPicture(const String& path) = 0;
    virtual PicturePtr LoadResPicture(Long id, Long format) = 0;
    virtual void SavePicture(const Picture& picture, const String& path) = 0;
    // LoadString: the string in the block of the thread's language, or the
    // nearest Windows finds.
    virtual String LoadResString(Long id) = 0;
    // The string in the block of exactly that language (FindResourceEx);
    // nothing where that block lacks it.
    virtual std::optional<String> LoadResStringOf(Long id, std::uint16_t language) = 0;
    // The languages of the blocks that hold the string table of id
    // (EnumResourceLanguages), in the order of their numbers.
    virtual std::vector<std::uint16_t> ResStringLanguages(Long id) = 0;
    // The language every text of the forms is now in: controls take the font
    // for its letters (until told, Japanese at 9 points), the ones made already too.
    virtual void SetTextLanguage(std::uint16_t language) = 0;

    virtual std::unique_ptr<FormPeer> CreateFormPeer(const FormDesign& design, FormEvents& events) = 0;
    // A notice panel; its window is made at its first Show.
    virtual std::unique_ptr<NoticePanel> CreateNoticePanel() = 0;

    // Runs the message loop until the last form has unloaded; returns the exit code.
    virtual Long Run() = 0;
    // Ends the process at once (the runtime's End statement). Never returns.
    [[noreturn]] virtual void End(Long exitCode) = 0;

    // The top of every event: an error that no procedure handled is reported with
    // the standard run-time error message and the process ends.
    void RunEvent(const std::function<void()>& handler);

    // Kept by the forms: when the last one unloads the process ends.
    void FormLoaded() { ++loadedForms_; }
    void FormUnloaded();
    int LoadedForms() const { return loadedForms_; }

    // An unloaded form's peers may still be on the call stack (the menu entry that
    // ends the program runs inside the window's own message handling), so they are
    // destroyed later, when the implementation calls CollectRetired at a safe point.
    void Retire(std::unique_ptr<FormPeer> form, std::vector<std::unique_ptr<ControlPeer>> controls);
    void CollectRetired();

protected:
    // Called when no form is left loaded.
    virtual void LastFormUnloaded() = 0;

private:
    int loadedForms_ = 0;
    std::vector<std::unique_ptr<ControlPeer>> retiredControls_;
    std::vector<std::unique_ptr<FormPeer>> retiredForms_;
};

}  // namespace engine
