// show-cycles: shows and cancels Morvi's window many times, as the activation message and the
// Cancel button do, and reads what Morvi.exe holds before and after: its windows, GDI objects
// and kernel handles, its working set and its private memory. Growth that every show leaves
// behind shows up as a figure per cycle.
//
// Usage: show-cycles.exe MORVI.EXE [CYCLES] [--check]
//   CYCLES    how many show and Cancel cycles (3000 unless given); the first 100 warm up and
//             are not counted
//   --check   exit code 1 when the windows, tooltip tools or kernel handles grew, the GDI
//             objects by more than one in 20 cycles, or the private memory by more than 256
//             bytes a cycle over the counted cycles
// The program shows a Save As dialog of its own, so that each show captures a name. A Morvi
// instance must not be running yet. Exit code 0 done, 1 check failed, 2 could not run.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kWarmUp = 100;
// What the check lets pass over the counted cycles. Under Wine the private memory and the GDI
// table move a little on their own (about 60 bytes and one object in 60 cycles); a show that
// leaves something behind adds far more (a tooltip tool a hint change made some 650 bytes).
constexpr std::int64_t kPrivateBytesPerCycleLimit = 256;
constexpr int kCyclesPerGdiObject = 20;

struct Figures {
  int windows = 0;
  int tipTools = 0;    // the tools of Morvi's tooltip windows: one for each control with a hint
  int gdiObjects = -1; // -1: could not be counted
  DWORD handles = 0;
  SIZE_T workingSet = 0;
  SIZE_T privateBytes = 0;
};

// Waits, answering the messages that Morvi sends to this program's dialog meanwhile.
bool WaitFor(bool (*pred)(HWND), HWND w, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!pred(w)) {
    if (GetTickCount() - start > ms) {
      return false;
    }
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
  return true;
}

INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

// A Save As dialog of this program, shaped as the system's, whose name Morvi captures at every
// show: the show path is then the one a user has.
HWND MakeSaveAsDialog() {
  WNDCLASSEXW view{};
  view.cbSize = sizeof view;
  view.lpfnWndProc = DefWindowProcW;
  view.hInstance = GetModuleHandleW(nullptr);
  view.lpszClassName = L"SHELLDLL_DefView";
  RegisterClassExW(&view);
  struct alignas(4) Template {
    DLGTEMPLATE t;
    WORD menu, cls, title;
  } tmpl{};
  tmpl.t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
  tmpl.t.cx = 300;
  tmpl.t.cy = 120;
  HWND d = CreateDialogIndirectParamW(nullptr, &tmpl.t, nullptr, DialogProc, 0);
  if (!d) {
    return nullptr;
  }
  SetWindowTextW(d, L"名前を付けて保存");
  const auto child = [d](const wchar_t* cls, const wchar_t* text, int id) {
    CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE, 10, 10 + 30 * id, 200, 24, d,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  };
  child(L"SHELLDLL_DefView", L"", 3);
  child(L"Edit", L"report of the week.txt", 4);
  child(L"Button", L"保存(&S)", IDOK);
  child(L"Button", L"キャンセル", IDCANCEL);
  return d;
}

// Each tooltip tool holds a copy of its text; a tool added at every show is memory that grows.
int CountTooltipToolsOf(DWORD pid) {
  struct Count {
    DWORD pid;
    int n;
  } c{pid, 0};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Count*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        wchar_t cls[64] = {};
        GetClassNameW(w, cls, 64);
        if (owner == c->pid && std::wstring(cls) == L"tooltips_class32") {
          DWORD_PTR n = 0;
          SendMessageTimeoutW(w, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &n);
          c->n += static_cast<int>(n);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&c));
  return c.n;
}

int CountWindowsOf(DWORD pid) {
  struct Count {
    DWORD pid;
    int n;
  } c{pid, 0};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Count*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == c->pid) {
          ++c->n;
          EnumChildWindows(
              w, [](HWND, LPARAM lp2) -> BOOL { return ++*reinterpret_cast<int*>(lp2), TRUE; },
              reinterpret_cast<LPARAM>(&c->n));
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&c));
  return c.n;
}

