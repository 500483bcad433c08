// The round trip with another program's Save As dialog: finding it and its file-name box and
// Save button, reading the name, placing the window over the dialog, and writing the edited
// name back.
#include "editor/Main.h"

#include "common/TextHelpers.h"
#include "common/Wide.h"
#include "common/WindowHelpers.h"

namespace morvi {

namespace {

const wchar_t kDialogClass[] = L"#32770";
const wchar_t kDialogTitle[] = L"名前を付けて保存";
constexpr int kTextBuffer = 260; // UTF-16 units with the terminating NUL
constexpr DWORD kPauseBeforeSetText = 500;

std::u16string ReadInto(int (*read)(HWND, LPWSTR, int), HWND w) {
  wchar_t buf[kTextBuffer] = {};
  read(w, buf, kTextBuffer);
  return TrimAtNullRight(U16(buf, kTextBuffer));
}

int ReadWindowText(HWND w, LPWSTR buf, int n) {
  return GetWindowTextW(w, buf, n);
}
int ReadClassName(HWND w, LPWSTR buf, int n) {
  return GetClassNameW(w, buf, n);
}

} // namespace

void TMainForm::CaptureSaveDialog() {
  MDlg = nullptr;
  MEdt = nullptr;
  HWND d = FindWindowW(kDialogClass, kDialogTitle);
  if (IsFileDialog(d)) {
    MDlg = d;
    if (HWND e = FindChildByClass(d, u"Edit")) {
      MEdt = e;
      wchar_t buf[kTextBuffer] = {};
      SendMessageW(e, WM_GETTEXT, kTextBuffer, reinterpret_cast<LPARAM>(buf));
      EditPath->SetText(TrimAtNull(U16(buf, kTextBuffer)));
    }
  }
  SplitPathToFields();
}

BOOL CALLBACK TMainForm::SaveButtonEnumProc(HWND window, LPARAM) {
  const std::u16string text = ReadInto(ReadWindowText, window);
  const std::u16string cls = ReadInto(ReadClassName, window);
  if (cls.find(u"Button") != std::u16string::npos && text.find(u"保存") != std::u16string::npos) {
    MainForm->MSVB = window;
    return FALSE;
  }
  return TRUE;
}

void TMainForm::FindSaveButton() {
  MSVB = nullptr;
  if (IsWindow(MDlg)) {
    EnumChildWindows(MDlg, SaveButtonEnumProc, 0);
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

bool TMainForm::DialogBoxUsable() const {
  // The box must still belong to the dialog: a handle of a window that has gone may already
  // name another one.
  return IsWindowEnabled(MDlg) && IsWindowEnabled(MEdt) && IsChild(MDlg, MEdt);
}

void TMainForm::WriteNameToDialog() {
  if (!DialogBoxUsable()) {
    return;
  }
  const std::u16string s = JoinFileName(EditName->Text(), EditExt->Text());
  ForceForegroundWindow(MDlg);
  FocusForeignControl(MEdt);
  SendMessageW(MEdt, WM_CLEAR, 0, 0);
  Sleep(kPauseBeforeSetText);
  if (IsChild(MDlg, MEdt)) { // the dialog may have closed during the pause
    SendMessageW(MEdt, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(W(s)));
  }
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
  WriteNameToDialog();
  if (CHKSave->Enabled() && CHKSave->Checked() && IsWindowEnabled(MDlg) && IsChild(MDlg, MSVB)) {
    ForceForegroundWindow(MDlg);
    PostMessageW(MSVB, BM_CLICK, 0, 0);
  }
  EndUse();
}

void TMainForm::BtnCancelClick(ui::Component&) {
  EndUse();
}

} // namespace morvi
