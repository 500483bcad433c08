// A real editor window, created, shown and in the foreground, for tests that drive it. Its data
// folder (settings and word list) is a scratch folder of the test's own.
#pragma once

#include "MainFormInspector.h"
#include "TestFiles.h"
#include "WinTest.h"
#include "common/DataFolder.h"
#include "editor/Main.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <memory>

namespace morvi::test {

class MainFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    ui::Application::Instance().Initialize();
    SetUserDataDir(data_.Path() + u"\\");
    form_ = std::make_unique<TMainForm>();
    MainForm = form_.get();
    form_->CreateWindowHandle();
    ASSERT_NE(form_->Handle(), nullptr) << "error " << GetLastError();
  }

  void TearDown() override {
    if (dialog_) {
      DestroyWindow(dialog_);
    }
    form_.reset();
    MainForm = nullptr;
  }

  // Shows the window and gives it the keyboard.
  void ShowInFront() {
    form_->Show();
    ASSERT_TRUE(BringToForeground(form_->Handle()));
    ASSERT_TRUE(PumpUntil([this] { return form_->EditName->Focused(); }));
  }

  // Pretends that a dialog and its box were captured: two enabled windows of our own.
  void FakeCapturedDialog() {
    dialog_ = CreateWindowExW(0, L"STATIC", L"dialog", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr);
    box_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 10, 10, dialog_, nullptr, nullptr,
                           nullptr);
    In().MDlg() = dialog_;
    In().MEdt() = box_;
  }

  // The name of the control that has the keyboard focus.
  std::u16string FocusedName() const {
    const ui::Control* c = ui::Control::FromHandle(GetFocus());
    return c ? c->Name() : u"(none)";
  }

  MainFormInspector In() { return MainFormInspector(*form_); }
  TMainForm& F() { return *form_; }

  TempFolder data_;
  std::unique_ptr<TMainForm> form_;
  HWND dialog_ = nullptr;
  HWND box_ = nullptr;
};

} // namespace morvi::test
