// The helpers over Morvi's own controls, on real windows: the caret index of an edit field that
// has or had the focus, inserting at it, and the list box's horizontal extent.
#include "TestWindows.h"
#include "ui/Application.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/ListBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

using namespace morvi;
using namespace morvi::test;

namespace {

// A small form of ours: one edit field and a button after it in the Tab order.
class CaretForm : public ui::Form {
public:
  CaretForm(std::u16string cls, int left) : Form(std::move(cls), u"CaretForm") {
    Design& d = DesignOf();
    d.clientWidth = 320;
    d.clientHeight = 80;
    d.hasPosition = true;
    d.left = left;
    d.top = 100;
    d.title = u"caret";
    EditName = &Make<ui::Edit>(*this, u"EditName", ui::Box{8, 8, 300, 21}, ui::Align::None);
    EditName->SetTabStop(true);
    EditName->SetTabOrder(0);
    BtnOK = &Make<ui::Button>(*this, u"BtnOK", ui::Box{8, 40, 80, 24}, ui::Align::None);
    BtnOK->SetTabOrder(1);
    BtnOK->SetCaption(u"OK");
  }

  ui::Edit* EditName = nullptr;
  ui::Button* BtnOK = nullptr;
};

std::pair<DWORD, DWORD> Selection(const ui::Edit& e) {
  DWORD start = 0, end = 0;
  SendMessageW(e.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

class EditFieldTest : public testing::Test {
protected:
  void SetUp() override {
    ui::Application::Instance().Initialize();
    form_ = std::make_unique<CaretForm>(u"MorviCaretForm", 100);
    form_->CreateWindowHandle();
    ASSERT_NE(form_->Handle(), nullptr);
    form_->Show();
    ASSERT_TRUE(BringToForeground(form_->Handle()));
    Edit().SetFocus();
    ASSERT_TRUE(PumpUntil([this] { return Edit().Focused(); }));
  }

  // Sets the text, then walks the caret to index with real key presses (no typing), so
  // that the field itself knows where its caret is.
  void PutCaret(const std::u16string& text, std::size_t index) {
    Edit().SetText(text);
    PressKey(VK_HOME);
    for (std::size_t i = 0; i < index; ++i) {
      PressKey(VK_RIGHT);
    }
    ASSERT_EQ(Selection(Edit()), std::make_pair(DWORD(index), DWORD(index)));
  }

  void TabToButton() {
    PressKey(VK_TAB);
    ASSERT_TRUE(form_->BtnOK->Focused());
  }

  ui::Edit& Edit() { return *form_->EditName; }

  std::unique_ptr<CaretForm> form_;
};

// ---- CaretCharIndex ----

enum class FocusGoes { Nowhere, ToButton, ToPopupMenu, ToOtherWindow };

struct CaretCase {
  const char* name;
  FocusGoes where;
};

void PrintTo(const CaretCase& c, std::ostream* os) {
  *os << c.name;
}

class CaretCharIndexTest : public EditFieldTest, public testing::WithParamInterface<CaretCase> {
protected:
  // Opens a popup menu over the form and picks its one item from a second thread, as a user
  // would; returns the chosen command.
  UINT PickFromPopupMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"item");
    std::atomic<bool> done{false};
    std::thread user([&done] {
      const DWORD start = GetTickCount();
      while (!done && GetTickCount() - start < 5000) {
        HWND m = FindWindowW(L"#32768", nullptr);
        if (m && IsWindowVisible(m)) {
          INPUT in[4] = {};
          const WORD keys[2] = {VK_DOWN, VK_RETURN};
          for (int i = 0; i < 4; ++i) {
            in[i].type = INPUT_KEYBOARD;
            in[i].ki.wVk = keys[i / 2];
            in[i].ki.dwFlags = (i % 2) ? KEYEVENTF_KEYUP : 0;
          }
          SendInput(4, in, sizeof(INPUT));
          return;
        }
        Sleep(5);
      }
    });
    RECT r{};
    GetWindowRect(form_->Handle(), &r);
    const UINT chosen =
        static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                         r.left + 20, r.top + 40, 0, form_->Handle(), nullptr));
    done = true;
    user.join();
    DestroyMenu(menu);
    return chosen;
  }
};

TEST_P(CaretCharIndexTest, IsWhereTheCaretStoodAfterTheFocusLeft) {
  ASSERT_NO_FATAL_FAILURE(PutCaret(u"abc名前def", 5));
  std::unique_ptr<CaretForm> other;
  switch (GetParam().where) {
  case FocusGoes::Nowhere:
    break;
  case FocusGoes::ToButton:
    ASSERT_NO_FATAL_FAILURE(TabToButton());
    break;
  case FocusGoes::ToPopupMenu:
    ASSERT_EQ(PickFromPopupMenu(), 1u) << "the menu ran and its item was chosen";
    break;
  case FocusGoes::ToOtherWindow:
    other = std::make_unique<CaretForm>(u"MorviOtherForm", 500);
    other->CreateWindowHandle();
    other->Show();
    ASSERT_TRUE(BringToForeground(other->Handle()));
    other->EditName->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return other->EditName->Focused(); }));
    ASSERT_FALSE(Edit().Focused());
    break;
  }
  EXPECT_EQ(CaretCharIndex(Edit()), 5);
}

