// The controls of Morvi's windows: panels, single-line edit fields, push buttons, a check box and a
// label (the tool bar and the list box have files of their own). Each wraps one child window; the
// window's notifications reach the control's object, which raises its events.
#pragma once

#include "ui/Align.h"
#include "ui/Component.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvi::ui {

class Form;
class Control;

// The access key of a caption: the character after a single "&", upper-cased; 0 for none ("&&"
// stands for the character itself).
char16_t AccessKeyOf(std::u16string_view caption);

// Something that holds controls: a form or a panel.
class Container {
public:
  virtual ~Container() = default;

  virtual HWND ContainerHandle() const = 0;
  virtual Form& ContainerForm() = 0;
  // Space left inside the container's client area by its border, in pixels.
  virtual int BorderInset() const { return 0; }

  const std::vector<Control*>& Children() const { return children_; }
  void AddChild(Control& child) { children_.push_back(&child); }

  // Places every child (and their children) inside a client area of the given size, by their
  // alignment and their designed boxes scaled to dpi. One pass; nothing is moved twice.
  void ArrangeChildren(int clientWidth, int clientHeight, int dpi, int designDpi);

private:
  std::vector<Control*> children_;
};

class Control : public Component {
public:
  Control(Container& parent, std::u16string name, Box designed, Align align);
  ~Control() override;

  HWND Handle() const { return hwnd_; }
  Container& Parent() const { return parent_; }
  Form& OwnerForm() const { return parent_.ContainerForm(); }
  static Control* FromHandle(HWND hwnd);

  const Box& Designed() const { return designed_; }
  Align Alignment() const { return align_; }

  // Tab order counts within the parent.
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int order) { tabOrder_ = order; }
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool on);

  bool Enabled() const;
  void SetEnabled(bool on);
  bool Visible() const;
  bool Focused() const;
  void SetFocus();
  bool CanFocus() const;

  // The box in the parent's client area, in pixels.
  Box Bounds() const;

  const std::u16string& Caption() const { return caption_; }
  void SetCaption(std::u16string caption);
  // The access key of the caption: the character after a single "&", upper-cased; 0 for none.
  char16_t AccessKey() const;

  virtual bool IsContainer() const { return false; }
  virtual bool IsPushButton() const { return false; }
  // A control that takes typed characters itself: while it has the focus, a letter typed without
  // Alt is no access key.
  virtual bool WantsChars() const { return false; }
  // What the access key does: a button is pressed, a check box toggled.
  virtual void PerformAccessKey() {}
  // Performs the access key ch (upper case) when it is this control's, or one of its parts';
  // true when it was.
  virtual bool TryAccessKey(char16_t ch);

  // Toolkit internals.
  void CreateHandle();
  // WM_COMMAND from the control's window: the command id and the notification code.
  virtual void HandleCommand(WORD /*id*/, WORD /*code*/) {}
  // WM_NOTIFY from the control's window; true when handled, with the answer in result.
  virtual bool HandleNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  virtual HBRUSH HandleCtlColor(UINT /*msg*/, HDC /*dc*/) { return nullptr; }
  // Sees each message of the control's own window first; true keeps it from the window, with
  // result as the answer.
  virtual bool FilterMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT& /*result*/) {
    return false;
  }
  virtual void BeforeKillFocus() {}
  // The control's own sizes that do not come from its designed box follow the resolution.
  virtual void ApplyDpi(int /*dpi*/, int /*designDpi*/) {}
  virtual void ApplyFont(HFONT font);

protected:
  virtual HWND CreateWindowFor(HWND parent) = 0;
  HWND MakeChild(HWND parent, const wchar_t* cls, DWORD style, DWORD exStyle);

private:
  static LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND hwnd);
  void Detach(HWND hwnd);

  Container& parent_;
  Box designed_;
  Align align_;
  int tabOrder_ = 0;
  bool tabStop_ = false;
  bool enabled_ = true;
  std::u16string caption_;
  HWND hwnd_ = nullptr;
  WNDPROC baseProc_ = nullptr; // the window's own procedure, behind ControlProc
  friend class Container;
  std::optional<Box> placed_; // where the last layout put the window
};

