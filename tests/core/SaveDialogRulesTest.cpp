#include "editor/SaveDialogRules.h"

#include <gtest/gtest.h>

using namespace morvi;

TEST(SaveDialogRules, TheSaveButtonIsAnyButtonKindWhoseTextHoldsSave) {
  struct Case {
    const char16_t* cls;
    const char16_t* text;
    bool save;
  };
  const Case cases[] = {
      {u"Button", u"保存(&S)", true},
      {u"Button", u"名前を付けて保存", true},       // after other words
      {u"Button", u"読み取り専用で保存する", true}, // a check box counts too
      {u"MyButtonEx", u"保存", true},               // "Button" anywhere in the class
      {u"Button", u"キャンセル", false},
      {u"button", u"保存", false}, // case-sensitive
      {u"Static", u"保存", false},
      {u"Button", u"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsSaveButtonLike(c.cls, c.text), c.save)
        << testing::PrintToString(std::u16string(c.cls)) << " "
        << testing::PrintToString(std::u16string(c.text));
  }
}

TEST(SaveDialogRules, EveryProblemTheUserMeetsHasItsOwnMessage) {
  const std::u16string noAnswer = CaptureNotice(LinkProblem::NoAnswer);
  const std::u16string elevated = CaptureNotice(LinkProblem::Elevated);
  EXPECT_FALSE(noAnswer.empty());
  EXPECT_FALSE(elevated.empty());
  EXPECT_NE(noAnswer, elevated);
  EXPECT_EQ(CaptureNotice(LinkProblem::None), u"") << "a good capture clears the notice";

  const std::u16string late = WriteFailureText(LinkProblem::NoAnswer);
  const std::u16string changed = WriteFailureText(LinkProblem::Changed);
  EXPECT_FALSE(late.empty());
  EXPECT_FALSE(changed.empty());
  EXPECT_NE(late, changed);
  EXPECT_NE(SaveFailureText(), late);
  // A disabled dialog gets nothing written and the window is put away as always: no message.
  EXPECT_EQ(WriteFailureText(LinkProblem::Disabled), u"");
  EXPECT_EQ(WriteFailureText(LinkProblem::None), u"");
}
