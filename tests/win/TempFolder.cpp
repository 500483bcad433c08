#include "TempFolder.h"

#include "common/Handles.h"
#include "common/Wide.h"

#include <gtest/gtest.h>

namespace morvi::test {

namespace {

void RemoveTree(const std::u16string& dir) {
  WIN32_FIND_DATAW data;
  FindHandle find(FindFirstFileW(W(dir + u"\\*"), &data));
  if (find) {
    do {
      const std::u16string name = U16(data.cFileName);
      if (name == u"." || name == u"..") {
        continue;
      }
      const std::u16string path = dir + u"\\" + name;
      SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileW(W(path));
      }
    } while (FindNextFileW(find.Get(), &data));
  }
  find.Reset();
  RemoveDirectoryW(W(dir));
}

} // namespace

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, base);
  std::u16string dir = U16(base, n);
  if (!dir.empty() && dir.back() == u'\\') {
    dir.pop_back();
  }
  static unsigned counter = 0;
  for (;;) {
    path_ = dir + u"\\morvi-files-" + U16(std::to_wstring(GetCurrentProcessId()).c_str()) + u"-" +
            U16(std::to_wstring(++counter).c_str());
    if (CreateDirectoryW(W(path_), nullptr)) {
      break;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      ADD_FAILURE() << "cannot make a temporary folder";
      break;
    }
  }
}

TempFolder::~TempFolder() {
  RemoveTree(path_);
}

std::vector<std::u16string> TempFolder::Names() const {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW data;
  FindHandle find(FindFirstFileW(W(path_ + u"\\*"), &data));
  if (find) {
    do {
      const std::u16string name = U16(data.cFileName);
      if (name != u"." && name != u"..") {
        names.push_back(name);
      }
    } while (FindNextFileW(find.Get(), &data));
  }
  return names;
}

std::optional<std::string> FileBytes(const std::u16string& path) {
  FileHandle file(CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  if (!file) {
    return std::nullopt;
  }
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  return bytes;
}

void PutFileBytes(const std::u16string& path, const std::string& bytes) {
  FileHandle file(CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file) << "cannot write a test file";
  DWORD written = 0;
  ASSERT_TRUE(
      WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  ASSERT_EQ(written, bytes.size());
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
