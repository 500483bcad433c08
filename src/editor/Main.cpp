#include "editor/Main.h"

#include "common/Activation.h"
#include "common/DataFolder.h"
#include "common/ForeignWindow.h"
#include "common/ScreenPlacement.h"
#include "common/SettingValues.h"
#include "editor/HotKey.h"
#include "editor/NameModel.h"
#include "ui/Application.h"

#include <string>

namespace morvi {

TMainForm* MainForm = nullptr;

namespace {

std::u16string Decimal(std::size_t n) {
  const std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

// Posted at the end of creation when the hot key was not taken, so that the message comes once
// the window is whole.
constexpr UINT kHotKeyNotRegistered = WM_APP + 1;

} // namespace

TMainForm::TMainForm() : Form(std::u16string(kEditorWindowClass), u"MainForm") {
  BuildComponents();
  BindEvents();
  FRegisterHotKey = [](HWND w, int id, UINT modifiers, UINT vk) {
    return RegisterHotKey(w, id, modifiers, vk) != FALSE;
  };
}

TMainForm::~TMainForm() {
  UnregisterShowHotKey();
  ui::Application::Instance().SetShortCutTest(nullptr);
  if (NoteForm == FNoteForm.get()) {
    NoteForm = nullptr;
  }
}

void TMainForm::BindEvents() {
  using Sender = ui::Component;
  const auto bind = [this](void (TMainForm::*handler)(Sender&)) {
    return [this, handler](Sender& s) { (this->*handler)(s); };
  };
  OnCreate = bind(&TMainForm::FormCreate);
  OnShow = bind(&TMainForm::FormShow);
  OnHide = bind(&TMainForm::FormHide);
  OnDestroy = bind(&TMainForm::FormDestroy);
  OnCloseQuery = [this](Sender& s, bool& canClose) { FormCloseQuery(s, canClose); };
  BindMessage(WM_HOTKEY, [this](WPARAM wp, LPARAM lp) { return WMHotKey(wp, lp); });
  BindMessage(WM_COPYDATA, [this](WPARAM wp, LPARAM lp) { return WMCopyData(wp, lp); });
  // A logoff is never refused; the settings are written when it happens.
  BindMessage(WM_QUERYENDSESSION, [](WPARAM, LPARAM) -> LRESULT { return TRUE; });
  BindMessage(WM_ENDSESSION, [this](WPARAM wp, LPARAM lp) { return WMEndSession(wp, lp); });
  BindMessage(kHotKeyNotRegistered, [this](WPARAM, LPARAM) -> LRESULT {
    ReportHotKeyNotRegistered();
    return 0;
  });
  // Every key press in any of the program's windows is tested here first.
  ui::Application::Instance().SetShortCutTest([this](const MSG& m) { return IsShortCut(m); });

  BtnOption->OnClick = bind(&TMainForm::BtnOptionClick);
  BtnNameClear->OnClick = bind(&TMainForm::BtnNameClearClick);
  BtnEdit->OnClick = bind(&TMainForm::BtnEditClick);
  BtnOK->OnClick = bind(&TMainForm::BtnOKClick);
  BtnCancel->OnClick = bind(&TMainForm::BtnCancelClick);
  EditName->OnChange = bind(&TMainForm::EditNameChange);
  EditName->OnEnter = bind(&TMainForm::EditNameEnter);
  EditExt->OnChange = bind(&TMainForm::EditNameChange);
  EditExt->OnEnter = bind(&TMainForm::EditExtEnter);

  PPMostTop->OnClick = bind(&TMainForm::PPMostTopClick);
  for (ui::MenuItem* p : {PPPOS0, PPPOS1, PPPOS2}) {
    p->OnClick = bind(&TMainForm::PPPOSClick);
  }
  PPEdit->OnPopup = bind(&TMainForm::PPEditPopup);
  PPCaretCutBefore->OnClick = bind(&TMainForm::PPCaretCutBeforeClick);
  PPCaretCutAfter->OnClick = bind(&TMainForm::PPCaretCutAfterClick);
  PPCaretCopyBefore->OnClick = bind(&TMainForm::PPCaretCopyBeforeClick);
  PPCaretCopyAfter->OnClick = bind(&TMainForm::PPCaretCopyAfterClick);
  PPCaretXch->OnClick = bind(&TMainForm::PPCaretXchClick);
  PPInvalidCha->OnClick = bind(&TMainForm::PPInvalidChaClick);
  PPUndo->OnClick = bind(&TMainForm::PPUndoClick);
  PPDate1->OnClick = bind(&TMainForm::PPDataClick);
  PPDate2->OnClick = bind(&TMainForm::PPDataClick);
  PPNote->OnClick = bind(&TMainForm::PPNoteClick);
}

// ---- Name rules ----

bool TMainForm::IsValidFileName(const std::u16string& name) {
  return morvi::IsValidFileName(name);
}

std::u16string TMainForm::ToFullWidth(const std::u16string& text) {
  return morvi::ToFullWidth(text);
}

std::u16string TMainForm::PathExtension(const std::u16string& text) {
  return morvi::PathExtension(text);
}

std::u16string TMainForm::ExtensionFieldText(const std::u16string& text) {
  return morvi::ExtensionFieldText(text);
}

std::u16string TMainForm::JoinFileName(const std::u16string& name, const std::u16string& ext) {
  return morvi::JoinFileName(name, ext);
}

void TMainForm::SplitPathToFields() {
  const NameFields fields = SplitPath(EditPath->Text());
  EditName->SetText(fields.name);
  EditExt->SetText(fields.ext);
}

void TMainForm::EditNameChange(ui::Component&) {
  const std::u16string name = EditName->Text();
  BtnOK->SetEnabled(NameFieldsAcceptable(name, EditExt->Text()) && IsWindowEnabled(MDlg) &&
                    IsWindowEnabled(MEdt));
  BtnNameClear->SetEnabled(!name.empty());
  EditName->SetHint(Decimal(name.size()));
}

void TMainForm::PPInvalidChaClick(ui::Component&) {
  EditName->SetText(ToFullWidth(EditName->Text()));
}

// ---- Life cycle ----

void TMainForm::FormCreate(ui::Component&) {
  // The window keeps the place it is given (the design has one); only its width may change.
  const ui::Box outer = ScreenBounds();
  SetSizeLimits({0, outer.height, 0, outer.height});

  for (int i = 1; i <= 2; ++i) {
    MPPDate[i] =
        static_cast<ui::MenuItem*>(FindComponent(u"PPDate" + Decimal(static_cast<std::size_t>(i))));
    MPPDate[i]->SetTag(i);
  }
  for (int i = 0; i <= 2; ++i) {
    MPPPOS[i] =
        static_cast<ui::MenuItem*>(FindComponent(u"PPPOS" + Decimal(static_cast<std::size_t>(i))));
    MPPPOS[i]->SetTag(i);
  }

  // A settings file that cannot be read is reported (once: the word list reads from the same
  // load), and the window goes on with its values as created.
  MPPHotKeyC = u"M";
  std::optional<SettingsFile> settings;
  ui::Guard([&] { settings.emplace(UserDataFile(kSettingsFileName)); });
  if (settings) {
    ReadWindowSettings(*settings);
  }
  FResident = PPResident->Checked();
  EnsureOnScreen(Handle());
  MPPPOS[static_cast<std::size_t>(MPOSC)]->SetChecked(true);

  // The word list, hidden, owned by the application: no task-bar button of its own.
  FNoteForm = std::make_unique<TNoteForm>();
  NoteForm = FNoteForm.get();
  NoteForm->NameField = EditName;
  NoteForm->StartupSettings = settings ? &*settings : nullptr;
  NoteForm->CreateWindowHandle(ui::Application::Instance().Handle());

  int checked = 12;
  for (int i = 0; i < 26; ++i) {
    const std::u16string letter(1, static_cast<char16_t>(u'A' + i));
    ui::MenuItem& m = Make<ui::MenuItem>(u"PPHotKey" + letter, letter, ui::MenuItem::Kind::Radio);
    m.SetTag(i);
    m.SetGroup(1);
    m.OnClick = [this](ui::Component& s) { PPHotKeyClick(s); };
    PPHotKey->Add(m);
    MPPHotkey[i] = &m;
    if (!MPPHotKeyC.empty() && letter[0] == MPPHotKeyC[0]) {
      checked = i;
    }
  }
  MPPHotkey[checked]->SetChecked(true);

  // Font, fields and keys are ready before a non-resident window first appears.
  UseMenuFont();
  SplitPathToFields();
  FillShortCuts();

  if (FResident) {
    Show();
    ForceForegroundWindow(Handle());
  } else if (!RegisterShowHotKey()) {
    PostMessageW(Handle(), kHotKeyNotRegistered, 0, 0);
  }
}

void TMainForm::ReadWindowSettings(const SettingsFile& s) {
  // Each key in turn, with its destination's present value as the default.
  MPOSC = SanePosition(s.ReadInteger(u"Window", u"Pos", MPOSC));
  SetWidth(s.ReadInteger(u"Window", u"Width", ScreenBounds().width));
  SetTop(s.ReadInteger(u"Window", u"Top", ScreenBounds().top));
  SetLeft(s.ReadInteger(u"Window", u"Left", ScreenBounds().left));
  PPMostTop->SetChecked(s.ReadBool(u"Window", u"MostTop", PPMostTop->Checked()));
  CHKSave->SetChecked(s.ReadBool(u"Window", u"Save", CHKSave->Checked()));
  PPResident->SetChecked(s.ReadBool(u"Window", u"Resident", PPResident->Checked()));
  // The letter that is checked is the letter that is registered.
  MPPHotKeyC = SaneHotKeyLetter(s.ReadString(u"Window", u"HotKey", MPPHotKeyC));
}

void TMainForm::WriteWindowSettings(SettingsFile& s) const {
  const ui::Box b = RestoredBounds();
  s.WriteInteger(u"Window", u"Pos", MPOSC);
  s.WriteInteger(u"Window", u"Width", b.width);
  s.WriteInteger(u"Window", u"Top", b.top);
  s.WriteInteger(u"Window", u"Left", b.left);
  s.WriteBool(u"Window", u"MostTop", PPMostTop->Checked());
  s.WriteBool(u"Window", u"Save", CHKSave->Checked());
  s.WriteBool(u"Window", u"Resident", PPResident->Checked());
  s.WriteString(u"Window", u"HotKey", MPPHotKeyC);
}

bool TMainForm::RegisterShowHotKey() {
  const UINT vk = MPPHotKeyC.empty() ? 'M' : MPPHotKeyC.front();
  FHotKeyID = GlobalAddAtomW(L"Morvi_Show");
  return FHotKeyID && FRegisterHotKey(Handle(), FHotKeyID, MOD_CONTROL | MOD_SHIFT, vk);
}

void TMainForm::UnregisterShowHotKey() {
  if (FHotKeyID == 0) {
    return;
  }
  GlobalDeleteAtom(FHotKeyID);
  UnregisterHotKey(Handle(), FHotKeyID);
  FHotKeyID = 0;
}

void TMainForm::ReportHotKeyNotRegistered() {
  ui::Application::Instance().ShowWarning(
      HotKeyNotRegisteredText(MPPHotKeyC.empty() ? u'M' : MPPHotKeyC.front()));
}

void TMainForm::FormShow(ui::Component&) {
  MEdit = EditName;
  CaptureSaveDialog();
  FindSaveButton();
  AlignToDialog();
  CHKSave->SetEnabled(MSVB != nullptr);
  // On top or not, as marked; this shows the window. It comes last, so that the window appears
  // with the captured name in its fields, in its place, and not with the last use's for a moment.
  SetTopMost(Handle(), PPMostTop->Checked());
  if (NoteForm && NoteForm->TBShow->Down()) {
    NoteForm->Show();
  }
}

void TMainForm::FormHide(ui::Component&) {
  // The word list goes with the editor; its own close saves its settings. When that save fails,
  // the word list stays open and the editor still hides.
  if (NoteForm && NoteForm->Visible()) {
    NoteForm->Close();
  }
}

void TMainForm::FormCloseQuery(ui::Component&, bool& canClose) {
  // The word list closes first, so that its settings are in the file before this window loads
  // it. When that fails, neither window closes.
  if (NoteForm && NoteForm->Visible() && !NoteForm->Close()) {
    canClose = false;
    return;
  }
  SettingsFile settings(UserDataFile(kSettingsFileName));
  WriteWindowSettings(settings);
  settings.UpdateFile();
}

void TMainForm::FormDestroy(ui::Component&) {
  UnregisterShowHotKey();
}

LRESULT TMainForm::WMHotKey(WPARAM wp, LPARAM) {
  if (FHotKeyID == 0 || wp != FHotKeyID) {
    return 0;
  }
  // A window that is already shown only comes to the front; a minimised one is restored.
  if (IsIconic(Handle())) {
    ShowWindow(Handle(), SW_RESTORE);
  }
  Show();
  SetForegroundWindow(Handle());
  return 0;
}

LRESULT TMainForm::WMEndSession(WPARAM ending, LPARAM) {
  if (!ending) {
    return 0;
  }
  // Both windows write their settings; a failure is passed over without a message, and the
  // program ends all the same.
  ui::Application::Instance().SetQuiet(true);
  if (NoteForm) {
    NoteForm->Close();
  }
  if (!Close() && Handle()) {
    DestroyWindow(Handle());
  }
  return 0;
}

LRESULT TMainForm::WMCopyData(WPARAM, LPARAM lp) {
  if (Visible()) {
    return 0;
  }
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
  if (data && IsShowRequest(data->lpData, data->cbData)) {
    Show();
    ForceForegroundWindow(Handle());
  }
  return 0;
}

void TMainForm::BtnOptionClick(ui::Component&) {
  POINT p{};
  GetCursorPos(&p);
  PPConfig->Popup(p.x, p.y, Handle());
}

void TMainForm::PPMostTopClick(ui::Component&) {
  SetTopMost(Handle(), PPMostTop->Checked());
  if (NoteForm && NoteForm->Visible()) {
    NoteForm->FollowEditorOnTop();
  }
}

void TMainForm::PPPOSClick(ui::Component& sender) {
  MPOSC = sender.Tag();
  MPPPOS[static_cast<std::size_t>(MPOSC)]->SetChecked(true);
}

void TMainForm::PPHotKeyClick(ui::Component& sender) {
  const auto i = static_cast<std::size_t>(sender.Tag());
  if (!FResident) {
    UnregisterShowHotKey();
  }
  MPPHotkey[i]->SetChecked(true);
  MPPHotKeyC = MPPHotkey[i]->Caption();
  // The letter stays chosen, also when another program holds the combination.
  if (!FResident && !RegisterShowHotKey()) {
    ReportHotKeyNotRegistered();
  }
}

void TMainForm::PPNoteClick(ui::Component&) {
  if (NoteForm) {
    NoteForm->Show();
  }
}

} // namespace morvi
