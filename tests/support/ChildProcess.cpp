#include "ChildProcess.h"

#include "WinTest.h"
#include "common/Wide.h"

#include <algorithm>

namespace morvi::test {

std::u16string TestProgramFolder() {
  std::u16string path(32768, u'\0');
  const DWORD n = GetModuleFileNameW(nullptr, W(path.data()), static_cast<DWORD>(path.size()));
  path.resize(n);
  const std::size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? u"." : path.substr(0, slash);
}

std::u16string QuoteArgument(const std::u16string& arg) {
  if (!arg.empty() && arg.find_first_of(u" \t\n\v\"") == std::u16string::npos) {
    return arg;
  }
  std::u16string out = u"\"";
  std::size_t backslashes = 0;
  for (char16_t c : arg) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count double before a quote, which itself needs one more.
    out.append(c == u'"' ? 2 * backslashes + 1 : backslashes, u'\\');
    backslashes = 0;
    out.push_back(c);
  }
  out.append(2 * backslashes, u'\\');
  out.push_back(u'"');
  return out;
}

bool ChildProcess::Start(const std::u16string& exeName, const std::vector<std::u16string>& args) {
  End();
  const std::u16string exe = TestProgramFolder() + u"\\" + exeName;
  std::u16string line = QuoteArgument(exe);
  for (const std::u16string& a : args) {
    line += u' ';
    line += QuoteArgument(a);
  }
  // A job that ends the program with the job's last handle: even a test process that crashes
  // takes its helpers with it.
  job_.Reset(CreateJobObjectW(nullptr, nullptr));
  if (job_) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job_.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
  }
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(W(exe), W(line.data()), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      nullptr, &si, &pi)) {
    return false;
  }
  if (job_) {
    AssignProcessToJobObject(job_.Get(), pi.hProcess);
  }
  ResumeThread(pi.hThread);
  CloseHandle(pi.hThread);
  process_.Reset(pi.hProcess);
  id_ = pi.dwProcessId;
  return true;
}

bool ChildProcess::WaitForExit(int timeoutMs) {
  return process_ &&
         PumpUntil([this] { return WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0; },
                   timeoutMs);
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) {
    GetExitCodeProcess(process_.Get(), &code);
  }
  return code;
}

void ChildProcess::End() {
  if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.Get(), 99);
    WaitForSingleObject(process_.Get(), 10000);
  }
  process_.Reset();
  job_.Reset();
  id_ = 0;
}

NamedEvent::NamedEvent() : name_(UniqueName(u"Local\\MorviTest")) {
  event_.Reset(CreateEventW(nullptr, TRUE, FALSE, W(name_)));
}

bool NamedEvent::Wait(int timeoutMs) const {
  return event_ &&
         PumpUntil([this] { return WaitForSingleObject(event_.Get(), 0) == WAIT_OBJECT_0; },
                   timeoutMs);
}

void NamedEvent::Set() const {
  if (event_) {
    SetEvent(event_.Get());
  }
}

HWND WaitForProcessWindow(DWORD processId, const std::u16string& className,
                          const std::u16string* title, int timeoutMs) {
  struct Search {
    DWORD pid;
    const std::u16string& cls;
    const std::u16string* title;
    HWND found;
  } s{processId, className, title, nullptr};
  const auto look = [&s] {
    EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
          auto& s = *reinterpret_cast<Search*>(lp);
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          if (pid == s.pid && IsWindowVisible(w) && ClassName(w) == s.cls &&
              (!s.title || WindowText(w) == *s.title)) {
            s.found = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found != nullptr;
  };
  return PumpUntil(look, timeoutMs) ? s.found : nullptr;
}

} // namespace morvi::test
