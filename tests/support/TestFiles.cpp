#include "TestFiles.h"

#include "common/Handles.h"
#include "common/Wide.h"

#include <algorithm>

namespace morvi::test {

namespace {

std::u16string Number(unsigned long long n) {
  std::u16string s;
  do {
    s.insert(s.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n);
  return s;
}

} // namespace

std::u16string UniqueName(const std::u16string& prefix) {
  static unsigned counter = 0;
  return prefix + u"-" + Number(GetCurrentProcessId()) + u"-" + Number(++counter) + u"-" +
         Number(GetTickCount64());
}

TempFolder::TempFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  std::u16string base = U16(temp);
  if (!base.empty() && base.back() == u'\\') {
    base.pop_back();
  }
  path_ = UniqueName(base + u"\\morvi-test");
  CreateDirectoryW(W(path_), nullptr);
}

TempFolder::~TempFolder() {
  RemoveTree(path_);
}

std::vector<std::u16string> ListFolder(const std::u16string& folder) {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW data{};
  FindHandle find(FindFirstFileW(W(folder + u"\\*"), &data));
  if (!find) {
    return names;
  }
  do {
    const std::u16string name = U16(data.cFileName);
    if (name != u"." && name != u"..") {
      names.push_back(name + ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? u"\\" : u""));
    }
  } while (FindNextFileW(find.Get(), &data));
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveTree(const std::u16string& path) {
  const DWORD attrs = GetFileAttributesW(W(path));
  if (attrs == INVALID_FILE_ATTRIBUTES) {
    return;
  }
  if (attrs & FILE_ATTRIBUTE_READONLY) {
    SetFileAttributesW(W(path), attrs & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  }
  if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(W(path));
    return;
  }
  if (!(attrs & FILE_ATTRIBUTE_REPARSE_POINT)) { // never follow a link out of the tree
    for (const std::u16string& name : ListFolder(path)) {
      const bool dir = name.back() == u'\\';
      RemoveTree(path + u"\\" + (dir ? name.substr(0, name.size() - 1) : name));
    }
  }
  RemoveDirectoryW(W(path));
}

bool WriteFileBytes(const std::u16string& path, const std::string& bytes) {
  FileHandle h(CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr));
  DWORD written = 0;
  return h &&
         WriteFile(h.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::optional<std::string> FileBytes(const std::u16string& path) {
  FileHandle h(CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr));
  if (!h) {
    return std::nullopt;
  }
  std::string bytes;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(h.Get(), buf, sizeof buf, &got, nullptr) && got > 0) {
    bytes.append(buf, got);
  }
  return bytes;
}

std::string ReadFileBytes(const std::u16string& path) {
  return FileBytes(path).value_or("");
}

std::u16string FromUtf8(const std::string& s) {
  if (s.empty()) {
    return {};
  }
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::u16string out(static_cast<std::size_t>(n), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), W(out.data()), n);
  return out;
}

std::u16string SystemMessage(DWORD code) {
  wchar_t buffer[1024];
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, buffer, 1024, nullptr);
  std::u16string text = U16(buffer, n);
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r')) {
    text.pop_back();
  }
  return text;
}

} // namespace morvi::test
