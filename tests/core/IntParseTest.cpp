#include "common/IntParse.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

using namespace morvi;

namespace {

struct ParseCase {
  std::u16string text;
  std::optional<std::int32_t> value;
};

} // namespace

TEST(IntParse, DecimalAndEveryHexadecimalPrefixWithSignAndRange) {
  const ParseCase cases[] = {
      {u"0", 0},
      {u"900", 900},
      {u"-1200", -1200},
      {u"+7", 7},
      {u"-0", 0},
      {u"007", 7},
      {u"   42", 42},
      {u"  -42", -42},
      {u"2147483647", 2147483647},
      {u"-2147483648", INT32_MIN},
      {u"0000000000002147483647", 2147483647},
      {u"$20", 32},
      {u"0x20", 32},
      {u"0X20", 32},
      {u"x20", 32},
      {u"X20", 32},
      {u"$ff", 255},
      {u"0xAbCd", 0xABCD},
      {u"-$20", -32},
      {u"+0x20", 32},
      {u"-x1", -1},
      {u"$FFFFFFFF", -1},
      {u"$7FFFFFFF", INT32_MAX},
      {u"$80000000", INT32_MIN},
      {u"-$80000000", INT32_MIN},
      {u"-$FFFFFFFF", 1},
      {u"$0000000F", 15},
      // What is no number.
      {u"", std::nullopt},
      {u" ", std::nullopt},
      {u"-", std::nullopt},
      {u"+", std::nullopt},
      {u"$", std::nullopt},
      {u"0x", std::nullopt},
      {u"x", std::nullopt},
      {u"32px", std::nullopt},
      {u"12 ", std::nullopt},
      {u"1 2", std::nullopt},
      {u"- 5", std::nullopt},
      {u"--5", std::nullopt},
      {u"+-5", std::nullopt},
      {u"\t5", std::nullopt},
      {u"2147483648", std::nullopt},
      {u"-2147483649", std::nullopt},
      {u"99999999999", std::nullopt},
      {u"$100000000", std::nullopt},
      {u"$000000001", std::nullopt},
      {u"0x1g", std::nullopt},
      {u"$-1", std::nullopt},
      {u"0$1", std::nullopt},
      {u"1.5", std::nullopt},
      {u"1e3", std::nullopt},
      {u"true", std::nullopt},
      {u"false", std::nullopt},
      {u"\uFF11", std::nullopt}, // a full-width digit one
      {std::u16string{u'5', u'\0', u'6'}, std::nullopt},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(ParseInteger(c.text), c.value);
  }
}

TEST(IntParse, NumbersAreWrittenInPlainDecimal) {
  EXPECT_EQ(FormatInteger(0), u"0");
  EXPECT_EQ(FormatInteger(750), u"750");
  EXPECT_EQ(FormatInteger(-1200), u"-1200");
  EXPECT_EQ(FormatInteger(INT32_MAX), u"2147483647");
  EXPECT_EQ(FormatInteger(INT32_MIN), u"-2147483648");
  for (const std::int32_t v : {INT32_MIN, -1, 0, 1, 99, 100, INT32_MAX}) {
    EXPECT_EQ(ParseInteger(FormatInteger(v)), v);
  }
}
