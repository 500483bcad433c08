// The one place where Morvi's UTF-16 texts meet the wchar_t of the Win32 calls. On Windows both
// are 16-bit UTF-16 code units, so the conversion is a reinterpretation, not a copy.
#pragma once

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide characters are UTF-16 code units");

namespace morvi {

inline const wchar_t* W(const std::u16string& s) {
  return reinterpret_cast<const wchar_t*>(s.c_str());
}
inline const wchar_t* W(const char16_t* s) {
  return reinterpret_cast<const wchar_t*>(s);
}
inline wchar_t* W(char16_t* s) {
  return reinterpret_cast<wchar_t*>(s);
}

inline std::u16string U16(const wchar_t* s) {
  return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string();
}
inline std::u16string U16(const wchar_t* s, std::size_t n) {
  return std::u16string(reinterpret_cast<const char16_t*>(s), n);
}
inline std::u16string U16(std::wstring_view s) {
  return U16(s.data(), s.size());
}

} // namespace morvi
