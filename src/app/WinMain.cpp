// The program entry.
#include "editor/Main.h"
#include "ui/Application.h"

#include <windows.h>

using namespace morvi;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  ui::Application& app = ui::Application::Instance();
  app.Initialize();
  app.SetTitle(u"Morvi");

  TMainForm form;
  MainForm = &form;
  app.SetMainForm(&form);
  form.CreateWindowHandle();
  form.Show();
  return app.Run();
}
