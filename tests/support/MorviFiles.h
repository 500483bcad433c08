// Morvi.exe's own files in the Wine prefix that the end-to-end tests share: the data folder under
// the user's application-data folder, with the settings file and the word list. Each test starts
// with neither file and leaves neither behind, so that no test sees another's settings.
#pragma once

#include <string>

namespace morvi::test {

class MorviFiles {
public:
  MorviFiles();
  ~MorviFiles();
  MorviFiles(const MorviFiles&) = delete;
  MorviFiles& operator=(const MorviFiles&) = delete;

  // %APPDATA%\Ostrelworks\Morvi, without a trailing "\".
  const std::u16string& Folder() const { return folder_; }
  std::u16string Settings() const { return folder_ + u"\\Morvi.ini"; }
  std::u16string WordList() const { return folder_ + u"\\Morvi-Note.txt"; }

  // Removes both files.
  void Clear() const;

private:
  std::u16string folder_;
};

} // namespace morvi::test
