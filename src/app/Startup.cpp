#include "app/Startup.h"

#include "editor/Main.h"

namespace morvi {

namespace {

// The system's description of the error.
std::u16string ErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text =
      n > 0 && buffer ? std::u16string(reinterpret_cast<const char16_t*>(buffer), n) : u"";
  LocalFree(buffer);
  return text;
}

} // namespace

int RunFirstInstance(ui::Application& app) {
  app.Initialize();
  TMainForm form;
  MainForm = &form;
  app.SetMainForm(&form);
  form.CreateWindowHandle();
  // Without its window Morvi could never be shown, and would hold the instance mutex in vain.
  if (!form.Handle()) {
    app.ShowError(u"Morvi のウィンドウを作成できないため、Morvi を終了します。\r\n" +
                  ErrorText(form.CreationError()));
    app.SetMainForm(nullptr);
    MainForm = nullptr;
    return 1;
  }
  app.Run();
  app.SetMainForm(nullptr);
  MainForm = nullptr;
  return 0;
}

} // namespace morvi
