// Pure text helpers for cleaning up text read from other windows and taking file names apart.
// Texts are UTF-16 and may hold U+0000; positions are 1-based with 0 for "not found".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace morvi {

// The text up to, not including, its first U+0000.
std::u16string TrimAtNull(std::u16string_view text);

// TrimAtNull, then without trailing characters at or below U+0020. Leading ones stay.
std::u16string TrimAtNullRight(std::u16string_view text);

// 1-based position of the last character equal to ch; 0 when there is none or when ch is not
// exactly one character long.
std::size_t LastCharPos(std::u16string_view ch, std::u16string_view text);

// What follows the last "\" or ":" (the whole path when it holds neither). "/" is no delimiter.
std::u16string FileNamePart(std::u16string_view path);

// FileNamePart of the path, cut before its last ".".
std::u16string RemoveFileExt(std::u16string_view path);

// The file name of the path without its extension.
std::u16string ExtractFileBaseName(std::u16string_view path);

// True when the text holds none of / : * \ ? < > |.
bool HasNoInvalidChars(std::u16string_view text);

// One of the eight characters that a file name may not hold.
bool IsForbiddenFileNameChar(char16_t c);

} // namespace morvi