// What the parent window (a form or a panel) does with a message from one of its child controls:
// WM_COMMAND, WM_NOTIFY and the colour queries reach the control's own object. True when a
// control took the message; result is then the answer to the sender.
bool RouteToControl(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

class Panel : public Control, public Container {
public:
  Panel(Container& parent, std::u16string name, Box designed, Align align);

  HWND ContainerHandle() const override { return Handle(); }
  Form& ContainerForm() override { return OwnerForm(); }
  int BorderInset() const override { return 1; }
  bool IsContainer() const override { return true; }

  static void RegisterClass();

protected:
  HWND CreateWindowFor(HWND parent) override;

private:
  static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
};

class Edit : public Control {
public:
  Edit(Container& parent, std::u16string name, Box designed, Align align);

  std::u16string Text() const;
  // Assigns the text when it differs; only then does the change event follow.
  void SetText(const std::u16string& text);
  std::size_t TextLength() const;

  // How many characters the user can type (0: the platform's limit). Text set by the program is
  // not cut.
  void SetMaxLength(int n);
  int MaxLength() const { return maxLength_; }
  void SetReadOnly(bool on);
  bool ReadOnly() const { return readOnly_; }

  // The hint shown when the mouse rests on the field.
  void SetHint(std::u16string hint);
  const std::u16string& Hint() const { return hint_; }
  void SetShowHint(bool on) { showHint_ = on; }

  // The caret's character index: where the caret stands while the field has the focus, and
  // where it stood when the field lost it otherwise. (Windows keeps reporting a lost caret's last
  // position; Wine does not, so the field records it.)
  std::uint16_t CaretIndex() const;
  // Focuses the field and puts the caret at index with nothing selected.
  void PlaceCaret(std::size_t index);
  void SelectAll();

  bool WantsChars() const override { return true; }
  void HandleCommand(WORD id, WORD code) override;
  HBRUSH HandleCtlColor(UINT msg, HDC dc) override;
  void BeforeKillFocus() override;

  NotifyEvent OnChange;
  NotifyEvent OnEnter;

protected:
  HWND CreateWindowFor(HWND parent) override;

private:
  std::uint16_t CaretIndexFromCaretPos() const;

  int maxLength_ = 0;
  bool readOnly_ = false;
  bool showHint_ = false;
  std::u16string hint_;
  std::uint16_t caretRecord_ = 0;
};

// The caret's 0-based character index in the field; for a field that lost the focus, where its
// caret stood last.
std::uint16_t CaretCharIndex(const Edit& edit);

// Puts text into the field at its caret index. The field's text is assigned only when it
// changes; the caret is not moved behind the insertion.
void InsertAtCaret(Edit& edit, const std::u16string& text);

class Button : public Control {
public:
  Button(Container& parent, std::u16string name, Box designed, Align align);

  bool IsPushButton() const override { return true; }
  void PerformAccessKey() override { Click(); }
  void HandleCommand(WORD id, WORD code) override;
  // Presses the button, as a click would; nothing happens while it is disabled.
  void Click();
  // Drawn as the default button (Enter presses it).
  void SetDefaultLook(bool on);

  NotifyEvent OnClick;

protected:
  HWND CreateWindowFor(HWND parent) override;

private:
  bool defaultLook_ = false;
};

class CheckBox : public Control {
public:
  CheckBox(Container& parent, std::u16string name, Box designed, Align align);

  bool Checked() const;
  void SetChecked(bool on);
  void PerformAccessKey() override;
  void HandleCommand(WORD id, WORD code) override;
  HBRUSH HandleCtlColor(UINT msg, HDC dc) override;

  NotifyEvent OnClick;

protected:
  HWND CreateWindowFor(HWND parent) override;

private:
  bool checked_ = false;
};

class Label : public Control {
public:
  Label(Container& parent, std::u16string name, Box designed, Align align);
  HBRUSH HandleCtlColor(UINT msg, HDC dc) override;

protected:
  HWND CreateWindowFor(HWND parent) override;
};

} // namespace morvi::ui
