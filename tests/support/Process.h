// Starting and ending the programs that the end-to-end tests drive.
#pragma once

#include <windows.h>

#include <string>

namespace morvi::test {

// The full Windows path of a program built into the build folder (for example L"Morvi.exe").
std::wstring BuiltProgram(const std::wstring& relativePath);

class ChildProcess {
public:
  ChildProcess(const std::wstring& program, const std::wstring& arguments = L"");
  ~ChildProcess(); // ends the process if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  // Waits for the process to end; true with its exit code when it did in time.
  bool WaitForExit(DWORD timeoutMs, DWORD& exitCode);
  bool Running() const;
  void Kill();

private:
  PROCESS_INFORMATION info_{};
};

// The top-level windows of the given class that belong to the process.
int CountWindowsOf(DWORD processId, const wchar_t* className);

} // namespace morvi::test
