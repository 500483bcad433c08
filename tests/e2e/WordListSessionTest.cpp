// The word list in a whole use of Morvi.exe: a Save As dialog is open, Morvi is shown over it,
// the editing menu brings up the word list, a word goes into the base name with the keys, and OK
// writes the new name into the dialog.
#include "ChildProcess.h"
#include "MorviFiles.h"
#include "MorviWindows.h"
#include "WinTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace morvi;
using namespace morvi::test;

TEST(WordListSession, AWordFromTheListGoesIntoTheNameAndReachesTheDialog) {
  ASSERT_EQ(MorviWindow(), nullptr);
  const MorviFiles files;
  // UTF-8 with a mark, as the README asks.
  ASSERT_TRUE(WriteFileBytes(files.WordList(), "\xEF\xBB\xBF見積書\r\n_2026-12-11\r\n議事録\r\n"));
  TempFolder folder;
  ChildProcess dialogProcess;
  ASSERT_TRUE(dialogProcess.Start(u"savedlg.exe", {u"report.txt", u"--dir", folder.Path(),
                                                   u"--result", folder / u"result.txt"}));
  HWND dialog = WaitForProcessWindow(dialogProcess.Id(), u"#32770", nullptr, 15000);
  ASSERT_NE(dialog, nullptr);

  ChildProcess resident;
  const HWND morvi = StartMorviShown(resident);
  ASSERT_NE(morvi, nullptr);
  const std::vector<HWND> fields = EditFieldsOf(morvi);
  ASSERT_EQ(fields.size(), 3u);
  ASSERT_EQ(WindowText(fields[1]), u"report");

  // The caret at the end of the base name, then Alt+E, N: the editing menu's word list.
  SendKey(VK_END);
  SendKey('E', {VK_MENU});
  ASSERT_TRUE(WaitFor([] { return VisiblePopupMenu() != nullptr; }));
  SendKey('N');
  HWND list = nullptr;
  const std::u16string title = u"Morvi - 単語帳";
  ASSERT_TRUE(WaitFor([&] {
    list = FindWindowW(L"TNoteForm", L"Morvi - 単語帳");
    return list && IsWindowVisible(list) && GetForegroundWindow() == list;
  }));
  HWND listBox = FindWindowExW(list, nullptr, L"ListBox", nullptr);
  ASSERT_NE(listBox, nullptr);
  EXPECT_EQ(SendMessageW(listBox, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(listBox, LB_GETCURSEL, 0, 0), 0) << "the first word is selected";

  // Down, Enter: the second word goes in at the base name's caret.
  SendKey(VK_DOWN);
  SendKey(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return WindowText(fields[1]) == u"report_2026-12-11"; }))
      << "got " << testing::PrintToString(WindowText(fields[1]));
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == morvi; }));
  EXPECT_TRUE(WaitFor([&] { return FocusOfThreadOf(morvi) == fields[1]; }))
      << "typing goes on in the base name";
  EXPECT_TRUE(IsWindowVisible(list)) << "the word list stays open";

  // OK writes the new name into the dialog's box; the dialog then saves it when asked to.
  SendKey(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(morvi); }));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(list); }))
      << "the word list goes with the editor";
  HWND box = nullptr;
  EnumChildWindows(
      dialog,
      [](HWND w, LPARAM lp) -> BOOL {
        if (ClassName(w) == u"Edit") {
          *reinterpret_cast<HWND*>(lp) = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&box));
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(WaitFor([&] { return WindowText(box) == u"report_2026-12-11.txt"; }))
      << "got " << testing::PrintToString(WindowText(box));
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(dialogProcess.WaitForExit(15000));
  const std::u16string report = FromUtf8(ReadFileBytes(folder / u"result.txt"));
  EXPECT_NE(report.find(u"file=" + (folder / u"report_2026-12-11.txt")), std::u16string::npos)
      << testing::PrintToString(report);
}
