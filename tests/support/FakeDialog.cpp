// fakedlg: a program whose windows behave as a broken or hostile program's would, for Morvi's
// tests: a Save As dialog that hangs, answers slowly or replies with strange texts, and a plain
// window that stands where a closed dialog was. It writes what it receives to a log.
//
// Usage:
//   fakedlg.exe dialog READY LOG NAME [--delay MS] [--hostile KIND]
//       Shows a top-level window of class "#32770" titled "名前を付けて保存" with a shell-view
//       child (class "SHELLDLL_DefView"), an Edit box (dialog id 1148) holding NAME, a button
//       "保存(&S)" (IDOK) and a button "キャンセル" (IDCANCEL). IDOK logs "saved TEXT" (the
//       box's text) and ends the program; IDCANCEL logs "cancelled" and ends it.
//   fakedlg.exe victim READY LOG
//       Shows a plain window of class "MorviVictim" titled "Victim notes" with an Edit box (id
//       100, text "notes") and a button (id 101, "保存(&S)"), as another program would.
//   READY is a named event signalled once the window is shown; LOG a file the program writes.
//
// Messages posted to the top-level window change its behaviour:
//   WM_APP + 1, wParam MS   logs "hang", sleeps MS milliseconds without handling any message,
//                           then logs "awake"
//   WM_APP + 2, wParam MS   from now on, every WM_NULL, WM_GETTEXT, WM_SETTEXT and WM_CLEAR sent
//                           from another thread to one of its windows waits MS milliseconds
//                           before it is handled
//   WM_APP + 3, wParam K    the box's replies to WM_GETTEXT (K as for --hostile, by number)
//
// --hostile KIND: 0 "none"; 1 "nonul": the box fills the whole buffer without a NUL; 2 "embedded":
// the box replies "abc", NUL, "def.txt"; 3 "absurd": the box holds 100,000 characters "y".
// --delay MS: as WM_APP + 2 from the start.
//
// The log, UTF-8 lines ending in LF, one for each of these as it is received: "clear ROLE"
// (WM_CLEAR), "settext ROLE TEXT" (WM_SETTEXT), "click ROLE" (BM_CLICK), where ROLE is dialog,
// box, save, cancel, victim, victim-edit or victim-button; then "ready", "hang", "awake",
// "saved TEXT", "cancelled" as above.
//
// Exit code: 0 when its window was closed or saved, 1 it could not start, 64 wrong usage.
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr UINT kHang = WM_APP + 1;
constexpr UINT kDelay = WM_APP + 2;
constexpr UINT kHostile = WM_APP + 3;
constexpr int kBoxId = 1148;

HANDLE logFile = INVALID_HANDLE_VALUE;
DWORD delayMs = 0;
int hostile = 0;
HWND topWindow = nullptr;

struct Subclassed {
  HWND hwnd;
  WNDPROC old;
  const char* role;
};
std::vector<Subclassed> subclassed;

