// A whole use of Morvi.exe, as a user has it: a program shows its Save As dialog, Morvi is
// started twice, the name is edited with keys and the menu, Enter, and the dialog saves under
// the new name.
#include "ChildProcess.h"
#include "MenuDriver.h"
#include "MorviFiles.h"
#include "MorviWindows.h"
#include "WinTest.h"
#include "common/Wide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace morvi;
using namespace morvi::test;

TEST(SaveAsSession, TheDialogSavesUnderTheNameEditedInMorvi) {
  ASSERT_EQ(MorviWindow(), nullptr);
  const MorviFiles files;
  TempFolder folder;
  ChildProcess dialogProcess;
  ASSERT_TRUE(dialogProcess.Start(u"savedlg.exe", {u"draft notes.txt", u"--dir", folder.Path(),
                                                   u"--result", folder / u"report.txt"}));
  HWND dialog = WaitForProcessWindow(dialogProcess.Id(), u"#32770", nullptr, 15000);
  ASSERT_NE(dialog, nullptr);

  ChildProcess resident;
  const HWND morvi = StartMorviShown(resident);
  ASSERT_NE(morvi, nullptr);

  const std::vector<HWND> fields = EditFieldsOf(morvi);
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_EQ(WindowText(fields[0]), u"draft notes.txt");
  EXPECT_EQ(WindowText(fields[1]), u"draft notes");
  EXPECT_EQ(WindowText(fields[2]), u"txt");

  // "draft notes": the caret after "draft ", then swap the halves with the fixed key.
  SendKey(VK_HOME);
  for (int i = 0; i < 6; ++i) {
    SendKey(VK_RIGHT);
  }
  SendKey(VK_HOME, {VK_SHIFT, VK_CONTROL});
  ASSERT_TRUE(WaitFor([&] { return WindowText(fields[1]) == u"notesdraft "; }))
      << "got " << testing::PrintToString(WindowText(fields[1]));
  // Then cut what stands after the caret (the caret sits between the halves) through the
  // editing menu, opened with its access key.
  {
    MenuDriver driver([](HWND) { MenuDriver::Press('C'); });
    SendKey('E', {VK_MENU});
    ASSERT_TRUE(WaitFor([&] { return WindowText(fields[1]) == u"notes"; }))
        << "got " << testing::PrintToString(WindowText(fields[1]));
    EXPECT_TRUE(driver.Appeared());
  }
  SendKey(VK_END);
  SendText(u"_2026");
  ASSERT_TRUE(WaitFor([&] { return WindowText(fields[1]) == u"notes_2026"; }));

  // Mark "press Save" (Tab to the check box, Space), then Enter presses OK.
  for (int i = 0; i < 7; ++i) {
    SendKey(VK_TAB);
  }
  SendKey(VK_SPACE);
  SendKey(VK_RETURN);

  ASSERT_TRUE(dialogProcess.WaitForExit(15000)) << "the dialog did not save";
  const std::u16string report = FromUtf8(ReadFileBytes(folder / u"report.txt"));
  EXPECT_NE(report.find(u"result=1"), std::u16string::npos) << testing::PrintToString(report);
  EXPECT_NE(report.find(u"file=" + (folder / u"notes_2026.txt")), std::u16string::npos)
      << testing::PrintToString(report);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(morvi); })) << "Morvi hides after OK";
  EXPECT_EQ(resident.ExitCode(), static_cast<DWORD>(STILL_ACTIVE)) << "and stays resident";
}
