#include "ui/Controls.h"

#include "common/Wide.h"
#include "ui/Application.h"
#include "ui/Form.h"

#include <commctrl.h>

#include <algorithm>

#include <unordered_map>

namespace morvi::ui {

namespace {

const wchar_t kPanelClass[] = L"MorviPanel";

} // namespace

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

// ---- Panel ----

Panel::Panel(Container& parent, std::u16string name, Box designed, Align align)
    : Control(parent, std::move(name), designed, align) {}

void Panel::RegisterClass() {
  static bool done = false;
  if (done) {
    return;
  }
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kPanelClass;
  RegisterClassExW(&wc);
  done = true;
}

HWND Panel::CreateWindowFor(HWND parent) {
  RegisterClass();
  return MakeChild(parent, kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

// Controls report to their parent window; a panel passes each report on to the control's own
// object, as the form's window procedure does for controls placed on the form itself.
LRESULT CALLBACK Panel::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT routed = 0; RouteToControl(msg, wp, lp, routed)) {
    return routed;
  }
  switch (msg) {
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    EndPaint(hwnd, &ps);
    return 0;
  }
  default:
    break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// ---- Edit ----

Edit::Edit(Container& parent, std::u16string name, Box designed, Align align)
    : Control(parent, std::move(name), designed, align) {}

HWND Edit::CreateWindowFor(HWND parent) {
  const DWORD style = ES_AUTOHSCROLL | ES_LEFT | (readOnly_ ? ES_READONLY : 0);
  HWND h = MakeChild(parent, L"EDIT", style, WS_EX_CLIENTEDGE);
  if (h) {
    SendMessageW(h, EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  }
  return h;
}

void Edit::SetMaxLength(int n) {
  maxLength_ = n;
  if (Handle()) {
    SendMessageW(Handle(), EM_SETLIMITTEXT, static_cast<WPARAM>(n), 0);
  }
}

void Edit::SetReadOnly(bool on) {
  readOnly_ = on;
  if (Handle()) {
    SendMessageW(Handle(), EM_SETREADONLY, on, 0);
    InvalidateRect(Handle(), nullptr, TRUE); // the colours of a read-only field differ
  }
}

std::u16string Edit::Text() const {
  if (!Handle()) {
    return {};
  }
  const int n = GetWindowTextLengthW(Handle());
  std::u16string s(static_cast<std::size_t>(n) + 1, u'\0');
  const int got = GetWindowTextW(Handle(), W(s.data()), n + 1);
  s.resize(static_cast<std::size_t>(std::max(0, got)));
  return s;
}

std::size_t Edit::TextLength() const {
  return Handle() ? static_cast<std::size_t>(GetWindowTextLengthW(Handle())) : 0;
}

void Edit::SetText(const std::u16string& text) {
  if (Handle() && Text() != text) {
    SetWindowTextW(Handle(), W(text));
  }
}

void Edit::SetHint(std::u16string hint) {
  hint_ = std::move(hint);
  if (showHint_) {
    OwnerForm().UpdateHint(*this, hint_);
  }
}

std::uint16_t Edit::CaretIndexFromCaretPos() const {
  POINT p{};
  if (!GetCaretPos(&p)) {
    // No caret to ask: take the end of the selection, where a caret placed by the program or
    // a selection made forwards stands.
    DWORD start = 0, end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<std::uint16_t>(end);
  }
  const LPARAM pos = static_cast<LPARAM>((static_cast<DWORD>(p.y & 0xFFFF) << 16) |
                                         static_cast<DWORD>(p.x & 0xFFFF));
  return LOWORD(SendMessageW(Handle(), EM_CHARFROMPOS, 0, pos));
}

std::uint16_t Edit::CaretIndex() const {
  if (!Handle()) {
    return 0;
  }
  return Focused() ? CaretIndexFromCaretPos() : caretRecord_;
}

void Edit::BeforeKillFocus() {
  caretRecord_ = CaretIndexFromCaretPos();
}

void Edit::PlaceCaret(std::size_t index) {
  SetFocus();
  SendMessageW(Handle(), EM_SETSEL, index, index);
  caretRecord_ = static_cast<std::uint16_t>(std::min<std::size_t>(index, TextLength()));
}

void Edit::SelectAll() {
  SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void Edit::HandleCommand(WORD, WORD code) {
  if (code == EN_CHANGE) {
    Raise(OnChange, *this);
  } else if (code == EN_SETFOCUS) {
    Raise(OnEnter, *this);
  }
}

HBRUSH Edit::HandleCtlColor(UINT msg, HDC dc) {
  // A read-only field reports as static and is drawn on the button face, like the window.
  if (msg == WM_CTLCOLORSTATIC && readOnly_) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return GetSysColorBrush(COLOR_BTNFACE);
  }
  return nullptr;
}

std::uint16_t CaretCharIndex(const Edit& edit) {
  return edit.CaretIndex();
}

void InsertAtCaret(Edit& edit, const std::u16string& text) {
  const std::u16string old = edit.Text();
  const std::size_t at = std::min<std::size_t>(CaretCharIndex(edit), old.size());
  edit.SetText(old.substr(0, at) + text + old.substr(at));
}

// ---- Button ----

Button::Button(Container& parent, std::u16string name, Box designed, Align align)
    : Control(parent, std::move(name), designed, align) {
  SetTabStop(true);
}

HWND Button::CreateWindowFor(HWND parent) {
  return MakeChild(parent, L"BUTTON", defaultLook_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 0);
}

void Button::SetDefaultLook(bool on) {
  if (defaultLook_ == on && Handle()) {
    return;
  }
  defaultLook_ = on;
  if (Handle()) {
    SendMessageW(Handle(), BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  }
}

void Button::HandleCommand(WORD, WORD code) {
  // A BM_CLICK sent or posted by anyone reaches a disabled button (or one in a disabled window)
  // too: it is no click.
  if (code == BN_CLICKED && CanFocus()) {
    Raise(OnClick, *this);
  }
}

void Button::Click() {
  if (Enabled() && Visible()) {
    Raise(OnClick, *this);
  }
}

// ---- CheckBox ----

CheckBox::CheckBox(Container& parent, std::u16string name, Box designed, Align align)
    : Control(parent, std::move(name), designed, align) {
  SetTabStop(true);
}

HWND CheckBox::CreateWindowFor(HWND parent) {
  HWND h = MakeChild(parent, L"BUTTON", BS_AUTOCHECKBOX, 0);
  if (h) {
    SendMessageW(h, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return h;
}

bool CheckBox::Checked() const {
  return Handle() ? SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED : checked_;
}

void CheckBox::SetChecked(bool on) {
  checked_ = on;
  if (Handle()) {
    SendMessageW(Handle(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void CheckBox::PerformAccessKey() {
  if (Enabled()) {
    SetFocus();
    SetChecked(!Checked());
    Raise(OnClick, *this);
  }
}

void CheckBox::HandleCommand(WORD, WORD code) {
  if (code == BN_CLICKED) {
    if (!CanFocus()) {
      SetChecked(checked_); // a disabled box does not change, whoever clicks it
      return;
    }
    checked_ = Checked();
    Raise(OnClick, *this);
  }
}

HBRUSH CheckBox::HandleCtlColor(UINT, HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  return GetSysColorBrush(COLOR_BTNFACE);
}

// ---- Label ----

Label::Label(Container& parent, std::u16string name, Box designed, Align align)
    : Control(parent, std::move(name), designed, align) {}

HWND Label::CreateWindowFor(HWND parent) {
  return MakeChild(parent, L"STATIC", SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, 0);
}

HBRUSH Label::HandleCtlColor(UINT, HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  return GetSysColorBrush(COLOR_BTNFACE);
}

} // namespace morvi::ui
