// Today's local date, from one clock that the tests can set, and the two ways the editing menu
// writes it.
#pragma once

#include <functional>
#include <string>

namespace morvi {

struct LocalDate {
  int year = 0;
  int month = 0; // 1 to 12
  int day = 0;   // 1 to 31
};

// The local date now, as the current clock says.
LocalDate Today();

// Replaces the clock (an empty function puts the system's clock back).
void SetClock(std::function<LocalDate()> clock);

// "yyyy年mm月dd日" and "yyyy-mm-dd": four-digit year, two-digit month and day.
std::u16string FormatDateJapanese(const LocalDate& d);
std::u16string FormatDateIso(const LocalDate& d);

} // namespace morvi
