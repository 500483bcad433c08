// Morvi's two files in its data folder, and what the windows make of stored values that Morvi
// itself never writes.
#pragma once

#include <string>
#include <string_view>

namespace morvi {

// The settings file and the word-list file, by their bare names.
inline constexpr std::u16string_view kSettingsFileName = u"Morvi.ini";
inline constexpr std::u16string_view kWordListFileName = u"Morvi-Note.txt";

// The editor window's position choice: 0, 1 or 2; any other stored number gives 0, the
// default.
int SanePosition(int stored);

// The hot-key letter: the stored text's first character, "A" to "Z"; a small letter counts as
// its capital. An empty text or any other first character gives "M", the default.
std::u16string SaneHotKeyLetter(std::u16string_view stored);

} // namespace morvi
