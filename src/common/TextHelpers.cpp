#include "common/TextHelpers.h"

namespace morvi {

std::u16string TrimAtNull(std::u16string_view text) {
  return std::u16string(text.substr(0, text.find(u'\0')));
}

std::u16string TrimAtNullRight(std::u16string_view text) {
  std::u16string s = TrimAtNull(text);
  std::size_t end = s.size();
  while (end > 0 && s[end - 1] <= u' ') {
    --end;
  }
  s.resize(end);
  return s;
}

std::size_t LastCharPos(std::u16string_view ch, std::u16string_view text) {
  if (ch.size() != 1) {
    return 0;
  }
  const std::size_t p = text.rfind(ch[0]);
  return p == std::u16string_view::npos ? 0 : p + 1;
}

std::u16string FileNamePart(std::u16string_view path) {
  const std::size_t p = path.find_last_of(u"\\:");
  return std::u16string(p == std::u16string_view::npos ? path : path.substr(p + 1));
}

std::u16string RemoveFileExt(std::u16string_view path) {
  std::u16string name = FileNamePart(path);
  if (const std::size_t p = LastCharPos(u".", name); p != 0) {
    name.resize(p - 1);
  }
  return name;
}

std::u16string ExtractFileBaseName(std::u16string_view path) {
  return RemoveFileExt(FileNamePart(path));
}

bool IsForbiddenFileNameChar(char16_t c) {
  switch (c) {
  case u'/':
  case u':':
  case u'*':
  case u'\\':
  case u'?':
  case u'<':
  case u'>':
  case u'|':
    return true;
  default:
    return false;
  }
}

bool HasNoInvalidChars(std::u16string_view text) {
  for (char16_t c : text) {
    if (IsForbiddenFileNameChar(c)) {
      return false;
    }
  }
  return true;
}

} // namespace morvi
