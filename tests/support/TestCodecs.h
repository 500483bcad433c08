// ANSI code pages of the tests' own, so that the text-file rules can be tested without Windows.
#pragma once

#include "common/TextEncoding.h"

#include <string>
#include <string_view>

namespace morvi::test {

// ISO 8859-1: every byte is the character of the same number; a character above U+00FF
// becomes "?".
class Latin1Codec final : public AnsiCodec {
public:
  unsigned CodePage() const override { return 28591; }
  // Plain pointer loops: the sanitized debug build takes ten-megabyte files through here.
  std::u16string Decode(std::string_view bytes) const override {
    std::u16string text(bytes.size(), u'\0');
    const unsigned char* in = reinterpret_cast<const unsigned char*>(bytes.data());
    char16_t* out = text.data();
    for (std::size_t i = 0, n = bytes.size(); i < n; ++i) {
      out[i] = in[i];
    }
    return text;
  }
  std::string Encode(std::u16string_view text) const override {
    std::string bytes(text.size(), '\0');
    const char16_t* in = text.data();
    char* out = bytes.data();
    for (std::size_t i = 0, n = text.size(); i < n; ++i) {
      out[i] = in[i] <= 0xFF ? static_cast<char>(in[i]) : '?';
    }
    return bytes;
  }
};

// A system whose ANSI code page is UTF-8. Bytes that are not valid UTF-8 never fail: each
// byte above 0x7F of such a text becomes U+FFFD.
class Utf8AnsiCodec final : public AnsiCodec {
public:
  unsigned CodePage() const override { return kUtf8CodePage; }
  std::u16string Decode(std::string_view bytes) const override {
    if (auto text = DecodeUtf8(bytes)) {
      return *text;
    }
    std::u16string text;
    for (const char b : bytes) {
      const unsigned char u = static_cast<unsigned char>(b);
      text.push_back(u < 0x80 ? u : u'\uFFFD');
    }
    return text;
  }
  std::string Encode(std::u16string_view text) const override { return EncodeUtf8(text); }
};

} // namespace morvi::test
