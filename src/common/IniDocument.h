// The settings file in memory: sections of entries, as loaded from the file's lines and as
// written back. Names are compared through an upper-casing function that the platform supplies,
// and kept in the letter case in which they were first met.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace morvi {

// Upper-cases a name for comparing it with another one.
using UpperCaseFn = std::u16string (*)(std::u16string_view);

// Upper-cases a to z only: a rule that needs no platform.
std::u16string UpperCaseAscii(std::u16string_view text);

class IniDocument {
public:
  explicit IniDocument(UpperCaseFn upper = UpperCaseAscii);

  // Comments, blank lines, lines before the first header and repeated sections are dropped;
  // blanks at the ends of lines and around the first "=" are removed.
  static IniDocument Load(const std::vector<std::u16string>& lines,
                          UpperCaseFn upper = UpperCaseAscii);

  // The value of the section's first entry with the key; empty when there is no such entry or
  // that entry has no "=".
  std::optional<std::u16string> Find(std::u16string_view section, std::u16string_view key) const;

  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view def) const;
  std::int32_t ReadInteger(std::u16string_view section, std::u16string_view key,
                           std::int32_t def) const;
  bool ReadBool(std::u16string_view section, std::u16string_view key, bool def) const;

  // Changes the first entry with the key, or appends one (and the section) when there is none.
  void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  void WriteInteger(std::u16string_view section, std::u16string_view key, std::int32_t value);
  void WriteBool(std::u16string_view section, std::u16string_view key, bool value);

  // Each section as "[name]", its entries, and one empty line.
  std::vector<std::u16string> Lines() const;

private:
  // An entry is kept as the line that it writes: the key, and for a valued entry "=" and the
  // value.
  struct Entry {
    std::u16string text;
    std::size_t keyLength;
    bool valued;
    std::u16string upperKey;

    std::u16string_view Key() const { return std::u16string_view(text).substr(0, keyLength); }
    std::u16string Value() const { return text.substr(keyLength + 1); }
  };
  struct Section {
    std::u16string name;
    std::vector<Entry> entries;
  };

  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t SectionIndex(std::u16string_view name) const;
  std::size_t EntryIndex(const Section& section, std::u16string_view key) const;
  std::size_t AddSection(std::u16string_view name, std::u16string upperName);

  UpperCaseFn upper_;
  std::vector<Section> sections_;
  // Upper-cased section names to their index, so that loading many headers stays fast.
  std::unordered_map<std::u16string, std::size_t> sectionIndex_;
};

} // namespace morvi
