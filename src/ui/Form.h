// A top-level window of Morvi: its own registered class, events for its life, size constraints,
// scaling from the designed layout to the monitor's DPI, the menu font, and dialog-style
// keyboard navigation among its controls.
#pragma once

#include "common/Handles.h"
#include "ui/Controls.h"
#include "ui/SizeLimits.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace morvi::ui {

class Form : public Component, public Container {
public:
  Form(std::u16string className, std::u16string name);
  ~Form() override;

  HWND Handle() const { return hwnd_; }
  static Form* FromHandle(HWND hwnd);

  // Components: the form owns every control and menu that is made through it.
  template <class T, class... Args>
  T& Make(Args&&... args) {
    auto owned = std::make_unique<T>(std::forward<Args>(args)...);
    T& ref = *owned;
    components_.push_back(std::move(owned));
    return ref;
  }
  Component* FindComponent(std::u16string_view name) const;

  // The design, before the window exists.
  struct Design {
    int clientWidth = 0;
    int clientHeight = 0;
    int dpi = 96;
    bool hasPosition = false; // otherwise the window system picks the place
    int left = 0;
    int top = 0;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    std::u16string title;
    std::u16string fontFace = u"Tahoma";
    int fontHeight = 11; // character height in pixels at the design DPI
    int iconId = 0;
  };
  Design& DesignOf() { return design_; }
  const Design& DesignOf() const { return design_; }

  NotifyEvent OnCreate;
  NotifyEvent OnShow;
  NotifyEvent OnHide;
  NotifyEvent OnDestroy;
  NotifyEvent OnResize;
  std::function<void(Component& sender, bool& canClose)> OnCloseQuery;

  // A handler for one window message; its result goes back to the sender.
  using MessageHandler = std::function<LRESULT(WPARAM, LPARAM)>;
  void BindMessage(UINT message, MessageHandler handler);

  Button* DefaultButton = nullptr;
  Button* CancelButton = nullptr;

  // Creates the window (hidden), its controls and its layout, then raises OnCreate.
  void CreateWindowHandle(HWND owner = nullptr);
  // Why the window could not be made (a system error code); 0 while nothing failed.
  DWORD CreationError() const { return creationError_; }

  // Shows the window; OnShow runs when it was hidden. A visible window is brought to the front.
  void Show();
  void Hide();
  // Asks OnCloseQuery; when the close is allowed the form hides (CloseHides) or is destroyed.
  // True when it closed.
  bool Close();
  bool Visible() const;
  bool Enabled() const;
  void SetCloseHides(bool on) { closeHides_ = on; }

  // The outer frame in screen pixels.
  Box ScreenBounds() const;
  // The outer frame the window has when it is not minimised: for a minimised window, the place
  // it goes back to.
  Box RestoredBounds() const;
  void SetScreenBounds(const Box& b);
  void SetLeft(int left);
  void SetTop(int top);
  void SetWidth(int width);
  void SetHeight(int height);
  // Limits of the outer frame in pixels, at the window's present resolution; they scale with it.
  void SetSizeLimits(const SizeLimits& limits);

  int Dpi() const { return dpi_; }
  // The window's font becomes the face and size of the system's menu font.
  void UseMenuFont();
  HFONT Font() const { return font_.Get(); }

  // The focusable controls in Tab order.
  std::vector<Control*> TabSequence() const;
  Control* FocusedControl() const;
  // Handles the dialog keys (Tab, Enter, Esc, access keys) of a message meant for this form.
  bool PreTranslateKey(const MSG& msg);
  void SelectNext(bool forward);

  // Toolkit internals.
  void ControlFocused(Control& c);
  void UpdateHint(Control& c, const std::u16string& hint);
  // Passes a mouse message of a control to the hint window, which shows the control's hint.
  void RelayToHint(HWND control, UINT msg, WPARAM wp, LPARAM lp);
  HWND ContainerHandle() const override { return hwnd_; }
  Form& ContainerForm() override { return *this; }

protected:
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);

private:
  static LRESULT CALLBACK StaticWndProc(HWND, UINT, WPARAM, LPARAM);
  void RegisterWindowClass();
  void ApplyFontSpec(const LOGFONTW& spec);
  void ApplyDpiToControls();
  void Relayout();
  void OnDpiChanged(int dpi, const RECT* suggested);
  void FocusFirst();
  bool HandleAccessKey(char16_t ch);
  std::vector<Control*> AllControls() const;

  std::u16string className_;
  Design design_;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  bool closeHides_ = false;
  DWORD creationError_ = 0;
  bool destroying_ = false;
  SizeLimits limits_;
  LOGFONTW fontSpec_{}; // at the design DPI
  FontHandle font_;
  HWND tooltip_ = nullptr;
  HWND savedFocus_ = nullptr;
  std::vector<std::unique_ptr<Component>> components_;
  std::map<UINT, MessageHandler> handlers_;
};

} // namespace morvi::ui
