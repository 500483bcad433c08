#include "common/IntParse.h"

namespace morvi {

namespace {

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') {
    return c - u'0';
  }
  if (c >= u'a' && c <= u'f') {
    return c - u'a' + 10;
  }
  if (c >= u'A' && c <= u'F') {
    return c - u'A' + 10;
  }
  return -1;
}

std::optional<std::uint32_t> ParseHex(std::u16string_view digits) {
  if (digits.empty() || digits.size() > 8) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (const char16_t c : digits) {
    const int d = HexDigit(c);
    if (d < 0) {
      return std::nullopt;
    }
    value = (value << 4) | static_cast<std::uint32_t>(d);
  }
  return value;
}

// The magnitude, at most 2^31 so that the negative end of the range fits.
std::optional<std::uint32_t> ParseDecimal(std::u16string_view digits, bool negative) {
  if (digits.empty()) {
    return std::nullopt;
  }
  const std::uint32_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
  std::uint32_t value = 0;
  for (const char16_t c : digits) {
    if (c < u'0' || c > u'9') {
      return std::nullopt;
    }
    const std::uint32_t d = c - u'0';
    if (value > (limit - d) / 10) {
      return std::nullopt;
    }
    value = value * 10 + d;
  }
  return value;
}

} // namespace

std::optional<std::int32_t> ParseInteger(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  const std::u16string_view rest = text.substr(i);
  std::optional<std::uint32_t> magnitude;
  if (rest.starts_with(u'$') || rest.starts_with(u'x') || rest.starts_with(u'X')) {
    magnitude = ParseHex(rest.substr(1));
  } else if (rest.starts_with(u"0x") || rest.starts_with(u"0X")) {
    magnitude = ParseHex(rest.substr(2));
  } else {
    magnitude = ParseDecimal(rest, negative);
  }
  if (!magnitude) {
    return std::nullopt;
  }
  // Negation in unsigned arithmetic: the hexadecimal pattern 80000000 stays the lowest number.
  const std::uint32_t bits = negative ? 0u - *magnitude : *magnitude;
  return static_cast<std::int32_t>(bits);
}

std::u16string FormatInteger(std::int32_t value) {
  const bool negative = value < 0;
  std::uint32_t magnitude =
      negative ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  return negative ? u"-" + digits : digits;
}

} // namespace morvi
