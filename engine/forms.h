// Forms, controls and menus as the program sees them. These check arguments, keep
// the load-on-first-use rule and raise events; the native work is the peers'.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "engine/engine.h"

namespace engine {

class Form;

class Control : private ControlEvents {
public:
    Control(Form& form, Control* parent, ControlDesign design);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    const String& Name() const { return design_.name; }
    Integer Index() const { return design_.index; }
    const ControlDesign& Design() const { return design_; }
    Control* Parent() const { return parent_; }

    Hwnd hWnd();
    bool Enabled();
    void SetEnabled(bool enabled);
    bool Visible();
    void SetVisible(bool visible);
    void SetFocus();

    // Focus leaving the control (user or engine).
    std::function<void()> LostFocus;

protected:
    // What the control shows while it has no window. A form's control windows are
    // made when the form is first shown or a window is first needed (its handle,
    // its size, a drawing): a form that is only loaded, never shown, makes none.
    struct Unmade {
        String text;
        Long value = 0;
        bool enabled = true;
        bool visible = true;
        bool autoRedraw = false;
    };
    // The control's window, made now if it has none yet.
    ControlPeer& Peer();
    ControlPeer* MadePeer();  // loads the form; null while the window is not made
    // A property read from the window when there is one, else from what it will
    // show; written to the one or the other alike.
    template <class T>
    T ReadKept(T (ControlPeer::*read)() const, const T& kept);
    template <class T, class Arg>
    void WriteKept(void (ControlPeer::*write)(Arg), T& kept, const T& value);
    // Text and value, from the window when there is one, else from what it will show.
    String CurrentText();
    void StoreText(const String& text);
    Long CurrentValue();
    void StoreValue(Long value);
    Form& form_;
    Unmade unmade_;

private:
    friend class Form;
    // The form has just loaded: the control shows its design again, windowless.
    void Reset();
    void CreatePeer();
    std::unique_ptr<ControlPeer> TakePeer() { return std::move(peer_); }
    void PeerChange() override { OnUserChange(); }
    void PeerClick() override { OnUserClick(); }
    void PeerLostFocus() override;
    virtual void OnUserChange() {}
    virtual void OnUserClick() {}

    Control* parent_;
    ControlDesign design_;
    std::unique_ptr<ControlPeer> peer_;
};

class Label : public Control {
public:
    using Control::Control;
    String Caption() { return CurrentText(); }
    void SetCaption(const String& text) { StoreText(text); }
};

class TextBox : public Control {
public:
    using Control::Control;
    String Text();
    void SetText(const String& text);  // raises Change when the text changes
    std::function<void()> Change;

private:
    void OnUserChange() override;
};

class CommandButton : public Control {
public:
    using Control::Control;
    String Caption() { return CurrentText(); }
    void SetCaption(const String& text) { StoreText(text); }
    void Click();  // as if the user pressed it
    std::function<void()> OnClick;

private:
    void OnUserClick() override;
};

class CheckBox : public Control {
public:
    using Control::Control;
    String Caption() { return CurrentText(); }
    void SetCaption(const String& text) { StoreText(text); }
    Integer Value();
    void SetValue(Integer value);  // 0, 1 or 2; raises 380 otherwise; Click when it changes
    std::function<void()> Click;

private:
    void OnUserClick() override;
};

class OptionButton : public Control {
public:
    using Control::Control;
    String Caption() { return CurrentText(); }
    void SetCaption(const String& text) { StoreText(text); }
    bool Value();
    // Switching one on switches the others of its group (same parent) off, then
    // raises Click, also when it was on already.
    void SetValue(bool on);
    std::function<void()> Click;

private:
    void OnUserClick() override;
};

class HScrollBar : public Control {
public:
    using Control::Control;
    Integer Value();
    void SetValue(Integer value);  // raises 380 outside min..max; Change when it changes
    std::function<void()> Change;

private:
    void OnUserChange() override;
};

// Windows' hot-key control: the user presses a combination and the control
// holds it. Its value is the word of HKM_GETHOTKEY: the virtual key in the low
// byte, the HOTKEYF_ modifiers (Shift, Ctrl, Alt; never Win, which the control
// does not know) in the high byte, 0 for none.
class HotKeyBox : public Control {
public:
    using Control::Control;
    Long Value();
    void SetValue(Long value);  // raises 380 for a value beyond a word; Change when it changes
    std::function<void()> Change;

private:
    void OnUserChange() override;
};

class PictureBox : public Control {
public:
    using Control::Control;
    double Width() { return Peer().Width(); }
    double Height() { return Peer().Height(); }
    void SetWidth(double twips);  // raises 380 for a size that is not positive or too large
    void SetHeight(double twips);
    double ScaleWidth() { return Peer().ScaleWidth(); }
    double ScaleHeight() { return Peer().ScaleHeight(); }
    void SetAutoRedraw(bool on);
    void Cls();  // a box whose window is not made yet is blank already
    void PaintPicture(const PicturePtr& picture, double x, double y, double width, double height, Dword rop = kSrcCopy);
    void Refresh() { Peer().Refresh(); }
    PicturePtr Image() { return Peer().Image(); }
};

class Menu {
public:
    explicit Menu(String caption) : caption_(std::move(caption)) {}
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    const String& Caption() const { return caption_; }
    // A check mark beside the entry when its menu is shown.
    bool Checked() const { return checked_; }
    void SetChecked(bool checked) { checked_ = checked; }
    // A hidden entry is left out of its menu when the menu is shown.
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    Menu& AddEntry(String caption);
    const std::vector<std::unique_ptr<Menu>>& Entries() const { return entries_; }
    std::function<void()> Click;

private:
    String caption_;
    bool checked_ = false;
    bool visible_ = true;
    std::vector<std::unique_ptr<Menu>> entries_;
};

class Form : private FormEvents {
public:
    Form(Engine& engine, FormDesign design);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    ~Form();

