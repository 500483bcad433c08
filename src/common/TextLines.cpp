#include "common/TextLines.h"

namespace morvi {

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  const std::size_t n = text.size();
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < n) {
    const char16_t c = text[i];
    if (c != u'\r' && c != u'\n') {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    i += (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
    start = i;
  }
  if (start < n) {
    lines.emplace_back(text.substr(start));
  }
  return lines;
}

std::u16string JoinLines(const std::vector<std::u16string>& lines) {
  std::size_t size = 0;
  for (const std::u16string& line : lines) {
    size += line.size() + 2;
  }
  std::u16string text;
  text.reserve(size);
  for (const std::u16string& line : lines) {
    text += line;
    text += u"\r\n";
  }
  return text;
}

std::optional<TextFileContent> DecodeTextLines(std::string_view bytes, const AnsiCodec& ansi) {
  std::optional<DecodedText> decoded = DecodeText(bytes, ansi);
  if (!decoded) {
    return std::nullopt;
  }
  return TextFileContent{SplitLines(decoded->text), decoded->encoding};
}

std::string EncodeTextLines(const std::vector<std::u16string>& lines, TextEncoding encoding,
                            const AnsiCodec& ansi) {
  return EncodeText(JoinLines(lines), encoding, ansi);
}

} // namespace morvi
