#include "Process.h"

#include <vector>

#ifndef MORVI_BUILD_DIR
#error "MORVI_BUILD_DIR must name the build folder"
#endif

namespace morvi::test {

std::wstring BuiltProgram(const std::wstring& relativePath) {
  const std::string dir = MORVI_BUILD_DIR;
  // Under Wine the build folder is reached through drive Z:, the root of the host's files.
  std::wstring path = dir.size() && dir[0] == '/' ? L"Z:" : L"";
  for (char c : dir) {
    path.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
  }
  return path + L"\\" + relativePath;
}

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& arguments) {
  std::wstring cmd = L"\"" + program + L"\"";
  if (!arguments.empty()) {
    cmd += L" " + arguments;
  }
  std::vector<wchar_t> line(cmd.begin(), cmd.end());
  line.push_back(L'\0');
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &info_)) {
    info_ = {};
  }
}

ChildProcess::~ChildProcess() {
  if (Running()) {
    Kill();
  }
  if (info_.hThread) {
    CloseHandle(info_.hThread);
  }
  if (info_.hProcess) {
    CloseHandle(info_.hProcess);
  }
}

bool ChildProcess::WaitForExit(DWORD timeoutMs, DWORD& exitCode) {
  if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    return false;
  }
  return GetExitCodeProcess(info_.hProcess, &exitCode) != FALSE;
}

bool ChildProcess::Running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void ChildProcess::Kill() {
  TerminateProcess(info_.hProcess, 1);
  WaitForSingleObject(info_.hProcess, 5000);
}

int CountWindowsOf(DWORD processId, const wchar_t* className) {
  struct Count {
    DWORD pid;
    const wchar_t* cls;
    int n;
  } c{processId, className, 0};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Count*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        wchar_t buf[260] = {};
        GetClassNameW(w, buf, 260);
        if (pid == c->pid && lstrcmpW(buf, c->cls) == 0) {
          ++c->n;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&c));
  return c.n;
}

} // namespace morvi::test
