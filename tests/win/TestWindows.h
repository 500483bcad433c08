// Plain windows made by the tests, and a window of another process (peer.exe).
#pragma once

#include "ChildProcess.h"
#include "WinTest.h"
#include "common/Handles.h"
#include "common/Wide.h"

#include <gtest/gtest.h>

#include <string>

namespace morvi::test {

// Registers a window class of this program that does nothing of its own; the name is returned.
inline const wchar_t* PlainClass(const wchar_t* name = L"MorviTestWindow") {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  RegisterClassExW(&wc); // a second registration fails harmlessly
  return name;
}

// A window of the class; a top-level one when parent is 0. Destroyed with the handle.
inline WindowHandle MakeWindow(const wchar_t* cls, DWORD style, int x, int y, int w, int h,
                               HWND parent = nullptr, int id = 0, const wchar_t* text = L"") {
  return WindowHandle(CreateWindowExW(0, cls, text, style, x, y, w, h, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                      GetModuleHandleW(nullptr), nullptr));
}

inline WindowHandle MakeTopWindow(DWORD style, int x, int y, int w, int h) {
  return MakeWindow(PlainClass(), style, x, y, w, h);
}

// peer.exe's window: another process's top-level window with an Edit box and a button.
struct PeerWindow {
  ChildProcess process;
  HWND window = nullptr;
  HWND edit = nullptr;
  HWND button = nullptr;
  DWORD thread = 0;

  // Starts the peer and waits for its window; false (with a failure reported) when it never came.
  bool Start(const std::u16string& title) {
    NamedEvent ready;
    if (!process.Start(u"peer.exe", {u"window", title, ready.Name()})) {
      ADD_FAILURE() << "peer.exe did not start";
      return false;
    }
    if (!ready.Wait(15000)) {
      ADD_FAILURE() << "peer.exe showed no window";
      return false;
    }
    window = WaitForProcessWindow(process.Id(), u"MorviPeer", &title, 5000);
    edit = window ? GetDlgItem(window, 100) : nullptr;
    button = window ? GetDlgItem(window, 101) : nullptr;
    thread = window ? GetWindowThreadProcessId(window, nullptr) : 0;
    if (!edit || !button) {
      ADD_FAILURE() << "peer.exe's window or its controls were not found";
      return false;
    }
    return true;
  }

  // The window that has the keyboard focus in the peer's thread.
  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
  }

  ~PeerWindow() {
    if (window && IsWindow(window)) {
      PostMessageW(window, WM_CLOSE, 0, 0);
      process.WaitForExit(5000);
    }
  }
};

} // namespace morvi::test
