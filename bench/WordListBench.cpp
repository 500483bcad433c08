// The word list with a long file of 100,000 lines (about 2 MB, UTF-8 with a mark, Japanese and
// ASCII words of mixed length): creating the window with it, reading it again, and one step of a
// resize. Each runs beside a bare Win32 floor doing the same work in the same process: read the
// file with ReadFile, convert it with MultiByteToWideChar, add the lines to a plain list box with
// redrawing off; resize: SetWindowPos of a bare window whose list follows its size.
//
// Run: make bench, or scripts/wine-run build/win/bench/wordlist_bench.exe [runs]
#include "BenchStats.h"

#include "common/DataFolder.h"
#include "common/Wide.h"
#include "ui/Application.h"
#include "wordlist/Note.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

using namespace morvi;
using namespace morvi::bench;

namespace {

constexpr int kLines = 100000;

// A deterministic mix of Japanese and ASCII words, 1 to 20 characters long.
std::string WordFileBytes() {
  static const char* const japanese[] = {"見積", "請求", "議事録", "報告", "資料", "契約",
                                         "写真", "図面", "申請",   "会議", "設計", "日報"};
  static const char ascii[] = "abcdefghijklmnopqrstuvwxyz0123456789_-";
  std::string bytes = "\xEF\xBB\xBF";
  unsigned seed = 12345;
  const auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  for (int i = 0; i < kLines; ++i) {
    const unsigned length = 1 + next() % 20;
    for (unsigned k = 0; k < length; ++k) {
      if (next() % 3 == 0) {
        bytes += japanese[next() % 12];
        ++k;
      } else {
        bytes += ascii[next() % (sizeof ascii - 1)];
      }
    }
    bytes += "\r\n";
  }
  return bytes;
}

// ---- The floor ----

LRESULT CALLBACK BareProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SIZE) {
    if (HWND list = GetWindow(w, GW_CHILD)) {
      MoveWindow(list, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
    }
    return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

class BareList {
public:
  explicit BareList(const std::wstring& file) : file_(file) {
    static const ATOM cls = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = BareProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"BareWordList";
      return RegisterClassW(&wc);
    }();
    (void)cls;
    top_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"BareWordList", L"bare",
                           WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME, CW_USEDEFAULT, CW_USEDEFAULT,
                           750, 300, nullptr, nullptr, nullptr, nullptr);
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
                                LBS_NOINTEGRALHEIGHT,
                            0, 0, 700, 250, top_, nullptr, nullptr, nullptr);
    Fill();
  }
  ~BareList() { DestroyWindow(top_); }

  void Fill() {
    HANDLE f = CreateFileW(file_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    const DWORD size = GetFileSize(f, nullptr);
    std::string bytes(size, '\0');
    DWORD got = 0;
    ReadFile(f, bytes.data(), size, &got, nullptr);
    CloseHandle(f);
    const char* p = bytes.data() + 3; // the mark
    const int n = static_cast<int>(got) - 3;
    const int units = MultiByteToWideChar(CP_UTF8, 0, p, n, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(units) + 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, p, n, text.data(), units);
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    SendMessageW(list_, LB_INITSTORAGE, kLines, static_cast<LPARAM>(text.size() * 2));
    std::size_t start = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(units); ++i) {
      if (text[i] == L'\r' || text[i] == L'\n') {
        const bool crlf =
            text[i] == L'\r' && i + 1 < static_cast<std::size_t>(units) && text[i + 1] == L'\n';
        text[i] = L'\0';
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.data() + start));
        if (crlf) {
          ++i;
        }
        start = i + 1;
      }
    }
    if (start < static_cast<std::size_t>(units)) {
      SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.data() + start));
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  }

  HWND Window() const { return top_; }

private:
  std::wstring file_;
  HWND top_ = nullptr;
  HWND list_ = nullptr;
};

void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    DispatchMessageW(&m);
  }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  const int runs = argc > 1 ? std::max(3, _wtoi(argv[1])) : 15;
  ui::Application::Instance().Initialize();

  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"morvi-wordlist-bench";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring file = folder + L"\\Morvi-Note.txt";
  const std::string bytes = WordFileBytes();
  {
    HANDLE f = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
  }
  SetUserDataDir(U16(folder.c_str()) + u"\\");
  std::printf("word list: %d lines, %zu bytes; %d runs each\n", kLines, bytes.size(), runs);
  PrintHeader();

  std::vector<double> create, createFloor, reload, reloadFloor;
  for (int i = 0; i < runs; ++i) {
    createFloor.push_back(TimeMs([&] { BareList bare(file); }));
    create.push_back(TimeMs([] {
      TNoteForm note;
      note.CreateWindowHandle();
    }));
    Pump();
  }
  PrintLine("creation with the list", Summarise(create), Summarise(createFloor));

  TNoteForm note;
  note.CreateWindowHandle();
  BareList bare(file);
  for (int i = 0; i < runs; ++i) {
    reloadFloor.push_back(TimeMs([&] { bare.Fill(); }));
    reload.push_back(TimeMs([&] { note.TBReload->Click(); }));
    Pump();
  }
  PrintLine("refill on reload", Summarise(reload), Summarise(reloadFloor));

  // The first size change after a load measures every word once; the steps after it do not.
  const auto resize = [](HWND w, int width) {
    SetWindowPos(w, nullptr, 0, 0, width, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  const double first = TimeMs([&] { resize(note.Handle(), 900); });
  std::vector<double> step, stepFloor;
  for (int i = 0; i < 20 * runs; ++i) {
    const int width = 800 + (i % 2) * 20;
    stepFloor.push_back(TimeMs([&] { resize(bare.Window(), width); }));
    step.push_back(TimeMs([&] { resize(note.Handle(), width); }));
  }
  const Stats floorStep = Summarise(stepFloor);
  PrintLine("resize step", Summarise(step), floorStep);
  PrintLine("first resize after a load (measures all)", Summarise({first}), floorStep);
  return 0;
}
