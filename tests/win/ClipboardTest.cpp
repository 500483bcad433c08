// SetClipboardText on the real clipboard: the text and its owner, and a clipboard that another
// process (peer.exe) keeps open.
#include "common/Clipboard.h"
#include "ChildProcess.h"
#include "WinTest.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <optional>

using namespace morvi;
using namespace morvi::test;

namespace {

// The clipboard's CF_UNICODETEXT memory as UTF-16 units, all of them (a trailing NUL and any
// rounding included); nothing when there is no such text.
std::optional<std::u16string> ClipboardUnits() {
  if (!PumpUntil([] { return OpenClipboard(nullptr) != FALSE; }, 5000)) {
    ADD_FAILURE() << "the clipboard did not open";
    return std::nullopt;
  }
  std::optional<std::u16string> units;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const char16_t*>(GlobalLock(h))) {
      units.emplace(p, GlobalSize(h) / sizeof(char16_t));
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return units;
}

// The clipboard's text up to its first NUL.
std::u16string ClipboardText() {
  const std::optional<std::u16string> units = ClipboardUnits();
  return units ? units->substr(0, units->find(u'\0')) : u"(no text)";
}

class ClipboardTest : public testing::Test {
protected:
  void SetUp() override { ui::Application::Instance().Initialize(); }
  // The owner that Morvi gives: its hidden application window.
  static HWND Owner() { return ui::Application::Instance().Handle(); }

  // Starts peer.exe holding the clipboard open until release is set or holdMs have passed.
  void HoldClipboardElsewhere(int holdMs) {
    ASSERT_TRUE(peer_.Start(u"peer.exe", {u"clipboard-hold", ready_.Name(), release_.Name(),
                                          FromUtf8(std::to_string(holdMs))}));
    ASSERT_TRUE(ready_.Wait(15000)) << "peer.exe never held the clipboard";
  }

  // How long f takes, in milliseconds.
  template <class F>
  static DWORD Timed(F f) {
    const DWORD start = GetTickCount();
    f();
    return GetTickCount() - start;
  }

  NamedEvent ready_;
  NamedEvent release_;
  ChildProcess peer_;
};

TEST_F(ClipboardTest, PlacesEveryUnitAndANulOwnedByTheGivenWindow) {
  const std::u16string text(u"名前\0abc", 6); // a NUL inside travels along
  ASSERT_TRUE(SetClipboardText(Owner(), text));
  EXPECT_EQ(GetClipboardOwner(), ui::Application::Instance().Handle());
  const std::optional<std::u16string> units = ClipboardUnits();
  ASSERT_TRUE(units);
  ASSERT_GE(units->size(), text.size() + 1);
  EXPECT_EQ(units->substr(0, text.size() + 1), text + u'\0');

  ASSERT_TRUE(SetClipboardText(Owner(), u""));
  EXPECT_EQ(ClipboardText(), u"");
}

TEST_F(ClipboardTest, GivesUpAfterHalfASecondWhileAnotherProgramHoldsIt) {
  ASSERT_TRUE(SetClipboardText(Owner(), u"before"));
  ASSERT_NO_FATAL_FAILURE(HoldClipboardElsewhere(20000));
  bool placed = true;
  const DWORD took = Timed([&] { placed = SetClipboardText(Owner(), u"after"); });
  EXPECT_FALSE(placed);
  EXPECT_GE(took, 450u) << "five attempts, 100 ms apart";
  EXPECT_LT(took, 2000u);
  release_.Set();
  ASSERT_TRUE(peer_.WaitForExit(5000));
  EXPECT_EQ(peer_.ExitCode(), 0u);
  EXPECT_EQ(ClipboardText(), u"before") << "the clipboard is unchanged";
}

TEST_F(ClipboardTest, TakesAClipboardReleasedDuringTheAttempts) {
  ASSERT_TRUE(SetClipboardText(Owner(), u"before"));
  ASSERT_NO_FATAL_FAILURE(HoldClipboardElsewhere(250));
  bool placed = false;
  const DWORD took = Timed([&] { placed = SetClipboardText(Owner(), u"after"); });
  EXPECT_TRUE(placed);
  EXPECT_GE(took, 90u) << "the first attempt met the held clipboard";
  EXPECT_EQ(ClipboardText(), u"after");
  ASSERT_TRUE(peer_.WaitForExit(5000));
}

} // namespace
