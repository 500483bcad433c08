#include "common/SettingValues.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace std::string_literals;
using namespace morvi;

TEST(SettingValues, APositionOutsideTheThreeChoicesFallsBackToTheFirst) {
  const std::pair<int, int> cases[] = {{0, 0},  {1, 1},  {2, 2},       {3, 0},
                                       {-1, 0}, {99, 0}, {INT_MIN, 0}, {INT_MAX, 0}};
  for (const auto& [stored, used] : cases) {
    EXPECT_EQ(SanePosition(stored), used) << stored;
  }
}

TEST(SettingValues, TheHotKeyIsTheFirstCharacterAsACapitalOrM) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"Q", u"Q"}, {u"A", u"A"},    {u"Z", u"Z"}, {u"q", u"Q"}, {u"a", u"A"},
      {u"z", u"Z"}, {u"Kxyz", u"K"}, {u"", u"M"},  {u"1", u"M"}, {u" Q", u"M"},
      {u"@", u"M"}, {u"[", u"M"},    {u"`", u"M"}, {u"{", u"M"}, {u"\uFF31", u"M"},
      {u"é", u"M"}, {u"\0Q"s, u"M"},
  };
  for (const auto& [stored, used] : cases) {
    EXPECT_EQ(SaneHotKeyLetter(stored), used) << testing::PrintToString(stored);
  }
}
