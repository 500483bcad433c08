#include "wordlist/Note.h"

#include "common/Clipboard.h"
#include "common/DataFolder.h"
#include "common/ForeignWindow.h"
#include "common/ScreenPlacement.h"
#include "common/SettingValues.h"
#include "common/TextFile.h"
#include "common/Wide.h"
#include "common/WindowRules.h"
#include "ui/Align.h"
#include "ui/Application.h"
#include "ui/Controls.h"

#include <shellapi.h>

namespace morvi {

TNoteForm* NoteForm = nullptr;

namespace {

// The smallest outer size, in pixels at 96 DPI; stored and dragged sizes are raised to it.
constexpr int kMinWidth = 750;
constexpr int kMinHeight = 150;

ScreenRect MonitorRect(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) {
    return {};
  }
  const RECT& r = info.rcMonitor; // the whole monitor, task bar included
  return {r.left, r.top, r.right, r.bottom};
}

} // namespace

TNoteForm::TNoteForm() : Form(u"TNoteForm", u"NoteForm") {
  BuildComponents();
  BindEvents();
  SetCloseHides(true);
  OpenInShell = [](HWND owner, const std::u16string& file) {
    ShellExecuteW(owner, L"open", W(file), nullptr, nullptr, SW_SHOW);
  };
}

void TNoteForm::BindEvents() {
  using Sender = ui::Component;
  const auto bind = [this](void (TNoteForm::*handler)(Sender&)) {
    return [this, handler](Sender& s) { (this->*handler)(s); };
  };
  OnCreate = bind(&TNoteForm::FormCreate);
  OnShow = bind(&TNoteForm::FormShow);
  OnResize = bind(&TNoteForm::FormResize);
  OnCloseQuery = [this](Sender& s, bool& canClose) { FormCloseQuery(s, canClose); };
  TBName->OnClick = bind(&TNoteForm::TBNameClick);
  TBClip->OnClick = bind(&TNoteForm::TBClipClick);
  TBEdit->OnClick = bind(&TNoteForm::TBEditClick);
  TBReload->OnClick = bind(&TNoteForm::TBReloadClick);
  TBClose->OnClick = bind(&TNoteForm::TBCloseClick);
  ListBox->OnDblClick = bind(&TNoteForm::ListBoxDblClick);
  ListBox->OnKeyPress = [this](Sender& s, char16_t& key) { ListBoxKeyPress(s, key); };
}

// ---- Life cycle ----

void TNoteForm::FormCreate(ui::Component&) {
  UseMenuFont();
  SetSizeLimits(ui::ScaleLimits({kMinWidth, kMinHeight, 0, 0}, Dpi(), 96));
  if (!StartupSettings) {
    // A settings file that cannot be read is reported; the word list still comes up, with the
    // settings' defaults.
    std::optional<SettingsFile> own;
    ui::Guard([&] { own.emplace(UserDataFile(kSettingsFileName)); });
    ReadSettings(own ? &*own : nullptr);
  } else {
    ReadSettings(*StartupSettings);
  }
  EnsureOnScreen(Handle());
  MNote = UserDataFile(kWordListFileName);
  if (SafeFileExists(MNote)) {
    LoadList();
  } else {
    WriteTextLines(MNote, {}, std::nullopt);
  }
}

void TNoteForm::ReadSettings(const SettingsFile* settings) {
  const auto integer = [settings](std::u16string_view key, int def) {
    return settings ? settings->ReadInteger(u"Note", key, def) : def;
  };
  SetTop(integer(u"Top", ScreenBounds().top));
  SetLeft(integer(u"Left", ScreenBounds().left));
  SetHeight(integer(u"Height", 300));
  SetWidth(integer(u"Width", 700));
  const bool show = TBShow->Down();
  TBShow->SetDown(settings ? settings->ReadBool(u"Note", u"Show", show) : show);
}

void TNoteForm::FormCloseQuery(ui::Component&, bool&) {
  SettingsFile settings(UserDataFile(kSettingsFileName));
  const ui::Box b = ScreenBounds();
  settings.WriteInteger(u"Note", u"Top", b.top);
  settings.WriteInteger(u"Note", u"Left", b.left);
  settings.WriteInteger(u"Note", u"Height", b.height);
  settings.WriteInteger(u"Note", u"Width", b.width);
  settings.WriteBool(u"Note", u"Show", TBShow->Down());
  settings.UpdateFile();
}

void TNoteForm::FormShow(ui::Component&) {
  FollowEditorMonitor();
  FollowEditorOnTop();
  if (ListBox->Count() > 0 && ListBox->ItemIndex() < 0) {
    ListBox->SetItemIndex(0);
  }
}

void TNoteForm::FollowEditorMonitor() {
  const HWND editor = NameField ? NameField->OwnerForm().Handle() : nullptr;
  if (!editor) {
    return;
  }
  const HMONITOR target = MonitorFromWindow(editor, MONITOR_DEFAULTTONEAREST);
  const HMONITOR own = MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST);
  if (target == own) {
    return;
  }
  const ui::Box placed = FollowToMonitor(ScreenBounds(), MonitorRect(own), MonitorRect(target));
  SetWindowPos(Handle(), nullptr, placed.left, placed.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TNoteForm::FollowEditorOnTop() {
  const HWND editor = NameField ? NameField->OwnerForm().Handle() : nullptr;
  const bool onTop = editor && (GetWindowLongPtrW(editor, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(Handle(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TNoteForm::FormResize(ui::Component&) {
  ListBox->FitHorizontalExtent();
}

// ---- The list ----

void TNoteForm::LoadList() {
  ListBox->SetItems(ReadTextLines(MNote).lines);
}

void TNoteForm::TBNameClick(ui::Component&) {
  const int i = ListBox->ItemIndex();
  if (i < 0 || !NameField) {
    return;
  }
  InsertAtCaret(*NameField, ListBox->Item(i));
  ForceForegroundWindow(NameField->OwnerForm().Handle());
  FocusForeignControl(NameField->Handle());
}

void TNoteForm::TBClipClick(ui::Component&) {
  if (const int i = ListBox->ItemIndex(); i >= 0) {
    SetClipboardText(ui::Application::Instance().Handle(), ListBox->Item(i));
  }
}

void TNoteForm::TBEditClick(ui::Component&) {
  if (SafeFileExists(MNote)) {
    OpenInShell(Handle(), MNote);
  }
}

void TNoteForm::TBReloadClick(ui::Component&) {
  if (SafeFileExists(MNote)) {
    LoadList();
  }
}

void TNoteForm::TBCloseClick(ui::Component&) {
  Close();
}

void TNoteForm::ListBoxDblClick(ui::Component& sender) {
  TBNameClick(sender);
}

void TNoteForm::ListBoxKeyPress(ui::Component& sender, char16_t& key) {
  if (key == u'\r') {
    TBNameClick(sender);
  }
  key = 0; // no typed character reaches the list: letters do not move the selection
}

} // namespace morvi
