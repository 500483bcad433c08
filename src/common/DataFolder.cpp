#include "common/DataFolder.h"

#include "common/Handles.h"
#include "common/Wide.h"

#include <windows.h>

#include <iterator>

namespace morvi {

namespace {

std::u16string userDataDir;
std::u16string commonDataDir;

// CSIDL values of the special-folder table, by index: documents, roaming application data, local
// application data, all-users application data, pictures, all-users documents.
constexpr int kFolderIds[6] = {5, 26, 28, 35, 39, 46};

using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);

// SHGetFolderPathW as SHFolder.dll offers it, loaded from the system folder by its full path so
// that no DLL of the same name beside the program is picked up. Loaded once, kept for the run.
GetFolderPathFn LoadGetFolderPath() {
  wchar_t dir[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) {
    return nullptr;
  }
  const std::u16string path = U16(dir) + u"\\SHFolder.dll";
  const HMODULE module = LoadLibraryW(W(path));
  if (!module) {
    return nullptr;
  }
  return reinterpret_cast<GetFolderPathFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "SHGetFolderPathW")));
}

// An existing folder; a link counts when it can be opened and leads to a folder.
bool IsExistingFolder(const std::u16string& path) {
  const DWORD attrs = GetFileAttributesW(W(path));
  if (attrs == INVALID_FILE_ATTRIBUTES) {
    return false;
  }
  if (!(attrs & FILE_ATTRIBUTE_REPARSE_POINT)) {
    return (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }
  FileHandle h(CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!h) {
    return false;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  const DWORD target = GetFileInformationByHandle(h.Get(), &info) ? info.dwFileAttributes : attrs;
  return (target & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void CreateFolderIfMissing(const std::u16string& path) {
  if (!IsExistingFolder(path)) {
    CreateDirectoryW(W(path), nullptr); // the final existence test judges the outcome
  }
}

// The file test behind SafeFileExists, once the drive is known to be ready.
bool FileExistsAt(const std::u16string& path) {
  const DWORD attrs = GetFileAttributesW(W(path));
  if (attrs == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
        error == ERROR_INVALID_NAME) {
      return false;
    }
    // Access denied, or held open by another program: the folder listing still knows it.
    WIN32_FIND_DATAW data{};
    FindHandle find(FindFirstFileW(W(path), &data));
    return find && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  if (!(attrs & FILE_ATTRIBUTE_REPARSE_POINT)) {
    return !(attrs & FILE_ATTRIBUTE_DIRECTORY);
  }
  if (attrs & FILE_ATTRIBUTE_DIRECTORY) {
    return false;
  }
  // A link counts when its target opens, or is there but held open by another program.
  FileHandle h(
      CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  return h || GetLastError() == ERROR_SHARING_VIOLATION;
}

} // namespace

std::u16string GetSpecialFolder(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kFolderIds))) {
    return {};
  }
  static const GetFolderPathFn getFolderPath = LoadGetFolderPath();
  wchar_t buf[MAX_PATH] = {};
  if (!getFolderPath ||
      FAILED(getFolderPath(nullptr, kFolderIds[index], nullptr, 0 /* current path */, buf))) {
    return {};
  }
  buf[MAX_PATH - 1] = L'\0';
  return U16(buf);
}

bool PrepareDataFolder(const std::u16string& appName, bool common) {
  const std::u16string base = GetSpecialFolder(common ? 3 : 1);
  // Without the application-data folder the path would start at the root of the current drive:
  // nothing is created there.
  if (base.empty()) {
    return false;
  }
  std::u16string dir = base + u"\\Ostrelworks";
  CreateFolderIfMissing(dir);
  dir += u"\\" + appName;
  CreateFolderIfMissing(dir);
  std::u16string& target = common ? commonDataDir : userDataDir;
  target = dir + u"\\";
  return IsExistingFolder(target);
}

const std::u16string& UserDataDir() {
  return userDataDir;
}
std::u16string UserDataFile(std::u16string_view name) {
  return userDataDir + std::u16string(name);
}

void SetUserDataDir(std::u16string folder) {
  userDataDir = std::move(folder);
}

const std::u16string& CommonDataDir() {
  return commonDataDir;
}

bool IsDriveReady(char16_t ch) {
  if (ch >= u'a' && ch <= u'z') {
    ch = static_cast<char16_t>(ch - 0x20);
  }
  if (ch < u'A' || ch > u'Z') {
    return ch == u'\\';
  }
  // No "insert a disk" box for an empty drive: the query simply fails.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  const wchar_t root[] = {static_cast<wchar_t>(ch), L':', L'\\', L'\0'};
  ULARGE_INTEGER available{}, total{};
  const BOOL ready = GetDiskFreeSpaceExW(root, &available, &total, nullptr);
  SetErrorMode(oldMode);
  return ready != FALSE;
}

bool IsPathDriveReady(const std::u16string& path) {
  return !path.empty() && IsDriveReady(path.front());
}

bool SafeFileExists(const std::u16string& path) {
  return IsPathDriveReady(path) && FileExistsAt(path);
}

} // namespace morvi
