#include "editor/SaveDialogLink.h"

#include "common/ForeignWindow.h"
#include "common/TextHelpers.h"
#include "common/Wide.h"

namespace morvi {

namespace {

const wchar_t kDialogClass[] = L"#32770";
const char16_t kDialogTitle[] = u"名前を付けて保存";
constexpr DWORD kPauseBeforeSetText = 500;

// What a message that was not answered means for the link.
LinkProblem ProblemOf(Reply r) {
  switch (r) {
  case Reply::Answered:
    return LinkProblem::None;
  case Reply::Gone:
    return LinkProblem::Changed;
  default:
    return LinkProblem::NoAnswer;
  }
}

// What SaveButtonEnumProc and FindSaveButton share.
struct SaveButtonState {
  HWND found = nullptr;
  std::u16string caption;
  bool noAnswer = false;
};

// Only a child whose class could make it a button is asked for its text: reading a class name
// sends nothing, and a slow dialog then costs a few messages, not one per child.
BOOL CALLBACK SaveButtonEnumProc(HWND window, LPARAM extra) {
  auto& state = *reinterpret_cast<SaveButtonState*>(extra);
  const std::u16string cls = TrimAtNullRight(WindowClassName(window));
  if (cls.find(u"Button") == std::u16string::npos) {
    return TRUE;
  }
  std::u16string text;
  const Reply r = ReadTextBounded(window, text);
  if (r == Reply::NoAnswer) {
    state.noAnswer = true; // the dialog's thread stopped answering: ask it nothing more
    return FALSE;
  }
  text = TrimAtNullRight(text);
  if (r == Reply::Answered && IsSaveButtonLike(cls, text)) {
    state.found = window;
    state.caption = text;
    return FALSE;
  }
  return TRUE;
}

} // namespace

SaveDialogLink::SaveDialogLink() : integrityOf(ProcessIntegrityLevel) {}

DialogCapture SaveDialogLink::Capture() {
  processId_ = 0;
  saveCaption_.clear();
  DialogCapture c;
  HWND d = FindWindowW(kDialogClass, W(kDialogTitle));
  if (!IsFileDialog(d)) {
    return c;
  }
  const DWORD pid = WindowProcessId(d);
  // Such a dialog can be neither read nor written (the system drops the messages): say why
  // instead of showing an empty capture.
  if (RunsHigher(integrityOf(GetCurrentProcessId()), integrityOf(pid))) {
    c.problem = LinkProblem::Elevated;
    return c;
  }
  HWND e = FindChildByClass(d, u"Edit");
  if (e) {
    std::u16string text;
    const Reply r = ReadTextBounded(e, text);
    if (r == Reply::Refused) {
      c.problem = LinkProblem::Elevated;
      return c;
    }
    if (r != Reply::Answered) {
      // As when no dialog is open; a dialog that went away meanwhile is simply not there.
      c.problem = r == Reply::NoAnswer ? LinkProblem::NoAnswer : LinkProblem::None;
      return c;
    }
    c.box = e;
    c.name = text;
  }
  c.dialog = d;
  processId_ = pid;
  return c;
}

SaveButtonSearch SaveDialogLink::FindSaveButton(HWND dialog) {
  saveCaption_.clear();
  SaveButtonSearch s;
  if (!IsWindow(dialog)) {
    return s;
  }
  SaveButtonState state;
  EnumChildWindows(dialog, SaveButtonEnumProc, reinterpret_cast<LPARAM>(&state));
  if (state.noAnswer) {
    s.problem = LinkProblem::NoAnswer;
    return s;
  }
  s.button = state.found;
  saveCaption_ = state.caption;
  return s;
}

LinkProblem SaveDialogLink::Check(HWND dialog, HWND box, HWND button) const {
  // A handle of a window that has gone may already name a window of another program.
  if (!IsWindow(dialog) || WindowProcessId(dialog) != processId_ || !IsFileDialog(dialog)) {
    return LinkProblem::Changed;
  }
  std::u16string title;
  if (const LinkProblem p = ProblemOf(ReadTextBounded(dialog, title)); p != LinkProblem::None) {
    return p;
  }
  if (title != kDialogTitle) {
    return LinkProblem::Changed;
  }
  if (box && (WindowClassName(box) != u"Edit" || !IsChild(dialog, box))) {
    return LinkProblem::Changed;
  }
  if (button) {
    if (!IsChild(dialog, button) ||
        WindowClassName(button).find(u"Button") == std::u16string::npos) {
      return LinkProblem::Changed;
    }
    std::u16string caption;
    if (const LinkProblem p = ProblemOf(ReadTextBounded(button, caption)); p != LinkProblem::None) {
      return p;
    }
    if (TrimAtNullRight(caption) != saveCaption_) {
      return LinkProblem::Changed;
    }
  }
  if (!IsWindowEnabled(dialog) || (box && !IsWindowEnabled(box))) {
    return LinkProblem::Disabled;
  }
  return LinkProblem::None;
}

LinkProblem SaveDialogLink::WriteName(HWND dialog, HWND box, HWND button,
                                      const std::u16string& name) {
  if (!dialog || !box) {
    return LinkProblem::Disabled; // nothing was captured: nothing to write to
  }
  if (const LinkProblem p = Check(dialog, box, button); p != LinkProblem::None) {
    return p;
  }
  // The foreground and focus steps wait for the dialog's thread: only for one that answers.
  if (const LinkProblem p = ProblemOf(ProbeWindowThread(dialog)); p != LinkProblem::None) {
    return p;
  }
  ForceForegroundWindow(dialog);
  FocusForeignControl(box);
  if (const LinkProblem p = ProblemOf(SendBounded(box, WM_CLEAR, 0, 0)); p != LinkProblem::None) {
    return p;
  }
  WaitAnswering(kPauseBeforeSetText);
  // The dialog may have closed, changed or stopped answering during the pause.
  if (const LinkProblem p = Check(dialog, box, button); p != LinkProblem::None) {
    return p;
  }
  return ProblemOf(SendBounded(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(W(name))));
}

LinkProblem SaveDialogLink::PressSave(HWND dialog, HWND button) {
  if (!dialog || !button) {
    return LinkProblem::Disabled;
  }
  if (const LinkProblem p = Check(dialog, nullptr, button); p != LinkProblem::None) {
    return p;
  }
  if (const LinkProblem p = ProblemOf(ProbeWindowThread(dialog)); p != LinkProblem::None) {
    return p;
  }
  ForceForegroundWindow(dialog);
  // Posted: Morvi does not wait for the other program to save.
  PostMessageW(button, BM_CLICK, 0, 0);
  return LinkProblem::None;
}

} // namespace morvi
