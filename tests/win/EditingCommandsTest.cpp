// The editing commands with real key presses and real menu clicks on the editor window.
#include "MainFormFixture.h"
#include "MenuDriver.h"

#include "common/Clock.h"
#include "common/Wide.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace morvi;
using namespace morvi::test;

namespace {

struct Selection {
  DWORD start = 0, end = 0;
};

Selection SelectionOf(const ui::Edit& e) {
  Selection s;
  SendMessageW(e.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&s.start),
               reinterpret_cast<LPARAM>(&s.end));
  return s;
}

// Records the key presses that reach a field.
class KeyRecorder {
public:
  explicit KeyRecorder(HWND field) : field_(field) {
    SetWindowSubclass(field_, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  ~KeyRecorder() { RemoveWindowSubclass(field_, Proc, 1); }
  std::vector<WPARAM> keys;

private:
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
    // The modifier keys themselves, and the tests' end-of-input marker, do not count.
    const bool modifier = wp == VK_SHIFT || wp == VK_CONTROL || wp == VK_MENU || wp == VK_F24;
    if ((m == WM_KEYDOWN || m == WM_SYSKEYDOWN) && !modifier) {
      reinterpret_cast<KeyRecorder*>(self)->keys.push_back(wp);
    }
    return DefSubclassProc(w, m, wp, lp);
  }
  HWND field_;
};

class EditingTest : public MainFormTest {
protected:
  void SetUp() override {
    MainFormTest::SetUp();
    ShowInFront();
  }

  // Types the text into the focused field and puts the caret at index with the keyboard.
  void TypeWithCaretAt(const std::u16string& text, int index) {
    TypeText(text);
    PressKey(VK_HOME);
    for (int i = 0; i < index; ++i) {
      PressKey(VK_RIGHT);
    }
  }

  // The screen rectangle of the editing menu's item at position pos, while the menu is open.
  RECT ItemRect(int pos) {
    RECT r{};
    // With no window given, the system finds the open popup menu's own window.
    GetMenuItemRect(nullptr, F().PPEdit->Handle(), static_cast<UINT>(pos), &r);
    return r;
  }
};

struct KeyCase {
  const char* name;
  WORD vk;
  const char16_t* text;
  DWORD caret;
  const char16_t* clipboard; // nullptr: the clipboard keeps what it held
};

} // namespace

TEST_F(EditingTest, CaretCommandKeysOnAbcdefWithTheCaretAfterB) {
  const KeyCase cases[] = {
      {"delete before", VK_LEFT, u"cdef", 0, nullptr},
      {"delete after", VK_RIGHT, u"ab", 2, nullptr},
      {"cut before", VK_UP, u"cdef", 0, u"ab"},
      {"cut after", VK_DOWN, u"ab", 2, u"cdef"},
      {"swap", VK_HOME, u"cdefab", 4, nullptr},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(PutOnClipboard(u"untouched"));
    F().EditName->SetText(u"");
    TypeWithCaretAt(u"abcdef", 2);
    PressKey(c.vk, {VK_SHIFT, VK_CONTROL});
    EXPECT_EQ(F().EditName->Text(), c.text);
    const Selection s = SelectionOf(*F().EditName);
    EXPECT_EQ(s.start, c.caret);
    EXPECT_EQ(s.end, c.caret);
    EXPECT_TRUE(F().EditName->Focused());
    EXPECT_EQ(ClipboardText(), c.clipboard ? c.clipboard : u"untouched");
  }
}

TEST_F(EditingTest, CaretCommandsActOnTheExtensionWhenItWasEnteredLast) {
  F().EditExt->SetFocus();
  TypeWithCaretAt(u"tar.gz", 3);
  PressKey(VK_RIGHT, {VK_SHIFT, VK_CONTROL});
  EXPECT_EQ(F().EditExt->Text(), u"tar");
  EXPECT_EQ(F().EditName->Text(), u"");
}

