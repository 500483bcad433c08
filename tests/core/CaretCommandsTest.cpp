#include "editor/CaretCommands.h"

#include <gtest/gtest.h>

using namespace morvi;

namespace {

using Command = std::optional<CaretEdit> (*)(std::u16string_view, std::size_t);

struct CommandCase {
  const char* name;
  Command run;
  std::u16string text;
  std::size_t caret;
  std::u16string expectText;
  std::size_t expectCaret;
  std::optional<std::u16string> expectClipboard;
};

} // namespace

TEST(CaretCommands, AbcdefWithTheCaretAfterB) {
  const CommandCase cases[] = {
      {"delete before", DeleteBeforeCaret, u"abcdef", 2, u"cdef", 0, std::nullopt},
      {"delete after", DeleteAfterCaret, u"abcdef", 2, u"ab", 2, std::nullopt},
      {"cut before", CutBeforeCaret, u"abcdef", 2, u"cdef", 0, u"ab"},
      {"cut after", CutAfterCaret, u"abcdef", 2, u"ab", 2, u"cdef"},
      {"swap", SwapAroundCaret, u"abcdef", 2, u"cdefab", 4, std::nullopt},
      {"swap non-BMP halves", SwapAroundCaret, u"\U0001F600x", 2, u"x\U0001F600", 1, std::nullopt},
  };
  for (const CommandCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<CaretEdit> r = c.run(c.text, c.caret);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->text, c.expectText);
    EXPECT_EQ(r->caret, c.expectCaret);
    EXPECT_EQ(r->clipboard, c.expectClipboard);
  }
}

TEST(CaretCommands, CommandsThatDoNotApplyDoNothing) {
  struct Case {
    const char* name;
    Command run;
    std::u16string text;
    std::size_t caret;
  };
  const Case cases[] = {
      {"delete before at 0", DeleteBeforeCaret, u"abc", 0},
      {"cut before at 0", CutBeforeCaret, u"abc", 0},
      {"swap at 0", SwapAroundCaret, u"abc", 0},
      {"delete after at the end", DeleteAfterCaret, u"abc", 3},
      {"cut after at the end", CutAfterCaret, u"abc", 3},
      {"swap at the end", SwapAroundCaret, u"abc", 3},
      {"delete after beyond the end", DeleteAfterCaret, u"abc", 9},
      {"swap in an empty field", SwapAroundCaret, u"", 0},
      {"cut after in an empty field", CutAfterCaret, u"", 0},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(c.run(c.text, c.caret).has_value()) << c.name;
  }
}

TEST(CaretCommands, ACaretBeyondTheTextCountsAsItsEnd) {
  const std::optional<CaretEdit> r = CutBeforeCaret(u"abc", 10);
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->text, u"");
  EXPECT_EQ(r->clipboard, std::u16string(u"abc"));
}

TEST(CaretCommands, MenuStateFollowsTheCaretAndTheRestoreValue) {
  struct Case {
    const char* what;
    std::u16string text;
    std::size_t caret;
    std::u16string baseName;
    std::u16string restore;
    EditMenuState expect;
  };
  // {cutBefore, cutAfter, copyBefore, copyAfter, exchange, invalidChars, undo}
  const Case cases[] = {
      {"middle", u"abcdef", 2, u"abcdef", u"abcdef", {true, true, true, true, true, false, false}},
      {"at 0", u"abc", 0, u"abc", u"abc", {false, true, false, true, false, false, false}},
      {"at the end", u"abc", 3, u"abc", u"abc", {true, false, true, false, false, false, false}},
      {"empty field", u"", 0, u"", u"", {false, false, false, false, false, false, false}},
      {"changed name",
       u"report-final",
       0,
       u"report-final",
       u"report",
       {false, true, false, true, false, false, true}},
      {"slash in the base name",
       u"c",
       1,
       u"a/b",
       u"c",
       {true, false, true, false, false, true, false}},
      {"empty base name", u"x", 1, u"", u"", {true, false, true, false, false, false, true}},
      {"case matters for restore",
       u"Report",
       0,
       u"Report",
       u"report",
       {false, true, false, true, false, false, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const EditMenuState s = ComputeEditMenuState(c.text, c.caret, c.baseName, c.restore);
    EXPECT_EQ(s.cutBefore, c.expect.cutBefore);
    EXPECT_EQ(s.cutAfter, c.expect.cutAfter);
    EXPECT_EQ(s.copyBefore, c.expect.copyBefore);
    EXPECT_EQ(s.copyAfter, c.expect.copyAfter);
    EXPECT_EQ(s.exchange, c.expect.exchange);
    EXPECT_EQ(s.invalidChars, c.expect.invalidChars);
    EXPECT_EQ(s.undo, c.expect.undo);
  }
}

TEST(CaretCommands, ShortCutCodesCombineTheModifiers) {
  EXPECT_EQ(ShortCutCode(0x25, true, true, false), 0x6025);
  EXPECT_EQ(ShortCutCode('Z', false, true, false), 0x405A);
  EXPECT_EQ(ShortCutCode('Z', true, true, false), 0x605A);
  EXPECT_EQ(ShortCutCode('Z', false, true, true), 0xC05A);
  EXPECT_EQ(ShortCutCode(0x25, true, true, true), 0xE025);
  for (std::uint16_t code : kFixedShortCuts) {
    EXPECT_EQ(code & 0x8000, 0) << "no fixed key uses Alt";
  }
}
