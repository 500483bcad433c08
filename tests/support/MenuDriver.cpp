#include "MenuDriver.h"

#include "MorviWindows.h"
#include "WinTest.h"

namespace morvi::test {

MenuDriver::MenuDriver(std::function<void(HWND)> act) : act_(std::move(act)) {
  thread_ = std::thread([this] {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 5000) {
      if (HWND menu = VisiblePopupMenu()) {
        appeared_ = true;
        act_(menu);
        return;
      }
      Sleep(5);
    }
  });
}

MenuDriver::~MenuDriver() {
  if (thread_.joinable()) {
    thread_.join();
  }
}

void MenuDriver::ClickAt(POINT p) {
  SendClick(p);
}

void MenuDriver::Press(WORD vk) {
  INPUT in[2] = {};
  for (int i = 0; i < 2; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = vk;
    in[i].ki.dwFlags = i ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(2, in, sizeof(INPUT));
}

} // namespace morvi::test