INSTANTIATE_TEST_SUITE_P(
    Focus, CaretCharIndexTest,
    testing::Values(CaretCase{"StillInTheField", FocusGoes::Nowhere},
                    CaretCase{"ToAButton", FocusGoes::ToButton},
                    CaretCase{"ToAPopupMenu", FocusGoes::ToPopupMenu},
                    CaretCase{"ToAnotherOfOurWindows", FocusGoes::ToOtherWindow}),
    [](const testing::TestParamInfo<CaretCase>& i) { return std::string(i.param.name); });

// ---- InsertAtCaret ----

struct InsertCase {
  const char* name;
  std::u16string text;
  std::size_t caret;
  bool focusAway;         // the focus went to the button before the insertion
  std::u16string shorter; // the program then sets this shorter text (when not empty)
  std::u16string insert;
  std::u16string expected;
  int changes;
};

void PrintTo(const InsertCase& c, std::ostream* os) {
  *os << c.name;
}

class InsertAtCaretTest : public EditFieldTest, public testing::WithParamInterface<InsertCase> {};

TEST_P(InsertAtCaretTest, SplicesTheTextInAtTheCaret) {
  const InsertCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(PutCaret(c.text, c.caret));
  if (c.focusAway) {
    ASSERT_NO_FATAL_FAILURE(TabToButton());
  }
  if (!c.shorter.empty()) {
    Edit().SetText(c.shorter);
  }
  int changes = 0;
  Edit().OnChange = [&changes](ui::Component&) { ++changes; };
  InsertAtCaret(Edit(), c.insert);
  EXPECT_EQ(Edit().Text(), c.expected);
  EXPECT_EQ(changes, c.changes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InsertAtCaretTest,
    testing::Values(InsertCase{"AtTheFront", u"abc", 0, true, u"", u"X", u"Xabc", 1},
                    InsertCase{"InTheMiddleWhileFocused", u"abcdef", 2, false, u"", u"名前",
                               u"ab名前cdef", 1},
                    InsertCase{"InTheMiddleAfterTheFocusLeft", u"abcdef", 4, true, u"", u"名前",
                               u"abcd名前ef", 1},
                    InsertCase{"AtTheEnd", u"abc", 3, true, u"", u"XY", u"abcXY", 1},
                    // The caret stood at 6; the text was then cut to two characters.
                    InsertCase{"BeyondTheEndAppends", u"abcdef", 6, true, u"ab", u"X", u"abX", 1},
                    InsertCase{"EmptyTextChangesNothing", u"abc", 1, true, u"", u"", u"abc", 0}),
    [](const testing::TestParamInfo<InsertCase>& i) { return std::string(i.param.name); });

// ---- FitListBoxExtent ----

class ListBoxTest : public testing::Test {
protected:
  void SetUp() override {
    ui::Application::Instance().Initialize();
    parent_ = MakeTopWindow(WS_OVERLAPPEDWINDOW, 100, 100, 300, 200);
    list_ = MakeWindow(L"LISTBOX", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | LBS_NOTIFY, 0,
                       0, 200, 150, parent_.Get());
    ASSERT_TRUE(list_);
    // A large font of its own, so that measuring with any other font would give another width.
    font_.Reset(CreateFontW(-32, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                            L"Tahoma"));
    SendMessageW(list_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    SendMessageW(list_.Get(), LB_SETHORIZONTALEXTENT, 777, 0);
  }

  LRESULT Extent() const { return SendMessageW(list_.Get(), LB_GETHORIZONTALEXTENT, 0, 0); }

  static LONG Width(HFONT font, const std::u16string& s) {
    HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    SIZE size{};
    GetTextExtentPoint32W(dc, W(s), static_cast<int>(s.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
  }

  WindowHandle parent_;
  WindowHandle list_;
  FontHandle font_;
};

TEST_F(ListBoxTest, EmptyListHasNoExtent) {
  ui::FitListBoxExtent(list_.Get());
  EXPECT_EQ(Extent(), 0);
}

TEST_F(ListBoxTest, ExtentIsTwiceTheWidestItemInTheListsFont) {
  const std::u16string items[] = {u"i", u"名前を付けて保存の長い項目", u"WWWW"};
  for (const std::u16string& s : items) {
    SendMessageW(list_.Get(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(s)));
  }
  const LONG widest = Width(font_.Get(), items[1]);
  ASSERT_GT(widest, Width(font_.Get(), items[2]));
  ASSERT_NE(widest, Width(nullptr, items[1])) << "the fonts must tell apart";
  ui::FitListBoxExtent(list_.Get());
  EXPECT_EQ(Extent(), 2 * widest);
}

} // namespace
