// A fresh folder under the temporary folder for one test, removed with everything in it
// afterwards, and the byte-level file access that the file tests compare with.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace morvi::test {

class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's absolute path, without a trailing "\".
  const std::u16string& Path() const { return path_; }
  std::u16string File(const std::u16string& name) const { return path_ + u"\\" + name; }
  // The names of the entries in the folder, "." and ".." left out.
  std::vector<std::u16string> Names() const;

private:
  std::u16string path_;
};

// The file's bytes; none when it cannot be read.
std::optional<std::string> FileBytes(const std::u16string& path);
void PutFileBytes(const std::u16string& path, const std::string& bytes);

// The system's description of the error as FormatMessageW gives it, without the final line break.
std::u16string SystemMessage(DWORD code);

} // namespace morvi::test
