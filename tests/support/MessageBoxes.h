// Message boxes that the code under test shows, as the user meets them: each box titled "Morvi"
// that a window of this process (or another one) puts up is read and then answered with OK, so
// that a test can say which messages appeared without anyone clicking.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace morvi::test {

// The text of a message box: the longest text among its static controls.
std::u16string MessageBoxText(HWND box);

class MessageBoxWatcher {
public:
  // Watches the boxes of the process (this one when 0) from now until the watcher goes.
  explicit MessageBoxWatcher(DWORD processId = 0);
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  // The texts of the boxes answered so far, in order.
  std::vector<std::u16string> Texts() const;
  // Waits, pumping this thread's messages, until at least n boxes have been answered.
  bool WaitFor(std::size_t n, int timeoutMs = 10000) const;

private:
  void Watch();

  DWORD processId_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::u16string> texts_;
  std::vector<HWND> answered_;
  std::thread thread_;
};

} // namespace morvi::test
