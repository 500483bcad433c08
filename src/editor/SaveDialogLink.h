// The link with another program's Save As dialog: finding the dialog, its file-name box and its
// Save button, reading the name, writing the edited name back and pressing Save. Every message
// to the dialog goes with a bounded wait, and before anything is written or clicked the windows
// are checked to still be the ones captured. It works on window handles and plain values; the
// editor window keeps the handles and decides what the user sees.
#pragma once

#include "editor/SaveDialogRules.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace morvi {

// The integrity level of a process, when it can be read.
using IntegrityQuery = std::function<std::optional<std::uint32_t>(DWORD processId)>;

// What a show found.
struct DialogCapture {
  HWND dialog = nullptr;              // the captured dialog; 0 when none
  HWND box = nullptr;                 // its file-name box; 0 when none
  std::optional<std::u16string> name; // the box's text, when it was read
  LinkProblem problem = LinkProblem::None;
};

struct SaveButtonSearch {
  HWND button = nullptr;
  LinkProblem problem = LinkProblem::None;
};

class SaveDialogLink {
public:
  // Finds the first top-level "#32770" window titled "名前を付けて保存" that is a file dialog,
  // its first "Edit" descendant, and reads the name in it. A dialog whose thread does not answer,
  // or whose program runs at a higher integrity level, is not captured.
  DialogCapture Capture();

  // The dialog's first descendant that looks like its Save button; its caption is recorded.
  SaveButtonSearch FindSaveButton(HWND dialog);

  // Writes the name into the box: the dialog to the front, the focus to the box, WM_CLEAR, a
  // pause of 500 ms during which Morvi keeps answering, WM_SETTEXT. The windows are checked
  // before the first message and again after the pause; button, when not 0, is checked with
  // them, since Save is to be pressed afterwards. None when the name was written.
  LinkProblem WriteName(HWND dialog, HWND box, HWND button, const std::u16string& name);

  // Brings the dialog to the front and posts BM_CLICK to the button, after checking both again.
  // Disabled (nothing pressed) while the dialog is disabled.
  LinkProblem PressSave(HWND dialog, HWND button);

  // True while a write or a press is under way; the editor window ignores a second OK meanwhile.
  bool Busy() const { return busy_; }

  // Marks the link busy for its lifetime.
  class Hold {
  public:
    explicit Hold(SaveDialogLink& link) : link_(link) { link_.busy_ = true; }
    ~Hold() { link_.busy_ = false; }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

  private:
    SaveDialogLink& link_;
  };

  // Where the integrity levels come from; tests stand in for a more privileged program here.
  IntegrityQuery integrityOf;

  SaveDialogLink();

private:
  // Same, or what is wrong with the recorded windows. A box or button of 0 is not checked.
  LinkProblem Check(HWND dialog, HWND box, HWND button) const;

  DWORD processId_ = 0;        // the captured dialog's process
  std::u16string saveCaption_; // the Save button's caption at capture
  bool busy_ = false;
};

} // namespace morvi
