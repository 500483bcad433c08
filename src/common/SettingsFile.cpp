#include "common/SettingsFile.h"

#include "common/TextFile.h"
#include "common/Wide.h"

#include <windows.h>

namespace morvi {

std::u16string UpperCaseForCompare(std::u16string_view text) {
  if (text.empty()) {
    return {};
  }
  const wchar_t* src = reinterpret_cast<const wchar_t*>(text.data());
  const int n = static_cast<int>(text.size());
  std::u16string upper(text.size(), u'\0');
  int done = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, src, n, W(upper.data()), n);
  if (done == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    const int size = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, src, n, nullptr, 0);
    if (size > 0) {
      upper.assign(static_cast<std::size_t>(size), u'\0');
      done = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, src, n, W(upper.data()), size);
    }
  }
  if (done <= 0) {
    return UpperCaseAscii(text);
  }
  upper.resize(static_cast<std::size_t>(done));
  return upper;
}

SettingsFile::SettingsFile(std::u16string path)
    : path_(std::move(path)), document_(UpperCaseForCompare) {
  // A plain existence test: the data folder is on a fixed drive. A folder in the file's place
  // holds no settings; writing there fails with the create error.
  const DWORD attributes = GetFileAttributesW(W(path_));
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    TextFileContent content = ReadTextLines(path_);
    document_ = IniDocument::Load(content.lines, UpperCaseForCompare);
    encoding_ = content.encoding;
  }
}

std::u16string SettingsFile::ReadString(std::u16string_view section, std::u16string_view key,
                                        std::u16string_view def) const {
  return document_.ReadString(section, key, def);
}

std::int32_t SettingsFile::ReadInteger(std::u16string_view section, std::u16string_view key,
                                       std::int32_t def) const {
  return document_.ReadInteger(section, key, def);
}

bool SettingsFile::ReadBool(std::u16string_view section, std::u16string_view key, bool def) const {
  return document_.ReadBool(section, key, def);
}

void SettingsFile::WriteString(std::u16string_view section, std::u16string_view key,
                               std::u16string_view value) {
  document_.WriteString(section, key, value);
}

void SettingsFile::WriteInteger(std::u16string_view section, std::u16string_view key,
                                std::int32_t value) {
  document_.WriteInteger(section, key, value);
}

void SettingsFile::WriteBool(std::u16string_view section, std::u16string_view key, bool value) {
  document_.WriteBool(section, key, value);
}

void SettingsFile::UpdateFile() {
  WriteTextLines(path_, document_.Lines(), encoding_);
}

} // namespace morvi
