// Files and folders for the Windows tests: scratch folders that clean up after themselves, and
// the bytes of files, read and written as they are on disk.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace morvi::test {

// A name for events and folders that no other test, run or process uses at the same time.
std::u16string UniqueName(const std::u16string& prefix);

// A fresh empty folder under the temporary folder, removed with all its content at the end.
class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path without a trailing "\".
  const std::u16string& Path() const { return path_; }
  std::u16string operator/(const std::u16string& name) const { return path_ + u"\\" + name; }

private:
  std::u16string path_;
};

// The names in a folder, sorted, "." and ".." left out; subfolders end in "\".
std::vector<std::u16string> ListFolder(const std::u16string& folder);
// Removes a file or a folder with everything in it.
void RemoveTree(const std::u16string& path);
// Makes a file holding the bytes; true when it was written whole.
bool WriteFileBytes(const std::u16string& path, const std::string& bytes);
// The whole file's bytes; none when it cannot be read.
std::optional<std::string> FileBytes(const std::u16string& path);
// The same, empty when the file cannot be read.
std::string ReadFileBytes(const std::u16string& path);
// UTF-8 as the Windows tests write it in their sources, as UTF-16.
std::u16string FromUtf8(const std::string& s);

// The system's description of the error as FormatMessageW gives it, without the final line break.
std::u16string SystemMessage(DWORD code);

} // namespace morvi::test
