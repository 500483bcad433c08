#include "common/ForeignReply.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;
using namespace morvi;

TEST(ForeignReply, ABufferGivesAtMostItsSizeLessOneUpToTheFirstNul) {
  struct Case {
    std::u16string buffer;
    std::u16string text;
  };
  const Case cases[] = {
      {u"report.txt\0\0\0"s, u"report.txt"},
      {u"abc\0def.txt\0"s, u"abc"},
      // Written to the last unit without a NUL: the last unit is the NUL's room, never text.
      {std::u16string(260, u'x'), std::u16string(259, u'x')},
      {std::u16string(259, u'x') + u'\0', std::u16string(259, u'x')},
      {u"\0report.txt"s, u""},
      {u"a"s, u""},
      {u""s, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.buffer.substr(0, 20)));
    EXPECT_EQ(TextFromReplyBuffer(c.buffer), c.text);
  }
}

TEST(ForeignReply, ASendIsJudgedByItsResultThenByTheLastError) {
  struct Case {
    bool returned;
    std::uint32_t error;
    Reply reply;
  };
  const Case cases[] = {
      {true, 0, Reply::Answered},     {true, 1460, Reply::Answered}, // a stale error is no fault
      {false, 1460, Reply::NoAnswer}, {false, 0, Reply::NoAnswer},   // a hung thread, aborted
      {false, 1400, Reply::Gone},     {false, 5, Reply::Refused},    {false, 87, Reply::NoAnswer},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JudgeReply(c.returned, c.error), c.reply) << c.returned << " " << c.error;
  }
}

TEST(ForeignReply, OnlyAKnownHigherLevelCountsAsMorePrivileged) {
  constexpr std::uint32_t medium = 0x2000, high = 0x3000;
  EXPECT_TRUE(RunsHigher(medium, high));
  EXPECT_FALSE(RunsHigher(high, high));
  EXPECT_FALSE(RunsHigher(high, medium));
  EXPECT_FALSE(RunsHigher(std::nullopt, high)) << "our own level unknown";
  EXPECT_FALSE(RunsHigher(medium, std::nullopt)) << "the dialog's process could not be read";
}
