// The program entry: the data folder first, then one instance per logon session. A second start
// asks the running instance to show its window and ends.
#include "app/Startup.h"
#include "common/Activation.h"
#include "common/DataFolder.h"
#include "common/Handles.h"
#include "common/Wide.h"
#include "ui/Application.h"

#include <shellapi.h>
#include <windows.h>

using namespace morvi;

namespace {

const wchar_t kInstanceMutex[] = L"Morvi/Ostrelworks";

// How long a second start waits for the running instance to take the activation message. A
// running instance that does not answer in that time is left alone.
constexpr UINT kActivationTimeoutMs = 5000;

// The number of command-line arguments, not counting the program's own path.
int ArgumentCount() {
  int argc = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
    LocalFree(argv);
  }
  return argc > 0 ? argc - 1 : 0;
}

void ActivateRunningInstance(ui::Application& app) {
  HWND running =
      FindWindowW(W(std::u16string(kEditorWindowClass)), W(std::u16string(kEditorWindowTitle)));
  if (!running) {
    return; // the running instance is still starting: nothing to ask
  }
  app.Initialize(); // its hidden window is the sender
  std::array<std::uint8_t, 14> payload = ActivationPayload();
  COPYDATASTRUCT data{};
  data.dwData = static_cast<ULONG_PTR>(static_cast<LONG_PTR>(ArgumentCount()));
  data.cbData = static_cast<DWORD>(payload.size());
  data.lpData = payload.data();
  DWORD_PTR result = 0;
  SendMessageTimeoutW(running, WM_COPYDATA, reinterpret_cast<WPARAM>(app.Handle()),
                      reinterpret_cast<LPARAM>(&data), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                      kActivationTimeoutMs, &result);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  if (!PrepareDataFolder(u"Morvi", false)) {
    return 0;
  }
  ui::Application& app = ui::Application::Instance();
  app.SetTitle(u"Morvi");

  if (HANDLE other = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kInstanceMutex)) {
    CloseHandle(other);
    ActivateRunningInstance(app);
    return 0;
  }

  // Held open for the whole run; the system removes the mutex when the process ends.
  const KernelHandle instance(CreateMutexW(nullptr, FALSE, kInstanceMutex));

  return RunFirstInstance(app);
}
