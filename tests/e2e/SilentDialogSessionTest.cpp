// Morvi.exe over the Save As dialog of a program that stops answering (fakedlg.exe): Morvi's
// window keeps answering, OK says that the dialog does not answer, and the edited name and the
// dialog's box stay as they were.
#include "ChildProcess.h"
#include "FakeDialogs.h"
#include "MorviWindows.h"
#include "WinTest.h"

#include "common/ForeignWindow.h"
#include "editor/SaveDialogRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace morvi;
using namespace morvi::test;

namespace {

// How long Morvi's window takes to handle a message sent to it now.
DWORD AnswerTimeMs(HWND morvi) {
  const DWORD start = GetTickCount();
  DWORD_PTR r = 0;
  SendMessageTimeoutW(morvi, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &r);
  return GetTickCount() - start;
}

} // namespace

TEST(SilentDialogSession, OkOverAHungDialogTellsTheUserAndMorviKeepsAnswering) {
  ASSERT_EQ(MorviWindow(), nullptr);
  FakeProgram dialog;
  ASSERT_TRUE(dialog.StartDialog(u"draft.txt"));

  ChildProcess resident;
  const HWND morvi = StartMorviShown(resident);
  ASSERT_NE(morvi, nullptr);
  const std::vector<HWND> fields = EditFieldsOf(morvi);
  ASSERT_EQ(fields.size(), 3u);
  ASSERT_EQ(WindowText(fields[1]), u"draft");

  dialog.Post(kFakeHang, 6000);
  ASSERT_TRUE(dialog.WaitForLog("hang"));
  SendKey(VK_RETURN);
  // Within the bound of one message to the dialog, and long before the dialog wakes up.
  EXPECT_LT(AnswerTimeMs(morvi), kForeignReplyBoundMs + 1500);
  const std::u16string title = u"Morvi";
  HWND box = WaitForProcessWindow(resident.Id(), u"#32770", &title, 10000);
  ASSERT_NE(box, nullptr) << "Morvi says why nothing was written";
  EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), WriteFailureText(LinkProblem::NoAnswer));
  EXPECT_LT(AnswerTimeMs(morvi), kForeignReplyBoundMs + 1500);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));

  EXPECT_TRUE(IsWindowVisible(morvi));
  EXPECT_EQ(WindowText(fields[1]), u"draft") << "the name the user had is still there";
  ASSERT_TRUE(dialog.WaitForLog("awake"));
  ASSERT_TRUE(dialog.Drain());
  EXPECT_EQ(dialog.Writes(), std::vector<std::string>{}) << "nothing was written late";
  EXPECT_EQ(resident.ExitCode(), static_cast<DWORD>(STILL_ACTIVE));
}
