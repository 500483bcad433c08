// The two popup menus as the system holds them: items, captions, kinds and states.
#include "MainFormFixture.h"

#include "common/Wide.h"

#include <string>
#include <vector>

using namespace morvi;
using namespace morvi::test;

namespace {

struct ItemState {
  std::u16string text;
  bool separator = false;
  bool radio = false;
  bool checked = false;
  bool enabled = true;
  HMENU sub = nullptr;
};

std::vector<ItemState> Read(HMENU menu) {
  std::vector<ItemState> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t buf[256] = {};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STRING | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
    mii.dwTypeData = buf;
    mii.cch = 256;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
    items.push_back({U16(buf), (mii.fType & MFT_SEPARATOR) != 0, (mii.fType & MFT_RADIOCHECK) != 0,
                     (mii.fState & MFS_CHECKED) != 0, (mii.fState & MFS_DISABLED) == 0,
                     mii.hSubMenu});
  }
  return items;
}

} // namespace

TEST_F(MainFormTest, SettingsMenuHoldsItsItemsAndSubmenus) {
  const std::vector<ItemState> top = Read(F().PPConfig->Handle());
  ASSERT_EQ(top.size(), 4u);
  EXPECT_EQ(top[0].text, u"常に手前に表示");
  EXPECT_FALSE(top[0].checked);
  EXPECT_EQ(top[1].text, u"表示位置");
  EXPECT_EQ(top[2].text, u"非常駐(＊次回起動時から有効)");
  EXPECT_FALSE(top[2].checked);
  EXPECT_EQ(top[3].text, u"ホットキーの変更");

  const std::vector<ItemState> pos = Read(top[1].sub);
  ASSERT_EQ(pos.size(), 3u);
  const char16_t* posCaptions[] = {u"最後に閉じた位置", u"ダイアログの上に合わせる",
                                   u"ダイアログの下に合わせる"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(pos[i].text, posCaptions[i]);
    EXPECT_TRUE(pos[i].radio);
    EXPECT_EQ(pos[i].checked, i == 0) << "position 0 is checked at first";
    EXPECT_EQ(In().MPPPOS()[i]->Tag(), i);
  }

  const std::vector<ItemState> keys = Read(top[3].sub);
  ASSERT_EQ(keys.size(), 26u);
  for (int i = 0; i < 26; ++i) {
    EXPECT_EQ(keys[i].text, std::u16string(1, static_cast<char16_t>(u'A' + i)))
        << "bare letters, no access-key mark";
    EXPECT_TRUE(keys[i].radio);
    EXPECT_EQ(keys[i].checked, i == 'M' - 'A');
    EXPECT_EQ(In().MPPHotkey()[i]->Tag(), i);
  }
}

TEST_F(MainFormTest, EditingMenuHoldsItsItemsInOrderWithTheirStates) {
  const std::vector<ItemState> items = Read(F().PPEdit->Handle());
  struct Expect {
    const char16_t* text; // nullptr for a separator
    bool enabled;
  };
  const Expect expected[] = {
      {u"キャレット位置より前を削除(&B) Shift+Ctrl+←", false},
      {u"キャレット位置より後ろを削除(&A)  Shift+Ctrl+→", false},
      {u"キャレット位置より前を切り取り(&D) Shift+Ctrl+↑", false},
      {u"キャレット位置より後ろを切り取り(&C) Shift+Ctrl+↓", false},
      {u"キャレット位置より前と後ろを入れ替え(&X) Shift+Ctrl+Home", false},
      {nullptr, true},
      {u"ファイル名に使えない文字を全角に変換(&I) Ctrl+I\tCtrl+I", false},
      {nullptr, true},
      {u"元の名前を入力(&Z) Ctrl+Z", false},
      {nullptr, true},
      {u"", true},
      {u"", true},
      {nullptr, true},
      {u"単語帳(&N)", true},
  };
  ASSERT_EQ(items.size(), std::size(expected));
  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(items[i].separator, expected[i].text == nullptr);
    if (expected[i].text) {
      EXPECT_EQ(items[i].text, expected[i].text);
      EXPECT_EQ(items[i].enabled, expected[i].enabled);
    }
  }
  EXPECT_EQ(In().MPPDate()[1], F().PPDate1);
  EXPECT_EQ(In().MPPDate()[2], F().PPDate2);
  EXPECT_EQ(F().PPDate1->Tag(), 1);
  EXPECT_EQ(F().PPDate2->Tag(), 2);
}

TEST_F(MainFormTest, PositionItemsAlwaysEndChecked) {
  F().PPPOS2->Click();
  EXPECT_EQ(In().MPOSC(), 2);
  EXPECT_TRUE(F().PPPOS2->Checked());
  EXPECT_FALSE(F().PPPOS0->Checked());
  F().PPPOS2->Click(); // the click toggles the mark off; the handler checks it again
  EXPECT_TRUE(F().PPPOS2->Checked());
  const std::vector<ItemState> pos = Read(F().PPPos->SubMenu());
  EXPECT_FALSE(pos[0].checked);
  EXPECT_FALSE(pos[1].checked);
  EXPECT_TRUE(pos[2].checked);
}

TEST_F(MainFormTest, ConvertItemTurnsTheBaseNameFullWidthOnly) {
  F().EditName->SetText(u"a/b\\c\"d");
  F().EditExt->SetText(u"t*t");
  F().PPInvalidCha->SetEnabled(true);
  F().PPInvalidCha->Click();
  EXPECT_EQ(F().EditName->Text(), u"a\uFF0Fb\uFFE5c\"d");
  EXPECT_EQ(F().EditExt->Text(), u"t*t") << "the extension is never converted";
}
