#include "common/Clock.h"

#include <gtest/gtest.h>

using namespace morvi;

TEST(Clock, DatesAreWrittenWithLeadingZeros) {
  EXPECT_EQ(FormatDateJapanese({2025, 6, 9}), u"2025年06月09日");
  EXPECT_EQ(FormatDateIso({2025, 6, 9}), u"2025-06-09");
  EXPECT_EQ(FormatDateJapanese({2026, 12, 31}), u"2026年12月31日");
  EXPECT_EQ(FormatDateIso({987, 1, 1}), u"0987-01-01");
}

TEST(Clock, TheClockCanBeSetAndPutBack) {
  SetClock([] { return LocalDate{2025, 6, 9}; });
  EXPECT_EQ(FormatDateIso(Today()), u"2025-06-09");
  SetClock(nullptr);
  const LocalDate now = Today();
  EXPECT_GE(now.year, 2024);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.day, 31);
}
