// What an engine implementation provides for each form and control: the native
// side ("peer") of the objects in forms.h. A peer does the work only; arguments are
// checked and events raised by the shared layer. A peer reports only what the user
// did (a click, typing, focus leaving); changes made from code raise their events in
// the shared layer, so no event is ever raised twice.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "engine/picture.h"
#include "engine/types.h"

namespace engine {

enum class ControlKind { Label, TextBox, CommandButton, CheckBox, OptionButton, HScrollBar, PictureBox, HotKey };

// The kinds whose window starts at the design's value; the others have none.
constexpr bool StartsAtDesignValue(ControlKind kind) {
    return kind == ControlKind::CheckBox || kind == ControlKind::OptionButton || kind == ControlKind::HScrollBar ||
           kind == ControlKind::HotKey;
}

struct ControlDesign {
    ControlKind kind = ControlKind::Label;
    String name;                                    // "txtWidth"; the members of a control array share one name
    Integer index = -1;                             // index within a control array, -1 when not in one
    String text;                                    // caption or initial text
    Long left = 0, top = 0, width = 0, height = 0;  // twips, in the parent's client area
    Integer tabIndex = 0;
    bool border = false;                  // picture box: single-line border
    bool readOnly = false;                // text box
    bool buttonStyle = false;             // option button drawn as a push button
    bool buttonFaceBack = false;          // background in the system button-face colour
    // Command button: pressed by Enter (the default button) or by Esc and the
    // close box's keyboard twin (the cancel button), wherever the focus is.
    bool defaultButton = false;
    bool cancelButton = false;
    Integer min = 0, max = 0, value = 0;  // scroll bar range and value; check box and option button value
};

// One entry of a pop-up menu as it is shown: a caption ("-" is a separator) and
// whether a check mark stands beside it.
struct PopupEntry {
    String caption;
    bool checked = false;
};

// Reports from a control peer to its shared control.
class ControlEvents {
public:
    virtual void PeerChange() = 0;  // the user changed the text or the scroll bar
    virtual void PeerClick() = 0;   // the user clicked (check box: value already toggled)
    virtual void PeerLostFocus() = 0;

protected:
    ~ControlEvents() = default;
};

class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual Hwnd hWnd() const = 0;
    virtual String Text() const = 0;
    virtual void SetText(const String& text) = 0;
    virtual Long Value() const = 0;
    virtual void SetValue(Long value) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetFocus() = 0;

    // Picture boxes (sizes in twips).
    virtual double Width() const = 0;
    virtual double Height() const = 0;
    virtual void SetWidth(double twips) = 0;
    virtual void SetHeight(double twips) = 0;
    virtual double ScaleWidth() const = 0;
    virtual double ScaleHeight() const = 0;
    virtual void SetAutoRedraw(bool on) = 0;
    virtual void Cls() = 0;
    virtual void PaintPicture(const Picture& picture, double x, double y, double width, double height, Dword rop) = 0;
    virtual void Refresh() = 0;
    virtual PicturePtr Image() const = 0;
};

struct FormDesign {
    String name;  // "frmTrevo"
    String caption;
    Long clientWidth = 0;      // twips
    Long clientHeight = 0;     // twips
    bool dialogFrame = false;  // fixed dialog frame, no minimise or maximise box
    Long iconResource = 1;
};

struct MouseArgs {
    Integer button = 0;
    Integer shift = 0;
    float x = 0;  // twips
    float y = 0;
};

// Reports from a form peer to its shared form.
class FormEvents {
public:
    virtual void PeerMouseMove(const MouseArgs& args) = 0;
    virtual void PeerCloseRequest() = 0;    // close box, Alt+F4, system menu
    virtual void PeerShellRestarted() = 0;  // the task bar was created again
    virtual void PeerSessionEnding() = 0;   // the log-on session ends (log-off, shut-down, restart)
    virtual void PeerHotKey(Long id) = 0;   // a hotkey registered for the form's window was pressed
    // The form came to a monitor of another scale: the peer has already laid
    // the form and its controls out again at it.
    virtual void PeerScaleChanged() = 0;
    // The display's settings changed (resolution, scale, monitors).
    virtual void PeerDisplayChanged() = 0;

protected:
    ~FormEvents() = default;
};

class FormPeer {
public:
    virtual ~FormPeer() = default;
    virtual Hwnd hWnd() const = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual void BringToFront() = 0;
    virtual void SetCaption(const String& caption) = 0;
    virtual void Move(double leftTwips, double topTwips) = 0;
    virtual double Width() const = 0;  // outer size, twips
    virtual double Height() const = 0;
    virtual PicturePtr Icon() const = 0;
    // Handles events until done() is true; the form is already visible.
    virtual void RunModal(const std::function<bool()>& done) = 0;
    // Shows a pop-up menu of these entries at the pointer and returns the index
    // chosen, or -1 when the menu was dismissed.
    virtual int TrackPopup(const std::vector<PopupEntry>& entries) = 0;
    virtual std::unique_ptr<ControlPeer> CreateControl(const ControlDesign& design, ControlPeer* parent,
                                                       ControlEvents& events) = 0;
};

}  // namespace engine
