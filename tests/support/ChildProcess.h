// Other processes for the Windows tests: the helper programs built beside the test executables
// (peer.exe, savedlg.exe), started with CreateProcessW and always ended; named events to hear
// from them; and their windows.
#pragma once

#include "TestFiles.h"
#include "common/Handles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace morvi::test {

// The folder of the running test executable, without a trailing "\".
std::u16string TestProgramFolder();

// One argument quoted for a command line, as the C runtime's argument parser reads it back.
std::u16string QuoteArgument(const std::u16string& arg);

// A started program. The destructor ends it if it still runs and waits for it: a test never
// leaves a process behind, also when it fails half-way.
class ChildProcess {
public:
  ChildProcess() = default;
  ~ChildProcess() { End(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts the program exeName from TestProgramFolder() with the arguments.
  bool Start(const std::u16string& exeName, const std::vector<std::u16string>& args);
  // Waits up to timeoutMs for the program to end, handling this thread's messages meanwhile (the
  // other program may be sending some); true when it has ended.
  bool WaitForExit(int timeoutMs);
  // The exit code once it has ended; STILL_ACTIVE before.
  DWORD ExitCode() const;
  // Ends a program that still runs, and waits for it.
  void End();

  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_.Get(); }

private:
  KernelHandle process_;
  KernelHandle job_;
  DWORD id_ = 0;
};

// A named manual-reset event with a name no other test run uses.
class NamedEvent {
public:
  NamedEvent();
  const std::u16string& Name() const { return name_; }
  // Waits up to timeoutMs for the event, handling this thread's messages meanwhile.
  bool Wait(int timeoutMs) const;
  void Set() const;

private:
  std::u16string name_;
  KernelHandle event_;
};

// Polls every few milliseconds, pumping this thread's messages, until a visible top-level window
// of the process with the class (and the title, when one is given) exists; 0 after timeoutMs.
HWND WaitForProcessWindow(DWORD processId, const std::u16string& className,
                          const std::u16string* title, int timeoutMs);

} // namespace morvi::test