TEST_F(EditingTest, KeysOfCommandsThatDoNotApplyAreSwallowed) {
  KeyRecorder rec(F().EditName->Handle());
  // The caret at the end: swap does not apply; reaching the field, the key would select to the
  // start.
  TypeWithCaretAt(u"abcdef", 6);
  rec.keys.clear();
  PressKey(VK_HOME, {VK_SHIFT, VK_CONTROL});
  PressKey(VK_RIGHT, {VK_SHIFT, VK_CONTROL});
  PressKey(VK_DOWN, {VK_SHIFT, VK_CONTROL});
  EXPECT_EQ(F().EditName->Text(), u"abcdef");
  EXPECT_EQ(SelectionOf(*F().EditName).start, 6u);
  // The caret at 0: nothing before it.
  PressKey(VK_HOME);
  rec.keys.clear();
  PressKey(VK_LEFT, {VK_SHIFT, VK_CONTROL});
  PressKey(VK_UP, {VK_SHIFT, VK_CONTROL});
  PressKey(VK_HOME, {VK_SHIFT, VK_CONTROL});
  EXPECT_EQ(F().EditName->Text(), u"abcdef");
  const Selection s = SelectionOf(*F().EditName);
  EXPECT_EQ(s.start, 0u);
  EXPECT_EQ(s.end, 0u);
  EXPECT_TRUE(rec.keys.empty()) << rec.keys.size() << " keys reached the field";
  // An empty field: all five are disabled.
  F().EditName->SetText(u"");
  for (WORD vk : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME}) {
    PressKey(vk, {VK_SHIFT, VK_CONTROL});
  }
  EXPECT_EQ(F().EditName->Text(), u"");
  EXPECT_TRUE(rec.keys.empty());
}

TEST_F(EditingTest, RestorePutsBackTheCapturedPartOfTheFieldEnteredLast) {
  F().EditPath->SetText(u"C:\\docs\\report.txt");
  F().SplitPathToFields();
  F().EditName->SetText(u"");
  TypeText(u"report-final");
  F().UpdateEditMenu();
  EXPECT_TRUE(F().PPUndo->Enabled());
  PressKey('Z', {VK_CONTROL});
  EXPECT_EQ(F().EditName->Text(), u"report");
  EXPECT_EQ(SelectionOf(*F().EditName).end, 0u);
  EXPECT_EQ(F().EditExt->Text(), u"txt");

  F().EditExt->SetFocus();
  F().EditExt->SetText(u"");
  TypeText(u"md");
  EXPECT_EQ(F().EditName->Text(), u"report");
  PressKey('Z', {VK_CONTROL});
  EXPECT_EQ(F().EditExt->Text(), u"txt");
  EXPECT_EQ(F().EditName->Text(), u"report");
}

TEST_F(EditingTest, RestoreThatChangesNothingIsDisabledAndItsKeySwallowed) {
  F().EditPath->SetText(u"main.c");
  F().SplitPathToFields();
  F().EditExt->SetFocus();
  PressKey(VK_END);
  TypeText(u"x");
  PressKey(VK_BACK); // the field's own undo would bring the x back
  ASSERT_EQ(F().EditExt->Text(), u"c");
  F().UpdateEditMenu();
  EXPECT_FALSE(F().PPUndo->Enabled());
  PressKey('Z', {VK_CONTROL});
  EXPECT_EQ(F().EditExt->Text(), u"c");
}

TEST_F(EditingTest, WithNothingCapturedRestoreEmptiesWhatWasTyped) {
  F().UpdateEditMenu();
  EXPECT_FALSE(F().PPUndo->Enabled());
  TypeText(u"typed");
  F().UpdateEditMenu();
  EXPECT_TRUE(F().PPUndo->Enabled());
  PressKey('Z', {VK_CONTROL});
  EXPECT_EQ(F().EditName->Text(), u"");
}

TEST_F(EditingTest, KeysWithOtherModifiersReachTheField) {
  TypeWithCaretAt(u"abcdef", 3);
  KeyRecorder rec(F().EditName->Handle());
  PressKey('Z', {VK_SHIFT, VK_CONTROL});
  PressKey('Z', {VK_CONTROL, VK_MENU});
  PressKey(VK_LEFT, {VK_SHIFT, VK_CONTROL, VK_MENU});
  EXPECT_EQ(std::count(rec.keys.begin(), rec.keys.end(), 'Z'), 2);
  EXPECT_EQ(std::count(rec.keys.begin(), rec.keys.end(), VK_LEFT), 1);
  rec.keys.clear();
  PressKey(VK_LEFT, {VK_SHIFT, VK_CONTROL}); // a fixed key: never reaches the field
  EXPECT_EQ(std::count(rec.keys.begin(), rec.keys.end(), VK_LEFT), 0);
}

TEST_F(EditingTest, CtrlIConvertsTheBaseNameLikeItsMenuItem) {
  TypeText(u"a/b\\c");
  PressKey('I', {VK_CONTROL});
  EXPECT_EQ(F().EditName->Text(), u"a\uFF0Fb\uFFE5c");
  PressKey('I', {VK_CONTROL}); // nothing left to convert: swallowed, nothing typed
  EXPECT_EQ(F().EditName->Text(), u"a\uFF0Fb\uFFE5c");
}

