#include "engine/forms.h"

#include "engine/error.h"
#include "engine/scoped_flag.h"

namespace engine {

namespace {
// A handler may replace or clear itself, or end its object's subscription, while
// it runs: it is called through a copy.
template <class F, class... Args>
void Fire(const F& handler, Args&&... args) {
    if (!handler) return;
    F copy = handler;
    copy(std::forward<Args>(args)...);
}
}  // namespace

// ---------------------------------------------------------------- controls

Control::Control(Form& form, Control* parent, ControlDesign design)
    : form_(form), parent_(parent), design_(std::move(design)) {}

ControlPeer& Control::Peer() {
    if (!MadePeer()) CreatePeer();
    return *peer_;
}

ControlPeer* Control::MadePeer() {
    form_.Peer();  // loads the form on first use
    return peer_.get();
}

void Control::Reset() {
    unmade_ = {};
    unmade_.text = design_.text;
    if (StartsAtDesignValue(design_.kind)) unmade_.value = design_.value;
}

void Control::CreatePeer() {
    ControlPeer* parent = parent_ ? &parent_->Peer() : nullptr;
    // The window starts as the control stands now, which is its design until the
    // program changes it.
    ControlDesign now = design_;
    now.text = unmade_.text;
    now.value = static_cast<Integer>(unmade_.value);
    peer_ = form_.peer_->CreateControl(now, parent, *this);
    if (!unmade_.enabled) peer_->SetEnabled(false);
    if (!unmade_.visible) peer_->SetVisible(false);
    if (unmade_.autoRedraw) peer_->SetAutoRedraw(true);
}

template <class T>
T Control::ReadKept(T (ControlPeer::*read)() const, const T& kept) {
    ControlPeer* peer = MadePeer();
    return peer ? (peer->*read)() : kept;
}

template <class T, class Arg>
void Control::WriteKept(void (ControlPeer::*write)(Arg), T& kept, const T& value) {
    if (ControlPeer* peer = MadePeer())
        (peer->*write)(value);
    else
        kept = value;
}

String Control::CurrentText() { return ReadKept(&ControlPeer::Text, unmade_.text); }
void Control::StoreText(const String& text) { WriteKept(&ControlPeer::SetText, unmade_.text, text); }
Long Control::CurrentValue() { return ReadKept(&ControlPeer::Value, unmade_.value); }
void Control::StoreValue(Long value) { WriteKept(&ControlPeer::SetValue, unmade_.value, value); }
Hwnd Control::hWnd() { return Peer().hWnd(); }
bool Control::Enabled() { return ReadKept(&ControlPeer::Enabled, unmade_.enabled); }
void Control::SetEnabled(bool enabled) { WriteKept(&ControlPeer::SetEnabled, unmade_.enabled, enabled); }
bool Control::Visible() { return ReadKept(&ControlPeer::Visible, unmade_.visible); }
void Control::SetVisible(bool visible) { WriteKept(&ControlPeer::SetVisible, unmade_.visible, visible); }
void Control::SetFocus() { Peer().SetFocus(); }

void Control::PeerLostFocus() {
    form_.engine().RunEvent([this] { Fire(LostFocus); });
}

String TextBox::Text() { return CurrentText(); }

void TextBox::SetText(const String& text) {
    const String before = CurrentText();
    StoreText(text);
    if (CurrentText() != before) Fire(Change);
}

void TextBox::OnUserChange() {
    form_.engine().RunEvent([this] { Fire(Change); });
}

void CommandButton::Click() { Fire(OnClick); }

void CommandButton::OnUserClick() {
    form_.engine().RunEvent([this] { Click(); });
}

Integer CheckBox::Value() { return static_cast<Integer>(CurrentValue()); }

void CheckBox::SetValue(Integer value) {
    if (value < 0 || value > 2) Raise(err::kInvalidProperty);
    const Integer before = Value();
    StoreValue(value);
    if (before != value) Fire(Click);
}

void CheckBox::OnUserClick() {
    form_.engine().RunEvent([this] { Fire(Click); });
}

bool OptionButton::Value() { return CurrentValue() != 0; }

void OptionButton::SetValue(bool on) {
    if (!on) {
        StoreValue(0);
        return;
    }
    for (const auto& control : form_.Controls()) {
        if (control.get() == this || control->Design().kind != ControlKind::OptionButton) continue;
        if (control->Parent() != Parent()) continue;
        static_cast<OptionButton&>(*control).StoreValue(0);
    }
    StoreValue(1);
    Fire(Click);
}

void OptionButton::OnUserClick() {
    form_.engine().RunEvent([this] { SetValue(true); });
}

Integer HScrollBar::Value() { return static_cast<Integer>(CurrentValue()); }

void HScrollBar::SetValue(Integer value) {
    if (value < Design().min || value > Design().max) Raise(err::kInvalidProperty);
    if (Value() == value) return;
    StoreValue(value);
    Fire(Change);
}

void HScrollBar::OnUserChange() {
    form_.engine().RunEvent([this] { Fire(Change); });
}

Long HotKeyBox::Value() { return CurrentValue(); }

void HotKeyBox::SetValue(Long value) {
    if (value < 0 || value > 0xFFFF) Raise(err::kInvalidProperty);
    if (Value() == value) return;
    StoreValue(value);
    Fire(Change);
}

void HotKeyBox::OnUserChange() {
    form_.engine().RunEvent([this] { Fire(Change); });
}

namespace {
// The largest drawing surface a picture box accepts, in pixels along either axis.
constexpr double kMaxCanvasPixels = 16384;

void CheckCanvasSize(double twips, double twipsPerPixel) {
    const double pixels = twips / twipsPerPixel;
    if (!(pixels >= 1) || pixels > kMaxCanvasPixels) Raise(err::kInvalidProperty);
}
}  // namespace

void PictureBox::SetWidth(double twips) {
    CheckCanvasSize(twips, form_.engine().Screen().twipsPerPixelX);
    Peer().SetWidth(twips);
}

void PictureBox::SetHeight(double twips) {
    CheckCanvasSize(twips, form_.engine().Screen().twipsPerPixelY);
    Peer().SetHeight(twips);
}

void PictureBox::SetAutoRedraw(bool on) { WriteKept(&ControlPeer::SetAutoRedraw, unmade_.autoRedraw, on); }

void PictureBox::Cls() {
    if (ControlPeer* peer = MadePeer()) peer->Cls();
}

void PictureBox::PaintPicture(const PicturePtr& picture, double x, double y, double width, double height, Dword rop) {
    if (!picture) Raise(err::kObjectNotSet);
    Peer().PaintPicture(*picture, x, y, width, height, rop);
}

Menu& Menu::AddEntry(String caption) {
    entries_.push_back(std::make_unique<Menu>(std::move(caption)));
    return *entries_.back();
}

// ---------------------------------------------------------------- forms

Form::Form(Engine& engine, FormDesign design) : engine_(engine), design_(std::move(design)) {}

Form::~Form() {
    // The peers go before the controls that receive their reports.
    for (auto& control : controls_) control->TakePeer().reset();
    if (peer_) {
        peer_.reset();
        engine_.FormUnloaded();
    }
}

Menu& Form::AddMenu(String caption) {
    menus_.push_back(std::make_unique<Menu>(std::move(caption)));
    return *menus_.back();
}

FormPeer& Form::Peer() {
    if (!peer_) Load();
    return *peer_;
}

void Form::Load() {
    if (peer_) return;
    peer_ = engine_.CreateFormPeer(design_, *this);
    for (auto& control : controls_) control->Reset();
    engine_.FormLoaded();
    Fire(OnLoad);
}

void Form::Unload() {
    if (!peer_ || unloading_) return;
    const ScopedFlag unloading(unloading_);
    Fire(OnUnload);
    std::vector<std::unique_ptr<ControlPeer>> controls;
    for (auto& control : controls_) controls.push_back(control->TakePeer());
    engine_.Retire(std::move(peer_), std::move(controls));
    engine_.FormUnloaded();
}

void Form::Hide() { Peer().SetVisible(false); }

void Form::ShowModal() {
    FormPeer& peer = Peer();
    if (peer.Visible()) Raise(400, u"Form already displayed; can't show modally");
    for (auto& control : controls_) control->Peer();  // what is shown has its windows
    peer.SetVisible(true);
    peer.RunModal([this] { return !peer_ || !peer_->Visible(); });
}

void Form::Move(double leftTwips, double topTwips) { Peer().Move(leftTwips, topTwips); }
bool Form::Visible() { return Peer().Visible(); }
bool Form::Enabled() { return Peer().Enabled(); }
void Form::SetEnabled(bool enabled) { Peer().SetEnabled(enabled); }
void Form::BringToFront() { Peer().BringToFront(); }

void Form::SetCaption(const String& caption) {
    design_.caption = caption;
    if (peer_) peer_->SetCaption(caption);
}
Hwnd Form::hWnd() { return Peer().hWnd(); }
PicturePtr Form::Icon() { return Peer().Icon(); }
double Form::Width() { return Peer().Width(); }
double Form::Height() { return Peer().Height(); }

void Form::PopupMenu(Menu& menu) {
    std::vector<PopupEntry> entries;
    std::vector<Menu*> shown;
    for (const auto& entry : menu.Entries()) {
        if (!entry->Visible()) continue;
        entries.push_back({entry->Caption(), entry->Checked()});
        shown.push_back(entry.get());
    }
    if (entries.empty()) Raise(err::kInvalidCall);
    const int chosen = Peer().TrackPopup(entries);
    if (chosen < 0 || chosen >= static_cast<int>(shown.size())) return;
    Menu& entry = *shown[static_cast<size_t>(chosen)];
    // The chosen entry's Click is an event of its own: an error raised there gets
    // the standard report, whatever the caller of the menu does with its own.
    if (entry.Caption() != u"-") engine_.RunEvent([&] { Fire(entry.Click); });
}

void Form::PeerMouseMove(const MouseArgs& args) {
    engine_.RunEvent([&] { Fire(MouseMove, args); });
}

void Form::PeerCloseRequest() {
    engine_.RunEvent([this] {
        if (CloseRequest)
            Fire(CloseRequest);
        else
            Unload();
    });
}

void Form::PeerSessionEnding() {
    engine_.RunEvent([this] { Fire(SessionEnding); });
}

void Form::PeerHotKey(Long id) {
    engine_.RunEvent([&] { Fire(HotKey, id); });
}

void Form::PeerShellRestarted() {
    engine_.RunEvent([this] { Fire(ShellRestarted); });
}

void Form::PeerScaleChanged() {
    engine_.RunEvent([this] { Fire(ScaleChanged); });
}

void Form::PeerDisplayChanged() {
    engine_.RunEvent([this] { Fire(DisplayChanged); });
}

}  // namespace engine
