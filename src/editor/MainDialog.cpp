// The round trip with another program's Save As dialog: finding it and its file-name box and
// Save button, reading the name, placing the window over the dialog, and writing the edited
// name back. The messages themselves go through the dialog link; this side decides what the
// user sees.
#include "editor/Main.h"

#include "common/ScreenPlacement.h"
#include "common/Wide.h"
#include "editor/NameModel.h"
#include "ui/Application.h"

#include <commctrl.h>

namespace morvi {

void TMainForm::ShowCaptureNotice(LinkProblem problem) {
  // Shown in the empty path field itself, and as its hint when the mouse rests on it.
  // Only a change is passed on, so that a show adds nothing of its own.
  const std::u16string text = CaptureNotice(problem);
  if (EditPath->Hint() != text) {
    SendMessageW(EditPath->Handle(), EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(W(text)));
    EditPath->SetShowHint(true);
    EditPath->SetHint(text);
  }
}

void TMainForm::CaptureSaveDialog() {
  MDlg = nullptr;
  MEdt = nullptr;
  const DialogCapture c = MLink.Capture();
  MDlg = c.dialog;
  MEdt = c.box;
  if (c.name) {
    EditPath->SetText(*c.name);
  }
  ShowCaptureNotice(c.problem);
  SplitPathToFields();
}

void TMainForm::FindSaveButton() {
  MSVB = nullptr;
  if (IsWindow(MDlg)) {
    const SaveButtonSearch s = MLink.FindSaveButton(MDlg);
    MSVB = s.button;
    if (s.problem != LinkProblem::None) {
      ShowCaptureNotice(s.problem);
    }
  }
}

void TMainForm::AlignToDialog() {
  int left = 0, top = 0, width = 0, height = 0;
  if (MPOSC == 0 || !IsWindow(MDlg) || !GetWindowBounds(MDlg, left, top, width, height)) {
    return;
  }
  const int y = MPOSC == 1 ? top : top + height - ScreenBounds().height;
  SetWindowPos(Handle(), nullptr, left, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LinkProblem TMainForm::WriteNameToDialog() {
  // The Save button is checked with the dialog when it is to be pressed afterwards.
  const HWND button = CHKSave->Enabled() && CHKSave->Checked() ? MSVB : nullptr;
  return MLink.WriteName(MDlg, MEdt, button, JoinFileName(EditName->Text(), EditExt->Text()));
}

void TMainForm::EndUse() {
  EditPath->SetText(u"");
  SplitPathToFields();
  if (FResident) {
    Close();
  } else {
    Hide();
  }
}

void TMainForm::BtnOKClick(ui::Component&) {
  // A second OK while the first one is writing (handled during its pause) does nothing.
  if (MLink.Busy()) {
    return;
  }
  // Whoever pressed OK, a name that OK would not accept is not written.
  if (!NameFieldsAcceptable(EditName->Text(), EditExt->Text())) {
    return;
  }
  const SaveDialogLink::Hold hold(MLink);
  const LinkProblem written = WriteNameToDialog();
  if (written == LinkProblem::Changed || written == LinkProblem::NoAnswer) {
    // Nothing was written: the window and the edited name stay, so that nothing typed is lost.
    if (written == LinkProblem::Changed) {
      // Never to be written to again: the handles may already name other programs' windows.
      MDlg = nullptr;
      MEdt = nullptr;
      MSVB = nullptr;
      CHKSave->SetEnabled(false);
      EditNameChange(*EditName);
    }
    ui::Application::Instance().ShowWarning(WriteFailureText(written));
    return;
  }
  if (CHKSave->Enabled() && CHKSave->Checked()) {
    const LinkProblem pressed = MLink.PressSave(MDlg, MSVB);
    if (pressed == LinkProblem::Changed || pressed == LinkProblem::NoAnswer) {
      ui::Application::Instance().ShowWarning(SaveFailureText());
      return;
    }
  }
  EndUse();
}

void TMainForm::BtnCancelClick(ui::Component&) {
  if (MLink.Busy()) {
    return;
  }
  EndUse();
}

} // namespace morvi
