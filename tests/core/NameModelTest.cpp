#include "editor/NameModel.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;
using namespace morvi;

namespace {

struct SplitCase {
  std::u16string read;
  std::u16string name;
  std::u16string ext;
  std::u16string joined;
};

const SplitCase kSplits[] = {
    {u"report.txt", u"report", u"txt", u"report.txt"},
    {u"C:\\work\\report.txt", u"report", u"txt", u"report.txt"},
    {u"archive.tar.gz", u"archive.tar", u"gz", u"archive.tar.gz"},
    {u"main.c", u"main", u"c", u"main.c"},
    {u"README", u"README", u"", u"README"},
    {u"name.", u"name", u"", u"name"},
    {u".profile", u"", u"profile", u".profile"},
    {u"old.d\\notes", u"notes", u"", u"notes"},
    {u"a/b.txt", u"a/b", u"txt", u"a/b.txt"},
    {u"", u"", u"", u""},
    {u"C:name.ext", u"name", u"ext", u"name.ext"},
    {u"d:.x\\..", u".", u"", u"."},
    {u"\U0001F600.\U0001F4C4", u"\U0001F600", u"\U0001F4C4", u"\U0001F600.\U0001F4C4"},
};

} // namespace

TEST(NameModel, SplitAndJoinFollowTheTable) {
  for (const SplitCase& c : kSplits) {
    SCOPED_TRACE(testing::PrintToString(c.read));
    const NameFields f = SplitPath(c.read);
    EXPECT_EQ(f.name, c.name);
    EXPECT_EQ(f.ext, c.ext);
    EXPECT_EQ(JoinFileName(f.name, f.ext), c.joined);
  }
}

TEST(NameModel, PathExtensionKeepsItsDotAndStopsAtSeparators) {
  EXPECT_EQ(PathExtension(u"a.b.c"), u".c");
  EXPECT_EQ(PathExtension(u".profile"), u".profile");
  EXPECT_EQ(PathExtension(u"x.d\\y"), u"");
  EXPECT_EQ(PathExtension(u"x.d:y"), u"");
  EXPECT_EQ(PathExtension(u"x/y.z"), u".z");
  EXPECT_EQ(PathExtension(u"x.y/z"), u".y/z") << "a slash is no separator";
  EXPECT_EQ(PathExtension(u"x."), u".");
  EXPECT_EQ(ExtensionFieldText(u"x."), u"");
  EXPECT_EQ(ExtensionFieldText(u"x.c"), u"c");
}

TEST(NameModel, ValidityRule) {
  struct Case {
    std::u16string name;
    bool valid;
  };
  const Case cases[] = {
      {u"", true},
      {u"report", true},
      {u"  lead and trail  ", true},
      {u"say \"so\"", true},
      {u" ", false},
      {u"   ", false},
      {u"\u3000", false},
      {u"\u3000\u3000", false},
      {u" \u3000", true},
      {u"\u3000 ", true},
      {u"a/b", false},
      {u"a:b", false},
      {u"a*b", false},
      {u"a\\b", false},
      {u"a?b", false},
      {u"a<b", false},
      {u"a>b", false},
      {u"a|b", false},
      {u"trailing.", true},
      {u"CON", true},
      {u"a\0b"s, true},
      {u"\xD800"s, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidFileName(c.name), c.valid) << testing::PrintToString(c.name);
  }
}

TEST(NameModel, ToFullWidthReplacesEachForbiddenCharacterOnce) {
  EXPECT_EQ(ToFullWidth(u"/:*\\?<>|"), u"\uFF0F\uFF1A\uFF0A\uFFE5\uFF1F\uFF1C\uFF1E\uFF5C");
  EXPECT_EQ(ToFullWidth(u"a/b"), u"a\uFF0Fb");
  EXPECT_EQ(ToFullWidth(u"C:\\\"x\""), u"C\uFF1A\uFFE5\"x\"") << "the double quote stays";
  EXPECT_EQ(ToFullWidth(u"\uFF0F\uFFE5"), u"\uFF0F\uFFE5");
  const std::u16string odd = u"\0/\xDC00"s;
  EXPECT_EQ(ToFullWidth(odd), u"\0\uFF0F\xDC00"s);
  EXPECT_TRUE(IsValidFileName(ToFullWidth(u"a/b:c*d")));
}

TEST(NameModel, AcceptableFieldsNeedANameAndACleanExtension) {
  EXPECT_TRUE(NameFieldsAcceptable(u"report", u"txt"));
  EXPECT_TRUE(NameFieldsAcceptable(u"report", u""));
  EXPECT_TRUE(NameFieldsAcceptable(u"report", u" . "));
  EXPECT_TRUE(NameFieldsAcceptable(u"\"q\"", u"txt"));
  EXPECT_FALSE(NameFieldsAcceptable(u"", u"profile"));
  EXPECT_FALSE(NameFieldsAcceptable(u"a/b", u"txt"));
  EXPECT_FALSE(NameFieldsAcceptable(u"report", u"t*t"));
  EXPECT_FALSE(NameFieldsAcceptable(u"   ", u"txt"));
}
