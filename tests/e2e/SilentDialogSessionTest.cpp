// Morvi.exe over the Save As dialog of a program that stops answering (fakedlg.exe): Morvi's
// window keeps answering, OK says that the dialog does not answer, and the edited name and the
// dialog's box stay as they were.
#include "ChildProcess.h"
#include "FakeDialogs.h"
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

bool WaitFor(const std::function<bool()>& pred) {
  return PumpUntil(pred, 10000);
}

// The edit fields of Morvi's window from top to bottom: path, base name, extension.
std::vector<HWND> EditFieldsOf(HWND morvi) {
  std::vector<std::pair<LONG, HWND>> edits;
  EnumChildWindows(
      morvi,
      [](HWND w, LPARAM lp) -> BOOL {
        if (ClassName(w) == u"Edit") {
          RECT r;
          GetWindowRect(w, &r);
          reinterpret_cast<std::vector<std::pair<LONG, HWND>>*>(lp)->push_back({r.top, w});
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&edits));
  std::sort(edits.begin(), edits.end());
  std::vector<HWND> out;
  for (const auto& e : edits) {
    out.push_back(e.second);
  }
  return out;
}

// How long Morvi's window takes to handle a message sent to it now.
DWORD AnswerTimeMs(HWND morvi) {
  const DWORD start = GetTickCount();
  DWORD_PTR r = 0;
  SendMessageTimeoutW(morvi, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &r);
  return GetTickCount() - start;
}

} // namespace

TEST(SilentDialogSession, OkOverAHungDialogTellsTheUserAndMorviKeepsAnswering) {
  ASSERT_EQ(FindWindowW(L"TMainForm", L"Morvi"), nullptr);
  FakeProgram dialog;
  ASSERT_TRUE(dialog.StartDialog(u"draft.txt"));

  ChildProcess resident;
  ASSERT_TRUE(resident.Start(u"Morvi.exe", {}));
  HWND morvi = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (morvi = FindWindowW(L"TMainForm", L"Morvi")) != nullptr; }));
  ChildProcess second;
  ASSERT_TRUE(second.Start(u"Morvi.exe", {}));
  ASSERT_TRUE(second.WaitForExit(15000));
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(morvi) && GetForegroundWindow() == morvi; }));
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
