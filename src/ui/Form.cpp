#include "ui/Form.h"

#include "common/Wide.h"
#include "ui/Application.h"
#include "ui/Dpi.h"

#include <commctrl.h>

#include <algorithm>

namespace morvi::ui {

namespace {

const wchar_t kFormProp[] = L"MorviForm";

bool KeyDown(int vk) {
  return (GetKeyState(vk) & 0x8000) != 0;
}

void AppendTabSequence(const Container& c, std::vector<Control*>& out) {
  std::vector<Control*> kids = c.Children();
  std::stable_sort(kids.begin(), kids.end(), [](const Control* a, const Control* b) {
    return a->TabOrder() < b->TabOrder();
  });
  for (Control* k : kids) {
    if (const auto* inner = dynamic_cast<const Container*>(k)) {
      if (k->Visible() && k->Enabled()) {
        AppendTabSequence(*inner, out);
      }
    } else if (k->TabStop() && k->Visible() && k->CanFocus()) {
      out.push_back(k);
    }
  }
}

void AppendAll(const Container& c, std::vector<Control*>& out) {
  for (Control* k : c.Children()) {
    out.push_back(k);
    if (const auto* inner = dynamic_cast<const Container*>(k)) {
      AppendAll(*inner, out);
    }
  }
}

} // namespace

Form::Form(std::u16string className, std::u16string name)
    : Component(std::move(name)), className_(std::move(className)) {}

Form::~Form() {
  if (hwnd_) {
    destroying_ = true;
    DestroyWindow(hwnd_);
  }
  if (tooltip_) {
    DestroyWindow(tooltip_);
  }
  Application::Instance().FormGone(*this);
}

Form* Form::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Form*>(GetPropW(hwnd, kFormProp)) : nullptr;
}

Component* Form::FindComponent(std::u16string_view name) const {
  for (const auto& c : components_) {
    if (c->Name() == name) {
      return c.get();
    }
  }
  return nullptr;
}

void Form::BindMessage(UINT message, MessageHandler handler) {
  handlers_[message] = std::move(handler);
}

void Form::RegisterWindowClass() {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), W(className_), &existing)) {
    return;
  }
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = StaticWndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = W(className_);
  if (design_.iconId) {
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(design_.iconId));
    wc.hIconSm = static_cast<HICON>(LoadImageW(wc.hInstance, MAKEINTRESOURCEW(design_.iconId),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
  }
  RegisterClassExW(&wc);
}

