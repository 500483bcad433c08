// The settings file: loaded whole when the object is made, written whole on UpdateFile only.
// Each window makes one in the handler that needs it and discards it at the end.
#pragma once

#include "common/IniDocument.h"
#include "common/TextEncoding.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvi {

class SettingsFile {
public:
  // Loads the file when one exists at path; throws FileError when it cannot be read.
  explicit SettingsFile(std::u16string path);

  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view def) const;
  std::int32_t ReadInteger(std::u16string_view section, std::u16string_view key,
                           std::int32_t def) const;
  bool ReadBool(std::u16string_view section, std::u16string_view key, bool def) const;

  // These change the object only.
  void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  void WriteInteger(std::u16string_view section, std::u16string_view key, std::int32_t value);
  void WriteBool(std::u16string_view section, std::u16string_view key, bool value);

  // Writes the whole object, in the encoding the file had when loaded (the ANSI code page for a
  // new file). Throws FileError when the file cannot be created or replaced.
  void UpdateFile();

  const std::u16string& Path() const { return path_; }
  // The encoding found when loading; none when there was no file.
  std::optional<TextEncoding> Encoding() const { return encoding_; }

private:
  std::u16string path_;
  std::optional<TextEncoding> encoding_;
  IniDocument document_;
};

// Upper-cases a name by the user's locale, the way the settings file compares names.
std::u16string UpperCaseForCompare(std::u16string_view text);

} // namespace morvi
