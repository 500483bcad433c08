// What every control shares: its place in its container's layout, the routing of its parent's
// notifications to its object, and its window procedure in front of the system's.
#include "ui/Controls.h"

#include "common/Wide.h"
#include "ui/Form.h"

#include <algorithm>
#include <unordered_map>

namespace morvi::ui {

// ---- Container ----

void Container::ArrangeChildren(int clientWidth, int clientHeight, int dpi, int designDpi) {
  const int inset = BorderInset();
  const Box area{inset, inset, std::max(0, clientWidth - 2 * inset),
                 std::max(0, clientHeight - 2 * inset)};
  std::vector<AlignItem> items;
  items.reserve(Children().size());
  for (Control* child : Children()) {
    items.push_back({child->Alignment(), ScaleBox(child->Designed(), dpi, designDpi)});
  }
  const std::vector<Box> boxes = Arrange(area, items);
  // The children of one parent move in one batch; a child that stays where it is is not moved.
  HDWP batch = BeginDeferWindowPos(static_cast<int>(boxes.size()));
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    Control* child = Children()[i];
    const Box& b = boxes[i];
    if (!child->Handle() || (child->placed_ && *child->placed_ == b)) {
      continue;
    }
    child->placed_ = b;
    if (batch) {
      batch = DeferWindowPos(batch, child->Handle(), nullptr, b.left, b.top, b.width, b.height,
                             SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!batch) { // the batch could not be made or grown: this child moves alone
      SetWindowPos(child->Handle(), nullptr, b.left, b.top, b.width, b.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (batch) {
    EndDeferWindowPos(batch);
  }
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    if (auto* inner = dynamic_cast<Container*>(Children()[i])) {
      inner->ArrangeChildren(boxes[i].width, boxes[i].height, dpi, designDpi);
    }
  }
}

// ---- Routing ----

bool RouteToControl(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
  case WM_COMMAND:
    // Menus and accelerators send no window handle; they are not a control's.
    if (Control* c = Control::FromHandle(reinterpret_cast<HWND>(lp))) {
      c->HandleCommand(LOWORD(wp), HIWORD(wp));
      result = 0;
      return true;
    }
    return false;
  case WM_NOTIFY: {
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    Control* c = header ? Control::FromHandle(header->hwndFrom) : nullptr;
    result = 0;
    return c && c->HandleNotify(*header, result);
  }
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLORLISTBOX:
    if (Control* c = Control::FromHandle(reinterpret_cast<HWND>(lp))) {
      if (HBRUSH b = c->HandleCtlColor(msg, reinterpret_cast<HDC>(wp))) {
        result = reinterpret_cast<LRESULT>(b);
        return true;
      }
    }
    return false;
  default:
    return false;
  }
}

// ---- Control ----

Control::Control(Container& parent, std::u16string name, Box designed, Align align)
    : Component(std::move(name)), parent_(parent), designed_(designed), align_(align) {
  parent_.AddChild(*this);
}

Control::~Control() {
  if (hwnd_ && IsWindow(hwnd_)) {
    Detach(hwnd_);
  }
}

namespace {

const wchar_t kBaseProcProp[] = L"MorviBaseProc";

// The controls by their windows. Looked up on every key press and notification; a window
// property would cost a round trip to the window server each time.
std::unordered_map<HWND, Control*>& Controls() {
  static std::unordered_map<HWND, Control*> controls;
  return controls;
}

} // namespace

Control* Control::FromHandle(HWND hwnd) {
  const auto& controls = Controls();
  const auto it = hwnd ? controls.find(hwnd) : controls.end();
  return it == controls.end() ? nullptr : it->second;
}

// A control's window runs ControlProc in front of its own window procedure and holds its object
// in GWLP_USERDATA, instead of the common controls' subclassing, which asks the window server
// for every message (costly for a list box filled with 100,000 lines).
void Control::Attach(HWND hwnd) {
  Controls()[hwnd] = this;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  baseProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
}

void Control::Detach(HWND hwnd) {
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == ControlProc) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(baseProc_));
  } else {
    // Another program's procedure came in front of ours: ours stays in the chain and only
    // passes messages on, to the procedure kept here.
    SetPropW(hwnd, kBaseProcProp, reinterpret_cast<HANDLE>(baseProc_));
  }
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  Controls().erase(hwnd);
}

