#include "common/SettingValues.h"

namespace morvi {

int SanePosition(int stored) {
  return stored >= 0 && stored <= 2 ? stored : 0;
}

std::u16string SaneHotKeyLetter(std::u16string_view stored) {
  if (stored.empty()) {
    return u"M";
  }
  char16_t c = stored.front();
  if (c >= u'a' && c <= u'z') {
    c = static_cast<char16_t>(c - (u'a' - u'A'));
  }
  return c >= u'A' && c <= u'Z' ? std::u16string(1, c) : u"M";
}

} // namespace morvi
