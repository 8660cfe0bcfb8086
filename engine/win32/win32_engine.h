// The form engine on Windows: windows, the message loop, message boxes, pictures
// and the program's resources.
#pragma once

#include <cmath>
#include <map>
#include <string>

#include "engine/engine.h"
#include "engine/win32/handles.h"
#include "engine/win32/win32_platform.h"

namespace win32 {

class Win32Engine : public engine::Engine {
public:
    explicit Win32Engine(HINSTANCE instance);
    ~Win32Engine() override;
    Win32Engine(const Win32Engine&) = delete;
    Win32Engine& operator=(const Win32Engine&) = delete;

    engine::Platform& platform() override { return platform_; }
    engine::ScreenMetrics Screen() const override;
    engine::AppInfo App() const override { return app_; }
    engine::Long MsgBox(const engine::String& text, engine::Long style, const engine::String& title) override;
    void DoEvents() override;
    engine::PicturePtr LoadPicture(const engine::String& path) override;
    engine::PicturePtr LoadResPicture(engine::Long id, engine::Long format) override;
    void SavePicture(const engine::Picture& picture, const engine::String& path) override;
    engine::String LoadResString(engine::Long id) override;
    std::optional<engine::String> LoadResStringOf(engine::Long id, std::uint16_t language) override;
    std::vector<std::uint16_t> ResStringLanguages(engine::Long id) override;
    void SetTextLanguage(std::uint16_t language) override;
    std::unique_ptr<engine::FormPeer> CreateFormPeer(const engine::FormDesign& design,
                                                     engine::FormEvents& events) override;
    std::unique_ptr<engine::NoticePanel> CreateNoticePanel() override;
    engine::Long Run() override;
    [[noreturn]] void End(engine::Long exitCode) override;

    HINSTANCE Instance() const { return instance_; }
    // The hidden window that owns the dialogs, which keeps them off the task bar.
    HWND Owner() const { return owner_.get(); }
    // The controls' font at a DPI, made at its first use.
    HFONT ControlFont(UINT dpi);
    // The scale a form's controls are laid out at.
    UINT FormDpi(HWND form) const;
    UINT TaskbarCreatedMessage() const { return taskbarCreated_; }
    // Handles one message as the loops do: Tab and the other dialog keys first.
    void Dispatch(MSG& msg);

protected:
    void LastFormUnloaded() override;

private:
    HINSTANCE instance_;
    Win32Platform platform_;
    engine::AppInfo app_;
    // By DPI and size in points.
    std::map<std::pair<UINT, int>, UniqueFont> fonts_;
    bool latinTexts_ = false;
    UINT taskbarCreated_ = 0;
    UniqueWindow owner_;
};

// The engine's UTF-16 text as Windows' wide strings, and back.
std::wstring Wide(const engine::String& text);
engine::String FromWide(std::wstring_view text);

// A length in twips as whole pixels of the screen.
inline int Pixels(double twips, double twipsPerPixel) { return static_cast<int>(std::lround(twips / twipsPerPixel)); }

}  // namespace win32