    // Design: controls and menus are declared before the form is first used.
    template <class C>
    C& Add(ControlDesign design, Control* parent = nullptr) {
        auto control = std::make_unique<C>(*this, parent, std::move(design));
        C& ref = *control;
        controls_.push_back(std::move(control));
        return ref;
    }
    Menu& AddMenu(String caption);

    // Events.
    std::function<void()> OnLoad;
    std::function<void()> OnUnload;
    std::function<void(const MouseArgs&)> MouseMove;
    // The frame's close request; unloads the form when no handler is set.
    std::function<void()> CloseRequest;
    // The shell's task bar was created again (for example after Explorer restarted).
    std::function<void()> ShellRestarted;
    // Windows is logging off, shutting down or restarting.
    std::function<void()> SessionEnding;
    // A combination registered for this form's window was pressed (WM_HOTKEY).
    std::function<void(Long id)> HotKey;
    // The form now stands at another scale: what it drew for the old one is redrawn.
    std::function<void()> ScaleChanged;
    // The display's settings changed: pictures loaded for the old scale are loaded again.
    std::function<void()> DisplayChanged;

    // Operations; each loads the form first when it is not loaded.
    void Load();
    void Hide();
    void ShowModal();
    void Move(double leftTwips, double topTwips);
    void Unload();
    bool Visible();
    bool Enabled();
    void SetEnabled(bool enabled);
    void BringToFront();
    const String& Caption() const { return design_.caption; }
    void SetCaption(const String& caption);
    Hwnd hWnd();
    PicturePtr Icon();
    double Width();
    double Height();
    void PopupMenu(Menu& menu);

    bool IsLoaded() const { return peer_ != nullptr; }
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
    Engine& engine() { return engine_; }
    const FormDesign& Design() const { return design_; }

private:
    friend class Control;
    FormPeer& Peer();
    void PeerMouseMove(const MouseArgs& args) override;
    void PeerCloseRequest() override;
    void PeerShellRestarted() override;
    void PeerSessionEnding() override;
    void PeerHotKey(Long id) override;
    void PeerScaleChanged() override;
    void PeerDisplayChanged() override;

    Engine& engine_;
    FormDesign design_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<Menu>> menus_;
    std::unique_ptr<FormPeer> peer_;
    bool unloading_ = false;
};

}  // namespace engine
