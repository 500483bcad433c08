// The encodings of Morvi's text files: byte-order marks, strict UTF-8, UTF-16 in both byte
// orders, and the system's ANSI code page reached through a small codec, so that all of it
// builds and is tested without Windows.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morvi {

enum class TextEncoding { AnsiCodePage, Utf8, Utf16LE, Utf16BE };

// The code page number of UTF-8. A system whose ANSI code page is UTF-8 marks its ANSI files.
constexpr unsigned kUtf8CodePage = 65001;

// The system's ANSI code page. On Windows it is the system's own conversion; tests bring their
// own.
class AnsiCodec {
public:
  virtual ~AnsiCodec() = default;
  virtual unsigned CodePage() const = 0;
  // Never fails: bytes that the code page does not map become what the conversion makes of them.
  virtual std::u16string Decode(std::string_view bytes) const = 0;
  // Never fails: characters that the code page cannot hold become what the conversion makes of
  // them.
  virtual std::string Encode(std::u16string_view text) const = 0;
};

// The encoding named by the first bytes and the length of its mark; AnsiCodePage and 0 when the
// bytes start with no mark.
struct EncodingMark {
  TextEncoding encoding;
  std::size_t length;
};
EncodingMark DetectEncoding(std::string_view bytes);

// The mark written before text in the encoding; AnsiCodePage has one only when the code page is
// UTF-8.
std::string_view ByteOrderMark(TextEncoding encoding, unsigned ansiCodePage);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no cut sequences.
// Empty when any byte sequence is not valid.
std::optional<std::u16string> DecodeUtf8(std::string_view bytes);
// An unpaired surrogate has no UTF-8 form and is written as U+FFFD.
std::string EncodeUtf8(std::u16string_view text);

// Two bytes per code unit. A last odd byte has no code unit of its own and becomes U+FFFD.
std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian);
std::string EncodeUtf16(std::u16string_view text, bool bigEndian);

struct DecodedText {
  std::u16string text;
  TextEncoding encoding;
};
// The whole content of a file: its mark, then the text. Empty when the file is marked as UTF-8
// and holds invalid UTF-8.
std::optional<DecodedText> DecodeText(std::string_view bytes, const AnsiCodec& ansi);
// The content of a file: the encoding's mark, then the encoded text.
std::string EncodeText(std::u16string_view text, TextEncoding encoding, const AnsiCodec& ansi);

} // namespace morvi
