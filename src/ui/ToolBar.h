// A tool bar: a row of buttons that show their captions only, each as wide as its caption, with
// separators between groups. Push buttons raise a click; a check button changes between up and
// down at each click. Alt and the letter after "&" in a caption press that button.
#pragma once

#include "ui/Controls.h"

#include <windows.h>

#include <string>
#include <vector>

namespace morvi::ui {

class ToolBar;

class ToolButton : public Component {
public:
  enum class Kind { Push, Check, Separator };

  // Appended to the bar after the buttons made before it. A separator is separatorWidth pixels
  // wide at the bar's design resolution.
  ToolButton(ToolBar& bar, std::u16string name, std::u16string caption, Kind kind,
             int separatorWidth = 8);

  Kind GetKind() const { return kind_; }
  const std::u16string& Caption() const { return caption_; }
  // The character after a single "&" in the caption, upper-cased; 0 for none.
  char16_t AccessKey() const;

  // Whether a check button is down.
  bool Down() const { return down_; }
  void SetDown(bool down);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);

  // Presses the button as a click does: a check button changes between up and down first.
  // Nothing happens while the button is disabled.
  void Click();

  // The button's box in the bar, in pixels; empty before the bar has a window.
  Box Bounds() const;

  NotifyEvent OnClick;

private:
  friend class ToolBar;

  ToolBar& bar_;
  std::u16string caption_;
  Kind kind_;
  int separatorWidth_;
  bool down_ = false;
  bool enabled_ = true;
  int commandId_ = 0;
};

class ToolBar : public Control {
public:
  // The designed height is the height of the buttons, and of the bar.
  ToolBar(Container& parent, std::u16string name, Box designed, Align align);

  const std::vector<ToolButton*>& Buttons() const { return buttons_; }

  bool TryAccessKey(char16_t ch) override;
  void HandleCommand(WORD id, WORD code) override;
  void ApplyDpi(int dpi, int designDpi) override;
  void ApplyFont(HFONT font) override;

protected:
  HWND CreateWindowFor(HWND parent) override;

private:
  friend class ToolButton;

  // Buttons are made with the form's other components, before the bar's window.
  void Add(ToolButton& button);
  int IndexOf(const ToolButton& button) const;
  void SyncState(const ToolButton& button);
  // Button height and separator widths at the present resolution.
  void ApplySizes();

  std::vector<ToolButton*> buttons_;
  int dpi_ = 96;
  int designDpi_ = 96;
};

} // namespace morvi::ui
