#include "ui/Application.h"

#include "common/Wide.h"
#include "ui/Form.h"

#include <commctrl.h>

#include <algorithm>

namespace morvi::ui {

Application& Application::Instance() {
  static Application app;
  return app;
}

void Application::Initialize() {
  if (hwnd_) {
    return;
  }
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"MorviApplication";
  RegisterClassExW(&wc);
  // A tool window that is never shown has no task-bar button.
  hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, W(title_), WS_POPUP, 0, 0, 0, 0,
                          nullptr, nullptr, wc.hInstance, nullptr);
}

Form* Application::FormOf(HWND hwnd) const {
  if (!hwnd) {
    return nullptr;
  }
  Form* f = Form::FromHandle(GetAncestor(hwnd, GA_ROOT));
  return f && std::find(forms_.begin(), forms_.end(), f) != forms_.end() ? f : nullptr;
}

bool Application::PreTranslate(const MSG& msg) {
  Form* form = FormOf(msg.hwnd);
  if (!form) {
    return false;
  }
  if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && shortCutTest_ &&
      shortCutTest_(msg)) {
    return true;
  }
  return form->PreTranslateKey(msg);
}

void Application::Dispatch(MSG& msg) {
  if (!PreTranslate(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

int Application::Run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    Dispatch(msg);
  }
  return 0;
}

void Application::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam)); // leave it for the loop that waits for it
      return;
    }
    Dispatch(msg);
  }
}

void Application::ShowError(const std::u16string& text) {
  ShowMessage(text, MB_ICONERROR);
}

void Application::ShowWarning(const std::u16string& text) {
  ShowMessage(text, MB_ICONWARNING);
}

void Application::ShowMessage(const std::u16string& text, UINT icon) {
  if (quiet_) {
    return;
  }
  HWND owner = GetActiveWindow();
  if (!FormOf(owner)) {
    owner = hwnd_;
  }
  MessageBoxW(owner, W(text), W(title_), MB_OK | icon);
}

void Application::FormMade(Form& f) {
  if (std::find(forms_.begin(), forms_.end(), &f) == forms_.end()) {
    forms_.push_back(&f);
  }
}

void Application::FormGone(Form& f) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), &f), forms_.end());
  if (main_ == &f) {
    main_ = nullptr;
  }
}

void Application::FormDestroyed(Form& f) {
  if (main_ == &f) {
    PostQuitMessage(0);
  }
}

} // namespace morvi::ui
