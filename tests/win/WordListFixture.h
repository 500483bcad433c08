// A real editor window with its word list, made over a scratch data folder that a test fills
// first (the settings file, the word-list file), for tests of the word list and of the windows'
// life.
#pragma once

#include "MainFormInspector.h"
#include "MessageBoxes.h"
#include "TestFiles.h"
#include "WinTest.h"
#include "common/DataFolder.h"
#include "editor/Main.h"
#include "ui/Application.h"
#include "wordlist/Note.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace morvi::test {

class EditorFilesTest : public ::testing::Test {
protected:
  void SetUp() override {
    ui::Application::Instance().Initialize();
    UseDataFolder(data_.Path());
  }

  void TearDown() override {
    form_.reset();
    MainForm = nullptr;
  }

  // Where the windows keep their files; a folder that need not exist.
  void UseDataFolder(const std::u16string& folder) {
    folder_ = folder;
    SetUserDataDir(folder + u"\\");
  }
  std::u16string NoteFile() const { return folder_ + u"\\Morvi-Note.txt"; }
  std::u16string IniFile() const { return folder_ + u"\\Morvi.ini"; }
  void WriteNote(const std::string& bytes) { ASSERT_TRUE(WriteFileBytes(NoteFile(), bytes)); }

  // Makes the editor window, which makes the word list. beforeCreate_ may prepare the window
  // object first (a stand-in for the hot-key registration).
  void Create() {
    form_ = std::make_unique<TMainForm>();
    MainForm = form_.get();
    if (beforeCreate_) {
      beforeCreate_(*form_);
    }
    form_->CreateWindowHandle();
    ASSERT_NE(form_->Handle(), nullptr);
    ASSERT_NE(NoteForm, nullptr);
    ASSERT_NE(NoteForm->Handle(), nullptr);
  }

  // Shows the editor window in front with the focus in its base name.
  void ShowEditor() {
    form_->Show();
    ASSERT_TRUE(BringToForeground(form_->Handle()));
    ASSERT_TRUE(PumpUntil([this] { return form_->EditName->Focused(); }));
  }

  // Shows the word list in front, the list having the focus.
  void ShowList() {
    Note().Show();
    ASSERT_TRUE(BringToForeground(Note().Handle()));
    ASSERT_TRUE(PumpUntil([this] { return Note().ListBox->Focused(); }));
  }

  std::vector<std::u16string> ListItems() {
    std::vector<std::u16string> items;
    for (int i = 0; i < Note().ListBox->Count(); ++i) {
      items.push_back(Note().ListBox->Item(i));
    }
    return items;
  }

  // Clicks a tool button with the mouse, as the user does.
  void ClickButton(const ui::ToolButton& b) {
    const ui::Box box = b.Bounds();
    POINT p{box.left + box.width / 2, box.top + box.height / 2};
    ClientToScreen(Note().ToolBar->Handle(), &p);
    ClickAndSettle(p);
  }

  TNoteForm& Note() { return *NoteForm; }
  TMainForm& F() { return *form_; }
  MainFormInspector In() { return MainFormInspector(*form_); }

  std::function<void(TMainForm&)> beforeCreate_;
  TempFolder data_;
  std::u16string folder_;
  std::unique_ptr<TMainForm> form_;
};

class WordListTest : public EditorFilesTest {};
class LifeCycleTest : public EditorFilesTest {};

} // namespace morvi::test
