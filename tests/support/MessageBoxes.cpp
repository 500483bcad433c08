#include "MessageBoxes.h"

#include "WinTest.h"

#include <algorithm>

namespace morvi::test {

namespace {

struct Found {
  DWORD processId;
  std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND w, LPARAM lp) {
  auto* found = reinterpret_cast<Found*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == found->processId && IsWindowVisible(w) && ClassName(w) == u"#32770" &&
      WindowText(w) == u"Morvi") {
    found->boxes.push_back(w);
  }
  return TRUE;
}

} // namespace

std::u16string MessageBoxText(HWND box) {
  std::u16string longest;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (ClassName(c) == u"Static") {
      std::u16string t = WindowText(c);
      if (t.size() > longest.size()) {
        longest = std::move(t);
      }
    }
  }
  return longest;
}

MessageBoxWatcher::MessageBoxWatcher(DWORD processId)
    : processId_(processId ? processId : GetCurrentProcessId()), thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
  stop_ = true;
  thread_.join();
}

void MessageBoxWatcher::Watch() {
  while (!stop_) {
    Found found{processId_, {}};
    EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&found));
    for (HWND box : found.boxes) {
      std::lock_guard<std::mutex> lock(mutex_);
      if (std::find(answered_.begin(), answered_.end(), box) != answered_.end()) {
        continue;
      }
      texts_.push_back(MessageBoxText(box));
      answered_.push_back(box);
      // As a click on OK: the box's button with IDOK, or its close for a box without one.
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    Sleep(5);
  }
}

std::vector<std::u16string> MessageBoxWatcher::Texts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return texts_;
}

bool MessageBoxWatcher::WaitFor(std::size_t n, int timeoutMs) const {
  return PumpUntil([&] { return Texts().size() >= n; }, timeoutMs);
}

} // namespace morvi::test
