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
  std::u16string Decode(std::string_view bytes) const override {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char b : bytes) {
      text.push_back(static_cast<unsigned char>(b));
    }
    return text;
  }
  std::string Encode(std::u16string_view text) const override {
    std::string bytes;
    bytes.reserve(text.size());
    for (const char16_t c : text) {
      bytes.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
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
