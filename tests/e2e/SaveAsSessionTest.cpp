// A whole use of Morvi.exe, as a user has it: a program shows its Save As dialog, Morvi is
// started twice, the name is edited with keys and the menu, Enter, and the dialog saves under
// the new name.
#include "ChildProcess.h"
#include "MenuDriver.h"
#include "WinTest.h"
#include "common/Wide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace morvi;
using namespace morvi::test;

namespace {

bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs = 10000) {
  const DWORD start = GetTickCount();
  while (!pred()) {
    if (GetTickCount() - start > timeoutMs) {
      return false;
    }
    Sleep(5);
  }
  return true;
}

std::u16string TextOf(HWND w) {
  wchar_t buf[1024] = {};
  SendMessageW(w, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf));
  return U16(buf);
}

// The edit fields of Morvi's window in their order on screen: path, base name, extension.
std::vector<HWND> EditFieldsOf(HWND morvi) {
  struct Found {
    std::vector<std::pair<LONG, HWND>> edits;
  } found;
  EnumChildWindows(
      morvi,
      [](HWND w, LPARAM lp) -> BOOL {
        if (ClassName(w) == u"Edit") {
          RECT r;
          GetWindowRect(w, &r);
          reinterpret_cast<Found*>(lp)->edits.push_back({r.top, w});
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  std::sort(found.edits.begin(), found.edits.end());
  std::vector<HWND> out;
  for (const auto& e : found.edits) {
    out.push_back(e.second);
  }
  return out;
}

void Keys(std::initializer_list<WORD> held, WORD vk) {
  std::vector<INPUT> in;
  const auto key = [&in](WORD k, bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = k;
    i.ki.dwFlags =
        (up ? KEYEVENTF_KEYUP : 0) |
        (k == VK_HOME || k == VK_END || k == VK_LEFT || k == VK_RIGHT ? KEYEVENTF_EXTENDEDKEY : 0);
    in.push_back(i);
  };
  for (WORD h : held) {
    key(h, false);
  }
  key(vk, false);
  key(vk, true);
  for (auto it = std::rbegin(held); it != std::rend(held); ++it) {
    key(*it, true);
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void Type(std::u16string_view text) {
  std::vector<INPUT> in;
  for (char16_t c : text) {
    for (bool up : {false, true}) {
      INPUT i{};
      i.type = INPUT_KEYBOARD;
      i.ki.wScan = c;
      i.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      in.push_back(i);
    }
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

} // namespace

TEST(SaveAsSession, TheDialogSavesUnderTheNameEditedInMorvi) {
  ASSERT_EQ(FindWindowW(L"TMainForm", L"Morvi"), nullptr);
  TempFolder folder;
  ChildProcess dialogProcess;
  ASSERT_TRUE(dialogProcess.Start(u"savedlg.exe", {u"draft notes.txt", u"--dir", folder.Path(),
                                                   u"--result", folder / u"report.txt"}));
  HWND dialog = WaitForProcessWindow(dialogProcess.Id(), u"#32770", nullptr, 15000);
  ASSERT_NE(dialog, nullptr);

  ChildProcess resident;
  ASSERT_TRUE(resident.Start(u"Morvi.exe", {}));
  HWND morvi = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (morvi = FindWindowW(L"TMainForm", L"Morvi")) != nullptr; }));
  EXPECT_FALSE(IsWindowVisible(morvi));

  ChildProcess second;
  ASSERT_TRUE(second.Start(u"Morvi.exe", {}));
  ASSERT_TRUE(second.WaitForExit(15000));
  EXPECT_EQ(second.ExitCode(), 0u);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(morvi) && GetForegroundWindow() == morvi; }));

  const std::vector<HWND> fields = EditFieldsOf(morvi);
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_EQ(TextOf(fields[0]), u"draft notes.txt");
  EXPECT_EQ(TextOf(fields[1]), u"draft notes");
  EXPECT_EQ(TextOf(fields[2]), u"txt");

  // "draft notes": the caret after "draft ", then swap the halves with the fixed key.
  Keys({}, VK_HOME);
  for (int i = 0; i < 6; ++i) {
    Keys({}, VK_RIGHT);
  }
  Keys({VK_SHIFT, VK_CONTROL}, VK_HOME);
  ASSERT_TRUE(WaitFor([&] { return TextOf(fields[1]) == u"notesdraft "; }))
      << "got " << testing::PrintToString(TextOf(fields[1]));
  // Then cut what stands after the caret (the caret sits between the halves) through the
  // editing menu, opened with its access key.
  {
    MenuDriver driver([](HWND) { MenuDriver::Press('C'); });
    Keys({VK_MENU}, 'E');
    ASSERT_TRUE(WaitFor([&] { return TextOf(fields[1]) == u"notes"; }))
        << "got " << testing::PrintToString(TextOf(fields[1]));
    EXPECT_TRUE(driver.Appeared());
  }
  Keys({}, VK_END);
  Type(u"_2026");
  ASSERT_TRUE(WaitFor([&] { return TextOf(fields[1]) == u"notes_2026"; }));

  // Mark "press Save" (Tab to the check box, Space), then Enter presses OK.
  for (int i = 0; i < 7; ++i) {
    Keys({}, VK_TAB);
  }
  Keys({}, VK_SPACE);
  Keys({}, VK_RETURN);

  ASSERT_TRUE(dialogProcess.WaitForExit(15000)) << "the dialog did not save";
  const std::u16string report = FromUtf8(ReadFileBytes(folder / u"report.txt"));
  EXPECT_NE(report.find(u"result=1"), std::u16string::npos) << testing::PrintToString(report);
  EXPECT_NE(report.find(u"file=" + (folder / u"notes_2026.txt")), std::u16string::npos)
      << testing::PrintToString(report);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(morvi); })) << "Morvi hides after OK";
  EXPECT_EQ(resident.ExitCode(), static_cast<DWORD>(STILL_ACTIVE)) << "and stays resident";
}
