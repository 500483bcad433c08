// The windows of a broken or hostile program (fakedlg.exe) for the tests of the dialog link: a
// Save As dialog that can hang, answer slowly or reply with strange texts, and a plain window
// that takes the place of a closed dialog. Each logs what it receives. Also what the tests
// watch on Morvi's side: whether its window keeps answering, and the message boxes it shows.
#pragma once

#include "ChildProcess.h"
#include "TestFiles.h"
#include "WinTest.h"
#include "common/Wide.h"
#include "ui/Form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace morvi::test {

// fakedlg.exe's commands, posted to its top-level window.
constexpr UINT kFakeHang = WM_APP + 1;    // wParam: milliseconds
constexpr UINT kFakeDelay = WM_APP + 2;   // wParam: milliseconds
constexpr UINT kFakeHostile = WM_APP + 3; // wParam: kind

struct FakeProgram {
  ChildProcess process;
  TempFolder folder;
  HWND window = nullptr;
  HWND box = nullptr;    // dialog: the file-name box; victim: its Edit
  HWND save = nullptr;   // dialog: "保存(&S)"; victim: its button
  HWND cancel = nullptr; // dialog only
  HWND view = nullptr;   // dialog only: the shell-view child

  // Starts "fakedlg dialog NAME options..." and waits for its window.
  bool StartDialog(const std::u16string& name, std::vector<std::u16string> options = {}) {
    std::vector<std::u16string> args = {name};
    args.insert(args.end(), options.begin(), options.end());
    if (!Start(u"dialog", args, u"#32770")) {
      return false;
    }
    box = GetDlgItem(window, 1148);
    save = GetDlgItem(window, IDOK);
    cancel = GetDlgItem(window, IDCANCEL);
    view = FindWindowExW(window, nullptr, L"SHELLDLL_DefView", nullptr);
    return box && save && cancel && view;
  }

  // Starts "fakedlg victim": a plain window "Victim notes" with an Edit and a button.
  bool StartVictim() {
    if (!Start(u"victim", {}, u"MorviVictim")) {
      return false;
    }
    box = GetDlgItem(window, 100);
    save = GetDlgItem(window, 101);
    return box && save;
  }

  void Post(UINT command, WPARAM wp) const { PostMessageW(window, command, wp, 0); }

  // The log's lines so far.
  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    HANDLE f = CreateFileW(W(folder / u"log.txt"), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
      return lines;
    }
    std::string bytes;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) {
      bytes.append(buf, got);
    }
    CloseHandle(f);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
      const std::size_t end = bytes.find('\n', pos);
      if (end == std::string::npos) {
        break; // a line being written
      }
      lines.push_back(bytes.substr(pos, end - pos));
      pos = end + 1;
    }
    return lines;
  }

  bool Logged(const std::string& line) const {
    const std::vector<std::string> lines = Log();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  bool WaitForLog(const std::string& line, int timeoutMs = 15000) const {
    return PumpUntil([&] { return Logged(line); }, timeoutMs);
  }

  // The lines that record a write or a click: what must never reach a window that is not the
  // captured dialog's, or that reached it too late.
  std::vector<std::string> Writes() const {
    std::vector<std::string> out;
    for (const std::string& l : Log()) {
      if (l.rfind("clear ", 0) == 0 || l.rfind("settext box", 0) == 0 ||
          l.rfind("settext victim-edit", 0) == 0 || l.rfind("click ", 0) == 0 ||
          l.rfind("clicked ", 0) == 0 || l.rfind("saved", 0) == 0) {
        out.push_back(l);
      }
    }
    return out;
  }

  // Waits until the program has handled everything sent to it so far (a hung one first has to
  // wake up): a message sent now is handled after them.
  bool Drain() const {
    DWORD_PTR r = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &r) != 0;
  }

  ~FakeProgram() {
    if (window && IsWindow(window)) {
      PostMessageW(window, WM_CLOSE, 0, 0);
      process.WaitForExit(3000);
    }
  }