void Form::CreateWindowHandle(HWND owner) {
  RegisterWindowClass();
  const Design& d = design_;
  const SIZE outer = OuterSizeForClient(d.clientWidth, d.clientHeight, d.style, d.exStyle, d.dpi);
  const int x = d.hasPosition ? d.left : CW_USEDEFAULT;
  const int y = d.hasPosition ? d.top : CW_USEDEFAULT;
  CreateWindowExW(d.exStyle, W(className_), W(d.title), d.style, x, y, outer.cx, outer.cy, owner,
                  nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) {
    return;
  }
  Application::Instance().FormMade(*this);

  // Scale the design to the DPI of the monitor the window was placed on.
  dpi_ = DpiOfWindow(hwnd_);
  if (dpi_ != d.dpi) {
    const SIZE scaled =
        OuterSizeForClient(ScaleLength(d.clientWidth, dpi_, d.dpi),
                           ScaleLength(d.clientHeight, dpi_, d.dpi), d.style, d.exStyle, dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, scaled.cx, scaled.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  for (Control* child : Children()) {
    child->CreateHandle();
  }
  LOGFONTW spec{};
  spec.lfHeight = -d.fontHeight;
  spec.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(spec.lfFaceName, W(d.fontFace), LF_FACESIZE);
  ApplyFontSpec(spec);
  Relayout();

  Raise(OnCreate, *this);
}

void Form::ApplyFontSpec(const LOGFONTW& spec) {
  fontSpec_ = spec;
  LOGFONTW actual = spec;
  actual.lfHeight = ScaleLength(spec.lfHeight, dpi_, design_.dpi);
  font_.Reset(CreateFontIndirectW(&actual));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  for (Control* child : Children()) {
    child->ApplyFont(font_.Get());
  }
  if (tooltip_) {
    SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  }
}

void Form::UseMenuFont() {
  // The menu font as the system draws it at the design resolution.
  LOGFONTW menu = MenuFontAt(design_.dpi);
  LOGFONTW spec = fontSpec_;
  spec.lfHeight = menu.lfHeight;
  spec.lfCharSet = menu.lfCharSet;
  lstrcpynW(spec.lfFaceName, menu.lfFaceName, LF_FACESIZE);
  ApplyFontSpec(spec);
}

void Form::Relayout() {
  RECT r{};
  GetClientRect(hwnd_, &r);
  ArrangeChildren(r.right, r.bottom, dpi_, design_.dpi);
}

void Form::OnDpiChanged(int dpi, const RECT* suggested) {
  const int old = dpi_;
  dpi_ = dpi;
  const auto scale = [&](int v) { return v ? MulDiv(v, dpi, old) : 0; };
  constraints_ = {scale(constraints_.minWidth), scale(constraints_.minHeight),
                  scale(constraints_.maxWidth), scale(constraints_.maxHeight)};
  ApplyFontSpec(fontSpec_);
  if (suggested) {
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Relayout();
}

bool Form::Visible() const {
  return hwnd_ && IsWindowVisible(hwnd_);
}

bool Form::Enabled() const {
  return hwnd_ && IsWindowEnabled(hwnd_);
}

void Form::Show() {
  if (!hwnd_) {
    return;
  }
  if (!Visible()) {
    savedFocus_ = nullptr; // each show starts in the first field
    Raise(OnShow, *this);
    ShowWindow(hwnd_, SW_SHOW);
  }
  BringWindowToTop(hwnd_);
  if (GetForegroundWindow() == hwnd_) {
    FocusFirst();
  }
}

void Form::Hide() {
  if (hwnd_ && Visible()) {
    ShowWindow(hwnd_, SW_HIDE);
    Raise(OnHide, *this);
  }
}

bool Form::Close() {
  bool canClose = true;
  if (OnCloseQuery && !Guard([&] { OnCloseQuery(*this, canClose); })) {
    canClose = false; // a failed close query keeps the window
  }
  if (!canClose) {
    return false;
  }
  if (closeHides_) {
    Hide();
  } else {
    DestroyWindow(hwnd_);
  }
  return true;
}

Box Form::ScreenBounds() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Form::SetScreenBounds(const Box& b) {
  SetWindowPos(hwnd_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetLeft(int left) {
  Box b = ScreenBounds();
  b.left = left;
  SetScreenBounds(b);
}

void Form::SetTop(int top) {
  Box b = ScreenBounds();
  b.top = top;
  SetScreenBounds(b);
}

void Form::SetWidth(int width) {
  Box b = ScreenBounds();
  b.width = width;
  SetScreenBounds(b);
}

void Form::SetHeight(int height) {
  Box b = ScreenBounds();
  b.height = height;
  SetScreenBounds(b);
}

void Form::SetConstraints(const Constraints& c) {
  constraints_ = c;
  // Bring the present size within the new limits.
  const Box b = ScreenBounds();
  Box fitted = b;
  if (c.maxWidth && fitted.width > c.maxWidth) {
    fitted.width = c.maxWidth;
  }
  if (c.minWidth && fitted.width < c.minWidth) {
    fitted.width = c.minWidth;
  }
  if (c.maxHeight && fitted.height > c.maxHeight) {
    fitted.height = c.maxHeight;
  }
  if (c.minHeight && fitted.height < c.minHeight) {
    fitted.height = c.minHeight;
  }
  if (!(fitted == b)) {
    SetScreenBounds(fitted);
  }
}

std::vector<Control*> Form::TabSequence() const {
  std::vector<Control*> seq;
  AppendTabSequence(*this, seq);
  return seq;
}

std::vector<Control*> Form::AllControls() const {
  std::vector<Control*> all;
  AppendAll(*this, all);
  return all;
}

Control* Form::FocusedControl() const {
  Control* c = Control::FromHandle(GetFocus());
  return c && &c->OwnerForm() == this ? c : nullptr;
}

void Form::FocusFirst() {
  const std::vector<Control*> seq = TabSequence();
  if (Control* saved = Control::FromHandle(savedFocus_); saved && saved->CanFocus()) {
    saved->SetFocus();
  } else if (!seq.empty()) {
    seq.front()->SetFocus();
  }
}

void Form::SelectNext(bool forward) {
  const std::vector<Control*> seq = TabSequence();
  if (seq.empty()) {
    return;
  }
  const auto it = std::find(seq.begin(), seq.end(), FocusedControl());
  std::size_t i = 0;
  if (it == seq.end()) {
    i = forward ? 0 : seq.size() - 1;
  } else {
    const std::size_t at = static_cast<std::size_t>(it - seq.begin());
    i = forward ? (at + 1) % seq.size() : (at + seq.size() - 1) % seq.size();
  }
  Control* next = seq[i];
  next->SetFocus();
  if (auto* edit = dynamic_cast<Edit*>(next)) {
    edit->SelectAll(); // as in a dialog, a field entered by Tab has its text selected
  }
}

void Form::ControlFocused(Control& c) {
  savedFocus_ = c.Handle();
  // As in a dialog: a focused push button looks like the default one; elsewhere the default
  // button does.
  for (Control* k : AllControls()) {
    if (auto* b = dynamic_cast<Button*>(k)) {
      const bool look = c.IsPushButton() ? (b == &c) : (b == DefaultButton);
      b->SetDefaultLook(look);
    }
  }
}

bool Form::HandleAccessKey(char16_t ch) {
  const auto upper = static_cast<char16_t>(
      reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(ch)))));
  for (Control* c : AllControls()) {
    if (c->AccessKey() == upper && c->Visible() && c->CanFocus()) {
      c->PerformAccessKey();
      return true;
    }
  }
  return false;
}

bool Form::PreTranslateKey(const MSG& msg) {
  const bool ctrl = KeyDown(VK_CONTROL);
  const bool alt = KeyDown(VK_MENU);
  const bool shift = KeyDown(VK_SHIFT);
  Control* focused = FocusedControl();
  switch (msg.message) {
  case WM_KEYDOWN:
    if (ctrl || alt) {
      return false;
    }
    if (msg.wParam == VK_TAB) {
      SelectNext(!shift);
      return true;
    }
    if (msg.wParam == VK_RETURN && !shift) {
      if (focused && focused->IsPushButton()) {
        static_cast<Button*>(focused)->Click();
      } else if (DefaultButton) {
        DefaultButton->Click();
      }
      return true;
    }
    if (msg.wParam == VK_ESCAPE && !shift) {
      if (CancelButton) {
        CancelButton->Click();
      }
      return true;
    }
    return false;
  case WM_SYSCHAR:
    return HandleAccessKey(static_cast<char16_t>(msg.wParam));
  case WM_CHAR:
    // Without Alt, an access key works while the focus is not in a field that takes text.
    if (focused && !focused->IsEdit() && msg.wParam > u' ') {
      return HandleAccessKey(static_cast<char16_t>(msg.wParam));
    }
    return false;
  default:
    return false;
  }
}

void Form::UpdateHint(Control& c, const std::u16string& hint) {
  if (!hwnd_ || !c.Handle()) {
    return;
  }
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(c.Handle());
  ti.lpszText = const_cast<LPWSTR>(W(hint));
  if (!tooltip_) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  }
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  // TTM_UPDATETIPTEXT reports nothing, so ask whether the control has its tool already: one
  // tool per control, however often its hint changes.
  TTTOOLINFOW existing = ti;
  existing.lpszText = nullptr; // only asks; no text is copied
  if (SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&existing))) {
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  } else {
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

LRESULT CALLBACK Form::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Form* self = FromHandle(hwnd);
  if (msg == WM_NCCREATE) {
    self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetPropW(hwnd, kFormProp, self);
  }
  if (!self) {
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (msg == WM_NCDESTROY) {
    RemovePropW(hwnd, kFormProp);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return self->WndProc(msg, wp, lp);
}

LRESULT Form::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (const auto h = handlers_.find(msg); h != handlers_.end()) {
    LRESULT result = 0;
    Guard([&] { result = h->second(wp, lp); });
    return result;
  }
  switch (msg) {
  case WM_COMMAND:
    if (Control* c = Control::FromHandle(reinterpret_cast<HWND>(lp))) {
      c->HandleCommand(HIWORD(wp));
      return 0;
    }
    break;
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
    if (Control* c = Control::FromHandle(reinterpret_cast<HWND>(lp))) {
      if (HBRUSH b = c->HandleCtlColor(msg, reinterpret_cast<HDC>(wp))) {
        return reinterpret_cast<LRESULT>(b);
      }
    }
    break;
  case WM_SIZE:
    if (wp != SIZE_MINIMIZED) {
      Relayout();
      Raise(OnResize, *this);
    }
    return 0;
  case WM_GETMINMAXINFO: {
    auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
    const Constraints& c = constraints_;
    if (c.minWidth) {
      mmi->ptMinTrackSize.x = c.minWidth;
    }
    if (c.minHeight) {
      mmi->ptMinTrackSize.y = c.minHeight;
    }
    if (c.maxWidth) {
      mmi->ptMaxTrackSize.x = c.maxWidth;
    }
    if (c.maxHeight) {
      mmi->ptMaxTrackSize.y = c.maxHeight;
      mmi->ptMaxSize.y = c.maxHeight;
    }
    return 0;
  }
  case WM_WINDOWPOSCHANGING: {
    // The limits hold for sizes set by the program too, not only for dragged borders.
    auto* wp2 = reinterpret_cast<WINDOWPOS*>(lp);
    if (!(wp2->flags & SWP_NOSIZE)) {
      const Constraints& c = constraints_;
      wp2->cx = std::max(wp2->cx, c.minWidth);
      wp2->cy = std::max(wp2->cy, c.minHeight);
      if (c.maxWidth) {
        wp2->cx = std::min(wp2->cx, c.maxWidth);
      }
      if (c.maxHeight) {
        wp2->cy = std::min(wp2->cy, c.maxHeight);
      }
    }
    break;
  }
  case WM_DPICHANGED:
    OnDpiChanged(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
    return 0;
  case WM_ACTIVATE:
    if (LOWORD(wp) == WA_INACTIVE) {
      if (Control* c = FocusedControl()) {
        savedFocus_ = c->Handle();
      }
    } else if (!HIWORD(wp)) {
      FocusFirst();
    }
    return 0;
  case WM_CLOSE:
    Close();
    return 0;
  case WM_DESTROY:
    if (!destroying_) {
      Raise(OnDestroy, *this);
    }
    Application::Instance().FormDestroyed(*this);
    return 0;
  default:
    break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

} // namespace morvi::ui
