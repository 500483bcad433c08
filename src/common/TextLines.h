// Splitting a text file's text into lines and joining lines into the text that is written, and
// the whole way from a file's bytes to its lines and back.
#pragma once

#include "common/TextEncoding.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// A line ends at CR, at LF or at CR LF (one break); LF CR is two breaks. U+0000 is ordinary
// text. Text after the last break is a last line; a break at the very end adds no empty line.
std::vector<std::u16string> SplitLines(std::u16string_view text);

// Every line followed by CR LF, the last one included; no lines give the empty text.
std::u16string JoinLines(const std::vector<std::u16string>& lines);

struct TextFileContent {
  std::vector<std::u16string> lines;
  TextEncoding encoding;
};

// A file's lines and the encoding of its mark; empty when the file is marked as UTF-8 and holds
// invalid UTF-8.
std::optional<TextFileContent> DecodeTextLines(std::string_view bytes, const AnsiCodec& ansi);

// The bytes of a file holding the lines: the encoding's mark, then every line and CR LF.
std::string EncodeTextLines(const std::vector<std::u16string>& lines, TextEncoding encoding,
                            const AnsiCodec& ansi);

} // namespace morvi
