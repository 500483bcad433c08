#include "common/TextLines.h"

#include "TestCodecs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;
using namespace morvi;

namespace {

struct SplitCase {
  std::u16string text;
  std::vector<std::u16string> lines;
};

} // namespace

TEST(TextLines, LinesEndAtCrLfOrCrLfAndNothingIsTrimmed) {
  const SplitCase cases[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\n", {u"a"}},
      {u"a\r", {u"a"}},
      {u"a\n", {u"a"}},
      {u"a\r\nb", {u"a", u"b"}},
      {u"a\rb", {u"a", u"b"}},
      {u"a\nb", {u"a", u"b"}},
      {u"a\n\rb", {u"a", u"", u"b"}},
      {u"a\r\r\nb", {u"a", u"", u"b"}},
      {u"\r\n", {u""}},
      {u"\n\n\n", {u"", u"", u""}},
      {u"a\r\n\r\n", {u"a", u""}},
      {u"  word \t\r\n", {u"  word \t"}},
      {u"a\0b\nc\0"s, {u"a\0b"s, u"c\0"s}},
      {u"\0"s, {u"\0"s}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(SplitLines(c.text), c.lines);
  }
}

TEST(TextLines, EveryLineIsFollowedByCrLfTheLastOneIncluded) {
  EXPECT_EQ(JoinLines({}), u"");
  EXPECT_EQ(JoinLines({u""}), u"\r\n");
  EXPECT_EQ(JoinLines({u"[Note]", u"Top=1", u""}), u"[Note]\r\nTop=1\r\n\r\n");
}

TEST(TextLines, NoLinesInTheAnsiCodePageGiveAnEmptyFileOrALoneMarkOnAUtf8System) {
  EXPECT_EQ(EncodeTextLines({}, TextEncoding::AnsiCodePage, test::Latin1Codec()), "");
  EXPECT_EQ(EncodeTextLines({}, TextEncoding::AnsiCodePage, test::Utf8AnsiCodec()), "\xEF\xBB\xBF");
  EXPECT_EQ(EncodeTextLines({}, TextEncoding::Utf16BE, test::Latin1Codec()), "\xFE\xFF");
}

TEST(TextLines, AFileDecodesIntoItsLinesAndEncoding) {
  const auto content = DecodeTextLines("\xFF\xFE"
                                       "a\x00\r\x00\r\x00\n\x00"
                                       "b\x00"s,
                                       test::Latin1Codec());
  ASSERT_TRUE(content);
  EXPECT_EQ(content->encoding, TextEncoding::Utf16LE);
  EXPECT_EQ(content->lines, (std::vector<std::u16string>{u"a", u"", u"b"}));
  EXPECT_EQ(DecodeTextLines("\xEF\xBB\xBF\x80", test::Latin1Codec()), std::nullopt);
}