TEST_F(EditingTest, MenuEnablesOnlyWhatApplies) {
  struct Case {
    const char* what;
    const char16_t* name;
    int caret;
    bool before, after, invalid;
  };
  const Case cases[] = {
      {"middle", u"abcdef", 2, true, true, false},
      {"caret at 0", u"abcdef", 0, false, true, false},
      {"caret at the end", u"abcdef", 6, true, false, false},
      {"empty", u"", 0, false, false, false},
      {"slash", u"a/b", 1, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    F().EditName->SetText(u"");
    TypeWithCaretAt(c.name, c.caret);
    F().UpdateEditMenu();
    EXPECT_EQ(F().PPCaretCutBefore->Enabled(), c.before);
    EXPECT_EQ(F().PPCaretCopyBefore->Enabled(), c.before);
    EXPECT_EQ(F().PPCaretCutAfter->Enabled(), c.after);
    EXPECT_EQ(F().PPCaretCopyAfter->Enabled(), c.after);
    EXPECT_EQ(F().PPCaretXch->Enabled(), c.before && c.after);
    EXPECT_EQ(F().PPInvalidCha->Enabled(), c.invalid);
    EXPECT_TRUE(F().PPDate1->Enabled());
    EXPECT_TRUE(F().PPNote->Enabled());
  }
}

// Through the real menu: the Edit button opens it at its computed point, the caret of the field
// is where it was before the click took the focus, and an item chosen with the mouse runs.
TEST_F(EditingTest, EditButtonOpensTheMenuAtItsPointAndItsItemsAct) {
  SetClock([] { return LocalDate{2025, 6, 9}; });
  TypeWithCaretAt(u"abcd", 2);
  F().EditExt->SetFocus(); // the extension was entered last; the date still goes to the name

  RECT menuRect{};
  std::u16string date1, date2;
  {
    MenuDriver driver([&](HWND menu) {
      GetWindowRect(menu, &menuRect);
      date1 = F().PPDate1->Caption();
      date2 = F().PPDate2->Caption();
      const RECT item = ItemRect(11); // the second date item
      MenuDriver::ClickAt({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    });
    F().BtnEdit->Click();
    EXPECT_TRUE(driver.Appeared());
  }
  const ui::Box frame = F().ScreenBounds();
  EXPECT_EQ(menuRect.left - frame.left, 225);
  EXPECT_EQ(menuRect.top - frame.top, 53);
  EXPECT_EQ(date1, u"2025年06月09日");
  EXPECT_EQ(date2, u"2025-06-09");
  EXPECT_EQ(F().EditName->Text(), u"ab2025-06-09cd");
  EXPECT_EQ(F().EditExt->Text(), u"");
  SetClock(nullptr);
}

TEST_F(EditingTest, CaretCommandFromTheMenuUsesTheCaretFromBeforeTheButtonClick) {
  TypeWithCaretAt(u"abcdef", 2);
  F().EditName->SetFocus();
  {
    MenuDriver driver([](HWND) { MenuDriver::Press('X'); }); // swap, by its access key
    // A real click on the button moves the focus away from the field first.
    const ui::Box b = F().BtnEdit->Bounds();
    POINT p{b.left + b.width / 2, b.top + b.height / 2};
    ClientToScreen(F().PanelBtn->Handle(), &p);
    MenuDriver::ClickAt(p);
    SettleInput();
    EXPECT_TRUE(driver.Appeared());
  }
  EXPECT_EQ(F().EditName->Text(), u"cdefab");
  EXPECT_EQ(SelectionOf(*F().EditName).end, 4u);
  EXPECT_TRUE(F().EditName->Focused());
}

TEST_F(EditingTest, ClearButtonEmptiesTheNameAndFocusesIt) {
  TypeText(u"report");
  F().EditExt->SetFocus();
  F().BtnNameClear->Click();
  EXPECT_EQ(F().EditName->Text(), u"");
  EXPECT_TRUE(F().EditName->Focused());
  EXPECT_EQ(In().MEdit(), F().EditName);
  EXPECT_FALSE(F().BtnNameClear->Enabled());
}

TEST_F(EditingTest, EnteringAFieldMakesItTheTarget) {
  EXPECT_EQ(In().MEdit(), F().EditName) << "each show starts with the base name";
  PressKey(VK_TAB);
  EXPECT_EQ(In().MEdit(), F().EditExt);
  PressKey(VK_TAB);
  EXPECT_EQ(In().MEdit(), F().EditExt) << "the focus on a button keeps the target";
  F().EditName->SetFocus();
  EXPECT_EQ(In().MEdit(), F().EditName);
}
