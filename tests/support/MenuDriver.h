// Drives a popup menu that the test's own thread is about to open: the menu's modal loop holds
// that thread, so a second thread waits for the menu to appear and acts on it.
#pragma once

#include <windows.h>

#include <functional>
#include <thread>

namespace morvi::test {

class MenuDriver {
public:
  // Once a popup menu window is visible, act(menuWindow) runs on the driver's thread; it must
  // close the menu (by choosing an item or with Esc).
  explicit MenuDriver(std::function<void(HWND menuWindow)> act);
  ~MenuDriver();
  MenuDriver(const MenuDriver&) = delete;
  MenuDriver& operator=(const MenuDriver&) = delete;

  // Whether a menu appeared before the deadline.
  bool Appeared() const { return appeared_; }

  // Helpers for act.
  static void ClickAt(POINT screen);
  static void Press(WORD vk);

private:
  std::function<void(HWND)> act_;
  bool appeared_ = false;
  std::thread thread_;
};

} // namespace morvi::test
