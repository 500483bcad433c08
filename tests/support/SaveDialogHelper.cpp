// savedlg: a small program that opens the system's Save As dialog (GetSaveFileNameW), the way
// another program would, and reports what the dialog returned. Morvi's tests start it, find its
// dialog, drive it and read the report.
//
// Usage: savedlg.exe NAME [options]
//   NAME            the initial text of the dialog's file-name box (may be empty: "")
//   --dir DIR       the folder the dialog opens in (lpstrInitialDir)
//   --result FILE   also writes the report to FILE; the file appears whole, once the dialog has
//                   closed (written beside it, then renamed), so a test can wait for the process
//                   to end and then read it
//   --flags N       OFN_* flags added to OFN_EXPLORER, decimal or 0x-hexadecimal
//   --title TEXT    the dialog's title; without it the system's ("名前を付けて保存" in Japanese)
//   --filter TEXT   filter pairs separated by "|", e.g. "テキスト|*.txt|すべて|*.*"
//   --defext EXT    the extension added to a name typed without one (lpstrDefExt)
//
// Report, on stdout and in FILE: three lines of UTF-8 (no byte-order mark), each ending in LF:
//   result=1        what GetSaveFileNameW returned: 1 (a name was chosen) or 0
//   file=PATH       the dialog's file name afterwards: the chosen path when result=1
//   error=N         CommDlgExtendedError() in decimal: 0 when the user cancelled
//
// Exit code: 0 a name was chosen, 1 cancelled, 2 the dialog failed or FILE could not be written,
// 64 wrong usage.
#include <windows.h>

#include <commdlg.h>
#include <objbase.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kFileBufferUnits = 32768;

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

bool WriteAll(HANDLE h, const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool WriteReportFile(const std::wstring& path, const std::string& report) {
  const std::wstring partial = path + L".partial";
  HANDLE h = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    return false;
  }
  const bool ok = WriteAll(h, report);
  CloseHandle(h);
  return ok && MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

int Usage() {
  const std::string text =
      "usage: savedlg NAME [--dir DIR] [--result FILE] [--flags N] [--title TEXT]\n"
      "               [--filter DESC|PATTERN|...] [--defext EXT]\n";
  WriteAll(GetStdHandle(STD_ERROR_HANDLE), text);
  return 64;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    return Usage();
  }
  const std::wstring name = argv[1];
  std::wstring dir, resultPath, title, filter, defext;
  DWORD extraFlags = 0;
  bool hasDir = false, hasTitle = false, hasFilter = false, hasDefext = false;
  for (int i = 2; i < argc; ++i) {
    const std::wstring opt = argv[i];
    if (i + 1 >= argc) {
      return Usage();
    }
    const wchar_t* value = argv[++i];
    if (opt == L"--dir") {
      dir = value;
      hasDir = true;
    } else if (opt == L"--result") {
      resultPath = value;
    } else if (opt == L"--flags") {
      wchar_t* end = nullptr;
      extraFlags = static_cast<DWORD>(std::wcstoul(value, &end, 0));
      if (!end || *end != L'\0') {
        return Usage();
      }
    } else if (opt == L"--title") {
      title = value;
      hasTitle = true;
    } else if (opt == L"--filter") {
      filter = value;
      hasFilter = true;
    } else if (opt == L"--defext") {
      defext = value;
      hasDefext = true;
    } else {
      return Usage();
    }
  }
  if (name.size() >= kFileBufferUnits) {
    return Usage();
  }

  // The filter is a list of NUL-terminated texts ending in an empty one.
  std::wstring filterList;
  if (hasFilter) {
    filterList = filter;
    for (wchar_t& c : filterList) {
      if (c == L'|') {
        c = L'\0';
      }
    }
    filterList.push_back(L'\0');
    filterList.push_back(L'\0');
  }

  std::vector<wchar_t> file(kFileBufferUnits, L'\0');
  name.copy(file.data(), name.size());

  // The explorer-style dialog hosts shell views, which need COM on this thread.
  OleInitialize(nullptr);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = kFileBufferUnits;
  ofn.lpstrInitialDir = hasDir ? dir.c_str() : nullptr;
  ofn.lpstrTitle = hasTitle ? title.c_str() : nullptr;
  ofn.lpstrFilter = hasFilter ? filterList.c_str() : nullptr;
  ofn.nFilterIndex = hasFilter ? 1 : 0;
  ofn.lpstrDefExt = hasDefext ? defext.c_str() : nullptr;
  ofn.Flags = OFN_EXPLORER | extraFlags;

  const BOOL chosen = GetSaveFileNameW(&ofn);
  const DWORD error = CommDlgExtendedError();
  OleUninitialize();

  const std::string report = std::string("result=") + (chosen ? "1" : "0") + "\n" +
                             "file=" + Utf8(file.data()) + "\n" + "error=" + std::to_string(error) +
                             "\n";
  WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), report);
  if (!resultPath.empty() && !WriteReportFile(resultPath, report)) {
    return 2;
  }
  if (chosen) {
    return 0;
  }
  return error == 0 ? 1 : 2;
}