// GetGuiResources is missing under Wine, so the GDI objects are counted in the process's GDI
// handle table, which its PEB points at. Windows and Wine lay an entry out slightly differently;
// a self-test below picks the layout under which 16 new brushes count as 16.
enum class TableLayout { None, Wine, Windows };
TableLayout layout = TableLayout::None;

int CountGdiInTable(HANDLE process, DWORD pid, TableLayout how) {
  PROCESS_BASIC_INFORMATION info{};
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &info, sizeof info, nullptr) !=
      0) {
    return -1;
  }
  UINT64 table = 0;
  SIZE_T got = 0;
  const auto* tableField = reinterpret_cast<const unsigned char*>(info.PebBaseAddress) + 0xF8;
  if (!ReadProcessMemory(process, tableField, &table, sizeof table, &got) || !table) {
    return -1;
  }
  constexpr std::size_t kEntries = 0x10000, kEntrySize = 24;
  std::vector<unsigned char> entries(kEntries * kEntrySize);
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                         entries.size(), &got)) {
    return -1;
  }
  int n = 0;
  for (std::size_t i = 0; i < kEntries; ++i) {
    const unsigned char* e = entries.data() + i * kEntrySize;
    const unsigned owner = e[8] | (e[9] << 8);
    if (how == TableLayout::Wine && e[12] != 0) {
      ++n;
    } else if (how == TableLayout::Windows && owner == (pid & 0xFFFF) && (e[14] | e[15]) != 0) {
      ++n;
    }
  }
  return n;
}

void ChooseTableLayout() {
  for (TableLayout how : {TableLayout::Wine, TableLayout::Windows}) {
    const int before = CountGdiInTable(GetCurrentProcess(), GetCurrentProcessId(), how);
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 16; ++i) {
      brushes.push_back(CreateSolidBrush(RGB(i, 2 * i, 3 * i)));
    }
    const int after = CountGdiInTable(GetCurrentProcess(), GetCurrentProcessId(), how);
    for (HBRUSH b : brushes) {
      DeleteObject(b);
    }
    if (before >= 0 && after - before == 16) {
      layout = how;
      return;
    }
  }
}

Figures Read(HANDLE process, DWORD pid) {
  Figures f;
  f.windows = CountWindowsOf(pid);
  f.tipTools = CountTooltipToolsOf(pid);
  const DWORD gui = GetGuiResources(process, GR_GDIOBJECTS);
  f.gdiObjects = gui ? static_cast<int>(gui)
                     : (layout == TableLayout::None ? -1 : CountGdiInTable(process, pid, layout));
  GetProcessHandleCount(process, &f.handles);
  PROCESS_MEMORY_COUNTERS_EX m{};
  m.cb = sizeof m;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m)) {
    f.workingSet = m.WorkingSetSize;
    // Wine reports no private usage for another process; its page-file usage stands in.
    f.privateBytes = m.PrivateUsage ? m.PrivateUsage : m.PagefileUsage;
  }
  return f;
}

