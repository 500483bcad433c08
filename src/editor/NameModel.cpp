#include "editor/NameModel.h"

#include "common/TextHelpers.h"

#include <algorithm>

namespace morvi {

std::u16string PathExtension(std::u16string_view text) {
  const std::size_t p = text.find_last_of(u".\\:");
  if (p == std::u16string_view::npos || text[p] != u'.') {
    return {};
  }
  return std::u16string(text.substr(p));
}

std::u16string ExtensionFieldText(std::u16string_view text) {
  std::u16string ext = PathExtension(text);
  if (!ext.empty()) {
    ext.erase(0, 1);
  }
  return ext;
}

std::u16string JoinFileName(std::u16string_view name, std::u16string_view ext) {
  std::u16string joined(name);
  if (!ext.empty()) {
    joined += u'.';
    joined += ext;
  }
  return joined;
}

bool IsValidFileName(std::u16string_view name) {
  if (!HasNoInvalidChars(name)) {
    return false;
  }
  const auto onlyOf = [name](char16_t c) {
    return !name.empty() &&
           std::all_of(name.begin(), name.end(), [c](char16_t x) { return x == c; });
  };
  return !onlyOf(u' ') && !onlyOf(u'\u3000');
}

namespace {

char16_t FullWidthOf(char16_t c) {
  switch (c) {
  case u'/':
    return u'\uFF0F';
  case u':':
    return u'\uFF1A';
  case u'*':
    return u'\uFF0A';
  case u'\\':
    return u'\uFFE5';
  case u'?':
    return u'\uFF1F';
  case u'<':
    return u'\uFF1C';
  case u'>':
    return u'\uFF1E';
  case u'|':
    return u'\uFF5C';
  default:
    return c;
  }
}

} // namespace

std::u16string ToFullWidth(std::u16string_view text) {
  std::u16string out(text);
  std::transform(out.begin(), out.end(), out.begin(), FullWidthOf);
  return out;
}

NameFields SplitPath(std::u16string_view path) {
  return {ExtractFileBaseName(path), ExtensionFieldText(path)};
}

bool NameFieldsAcceptable(std::u16string_view name, std::u16string_view ext) {
  return !name.empty() && IsValidFileName(name) && HasNoInvalidChars(ext);
}

} // namespace morvi
