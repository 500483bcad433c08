#include "common/TextEncoding.h"

namespace morvi {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";
constexpr char16_t kReplacement = u'\uFFFD';

unsigned char Byte(std::string_view bytes, std::size_t i) {
  return static_cast<unsigned char>(bytes[i]);
}

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

void AppendCodePoint(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

} // namespace

EncodingMark DetectEncoding(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) {
    return {TextEncoding::Utf8, kUtf8Mark.size()};
  }
  if (bytes.starts_with(kUtf16LEMark)) {
    return {TextEncoding::Utf16LE, kUtf16LEMark.size()};
  }
  if (bytes.starts_with(kUtf16BEMark)) {
    return {TextEncoding::Utf16BE, kUtf16BEMark.size()};
  }
  return {TextEncoding::AnsiCodePage, 0};
}

std::string_view ByteOrderMark(TextEncoding encoding, unsigned ansiCodePage) {
  switch (encoding) {
  case TextEncoding::Utf8:
    return kUtf8Mark;
  case TextEncoding::Utf16LE:
    return kUtf16LEMark;
  case TextEncoding::Utf16BE:
    return kUtf16BEMark;
  case TextEncoding::AnsiCodePage:
    break;
  }
  return ansiCodePage == kUtf8CodePage ? kUtf8Mark : std::string_view();
}

std::optional<std::u16string> DecodeUtf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char b0 = Byte(bytes, i);
    if (b0 < 0x80) {
      out.push_back(b0);
      ++i;
      continue;
    }
    // The lead byte fixes the length and the range allowed for the second byte, which is what
    // rules out overlong forms, surrogates and code points above U+10FFFF.
    std::size_t length = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    char32_t cp = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      length = 2;
      cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      length = 3;
      cp = b0 & 0x0F;
      if (b0 == 0xE0) {
        lo = 0xA0;
      } else if (b0 == 0xED) {
        hi = 0x9F;
      }
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      length = 4;
      cp = b0 & 0x07;
      if (b0 == 0xF0) {
        lo = 0x90;
      } else if (b0 == 0xF4) {
        hi = 0x8F;
      }
    } else {
      return std::nullopt;
    }
    if (n - i < length) {
      return std::nullopt;
    }
    const unsigned char b1 = Byte(bytes, i + 1);
    if (b1 < lo || b1 > hi) {
      return std::nullopt;
    }
    cp = (cp << 6) | (b1 & 0x3F);
    for (std::size_t k = 2; k < length; ++k) {
      const unsigned char b = Byte(bytes, i + k);
      if (!IsContinuation(b)) {
        return std::nullopt;
      }
      cp = (cp << 6) | (b & 0x3F);
    }
    AppendCodePoint(out, cp);
    i += length;
  }
  return out;
}

std::string EncodeUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      AppendUtf8(out,
                 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2 + 1);
  const std::size_t pairs = bytes.size() / 2;
  for (std::size_t k = 0; k < pairs; ++k) {
    const unsigned char first = Byte(bytes, 2 * k);
    const unsigned char second = Byte(bytes, 2 * k + 1);
    out.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
  }
  if (bytes.size() % 2 != 0) {
    out.push_back(kReplacement);
  }
  return out;
}

std::string EncodeUtf16(std::u16string_view text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  for (const char16_t c : text) {
    const char high = static_cast<char>(c >> 8);
    const char low = static_cast<char>(c & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  }
  return out;
}

std::optional<DecodedText> DecodeText(std::string_view bytes, const AnsiCodec& ansi) {
  const EncodingMark mark = DetectEncoding(bytes);
  const std::string_view body = bytes.substr(mark.length);
  switch (mark.encoding) {
  case TextEncoding::Utf8:
    if (std::optional<std::u16string> text = DecodeUtf8(body)) {
      return DecodedText{std::move(*text), mark.encoding};
    }
    return std::nullopt;
  case TextEncoding::Utf16LE:
    return DecodedText{DecodeUtf16(body, false), mark.encoding};
  case TextEncoding::Utf16BE:
    return DecodedText{DecodeUtf16(body, true), mark.encoding};
  case TextEncoding::AnsiCodePage:
    break;
  }
  return DecodedText{ansi.Decode(body), mark.encoding};
}

std::string EncodeText(std::u16string_view text, TextEncoding encoding, const AnsiCodec& ansi) {
  std::string out(ByteOrderMark(encoding, ansi.CodePage()));
  switch (encoding) {
  case TextEncoding::Utf8:
    out += EncodeUtf8(text);
    break;
  case TextEncoding::Utf16LE:
    out += EncodeUtf16(text, false);
    break;
  case TextEncoding::Utf16BE:
    out += EncodeUtf16(text, true);
    break;
  case TextEncoding::AnsiCodePage:
    out += ansi.Encode(text);
    break;
  }
  return out;
}

} // namespace morvi