void Control::SetTabStop(bool on) {
  tabStop_ = on;
  if (hwnd_) {
    LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    style = on ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
  }
}

bool Control::Enabled() const {
  return hwnd_ ? IsWindowEnabled(hwnd_) != FALSE : enabled_;
}

void Control::SetEnabled(bool on) {
  enabled_ = on;
  if (hwnd_) {
    EnableWindow(hwnd_, on);
  }
}

bool Control::Visible() const {
  return hwnd_ && IsWindowVisible(hwnd_);
}

bool Control::Focused() const {
  return hwnd_ && GetFocus() == hwnd_;
}

void Control::SetFocus() {
  if (hwnd_) {
    ::SetFocus(hwnd_);
  }
}

bool Control::CanFocus() const {
  if (!hwnd_ || IsContainer()) {
    return false;
  }
  for (HWND w = hwnd_; w; w = GetParent(w)) {
    if (!IsWindowEnabled(w)) {
      return false;
    }
    if (w == OwnerForm().Handle()) {
      break;
    }
  }
  return true;
}

Box Control::Bounds() const {
  RECT r{};
  if (!hwnd_ || !GetWindowRect(hwnd_, &r)) {
    return {};
  }
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Control::SetCaption(std::u16string caption) {
  caption_ = std::move(caption);
  if (hwnd_) {
    SetWindowTextW(hwnd_, W(caption_));
  }
}

char16_t AccessKeyOf(std::u16string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (caption[i + 1] == u'&') {
        ++i;
        continue;
      }
      return static_cast<char16_t>(reinterpret_cast<UINT_PTR>(
          CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(caption[i + 1])))));
    }
  }
  return 0;
}

char16_t Control::AccessKey() const {
  return AccessKeyOf(caption_);
}

bool Control::TryAccessKey(char16_t ch) {
  if (ch == 0 || AccessKey() != ch || !Visible() || !CanFocus()) {
    return false;
  }
  PerformAccessKey();
  return true;
}

void Control::CreateHandle() {
  hwnd_ = CreateWindowFor(Parent().ContainerHandle());
  if (!hwnd_) {
    return;
  }
  // Where controls overlap, the one made later lies on top, as designed.
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Attach(hwnd_);
  EnableWindow(hwnd_, enabled_);
  if (auto* inner = dynamic_cast<Container*>(this)) {
    for (Control* child : inner->Children()) {
      child->CreateHandle();
    }
  }
}

void Control::ApplyFont(HFONT font) {
  if (hwnd_) {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  if (auto* inner = dynamic_cast<Container*>(this)) {
    for (Control* child : inner->Children()) {
      child->ApplyFont(font);
    }
  }
}

HWND Control::MakeChild(HWND parent, const wchar_t* cls, DWORD style, DWORD exStyle) {
  style |= WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  if (tabStop_) {
    style |= WS_TABSTOP;
  }
  const Box b = designed_;
  return CreateWindowExW(exStyle, cls, W(caption_), style, b.left, b.top, b.width, b.height, parent,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

LRESULT CALLBACK Control::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) {
    const auto base = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kBaseProcProp));
    if (msg == WM_NCDESTROY) {
      RemovePropW(hwnd, kBaseProcProp);
    }
    return base ? CallWindowProcW(base, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) {
    self->OwnerForm().RelayToHint(hwnd, msg, wp, lp);
  }
  const WNDPROC base = self->baseProc_;
  if (LRESULT filtered = 0; msg != WM_NCDESTROY && self->FilterMessage(msg, wp, lp, filtered)) {
    return filtered;
  }
  switch (msg) {
  case WM_KILLFOCUS:
    self->BeforeKillFocus();
    break;
  case WM_SETFOCUS: {
    const LRESULT r = CallWindowProcW(base, hwnd, msg, wp, lp);
    self->OwnerForm().ControlFocused(*self);
    return r;
  }
  case WM_NCDESTROY:
    self->Detach(hwnd);
    self->hwnd_ = nullptr;
    break;
  default:
    break;
  }
  return CallWindowProcW(base, hwnd, msg, wp, lp);
}

} // namespace morvi::ui
