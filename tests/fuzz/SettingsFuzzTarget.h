// Bytes from a settings file, taken the whole way that Morvi takes them: decoding, lines, the
// document, the windows' reads and writes, and the file written back.
#pragma once

#include <cstddef>
#include <cstdint>

namespace morvi::fuzz {

// Aborts with a message when a rule of the settings file breaks for these bytes.
void RunSettingsInput(const std::uint8_t* data, std::size_t size);

} // namespace morvi::fuzz
