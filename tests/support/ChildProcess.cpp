#include "ChildProcess.h"

#include "WinTest.h"
#include "common/Wide.h"

#include <algorithm>

namespace morvi::test {

namespace {

std::u16string Number(unsigned long long n) {
  std::u16string s;
  do {
    s.insert(s.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n);
  return s;
}

// A name for events and folders that no other test, run or process uses at the same time.
std::u16string UniqueName(const std::u16string& prefix) {
  static unsigned counter = 0;
  return prefix + u"-" + Number(GetCurrentProcessId()) + u"-" + Number(++counter) + u"-" +
         Number(GetTickCount64());
}

} // namespace

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

TempFolder::TempFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  std::u16string base = U16(temp);
  if (!base.empty() && base.back() == u'\\') {
    base.pop_back();
  }
  path_ = UniqueName(base + u"\\morvi-test");
  CreateDirectoryW(W(path_), nullptr);
}

TempFolder::~TempFolder() {
  RemoveTree(path_);
}

std::vector<std::u16string> ListFolder(const std::u16string& folder) {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW data{};
  FindHandle find(FindFirstFileW(W(folder + u"\\*"), &data));
  if (!find) {
    return names;
  }
  do {
    const std::u16string name = U16(data.cFileName);
    if (name != u"." && name != u"..") {
      names.push_back(name + ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? u"\\" : u""));
    }
  } while (FindNextFileW(find.Get(), &data));
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveTree(const std::u16string& path) {
  const DWORD attrs = GetFileAttributesW(W(path));
  if (attrs == INVALID_FILE_ATTRIBUTES) {
    return;
  }
  if (attrs & FILE_ATTRIBUTE_READONLY) {
    SetFileAttributesW(W(path), attrs & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  }
  if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(W(path));
    return;
  }
  if (!(attrs & FILE_ATTRIBUTE_REPARSE_POINT)) { // never follow a link out of the tree
    for (const std::u16string& name : ListFolder(path)) {
      const bool dir = name.back() == u'\\';
      RemoveTree(path + u"\\" + (dir ? name.substr(0, name.size() - 1) : name));
    }
  }
  RemoveDirectoryW(W(path));
}

bool WriteFileBytes(const std::u16string& path, const std::string& bytes) {
  FileHandle h(CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr));
  DWORD written = 0;
  return h &&
         WriteFile(h.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::string ReadFileBytes(const std::u16string& path) {
  FileHandle h(CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  if (!h) {
    return bytes;
  }
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(h.Get(), buf, sizeof buf, &got, nullptr) && got > 0) {
    bytes.append(buf, got);
  }
  return bytes;
}

std::u16string FromUtf8(const std::string& s) {
  if (s.empty()) {
    return {};
  }
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::u16string out(static_cast<std::size_t>(n), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), W(out.data()), n);
  return out;
}

} // namespace morvi::test
