#include "common/Clock.h"

#include <cstdio>
#include <ctime>

namespace morvi {

namespace {

std::function<LocalDate()>& CurrentClock() {
  static std::function<LocalDate()> clock;
  return clock;
}

LocalDate SystemToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::u16string Ascii(const char* s) {
  std::u16string out;
  for (; *s; ++s) {
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*s)));
  }
  return out;
}

std::u16string Digits(int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return Ascii(buf);
}

} // namespace

LocalDate Today() {
  return CurrentClock() ? CurrentClock()() : SystemToday();
}

void SetClock(std::function<LocalDate()> clock) {
  CurrentClock() = std::move(clock);
}

std::u16string FormatDateJapanese(const LocalDate& d) {
  return Digits(d.year, 4) + u"年" + Digits(d.month, 2) + u"月" + Digits(d.day, 2) + u"日";
}

std::u16string FormatDateIso(const LocalDate& d) {
  return Digits(d.year, 4) + u"-" + Digits(d.month, 2) + u"-" + Digits(d.day, 2);
}

} // namespace morvi
