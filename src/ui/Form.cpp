#include "ui/Form.h"

#include "common/Wide.h"
#include "ui/Application.h"
#include "ui/Dpi.h"
#include "ui/Menu.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

namespace morvi::ui {

namespace {

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

// A form's window holds its object in the first extra bytes of its class, read without a round
// trip to the window server; only a window of a form's class is taken for a form.
Form* Form::FromHandle(HWND hwnd) {
  if (!hwnd || reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC)) != StaticWndProc) {
    return nullptr;
  }
  return reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, 0));
}

Component* Form::FindComponent(std::u16string_view name) const {
  for (const auto& c : components_) {
    if (c->Name() == name) {
      return c.get();
    }
  }
  return nullptr;
}

namespace {

// The messages that the form handles itself: a handler bound to one of them would take its place
// unseen (the layout, the size limits, the close query...).
bool HandledByTheForm(UINT message) {
  switch (message) {
  case WM_NCCREATE:
  case WM_NCDESTROY:
  case WM_COMMAND:
  case WM_NOTIFY:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLORLISTBOX:
  case WM_SIZE:
  case WM_GETMINMAXINFO:
  case WM_WINDOWPOSCHANGING:
  case WM_DPICHANGED:
  case WM_MENUCHAR:
  case WM_ACTIVATE:
  case WM_CLOSE:
  case WM_DESTROY:
    return true;
  default:
    return false;
  }
}

} // namespace

void Form::BindMessage(UINT message, MessageHandler handler) {
  if (HandledByTheForm(message)) {
    throw std::logic_error("a form handles this message itself; use its event");
  }
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
  wc.cbWndExtra = sizeof(LONG_PTR);
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
  HWND made = CreateWindowExW(d.exStyle, W(className_), W(d.title), d.style, x, y, outer.cx,
                              outer.cy, owner, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) {
    creationError_ = made ? ERROR_INVALID_WINDOW_HANDLE : GetLastError();
    // A class of that name that is not a form's (registered before by someone else) makes a
    // window this form does not run: it is no form window.
    if (made) {
      DestroyWindow(made);
    }
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
  ApplyDpiToControls();
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

void Form::ApplyDpiToControls() {
  for (Control* c : AllControls()) {
    c->ApplyDpi(dpi_, design_.dpi);
  }
}

void Form::Relayout() {
  RECT r{};
  GetClientRect(hwnd_, &r);
  ArrangeChildren(r.right, r.bottom, dpi_, design_.dpi);
}

void Form::OnDpiChanged(int dpi, const RECT* suggested) {
  const int old = dpi_;
  dpi_ = dpi;
  limits_ = ScaleLimits(limits_, dpi, old);
  ApplyDpiToControls();
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

Box Form::RestoredBounds() const {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!IsIconic(hwnd_) || !GetWindowPlacement(hwnd_, &placement)) {
    return ScreenBounds();
  }
  RECT r = placement.rcNormalPosition;
  // Except for tool windows, the place is given relative to the work area of its monitor.
  if (!(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) {
      OffsetRect(&r, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
    }
  }
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

void Form::SetSizeLimits(const SizeLimits& limits) {
  limits_ = limits;
  // The present size comes within the new limits.
  const Box b = ScreenBounds();
  const Size fitted = FitSize({b.width, b.height}, limits_);
  if (fitted.width != b.width || fitted.height != b.height) {
    SetScreenBounds({b.left, b.top, fitted.width, fitted.height});
  }
}

std::vector<Control*> Form::AllControls() const {
  std::vector<Control*> all;
  AppendAll(*this, all);
  return all;
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
    // Owned by the application's window, not by the form: Wine cannot put a window that owns
    // another on top of the others (always on top would not take).
    tooltip_ = CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
        Application::Instance().Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  }
  // The control's own procedure relays the mouse to the tip (RelayToHint); the tip does not
  // subclass it.
  ti.uFlags = TTF_IDISHWND;
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

void Form::RelayToHint(HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  if (!tooltip_) {
    return;
  }
  MSG m{control, msg, wp, lp, static_cast<DWORD>(GetMessageTime()), {}};
  const DWORD pos = GetMessagePos();
  m.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

LRESULT CALLBACK Form::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Form* self = FromHandle(hwnd);
  if (msg == WM_NCCREATE) {
    self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) {
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, 0, 0);
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
  if (LRESULT routed = 0; RouteToControl(msg, wp, lp, routed)) {
    return routed;
  }
  switch (msg) {
  case WM_SIZE:
    if (wp != SIZE_MINIMIZED) {
      Relayout();
      Raise(OnResize, *this);
    }
    return 0;
  case WM_GETMINMAXINFO: {
    // What a dragged border may reach.
    auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
    const auto fit = [this](POINT& p) {
      const Size s = FitSize({p.x, p.y}, limits_);
      p = {s.width, s.height};
    };
    fit(mmi->ptMinTrackSize);
    fit(mmi->ptMaxTrackSize);
    fit(mmi->ptMaxSize);
    return 0;
  }
  case WM_WINDOWPOSCHANGING: {
    // The limits hold for sizes set by the program too, not only for dragged borders.
    auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
    if (!(pos->flags & SWP_NOSIZE)) {
      const Size s = FitSize({pos->cx, pos->cy}, limits_);
      pos->cx = s.width;
      pos->cy = s.height;
    }
    break;
  }
  case WM_DPICHANGED:
    OnDpiChanged(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
    return 0;
  case WM_MENUCHAR:
    // In a menu whose items have no access keys, a typed letter picks the item it begins with:
    // "Q" in the hot-key letters.
    for (const auto& c : components_) {
      LRESULT answer = 0;
      if (auto* popup = dynamic_cast<PopupMenu*>(c.get());
          popup && popup->AnswerMenuChar(reinterpret_cast<HMENU>(lp), LOWORD(wp), answer)) {
        return answer;
      }
    }
    break;
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
