#include "ui/Controls.h"

#include "common/Wide.h"
#include "ui/Application.h"
#include "ui/Form.h"

#include <commctrl.h>

#include <algorithm>


namespace morvi::ui {

namespace {

const wchar_t kPanelClass[] = L"MorviPanel";

} // namespace

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
