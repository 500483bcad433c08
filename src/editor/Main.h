// The name editor window: the program's main window. It shows the name captured from another
// program's Save As dialog as a base name and an extension, offers the editing commands, and
// writes the edited name back.
#pragma once

#include "common/SettingsFile.h"
#include "editor/CaretCommands.h"
#include "editor/SaveDialogLink.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "wordlist/Note.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace morvi {

class TMainForm : public ui::Form {
public:
  TMainForm();
  ~TMainForm() override;

  // Controls, from top to bottom and left to right.
  ui::Panel* PanelEdit = nullptr;
  ui::Edit* EditPath = nullptr;
  ui::Edit* EditName = nullptr;
  ui::Label* Labelpiriodo = nullptr;
  ui::Edit* EditExt = nullptr;
  ui::Panel* PanelBtn = nullptr;
  ui::Button* BtnOption = nullptr;
  ui::Button* BtnNameClear = nullptr;
  ui::Button* BtnEdit = nullptr;
  ui::CheckBox* CHKSave = nullptr;
  ui::Button* BtnOK = nullptr;
  ui::Button* BtnCancel = nullptr;

  // The settings menu.
  ui::PopupMenu* PPConfig = nullptr;
  ui::MenuItem* PPMostTop = nullptr;
  ui::MenuItem* PPPos = nullptr;
  ui::MenuItem* PPPOS0 = nullptr;
  ui::MenuItem* PPPOS1 = nullptr;
  ui::MenuItem* PPPOS2 = nullptr;
  ui::MenuItem* PPResident = nullptr;
  ui::MenuItem* PPHotKey = nullptr;

  // The editing menu.
  ui::PopupMenu* PPEdit = nullptr;
  ui::MenuItem* PPCaretCutBefore = nullptr;
  ui::MenuItem* PPCaretCutAfter = nullptr;
  ui::MenuItem* PPCaretCopyBefore = nullptr;
  ui::MenuItem* PPCaretCopyAfter = nullptr;
  ui::MenuItem* PPCaretXch = nullptr;
  ui::MenuItem* N1 = nullptr;
  ui::MenuItem* PPInvalidCha = nullptr;
  ui::MenuItem* N2 = nullptr;
  ui::MenuItem* PPUndo = nullptr;
  ui::MenuItem* N3 = nullptr;
  ui::MenuItem* PPDate1 = nullptr;
  ui::MenuItem* PPDate2 = nullptr;
  ui::MenuItem* N4 = nullptr;
  ui::MenuItem* PPNote = nullptr;

  // The dialog's Save button, found at each show.
  HWND MSVB = nullptr;

  // The round trip with the Save As dialog.
  void CaptureSaveDialog();
  void FindSaveButton();
  void AlignToDialog();
  LinkProblem WriteNameToDialog();

  // Sets the enabled states of the editing menu's items.
  void UpdateEditMenu();

  // The hot key Ctrl+Shift and the first character of MPPHotKeyC, under the atom "Morvi_Show";
  // true when the system took it.
  bool RegisterShowHotKey();
  void UnregisterShowHotKey();

  // The name rules (the portable name model).
  void SplitPathToFields();
  static bool IsValidFileName(const std::u16string& name);
  static std::u16string ToFullWidth(const std::u16string& text);
  static std::u16string PathExtension(const std::u16string& text);
  static std::u16string ExtensionFieldText(const std::u16string& text);
  static std::u16string JoinFileName(const std::u16string& name, const std::u16string& ext);

private:
  friend class MainFormInspector; // the tests' view of the window's state

  void BuildComponents();
  void BindEvents();
  void FillShortCuts();
  void ReadWindowSettings(const SettingsFile& settings);
  void WriteWindowSettings(SettingsFile& settings) const;
  // Says that the hot key could not be registered, naming it.
  void ReportHotKeyNotRegistered();
  // Says in the path field why a show captured nothing; LinkProblem::None clears it.
  void ShowCaptureNotice(LinkProblem problem);
  // Empties the fields and puts the window away after OK or Cancel.
  void EndUse();
  // The field the commands act on: the name field entered last.
  ui::Edit& Target() const;
  // What restoring the field puts back: its part of the name as captured.
  std::u16string RestoreValueOf(const ui::Edit& field) const;
  void Apply(const std::optional<CaretEdit>& edit);

  // Handlers.
  void FormCreate(ui::Component& sender);
  void FormShow(ui::Component& sender);
  void FormHide(ui::Component& sender);
  void FormCloseQuery(ui::Component& sender, bool& canClose);
  void FormDestroy(ui::Component& sender);
  LRESULT WMHotKey(WPARAM wp, LPARAM lp);
  LRESULT WMCopyData(WPARAM wp, LPARAM lp);
  LRESULT WMEndSession(WPARAM wp, LPARAM lp);
  bool IsShortCut(const MSG& key);
  void BtnOptionClick(ui::Component& sender);
  void BtnNameClearClick(ui::Component& sender);
  void BtnEditClick(ui::Component& sender);
  void BtnOKClick(ui::Component& sender);
  void BtnCancelClick(ui::Component& sender);
  void EditNameChange(ui::Component& sender);
  void EditNameEnter(ui::Component& sender);
  void EditExtEnter(ui::Component& sender);
  void PPMostTopClick(ui::Component& sender);
  void PPPOSClick(ui::Component& sender);
  void PPHotKeyClick(ui::Component& sender);
  void PPEditPopup(ui::Component& sender);
  void PPCaretCutBeforeClick(ui::Component& sender);
  void PPCaretCutAfterClick(ui::Component& sender);
  void PPCaretCopyBeforeClick(ui::Component& sender);
  void PPCaretCopyAfterClick(ui::Component& sender);
  void PPCaretXchClick(ui::Component& sender);
  void PPInvalidChaClick(ui::Component& sender);
  void PPUndoClick(ui::Component& sender);
  void PPDataClick(ui::Component& sender);
  void PPNoteClick(ui::Component& sender);

  // Fields, in declaration order.
  std::array<ui::MenuItem*, 26> MPPHotkey{}; // the letter items "A" to "Z"
  std::u16string MPPHotKeyC;                 // the hot-key letter
  bool FResident = false;                    // true when this run is non-resident
  HWND MDlg = nullptr;                       // the captured Save As dialog
  HWND MEdt = nullptr;                       // its file-name box
  std::uint16_t FHotKeyID = 0;               // the hot key's atom; 0 while none is registered
  ui::Edit* MEdit = nullptr;                 // the name field entered last
  int MPOSC = 0;                             // 0 stay, 1 dialog's top, 2 dialog's bottom
  std::array<ui::MenuItem*, 3> MPPPOS{};     // the position items, by tag
  std::array<ui::MenuItem*, 3> MPPDate{};    // the date items at 1 and 2, by tag
  std::array<std::uint16_t, 7> MShortCut{};  // the six fixed keys at 1 to 6
  std::unique_ptr<TNoteForm> FNoteForm;      // the word list, which NoteForm names
  // How the hot key is registered: RegisterHotKey, unless a test stands in for it.
  std::function<bool(HWND, int, UINT, UINT)> FRegisterHotKey;
  SaveDialogLink MLink; // the messages to the dialog and their checks
};

// The one editor window.
extern TMainForm* MainForm;

} // namespace morvi