HWND FindCancelButton(HWND morvi) {
  struct Search {
    HWND found;
  } s{nullptr};
  EnumChildWindows(
      morvi,
      [](HWND w, LPARAM lp) -> BOOL {
        wchar_t text[64] = {};
        DWORD_PTR n = 0;
        SendMessageTimeoutW(w, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                            5000, &n);
        if (std::wstring(text) == L"キャンセル[ESC]") {
          reinterpret_cast<Search*>(lp)->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

bool ShowAndCancel(HWND morvi, HWND cancel) {
  static const wchar_t payload[7] = L"/Show"; // "/Show", a NUL and a terminating NUL
  COPYDATASTRUCT data{};
  data.cbData = 14;
  data.lpData = const_cast<wchar_t*>(payload);
  DWORD_PTR r = 0;
  if (!SendMessageTimeoutW(morvi, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                           10000, &r) ||
      !WaitFor([](HWND w) { return IsWindowVisible(w) != FALSE; }, morvi, 10000)) {
    return false;
  }
  PostMessageW(cancel, BM_CLICK, 0, 0); // Cancel, as Esc or a click gives it
  return WaitFor([](HWND w) { return IsWindowVisible(w) == FALSE; }, morvi, 10000);
}

void Print(const char* what, const Figures& f) {
  std::printf("%-7s windows %3d  tooltip tools %5d  GDI objects %5d  kernel handles %5lu  "
              "working set %7zu KB  private %7zu KB\n",
              what, f.windows, f.tipTools, f.gdiObjects, f.handles, f.workingSet / 1024,
              f.privateBytes / 1024);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: show-cycles MORVI.EXE [CYCLES] [--check]\n", stderr);
    return 2;
  }
  int cycles = 3000;
  bool check = false;
  for (int i = 2; i < argc; ++i) {
    if (std::wstring(argv[i]) == L"--check") {
      check = true;
    } else {
      cycles = static_cast<int>(std::wcstol(argv[i], nullptr, 10));
    }
  }
  if (cycles <= kWarmUp || FindWindowW(L"TMainForm", L"Morvi")) {
    std::fputs("show-cycles: more than 100 cycles, and no Morvi running beforehand\n", stderr);
    return 2;
  }
  ChooseTableLayout();
  if (!MakeSaveAsDialog()) {
    std::fputs("show-cycles: no dialog\n", stderr);
    return 2;
  }

  std::wstring line = L"\"" + std::wstring(argv[1]) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(argv[1], line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    std::fputs("show-cycles: Morvi.exe did not start\n", stderr);
    return 2;
  }
  CloseHandle(pi.hThread);
  int rc = 2;
  HWND morvi = nullptr;
  const DWORD start = GetTickCount();
  while (!(morvi = FindWindowW(L"TMainForm", L"Morvi")) && GetTickCount() - start < 15000) {
    WaitFor([](HWND) { return false; }, nullptr, 10);
  }
  // The window exists a moment before its controls do.
  HWND cancel = nullptr;
  while (morvi && !(cancel = FindCancelButton(morvi)) && GetTickCount() - start < 15000) {
    WaitFor([](HWND) { return false; }, nullptr, 10);
  }
  if (cancel) {
    bool ok = true;
    for (int i = 0; ok && i < kWarmUp; ++i) {
      ok = ShowAndCancel(morvi, cancel);
    }
    const Figures before = Read(pi.hProcess, pi.dwProcessId);
    const DWORD t0 = GetTickCount();
    for (int i = kWarmUp; ok && i < cycles; ++i) {
      ok = ShowAndCancel(morvi, cancel);
    }
    const DWORD spent = GetTickCount() - t0;
    const Figures after = Read(pi.hProcess, pi.dwProcessId);
    if (ok) {
      const int counted = cycles - kWarmUp;
      Print("before", before);
      Print("after", after);
      const auto grown = static_cast<std::int64_t>(after.privateBytes) -
                         static_cast<std::int64_t>(before.privateBytes);
      const auto grownSet = static_cast<std::int64_t>(after.workingSet) -
                            static_cast<std::int64_t>(before.workingSet);
      std::printf("%d cycles in %lu ms; per cycle: private %+.1f bytes, working set %+.1f bytes\n",
                  counted, spent, static_cast<double>(grown) / counted,
                  static_cast<double>(grownSet) / counted);
      const bool handlesFlat =
          after.windows <= before.windows && after.tipTools <= before.tipTools &&
          after.gdiObjects <= before.gdiObjects + counted / kCyclesPerGdiObject &&
          after.handles <= before.handles;
      const bool memoryFlat = grown <= kPrivateBytesPerCycleLimit * counted;
      rc = !check || (handlesFlat && memoryFlat) ? 0 : 1;
      if (rc) {
        std::printf("show-cycles: every show leaves something behind\n");
      }
    } else {
      std::fputs("show-cycles: Morvi's window stopped showing or hiding\n", stderr);
    }
  } else {
    std::fputs("show-cycles: Morvi's window or its Cancel button was not found\n", stderr);
  }
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hProcess);
  return rc;
}
