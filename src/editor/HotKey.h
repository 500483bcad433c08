// The editor window's hot key, Ctrl+Shift and a letter, as the user reads it.
#pragma once

#include <string>

namespace morvi {

// "Ctrl+Shift+" and the letter.
std::u16string HotKeyName(char16_t letter);

// What Morvi says when the hot key cannot be registered because another program holds it.
std::u16string HotKeyNotRegisteredText(char16_t letter);

} // namespace morvi
