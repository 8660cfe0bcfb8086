// The peers of the standard controls, one class for each kind: what a kind's
// window is made of, what its value is, and what its notifications mean. The
// picture box, which draws, is in picture_box.h. Every control but an option
// button starts a group (WS_GROUP), so the arrow keys move only between the
// option buttons that stand together.
#pragma once

#include "engine/win32/win32_control.h"

namespace win32 {

class LabelPeer final : public Win32ControlPeer {
public:
    using Win32ControlPeer::Win32ControlPeer;
    HBRUSH OnColor(HDC dc) const override { return ButtonFaceColors(dc); }

private:
    ClassAndStyle Class() const override;
};

class TextBoxPeer final : public Win32ControlPeer {
public:
    using Win32ControlPeer::Win32ControlPeer;
    void SetText(const engine::String& text) override;
    void OnCommand(WORD code) override;
    HBRUSH OnColor(HDC dc) const override;

private:
    ClassAndStyle Class() const override;
    void Prepare() override;

    bool settingText_ = false;  // SetText at work: its EN_CHANGE is not the user's
};

// The default button answers Enter and the cancel button Esc: the dialog
// manager sends IDOK and IDCANCEL with the button of that number.
class CommandButtonPeer final : public Win32ControlPeer {
public:
    using Win32ControlPeer::Win32ControlPeer;
    void OnCommand(WORD code) override;

private:
    ClassAndStyle Class() const override;
    UINT_PTR Id() const override;
};

// Windows' hot-key control (comctl32's msctls_hotkey32). It reports a change
// with EN_CHANGE; the program's own HKM_SETHOTKEY reports nothing.
class HotKeyPeer final : public Win32ControlPeer {
public:
    using Win32ControlPeer::Win32ControlPeer;
    engine::Long Value() const override;
    void SetValue(engine::Long value) override;
    void OnCommand(WORD code) override;

private:
    ClassAndStyle Class() const override;
    void Prepare() override { SetValue(design().value); }
};

// Check boxes and option buttons: their value comes from the design, their
// caption stands on the button face.
class StateButtonPeer : public Win32ControlPeer {
public:
    using Win32ControlPeer::Win32ControlPeer;
    HBRUSH OnColor(HDC dc) const override { return ButtonFaceColors(dc); }

private:
    void Prepare() override { SetValue(design().value); }
};

// Values 0 (clear), 1 (checked) and 2 (grayed).
class CheckBoxPeer final : public StateButtonPeer {
public:
    using StateButtonPeer::StateButtonPeer;
    engine::Long Value() const override;
    void SetValue(engine::Long value) override;
    void OnCommand(WORD code) override;

private:
    ClassAndStyle Class() const override;
};

// Value 1 when chosen.
class OptionButtonPeer final : public StateButtonPeer {
public:
    using StateButtonPeer::StateButtonPeer;
    engine::Long Value() const override;
    void SetValue(engine::Long value) override;
    void OnCommand(WORD code) override;
    void OnFocusArrived() override;

private:
    ClassAndStyle Class() const override;
};

class HScrollBarPeer final : public Win32ControlPeer {
public:
    using Win32ControlPeer::Win32ControlPeer;
    engine::Long Value() const override;
    void SetValue(engine::Long value) override;
    void OnScroll(WORD code) override;

private:
    ClassAndStyle Class() const override;
    void Prepare() override;
};

}  // namespace win32
