// The GUI application: a hidden window that owns the clipboard and is never on the task bar, the
// list of forms, the main form whose close ends the program, and the message loop with its key
// pre-test.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace morvi::ui {

class Form;

class Application {
public:
  static Application& Instance();

  // Registers the common controls and makes the hidden application window.
  void Initialize();
  HWND Handle() const { return hwnd_; }

  void SetTitle(std::u16string title) { title_ = std::move(title); }
  const std::u16string& Title() const { return title_; }

  // Closing the main form ends the message loop.
  void SetMainForm(Form* form) { main_ = form; }
  Form* MainForm() const { return main_; }

  // Sees every key press meant for one of the program's windows before the window does; true
  // consumes it.
  using KeyTest = std::function<bool(const MSG&)>;
  void SetShortCutTest(KeyTest test) { shortCutTest_ = std::move(test); }

  // The message loop; returns when the main form has closed.
  int Run();
  // Handles the messages waiting now, with the same key handling as the loop.
  void ProcessMessages();
  // What the loop does with one message before it is dispatched; true when it was consumed.
  bool PreTranslate(const MSG& msg);

  // Shows an error, or a warning, in a message box titled with the application's title.
  void ShowError(const std::u16string& text);
  void ShowWarning(const std::u16string& text);
  // While quiet (the logon session is ending), no message box is shown: nothing may wait for a
  // click then.
  void SetQuiet(bool on) { quiet_ = on; }
  bool Quiet() const { return quiet_; }

  // Toolkit internals.
  void FormMade(Form& f);
  void FormGone(Form& f);
  void FormDestroyed(Form& f);
  Form* FormOf(HWND hwnd) const;

private:
  Application() = default;
  void Dispatch(MSG& msg);
  void ShowMessage(const std::u16string& text, UINT icon);

  HWND hwnd_ = nullptr;
  std::u16string title_ = u"Morvi";
  Form* main_ = nullptr;
  std::vector<Form*> forms_;
  KeyTest shortCutTest_;
  bool quiet_ = false;
};

} // namespace morvi::ui
