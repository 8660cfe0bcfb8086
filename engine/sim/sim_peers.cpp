#include "engine/sim/sim_peers.h"

#include <cmath>
#include <stdexcept>

#include "engine/error.h"
#include "engine/sim/window_frame.h"

namespace sim {
namespace win = engine::win;

namespace {
constexpr Dword kWindowColour = 0xFFFFFFFFu;  // the system window background

Long ToPixels(double twips, double twipsPerPixel) { return static_cast<Long>(std::lround(twips / twipsPerPixel)); }

// The program's pixels on a window: its view of the scale of the window's
// monitor. A per-monitor program lays its forms out at that scale, a
// system-aware one at the system's, an unaware one at 96 DPI.
class ProgramPixels {
public:
    ProgramPixels(const World& world, Hwnd hwnd) : ProgramPixels(world.ProgramView(), world.windows.DpiOf(hwnd)) {}
    ProgramPixels(DpiView view, Dword dpi) : view_(view), dpi_(dpi) {}
    double TwipsPerPixel() const { return 1440.0 / view_.SeenDpi(dpi_); }
    Long FromTwips(double twips) const { return ToPixels(twips, TwipsPerPixel()); }
    Long ToScreen(Long seen) const { return view_.ToScreen(seen, dpi_); }
    Long ToProgram(Long physical) const { return view_.ToProgram(physical, dpi_); }

private:
    DpiView view_;
    Dword dpi_;
};

// A window's outer width and height in twips.
std::pair<double, double> OuterTwips(World& world, Hwnd hwnd) {
    const Rect& r = world.windows.Get(hwnd).rect;
    const ProgramPixels px(world, hwnd);
    return {px.ToProgram(r.right - r.left) * px.TwipsPerPixel(), px.ToProgram(r.bottom - r.top) * px.TwipsPerPixel()};
}

Hwnd TopLevelOf(const WindowModel& model, Hwnd hwnd) {
    const Window* w = model.Find(hwnd);
    while (w && w->parent != model.Desktop()) w = model.Find(w->parent);
    return w ? w->hwnd : 0;
}

// A form's outer rectangle at (left, top) for a client area of that many
// physical pixels.
Rect FormRect(const engine::FormDesign& design, Long left, Long top, Long width, Long height) {
    Rect r{0, 0, width, height};
    if (design.dialogFrame) AddFrame(&r, win::WS_CAPTION | win::WS_SYSMENU, false, 0);
    return {left, top, left + r.right - r.left, top + r.bottom - r.top};
}

const char16_t* ClassOf(engine::ControlKind kind) {
    switch (kind) {
        case engine::ControlKind::Label:
            return u"Static";
        case engine::ControlKind::TextBox:
            return u"Edit";
        case engine::ControlKind::HScrollBar:
            return u"ScrollBar";
        case engine::ControlKind::PictureBox:
            return u"TrevoPicture";
        case engine::ControlKind::HotKey:
            return u"msctls_hotkey32";
        default:
            return u"Button";
    }
}
}  // namespace

// ---------------------------------------------------------------- forms

SimFormPeer::SimFormPeer(World& world, const engine::FormDesign& design, engine::FormEvents& events)
    : world_(world), design_(design), events_(events) {
    // A form is made at the top-left corner of the primary monitor.
    const ProgramPixels px(world.ProgramView(), world.windows.monitors().Primary().dpi);
    WindowSpec request;
    request.className = u"TrevoForm";
    request.title = design.caption;
    request.rect = FormRect(design, 0, 0, px.ToScreen(px.FromTwips(design.clientWidth)),
                            px.ToScreen(px.FromTwips(design.clientHeight)));
    request.style = design.dialogFrame ? win::WS_CAPTION | win::WS_SYSMENU : win::WS_OVERLAPPEDWINDOW;
    request.awareness = world.ProgramView().awareness();
    hwnd_ = world.windows.Create(request);
    Window& made = world.windows.Get(hwnd_);
    made.thread = world.programProcess;
    made.onDpiChanged = [this](Dword dpi, const Rect& suggested) { LayOutAt(dpi, suggested); };
    world.forms[hwnd_] = this;
    auto icon = std::make_shared<SimPicture>(engine::PictureKind::Icon, 32, 32);
    icon->SetResourceId(design.iconResource);
    world.iconResources[icon->Handle()] = design.iconResource;
    icon_ = icon;
}

SimFormPeer::~SimFormPeer() {
    // Windows frees the hotkeys of a window that is destroyed.
    std::erase_if(world_.hotKeys, [&](const auto& entry) { return entry.second.hwnd == hwnd_; });
    world_.forms.erase(hwnd_);
    world_.windows.Destroy(hwnd_);
}

bool SimFormPeer::Visible() const { return (world_.windows.Get(hwnd_).style & win::WS_VISIBLE) != 0; }

void SimFormPeer::SetVisible(bool visible) {
    world_.windows.Show(hwnd_, visible ? win::SW_SHOW : win::SW_HIDE);
    if (visible) world_.windows.BringToTop(hwnd_);
}

bool SimFormPeer::Enabled() const { return (world_.windows.Get(hwnd_).style & win::WS_DISABLED) == 0; }

void SimFormPeer::SetEnabled(bool enabled) {
    auto& style = world_.windows.Get(hwnd_).style;
    style = enabled ? (style & ~win::WS_DISABLED) : (style | win::WS_DISABLED);
}

void SimFormPeer::BringToFront() { world_.windows.BringToTop(hwnd_); }

void SimFormPeer::SetCaption(const engine::String& caption) {
    design_.caption = caption;
    world_.windows.Get(hwnd_).title = caption;
}

void SimFormPeer::Move(double leftTwips, double topTwips) {
    const ProgramPixels px(world_, hwnd_);
    const Long x = px.ToScreen(px.FromTwips(leftTwips)), y = px.ToScreen(px.FromTwips(topTwips));
    world_.windows.Place(hwnd_, 0, x, y, 0, 0, win::SWP_NOSIZE | win::SWP_NOZORDER);
}

void SimFormPeer::UserDragTo(Long x, Long y) {
    world_.windows.Place(hwnd_, 0, x, y, 0, 0, win::SWP_NOSIZE | win::SWP_NOZORDER);
}

void SimFormPeer::LayOutAt(Dword dpi, const Rect& suggested) {
    const double twipsPerPixel = 1440.0 / dpi;
    Window& w = world_.windows.Get(hwnd_);
    w.rect = w.normalRect =
        FormRect(design_, suggested.left, suggested.top, ToPixels(design_.clientWidth, twipsPerPixel),
                 ToPixels(design_.clientHeight, twipsPerPixel));
    // Parents before their children: a control is counted from its parent's client area.
    for (auto& [hwnd, control] : world_.controls)
        if (control->Form() == hwnd_) control->LayOut();
    events_.PeerScaleChanged();
}

double SimFormPeer::Width() const { return OuterTwips(world_, hwnd_).first; }
double SimFormPeer::Height() const { return OuterTwips(world_, hwnd_).second; }

void SimFormPeer::RunModal(const std::function<bool()>& done) {
    ++modalRuns;
    // The test plays the user. A modal form returns only once it is hidden: one
    // the script leaves shown would keep Windows waiting for ever.
    if (world_.modalScript && !done()) world_.modalScript(hwnd_);
    if (!done()) {
        world_.modelFaults.push_back("a modal form was left shown: Show would never return");
        SetVisible(false);
    }
}

int SimFormPeer::TrackPopup(const std::vector<engine::PopupEntry>& entries) {
    std::vector<engine::String> captions;
    std::vector<bool> checks;
    for (const engine::PopupEntry& entry : entries) {
        captions.push_back(entry.caption);
        checks.push_back(entry.checked);
    }
    world_.menusShown.push_back(captions);
    world_.menuChecks.push_back(checks);
    if (world_.menuChoices.empty()) return -1;
    const engine::String choice = world_.menuChoices.front();
    world_.menuChoices.pop_front();
    for (size_t i = 0; i < captions.size(); ++i)
        if (captions[i] == choice && choice != u"-") return static_cast<int>(i);
    return -1;
}

namespace {
// The enabled, visible button of the form that the design marks.
SimControlPeer* MarkedButton(World& world, Hwnd form, bool engine::ControlDesign::*mark) {
    for (auto& [hwnd, control] : world.controls)
        if (control->Form() == form && control->Design().*mark && control->Enabled() && control->Visible())
            return control;
    return nullptr;
}
}  // namespace

void SimFormPeer::UserPressEnter() {
    if (SimControlPeer* button = MarkedButton(world_, hwnd_, &engine::ControlDesign::defaultButton))
        world_.Deliver([&] { button->DeliverClick(); });
}

void SimFormPeer::UserPressEscape() {
    if (SimControlPeer* button = MarkedButton(world_, hwnd_, &engine::ControlDesign::cancelButton))
        world_.Deliver([&] { button->DeliverClick(); });
}

std::unique_ptr<engine::ControlPeer> SimFormPeer::CreateControl(const engine::ControlDesign& design,
                                                                engine::ControlPeer* parent,
                                                                engine::ControlEvents& events) {
    return std::make_unique<SimControlPeer>(world_, parent ? parent->hWnd() : hwnd_, design, events);
}

// ---------------------------------------------------------------- controls

SimControlPeer::SimControlPeer(World& world, Hwnd parent, const engine::ControlDesign& design,
                               engine::ControlEvents& events)
    : world_(world),
      design_(design),
      events_(events),
      parent_(parent),
      form_(TopLevelOf(world.windows, parent)),
      widthTwips_(design.width),
      heightTwips_(design.height) {
    WindowSpec request;
    request.parent = parent;
    request.className = ClassOf(design.kind);
    request.title = design.text;
    request.rect = PlacedRect();
    request.style = win::WS_CHILD | win::WS_VISIBLE;
    if (design.kind == engine::ControlKind::TextBox && design.readOnly) request.style |= win::ES_READONLY;
    hwnd_ = world.windows.Create(request);
    world.controls[hwnd_] = this;
    value_ = engine::StartsAtDesignValue(design.kind) ? design.value : 0;
    if (design.kind == engine::ControlKind::PictureBox) {
        canvas_ = std::make_unique<SimPicture>(engine::PictureKind::Bitmap, 1, 1);
        FitCanvas();
    }
}

Rect SimControlPeer::PlacedRect() const {
    // A control's place is counted from its parent's client area, as Windows does.
    const ProgramPixels px(world_, form_);
    const engine::Point origin = ClientOrigin(world_.windows.Get(parent_));
    const Long x = origin.x + px.ToScreen(px.FromTwips(design_.left));
    const Long y = origin.y + px.ToScreen(px.FromTwips(design_.top));
    return {x, y, x + px.ToScreen(px.FromTwips(widthTwips_)), y + px.ToScreen(px.FromTwips(heightTwips_))};
}

// The canvas holds the program's pixels inside the border.
void SimControlPeer::FitCanvas() {
    const ProgramPixels px(world_, form_);
    ResizeCanvas(px.FromTwips(widthTwips_) - 2 * Border(), px.FromTwips(heightTwips_) - 2 * Border());
}

void SimControlPeer::LayOut() {
    Window& w = world_.windows.Get(hwnd_);
    w.rect = w.normalRect = PlacedRect();
    if (canvas_) FitCanvas();
}

SimControlPeer::~SimControlPeer() {
    if (world_.focus == hwnd_) world_.focus = 0;
    world_.controls.erase(hwnd_);
    world_.windows.Destroy(hwnd_);
}

engine::String SimControlPeer::Text() const { return world_.windows.Get(hwnd_).title; }
void SimControlPeer::SetText(const engine::String& text) { world_.windows.Get(hwnd_).title = text; }

bool SimControlPeer::Enabled() const { return (world_.windows.Get(hwnd_).style & win::WS_DISABLED) == 0; }

void SimControlPeer::SetEnabled(bool enabled) {
    auto& style = world_.windows.Get(hwnd_).style;
    style = enabled ? (style & ~win::WS_DISABLED) : (style | win::WS_DISABLED);
}

bool SimControlPeer::Visible() const { return (world_.windows.Get(hwnd_).style & win::WS_VISIBLE) != 0; }
void SimControlPeer::SetVisible(bool visible) { world_.windows.Show(hwnd_, visible ? win::SW_SHOW : win::SW_HIDE); }
void SimControlPeer::SetFocus() { world_.MoveFocus(hwnd_); }

void SimControlPeer::DeliverLostFocus() { events_.PeerLostFocus(); }

double SimControlPeer::Width() const { return OuterTwips(world_, hwnd_).first; }
double SimControlPeer::Height() const { return OuterTwips(world_, hwnd_).second; }

void SimControlPeer::SetWidth(double twips) {
    const ProgramPixels px(world_, form_);
    widthTwips_ = twips;
    Rect& r = world_.windows.Get(hwnd_).rect;
    r.right = r.left + px.ToScreen(px.FromTwips(twips));
    if (canvas_) ResizeCanvas(px.FromTwips(twips) - 2 * Border(), canvas_->PixelHeight());
}

void SimControlPeer::SetHeight(double twips) {
    const ProgramPixels px(world_, form_);
    heightTwips_ = twips;
    Rect& r = world_.windows.Get(hwnd_).rect;
    r.bottom = r.top + px.ToScreen(px.FromTwips(twips));
    if (canvas_) ResizeCanvas(canvas_->PixelWidth(), px.FromTwips(twips) - 2 * Border());
}

double SimControlPeer::ScaleWidth() const {
    return canvas_ ? canvas_->PixelWidth() * ProgramPixels(world_, form_).TwipsPerPixel() : Width();
}

double SimControlPeer::ScaleHeight() const {
    return canvas_ ? canvas_->PixelHeight() * ProgramPixels(world_, form_).TwipsPerPixel() : Height();
}

void SimControlPeer::ResizeCanvas(Long widthPx, Long heightPx) {
    widthPx = std::max<Long>(widthPx, 1);
    heightPx = std::max<Long>(heightPx, 1);
    auto next = std::make_unique<SimPicture>(engine::PictureKind::Bitmap, widthPx, heightPx);
    std::fill(next->Pixels().begin(), next->Pixels().end(), kWindowColour);
    if (canvas_) {
        for (Long y = 0; y < std::min(heightPx, canvas_->PixelHeight()); ++y)
            for (Long x = 0; x < std::min(widthPx, canvas_->PixelWidth()); ++x)
                next->Pixels()[static_cast<size_t>(y * widthPx + x)] = canvas_->At(x, y);
    }
    canvas_ = std::move(next);
}

void SimControlPeer::Cls() {
    if (!canvas_) return;
    std::fill(canvas_->Pixels().begin(), canvas_->Pixels().end(), kWindowColour);
}

void SimControlPeer::PaintPicture(const engine::Picture& picture, double x, double y, double width, double height,
                                  Dword /*rop*/) {
    const auto* source = dynamic_cast<const SimPicture*>(&picture);
    if (!canvas_ || !source) engine::Raise(engine::err::kInvalidPicture);
    if (!autoRedraw_) {
        ++paintsOffImage_;  // drawn on the screen only; the persistent image keeps what it had
        return;
    }
    const ProgramPixels px(world_, form_);
    StretchOnto(*source, *canvas_, px.FromTwips(x), px.FromTwips(y), px.FromTwips(width), px.FromTwips(height));
}

engine::PicturePtr SimControlPeer::Image() const {
    if (!canvas_) engine::Raise(engine::err::kInvalidPicture);
    auto copy =
        std::make_shared<SimPicture>(engine::PictureKind::Bitmap, canvas_->PixelWidth(), canvas_->PixelHeight());
    copy->Pixels() = canvas_->Pixels();
    return copy;
}

void SimControlPeer::UserType(const engine::String& text) {
    // A disabled or read-only box takes no keys; a digits-only box refuses the others.
    const Dword style = world_.windows.Get(hwnd_).style;
    if (!Enabled() || (style & win::ES_READONLY)) return;
    world_.MoveFocus(hwnd_);  // the user's click into the box
    engine::String typed = text;
    if (style & win::ES_NUMBER) std::erase_if(typed, [](char16_t c) { return c < u'0' || c > u'9'; });
    if (Text() == typed) return;
    SetText(typed);
    events_.PeerChange();
}

void SimControlPeer::UserClick() {
    if (!Enabled()) return;
    // A click gives the focus to what takes it, before the click is handled.
    const auto kind = design_.kind;
    if (kind == engine::ControlKind::TextBox || kind == engine::ControlKind::CommandButton ||
        kind == engine::ControlKind::CheckBox || kind == engine::ControlKind::OptionButton)
        world_.MoveFocus(hwnd_);
    if (!world_.controls.count(hwnd_)) return;  // the focus change closed its form
    // An automatic check box goes from checked, and from greyed, to unchecked.
    if (design_.kind == engine::ControlKind::CheckBox) value_ = value_ == 0 ? 1 : 0;
    events_.PeerClick();
}

void SimControlPeer::UserScroll(Long value) {
    if (!Enabled()) return;
    value = std::clamp<Long>(value, design_.min, design_.max);
    if (value == value_) return;
    value_ = value;
    events_.PeerChange();
}

void SimControlPeer::UserPressKeys(Dword modifiers, Dword key) {
    if (design_.kind != engine::ControlKind::HotKey)
        throw std::logic_error("keys pressed in a control that is no hot-key control");
    if (!Enabled()) return;
    world_.MoveFocus(hwnd_);
    // Enter, Tab and Esc belong to the dialog manager: they never reach the control.
    if (key == win::VK_RETURN) return world_.FormAt(form_).UserPressEnter();
    if (key == win::VK_ESCAPE) return world_.FormAt(form_).UserPressEscape();
    if (key == win::VK_TAB) return UserLeave();
    const Long before = value_;
    const Dword held = modifiers & (win::HOTKEYF_SHIFT | win::HOTKEYF_CONTROL | win::HOTKEYF_ALT);
    if (key == win::VK_SPACE || key == win::VK_DELETE || key == win::VK_BACK) {
        value_ = 0;  // the control empties itself and tells nobody
        return;
    }
    const bool modifierAlone = key == win::VK_SHIFT || key == win::VK_CONTROL || key == win::VK_MENU;
    value_ = modifierAlone ? 0 : static_cast<Long>((held << 8) | (key & 0xFF));
    if (value_ != before || modifierAlone) events_.PeerChange();
}

void SimControlPeer::UserLeave() {
    if (world_.focus == hwnd_) world_.MoveFocus(0);  // the user tabs away
}

}  // namespace sim
