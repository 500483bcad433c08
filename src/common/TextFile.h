// The text-file layer that the settings file and the word-list file share: a whole file read
// into lines, and lines written as a whole file.
#pragma once

#include "common/TextEncoding.h"
#include "common/TextLines.h"

#include <optional>
#include <string>
#include <vector>

namespace morvi {

// Reads the whole file; other programs may read it meanwhile but not write it. The encoding
// comes from the byte-order mark; without one it is the ANSI code page. Throws FileError with
// the open error, or the decoding error for a file marked as UTF-8 that holds invalid UTF-8.
TextFileContent ReadTextLines(const std::u16string& path);

// Writes every line followed by CR LF, after the encoding's byte-order mark; no encoding means
// the ANSI code page. The new content goes to a temporary file beside the old one, which is
// then replaced in one step, so a failed write leaves the old file as it was. Throws FileError
// with the create error.
void WriteTextLines(const std::u16string& path, const std::vector<std::u16string>& lines,
                    std::optional<TextEncoding> encoding);

// The system's ANSI code page (the one GetACP reports) and its conversion.
const AnsiCodec& SystemAnsiCodec();

} // namespace morvi
