// Damaged and oversized settings files that must load or fail with the decoding error, and never
// crash: the same cases for the portable core and for the settings file on disk.
#pragma once

#include "SettingsCases.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace morvi::test {

// The bytes and texts are made only when the case runs: listing the tests makes none of them.
using Bytes = std::function<std::string()>;
using Text = std::function<std::u16string()>;

struct BadFileCase {
  std::string name;
  Bytes bytes;
  bool decodes;
  // One value read after loading: section, key, and the text expected (the default is "-").
  Text section;
  std::u16string key;
  Text expected;
  // The bytes written back without any change; none where they depend on the code page.
  Bytes written;
};

inline void PrintTo(const BadFileCase& c, std::ostream* os) {
  *os << c.name;
}

inline std::string Repeat(std::string_view piece, std::size_t totalSize) {
  std::string s;
  s.reserve(totalSize + piece.size());
  while (s.size() < totalSize) {
    s += piece;
  }
  return s;
}

// Ten megabytes of entries of a hundred bytes each, already in the form that Morvi writes.
inline std::string TenMegabytesOfEntries() {
  std::string s = "[Window]\r\nPos=2\r\n";
  s.reserve(10'100'000);
  for (std::uint32_t i = 0; s.size() < 10'000'000; ++i) {
    const std::string n = std::to_string(i);
    s += "Key" + n + "=" + std::string(95 - n.size(), 'v') + "\r\n";
  }
  s += "Last=1\r\n\r\n";
  return s;
}

inline std::string NoiseBytes(std::size_t size) {
  std::string s(size, '\0');
  std::uint32_t x = 12345;
  for (char& c : s) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>(x >> 23);
  }
  return s;
}

inline Bytes Fixed(std::string bytes) {
  return [bytes] { return bytes; };
}

inline Text Is(std::u16string text) {
  return [text] { return text; };
}

inline std::string Megabyte() {
  return std::string(1 << 20, 'A');
}
inline std::u16string Megabyte16() {
  return std::u16string(1 << 20, u'A');
}

inline std::vector<BadFileCase> BadFileCases() {
  return {
      {"TenMegabytesOfEntries", TenMegabytesOfEntries, true, Is(u"Window"), u"Last", Is(u"1"),
       TenMegabytesOfEntries},
      {"TenMegabytesOfNoiseBehindAUtf8Mark",
       [] { return "\xEF\xBB\xBF\xFF" + NoiseBytes(10'000'000); }, false, nullptr, u"", nullptr,
       nullptr},
      {"TenMegabytesOfNoiseWithoutAMark", [] { return "\x01" + NoiseBytes(10'000'000); }, true,
       Is(u"Window"), u"Pos", Is(u"-"), nullptr},
      {"NulBytes", [] { return std::string(65536, '\0'); }, true, Is(u"Window"), u"Pos", Is(u"-"),
       Fixed("")},
      {"NulBytesBehindAUtf16Mark", [] { return "\xFF\xFE" + std::string(65536, '\0'); }, true,
       Is(u"Window"), u"Pos", Is(u"-"), Fixed("\xFF\xFE")},
      {"ALoneUtf8Mark", Fixed("\xEF\xBB\xBF"), true, Is(u"Window"), u"Pos", Is(u"-"),
       Fixed("\xEF\xBB\xBF")},
      {"ALoneUtf16LEMark", Fixed("\xFF\xFE"), true, Is(u"Window"), u"Pos", Is(u"-"),
       Fixed("\xFF\xFE")},
      {"ALoneUtf16BEMark", Fixed("\xFE\xFF"), true, Is(u"Window"), u"Pos", Is(u"-"),
       Fixed("\xFE\xFF")},
      {"AUtf16LEFileOfOddLengthEndingAfterABreak",
       Fixed(Utf16File(u"[Window]\r\nPos=1\r\n", false) + "\x41"), true, Is(u"Window"), u"Pos",
       Is(u"1"), Fixed(Utf16File(u"[Window]\r\nPos=1\r\n\uFFFD\r\n\r\n", false))},
      {"AUtf16BEFileOfOddLengthEndingInAValue",
       Fixed(Utf16File(u"[Window]\r\nPos=1", true) + "\x31"), true, Is(u"Window"), u"Pos",
       Is(u"1\uFFFD"), Fixed(Utf16File(u"[Window]\r\nPos=1\uFFFD\r\n\r\n", true))},
      {"AUtf8FileCutInsideACharacter", Fixed("\xEF\xBB\xBF[Window]\r\nPos=\xE6\x97"), false,
       nullptr, u"", nullptr, nullptr},
      {"AMegabyteValue", [] { return "[Window]\r\nHotKey=" + Megabyte() + "\r\n\r\n"; }, true,
       Is(u"Window"), u"HotKey", Megabyte16,
       [] { return "[Window]\r\nHotKey=" + Megabyte() + "\r\n\r\n"; }},
      {"AMegabyteSectionName", [] { return "[" + Megabyte() + "]\r\nk=v\r\n\r\n"; }, true,
       Megabyte16, u"K", Is(u"v"), [] { return "[" + Megabyte() + "]\r\nk=v\r\n\r\n"; }},
      {"AMegabyteOfBlanks", [] { return "[Window]\r\n" + Repeat(" \t", 1 << 20) + "\r\nPos=1"; },
       true, Is(u"Window"), u"Pos", Is(u"1"), Fixed("[Window]\r\nPos=1\r\n\r\n")},
      {"AMegabyteLineWithoutAnyBreak", [] { return Repeat("[x]=", 1 << 20); }, true, Is(u"Window"),
       u"Pos", Is(u"-"), Fixed("")},
  };
}

inline std::string BadFileName(const testing::TestParamInfo<BadFileCase>& info) {
  return info.param.name;
}

} // namespace morvi::test
