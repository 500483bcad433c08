#include "common/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;
using namespace morvi;

namespace {

struct TextCase {
  std::u16string in;
  std::u16string out;
};

template <class F>
void ExpectEach(F f, const std::initializer_list<TextCase>& cases) {
  for (const TextCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.in));
    EXPECT_EQ(f(c.in), c.out);
  }
}

} // namespace

TEST(TextHelpers, TrimAtNullCutsAtTheFirstNul) {
  ExpectEach(TrimAtNull, {
                             {u"abc\0def"s, u"abc"},
                             {u"\0x"s, u""},
                             {u"plain text", u"plain text"},
                             {u"", u""},
                             {u"a\0\0b\0"s, u"a"},
                         });
}

TEST(TextHelpers, TrimAtNullRightDropsTrailingControlsAndSpacesOnly) {
  ExpectEach(TrimAtNullRight, {
                                  {u"Button  \0leftover"s, u"Button"},
                                  {u"line\r\n", u"line"},
                                  {u"wide\u3000", u"wide\u3000"},
                                  {u"nbsp\u00A0", u"nbsp\u00A0"},
                                  {u"  abc", u"  abc"},
                                  {u"\t\x01\x1F \x20", u""},
                                  {u"x\x7F", u"x\x7F"},
                                  {u"\0   "s, u""},
                              });
}

TEST(TextHelpers, LastCharPosIsOneBasedAndNeedsExactlyOneCharacter) {
  EXPECT_EQ(LastCharPos(u".", u"a.b.c"), 4u);
  EXPECT_EQ(LastCharPos(u".", u"abc"), 0u);
  EXPECT_EQ(LastCharPos(u".", u""), 0u);
  EXPECT_EQ(LastCharPos(u"..", u"a..b"), 0u);
  EXPECT_EQ(LastCharPos(u"", u"abc"), 0u);
  EXPECT_EQ(LastCharPos(u"a", u"abcA"), 1u) << "case-sensitive";
  EXPECT_EQ(LastCharPos(u"\0"s, u"a\0b"s), 2u) << "U+0000 is an ordinary character here";
}

TEST(TextHelpers, FileNamePartFollowsTheLastBackslashOrColon) {
  ExpectEach(FileNamePart, {
                               {u"C:\\work\\report.txt", u"report.txt"},
                               {u"C:report.txt", u"report.txt"},
                               {u"C:\\work\\", u""},
                               {u"dir/report.txt", u"dir/report.txt"},
                               {u"\\\\server\\share\\a.b", u"a.b"},
                               {u"", u""},
                           });
}

TEST(TextHelpers, RemoveFileExtCutsTheNameBeforeItsLastDot) {
  ExpectEach(RemoveFileExt, {
                                {u"C:\\dir.old\\file.tar.gz", u"file.tar"},
                                {u"C:\\dir.old\\notes", u"notes"},
                                {u".profile", u""},
                                {u"name.", u"name"},
                                {u"README", u"README"},
                                {u"", u""},
                            });
}

TEST(TextHelpers, ExtractFileBaseNameEqualsRemoveFileExt) {
  EXPECT_EQ(ExtractFileBaseName(u"D:\\a\\main.c"), u"main");
  for (const std::u16string p : {u"C:\\dir.old\\file.tar.gz", u"x:y.z", u"a/b.c", u""}) {
    EXPECT_EQ(ExtractFileBaseName(p), RemoveFileExt(p)) << testing::PrintToString(p);
  }
}

TEST(TextHelpers, HasNoInvalidCharsRejectsExactlyTheEightForbidden) {
  EXPECT_TRUE(HasNoInvalidChars(u""));
  EXPECT_TRUE(HasNoInvalidChars(u"say \"hi\" "));
  EXPECT_TRUE(HasNoInvalidChars(u"\uFF0F\uFF1A\uFFE5\0"s));
  for (char16_t c = 0; c < 0x80; ++c) {
    const bool forbidden = std::u16string_view(u"/:*\\?<>|").find(c) != std::u16string_view::npos;
    EXPECT_EQ(HasNoInvalidChars(std::u16string(u"a") + c + u"b"), !forbidden)
        << "character " << static_cast<int>(c);
  }
}

TEST(TextHelpers, UnpairedSurrogatesAreOrdinaryUnits) {
  const std::u16string lone = u"a\xD800.b\xDC00"s;
  EXPECT_EQ(TrimAtNullRight(lone), lone);
  EXPECT_EQ(RemoveFileExt(lone), u"a\xD800"s);
  EXPECT_TRUE(HasNoInvalidChars(lone));
}
