// The word list: a second, small window over the lines of the user's plain-text file
// "Morvi-Note.txt" in the data folder. A chosen line goes into the editor window's base name at
// its caret, or onto the clipboard; the file opens in the shell's editor and can be read again.
// Closing the window only hides it.
#pragma once

#include "common/SettingsFile.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/ToolBar.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace morvi {

class TNoteForm : public ui::Form {
public:
  TNoteForm();

  // Controls and tool buttons.
  ui::ToolBar* ToolBar = nullptr;
  ui::ToolButton* TBClip = nullptr;
  ui::ToolButton* TBName = nullptr;
  ui::ToolButton* TBClose = nullptr;
  ui::ListBox* ListBox = nullptr;
  ui::ToolButton* TBEdit = nullptr;
  ui::ToolButton* TBReload = nullptr;
  ui::ToolButton* ToolButton1 = nullptr;
  ui::ToolButton* ToolButton2 = nullptr;
  ui::ToolButton* TBEnd = nullptr;
  ui::ToolButton* TBShow = nullptr; // down: shown together with the editor window

  // What the editor window gives before it creates this window: its base-name field, which a
  // chosen word goes into...
  ui::Edit* NameField = nullptr;
  // ...and the settings it loaded at start-up, so that the file is read, and a damaged one
  // reported, once. None: this window loads the settings itself; a null pointer: the load
  // failed and has been reported, and the window keeps its values as created.
  std::optional<const SettingsFile*> StartupSettings;

  // How the word-list file is opened in the program registered for text files.
  std::function<void(HWND owner, const std::u16string& file)> OpenInShell;

  // The full path of the word-list file.
  const std::u16string& NotePath() const { return MNote; }

  // Reads the file into the list; the list keeps what it had when the file cannot be read.
  void LoadList();

  // Always on top exactly while the editor window is, so that the two stay in reach together.
  void FollowEditorOnTop();

private:
  void BuildComponents();
  void BindEvents();
  // Applies the [Note] settings; without a settings object, their defaults.
  void ReadSettings(const SettingsFile* settings);
  // Before the window appears: onto the editor window's monitor, at the same offset from its
  // corner.
  void FollowEditorMonitor();

  // Handlers.
  void FormCreate(ui::Component& sender);
  void FormCloseQuery(ui::Component& sender, bool& canClose);
  void FormResize(ui::Component& sender);
  void FormShow(ui::Component& sender);
  void TBNameClick(ui::Component& sender);
  void TBClipClick(ui::Component& sender);
  void TBEditClick(ui::Component& sender);
  void TBReloadClick(ui::Component& sender);
  void TBCloseClick(ui::Component& sender);
  void ListBoxDblClick(ui::Component& sender);
  void ListBoxKeyPress(ui::Component& sender, char16_t& key);

  std::u16string MNote; // the word-list file's full path
};

// The one word-list window, made by the editor window.
extern TNoteForm* NoteForm;

} // namespace morvi
