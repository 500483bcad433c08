#include "common/Activation.h"

#include <cstring>

namespace morvi {

std::array<std::uint8_t, 14> ActivationPayload() {
  static constexpr char16_t text[] = u"/Show\0"; // "/Show", its NUL, and the terminating NUL
  static_assert(sizeof text == 14);
  std::array<std::uint8_t, 14> bytes{};
  for (std::size_t i = 0; i < 7; ++i) {
    bytes[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
  }
  return bytes;
}

std::optional<std::u16string> ReadActivationText(const void* data, std::size_t byteCount) {
  if (!data || byteCount == 0 || byteCount % 2 != 0) {
    return std::nullopt;
  }
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  std::u16string text;
  for (std::size_t i = 0; i < byteCount; i += 2) {
    // The sender's buffer need not be aligned; read each unit bytewise, little-endian.
    const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (unit == u'\0') {
      break;
    }
    text.push_back(unit);
  }
  return text;
}

bool IsShowRequest(const void* data, std::size_t byteCount) {
  const std::optional<std::u16string> text = ReadActivationText(data, byteCount);
  return text && *text == u"/Show";
}

} // namespace morvi
