#include "MorviWindows.h"

#include "WinTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace morvi::test {

HWND MorviWindow() {
  return FindWindowW(L"TMainForm", L"Morvi");
}

HWND StartMorviShown(ChildProcess& resident) {
  HWND morvi = nullptr;
  if (!resident.Start(u"Morvi.exe", {}) ||
      !WaitFor([&] { return (morvi = MorviWindow()) != nullptr; })) {
    ADD_FAILURE() << "Morvi.exe did not make its window";
    return nullptr;
  }
  if (IsWindowVisible(morvi)) {
    ADD_FAILURE() << "a resident Morvi starts hidden";
  }
  ChildProcess second;
  if (!second.Start(u"Morvi.exe", {}) || !second.WaitForExit(15000) || second.ExitCode() != 0) {
    ADD_FAILURE() << "the second start did not end with exit code 0";
    return nullptr;
  }
  if (!WaitFor([&] { return IsWindowVisible(morvi) && GetForegroundWindow() == morvi; })) {
    ADD_FAILURE() << "the second start did not show Morvi's window in front";
    return nullptr;
  }
  return morvi;
}

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

HWND VisiblePopupMenu() {
  HWND w = FindWindowW(L"#32768", nullptr);
  return w && IsWindowVisible(w) ? w : nullptr;
}

int VisiblePopupMenus() {
  int n = 0;
  for (HWND w = FindWindowW(L"#32768", nullptr); w;
       w = FindWindowExW(nullptr, w, L"#32768", nullptr)) {
    n += IsWindowVisible(w) ? 1 : 0;
  }
  return n;
}

HWND FocusOfThreadOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  return thread && GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

} // namespace morvi::test