private:
  bool Start(const std::u16string& mode, const std::vector<std::u16string>& rest,
             const std::u16string& cls) {
    NamedEvent ready;
    std::vector<std::u16string> args = {mode, ready.Name(), folder / u"log.txt"};
    args.insert(args.end(), rest.begin(), rest.end());
    if (!process.Start(u"fakedlg.exe", args)) {
      ADD_FAILURE() << "fakedlg.exe did not start";
      return false;
    }
    if (!ready.Wait(15000)) {
      ADD_FAILURE() << "fakedlg.exe showed no window";
      return false;
    }
    window = WaitForProcessWindow(process.Id(), cls, nullptr, 5000);
    if (!window) {
      ADD_FAILURE() << "fakedlg.exe's window was not found";
    }
    return window != nullptr;
  }
};

// While it lives, another thread asks the form's window every few milliseconds, once by a sent
// WM_NULL and once by a posted message, and the longest wait for either answer is kept.
class AnswerWatch {
public:
  static constexpr UINT kProbe = WM_APP + 40;

  explicit AnswerWatch(ui::Form& form) : form_(form.Handle()), owner_(form) {
    form.BindMessage(kProbe, [this](WPARAM, LPARAM lp) {
      Note(GetTickCount() - static_cast<DWORD>(lp));
      ++answered_;
      if (busy_ && busy_()) {
        ++answeredWhileBusy_;
      }
      return LRESULT{0};
    });
    thread_ = std::thread([this] { Run(); });
  }

  // Counts the posted probes that were handled while busy() held.
  void CountWhile(std::function<bool()> busy) { busy_ = std::move(busy); }

  // Stops asking and waits until every posted probe has been answered.
  void Stop() {
    if (!thread_.joinable()) {
      return;
    }
    stop_ = true;
    // The thread may be waiting for this one to answer: keep answering until it has ended.
    PumpUntil([this] { return finished_.load(); }, 60000);
    thread_.join();
    PumpUntil([this] { return answered_ >= posted_; }, 10000);
    owner_.BindMessage(kProbe, [](WPARAM, LPARAM) { return LRESULT{0}; });
  }

  ~AnswerWatch() { Stop(); }

  DWORD WorstMs() const { return worst_; }
  int AnsweredWhileBusy() const { return answeredWhileBusy_; }

private:
  void Note(DWORD ms) {
    DWORD w = worst_;
    while (ms > w && !worst_.compare_exchange_weak(w, ms)) {
    }
  }

  void Run() {
    while (!stop_) {
      PostMessageW(form_, kProbe, 0, static_cast<LPARAM>(GetTickCount()));
      ++posted_;
      const DWORD start = GetTickCount();
      DWORD_PTR r = 0;
      SendMessageTimeoutW(form_, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &r);
      Note(GetTickCount() - start);
      Sleep(20);
    }
    finished_ = true;
  }

  HWND form_;
  ui::Form& owner_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{false};
  std::atomic<int> posted_{0};
  std::atomic<int> answered_{0};
  std::atomic<DWORD> worst_{0};
  int answeredWhileBusy_ = 0;
  std::function<bool()> busy_;
};

// While it lives, every message box titled "Morvi" that this thread shows is answered with OK
// once it is up, and its text is kept.
class MessageBoxWatch {
public:
  MessageBoxWatch() {
    texts_.clear();
    timer_ = SetTimer(nullptr, 0, 20, Tick);
  }
  ~MessageBoxWatch() { KillTimer(nullptr, timer_); }

  static const std::vector<std::u16string>& Texts() { return texts_; }

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM) -> BOOL {
          if (ClassName(w) == u"#32770" && WindowText(w) == u"Morvi" && IsWindowVisible(w)) {
            texts_.push_back(WindowText(GetDlgItem(w, 0xFFFF)));
            PostMessageW(w, WM_COMMAND, IDOK, 0);
            ShowWindow(w, SW_HIDE); // answered: not seen twice
          }
          return TRUE;
        },
        0);
  }

  UINT_PTR timer_ = 0;
  static inline std::vector<std::u16string> texts_;
};

} // namespace morvi::test