std::string Utf8(const std::wstring& s) {
  if (s.empty()) {
    return {};
  }
  const int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

void Log(const std::string& line) {
  const std::string bytes = line + "\n";
  DWORD written = 0;
  WriteFile(logFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring TextOf(HWND w) {
  const int n = GetWindowTextLengthW(w);
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  GetWindowTextW(w, s.data(), n + 1);
  s.resize(static_cast<std::size_t>(n));
  return s;
}

const Subclassed* Find(HWND hwnd) {
  for (const Subclassed& s : subclassed) {
    if (s.hwnd == hwnd) {
      return &s;
    }
  }
  return nullptr;
}

LRESULT HostileGetText(WPARAM wp, LPARAM lp) {
  auto* buf = reinterpret_cast<wchar_t*>(lp);
  const std::size_t room = static_cast<std::size_t>(wp);
  if (!buf || room == 0) {
    return 0;
  }
  switch (hostile) {
  case 1:
    for (std::size_t i = 0; i < room; ++i) {
      buf[i] = L'x';
    }
    return static_cast<LRESULT>(room);
  case 2: {
    const wchar_t text[] = L"abc\0def.txt"; // 12 units with the final NUL
    const std::size_t n = room < 12 ? room : 12;
    std::memcpy(buf, text, n * sizeof(wchar_t));
    return 11;
  }
  default:
    return 0;
  }
}

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const Subclassed* s = Find(hwnd);
  if (!s) {
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  // Only what another program asks is slow; the system's own activation messages are not.
  if (delayMs && InSendMessage() &&
      (msg == WM_NULL || msg == WM_GETTEXT || msg == WM_SETTEXT || msg == WM_CLEAR)) {
    Sleep(delayMs);
  }
  const std::string role = s->role;
  switch (msg) {
  case WM_CLEAR:
    Log("clear " + role);
    break;
  case WM_SETTEXT:
    Log("settext " + role + " " + Utf8(lp ? reinterpret_cast<const wchar_t*>(lp) : L""));
    break;
  case BM_CLICK:
    Log("click " + role);
    break;
  case WM_GETTEXT:
    if (role == "box" && (hostile == 1 || hostile == 2)) {
      return HostileGetText(wp, lp);
    }
    break;
  default:
    break;
  }
  return CallWindowProcW(s->old, hwnd, msg, wp, lp);
}

void Subclass(HWND w, const char* role) {
  const auto old = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
  subclassed.push_back({w, old, role});
}

// What every top-level window of this program does with the commands.
bool HandleCommandMessage(UINT msg, WPARAM wp) {
  switch (msg) {
  case kHang:
    Log("hang");
    Sleep(static_cast<DWORD>(wp));
    Log("awake");
    return true;
  case kDelay:
    delayMs = static_cast<DWORD>(wp);
    return true;
  case kHostile:
    hostile = static_cast<int>(wp);
    return true;
  default:
    return false;
  }
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM) {
  if (HandleCommandMessage(msg, wp)) {
    return TRUE;
  }
  if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
    Log(LOWORD(wp) == IDOK ? "saved " + Utf8(TextOf(GetDlgItem(hwnd, kBoxId))) : "cancelled");
    DestroyWindow(hwnd);
    return TRUE;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return TRUE;
  }
  return FALSE;
}

LRESULT CALLBACK VictimProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (HandleCommandMessage(msg, wp)) {
    return 0;
  }
  if (msg == WM_COMMAND && LOWORD(wp) == 101 && HIWORD(wp) == BN_CLICKED) {
    Log("clicked victim-button");
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, int x, int y,
           int w, int h) {
  return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

HWND MakeDialog(const std::wstring& name) {
  WNDCLASSEXW view{};
  view.cbSize = sizeof view;
  view.lpfnWndProc = DefWindowProcW;
  view.hInstance = GetModuleHandleW(nullptr);
  view.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  view.lpszClassName = L"SHELLDLL_DefView";
  RegisterClassExW(&view);

  // An empty dialog template; the items are made as windows afterwards.
  struct alignas(4) Template {
    DLGTEMPLATE t;
    WORD menu, cls, title;
  } tmpl{};
  tmpl.t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  tmpl.t.cx = 300;
  tmpl.t.cy = 160;
  HWND d = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &tmpl.t, nullptr, DialogProc, 0);
  if (!d) {
    return nullptr;
  }
  SetWindowTextW(d, L"名前を付けて保存");
  SetWindowPos(d, nullptr, 300, 200, 560, 300, SWP_NOZORDER);
  Child(d, L"SHELLDLL_DefView", L"", WS_BORDER, 0x461, 10, 10, 520, 150);
  HWND box = Child(d, L"Edit", name.c_str(), WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kBoxId, 10,
                   170, 400, 24);
  HWND save =
      Child(d, L"Button", L"保存(&S)", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 420, 170, 110, 28);
  HWND cancel =
      Child(d, L"Button", L"キャンセル", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, 420, 205, 110, 28);
  if (hostile == 3) {
    SetWindowTextW(box, std::wstring(100000, L'y').c_str());
  }
  Subclass(d, "dialog");
  Subclass(box, "box");
  Subclass(save, "save");
  Subclass(cancel, "cancel");
  return d;
}

HWND MakeVictim() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = VictimProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"MorviVictim";
  if (!RegisterClassExW(&wc)) {
    return nullptr;
  }
  HWND v = CreateWindowExW(0, wc.lpszClassName, L"Victim notes", WS_OVERLAPPEDWINDOW, 250, 250, 420,
                           160, nullptr, nullptr, wc.hInstance, nullptr);
  if (!v) {
    return nullptr;
  }
  HWND edit = Child(v, L"Edit", L"notes", WS_BORDER, 100, 10, 10, 380, 24);
  HWND button = Child(v, L"Button", L"保存(&S)", BS_PUSHBUTTON, 101, 10, 50, 100, 30);
  Subclass(v, "victim");
  Subclass(edit, "victim-edit");
  Subclass(button, "victim-button");
  return v;
}

int Usage() {
  const char text[] = "usage: fakedlg dialog READY LOG NAME [--delay MS] [--hostile KIND] | "
                      "fakedlg victim READY LOG\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, sizeof text - 1, &written, nullptr);
  return 64;
}

int HostileKind(const std::wstring& s) {
  if (s == L"none") {
    return 0;
  }
  if (s == L"nonul") {
    return 1;
  }
  if (s == L"embedded") {
    return 2;
  }
  if (s == L"absurd") {
    return 3;
  }
  return -1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    return Usage();
  }
  const std::wstring mode = argv[1];
  const bool dialog = mode == L"dialog";
  if (!dialog && mode != L"victim") {
    return Usage();
  }
  if ((dialog && argc < 5) || (!dialog && argc != 4)) {
    return Usage();
  }
  for (int i = 5; dialog && i < argc; i += 2) {
    const std::wstring opt = argv[i];
    if (i + 1 >= argc) {
      return Usage();
    }
    if (opt == L"--delay") {
      delayMs = static_cast<DWORD>(std::wcstoul(argv[i + 1], nullptr, 10));
    } else if (opt == L"--hostile" && HostileKind(argv[i + 1]) >= 0) {
      hostile = HostileKind(argv[i + 1]);
    } else {
      return Usage();
    }
  }
  logFile = CreateFileW(argv[3], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (logFile == INVALID_HANDLE_VALUE) {
    return 1;
  }
  topWindow = dialog ? MakeDialog(argv[4]) : MakeVictim();
  if (!topWindow) {
    return 1;
  }
  ShowWindow(topWindow, SW_SHOWNORMAL);
  UpdateWindow(topWindow);
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
  if (!ready) {
    return 1;
  }
  Log("ready");
  SetEvent(ready);
  CloseHandle(ready);
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    if (m.hwnd == topWindow && HandleCommandMessage(m.message, m.wParam)) {
      continue;
    }
    if (!IsDialogMessageW(topWindow, &m)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
  }
  CloseHandle(logFile);
  return 0;
}
