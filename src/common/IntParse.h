// The integers of the settings file: how a stored value is read and how a number is written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvi {

// Leading spaces, an optional "+" or "-", then decimal digits or one of the prefixes "$", "0x",
// "0X", "x", "X" and hexadecimal digits; nothing may follow the digits. A decimal number must
// lie in the signed 32-bit range; up to eight hexadecimal digits are taken as the 32-bit
// pattern ($FFFFFFFF is -1). A "-" negates the number. Empty when the text is no such number.
std::optional<std::int32_t> ParseInteger(std::u16string_view text);

// Decimal, "-" before a negative number, no "+", no leading zeros.
std::u16string FormatInteger(std::int32_t value);

} // namespace morvi
