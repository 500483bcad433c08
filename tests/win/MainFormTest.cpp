// The editor window as the user meets it: found by its class and title, laid out as designed,
// its keyboard navigation, and the judging of the name as it is edited.
#include "MainFormFixture.h"

#include <commctrl.h>

#include <string>

using namespace morvi;
using namespace morvi::test;
using ui::Box;

namespace {

struct Placed {
  const char* what;
  ui::Control* control;
  Box box;
};

void PrintBoxMismatch(const Placed& p, const Box& got) {
  ADD_FAILURE() << p.what << " is at {" << got.left << ", " << got.top << ", " << got.width << ", "
                << got.height << "}, designed {" << p.box.left << ", " << p.box.top << ", "
                << p.box.width << ", " << p.box.height << "}";
}

void ExpectPlaced(const std::initializer_list<Placed>& all) {
  for (const Placed& p : all) {
    const Box got = p.control->Bounds();
    if (!(got == p.box)) {
      PrintBoxMismatch(p, got);
    }
  }
}

Box ClientBox(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return {r.left, r.top, r.right, r.bottom};
}

} // namespace

TEST_F(MainFormTest, OtherProgramsFindItByClassAndTitle) {
  EXPECT_EQ(FindWindowW(L"TMainForm", L"Morvi"), F().Handle());
  EXPECT_EQ(WindowText(F().Handle()), u"Morvi");
  EXPECT_FALSE(IsWindowVisible(F().Handle())) << "created hidden";
}

TEST_F(MainFormTest, FrameIsSizableWithMinimiseButNoMaximiseOrHelp) {
  const LONG_PTR style = GetWindowLongPtrW(F().Handle(), GWL_STYLE);
  const LONG_PTR ex = GetWindowLongPtrW(F().Handle(), GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(ex & WS_EX_CONTEXTHELP);
  EXPECT_TRUE(ex & WS_EX_APPWINDOW) << "the editor window has the task-bar button";
  EXPECT_NE(GetClassLongPtrW(F().Handle(), GCLP_HICON), 0u) << "the application's icon";
}

TEST_F(MainFormTest, ControlsStandWhereDesignedAt96Dpi) {
  ASSERT_EQ(F().Dpi(), 96) << "the virtual display runs at 96 DPI";
  EXPECT_EQ(ClientBox(F().Handle()), (Box{0, 0, 822, 108}));
  const ui::Box outer = F().ScreenBounds();
  EXPECT_EQ(outer.left, 284);
  EXPECT_EQ(outer.top, 150);
  ExpectPlaced({
      {"PanelEdit", F().PanelEdit, {0, 0, 822, 78}},
      {"EditPath", F().EditPath, {1, 1, 820, 21}},
      {"EditName", F().EditName, {1, 22, 820, 21}},
      {"Labelpiriodo", F().Labelpiriodo, {1, 43, 820, 13}},
      {"EditExt", F().EditExt, {1, 56, 820, 21}},
      {"PanelBtn", F().PanelBtn, {0, 78, 822, 30}},
      {"BtnOption", F().BtnOption, {1, 1, 150, 28}},
      {"BtnNameClear", F().BtnNameClear, {151, 1, 150, 28}},
      {"BtnEdit", F().BtnEdit, {301, 1, 150, 28}},
      {"CHKSave", F().CHKSave, {424, 1, 97, 28}},
      {"BtnOK", F().BtnOK, {521, 1, 150, 28}},
      {"BtnCancel", F().BtnCancel, {671, 1, 150, 28}},
  });
}

// As designed, the press-Save box overlaps the right end of the Edit button; the box lies on
// top, so that its square and caption can be seen and clicked.
TEST_F(MainFormTest, TheCheckBoxLiesOverTheEditButtonWhereTheyOverlap) {
  const POINT inOverlap{440, 14}; // in the button row, between 424 and 451
  EXPECT_EQ(ChildWindowFromPointEx(F().PanelBtn->Handle(), inOverlap, CWP_SKIPINVISIBLE),
            F().CHKSave->Handle());
  const POINT onlyButton{400, 14};
  EXPECT_EQ(ChildWindowFromPointEx(F().PanelBtn->Handle(), onlyButton, CWP_SKIPINVISIBLE),
            F().BtnEdit->Handle());
}

TEST_F(MainFormTest, WideningStretchesTheFieldsAndKeepsTheRightButtonsPacked) {
  const Box before = F().ScreenBounds();
  F().SetWidth(before.width + 200);
  EXPECT_EQ(ClientBox(F().Handle()), (Box{0, 0, 1022, 108}));
  ExpectPlaced({
      {"EditPath", F().EditPath, {1, 1, 1020, 21}},
      {"EditName", F().EditName, {1, 22, 1020, 21}},
      {"Labelpiriodo", F().Labelpiriodo, {1, 43, 1020, 13}},
      {"EditExt", F().EditExt, {1, 56, 1020, 21}},
      {"BtnOption", F().BtnOption, {1, 1, 150, 28}},
      {"BtnEdit", F().BtnEdit, {301, 1, 150, 28}},
      {"CHKSave", F().CHKSave, {624, 1, 97, 28}},
      {"BtnOK", F().BtnOK, {721, 1, 150, 28}},
      {"BtnCancel", F().BtnCancel, {871, 1, 150, 28}},
  });
  F().SetWidth(before.width - 100);
  ExpectPlaced({{"EditName", F().EditName, {1, 22, 720, 21}},
                {"BtnCancel", F().BtnCancel, {571, 1, 150, 28}}});
}

TEST_F(MainFormTest, HeightStaysFixedWhateverAsksToChangeIt) {
  const Box before = F().ScreenBounds();
  F().SetHeight(before.height + 80);
  EXPECT_EQ(F().ScreenBounds().height, before.height);
  SetWindowPos(F().Handle(), nullptr, 0, 0, before.width + 40, before.height - 30,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(F().ScreenBounds().height, before.height);
  EXPECT_EQ(F().ScreenBounds().width, before.width + 40) << "the width may change";

  // What the system's sizing loop asks before it lets a border be dragged.
  MINMAXINFO mmi{};
  mmi.ptMaxTrackSize = {5000, 5000};
  SendMessageW(F().Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  EXPECT_EQ(mmi.ptMinTrackSize.y, before.height);
  EXPECT_EQ(mmi.ptMaxTrackSize.y, before.height);
  EXPECT_EQ(mmi.ptMaxTrackSize.x, 5000) << "no limit on the width";
}

TEST_F(MainFormTest, CaptionsAndInitialStates) {
  struct Expect {
    ui::Control* c;
    const char16_t* caption;
    bool enabled;
  };
  for (const Expect& e :
       {Expect{F().BtnOption, u"設定(&S)", true},
        Expect{F().BtnNameClear, u"名前を消去(&C)", false}, Expect{F().BtnEdit, u"編集(&E)", true},
        Expect{F().CHKSave, u"保存ボタン", true}, Expect{F().BtnOK, u"OK[ENTER]", false},
        Expect{F().BtnCancel, u"キャンセル[ESC]", true},
        Expect{F().Labelpiriodo, u"\u3000\uFF0E\u3000", true}}) {
    EXPECT_EQ(WindowText(e.c->Handle()), e.caption) << testing::PrintToString(e.c->Name());
    EXPECT_EQ(IsWindowEnabled(e.c->Handle()) != 0, e.enabled)
        << testing::PrintToString(e.c->Name());
  }
  EXPECT_FALSE(F().CHKSave->Checked());
  for (ui::Edit* e : {F().EditPath, F().EditName, F().EditExt}) {
    EXPECT_EQ(e->Text(), u"");
  }
  EXPECT_TRUE(GetWindowLongPtrW(F().EditPath->Handle(), GWL_STYLE) & ES_READONLY);
  EXPECT_FALSE(GetWindowLongPtrW(F().EditName->Handle(), GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(GetWindowLongPtrW(F().BtnOK->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(F().EditName->Hint(), u"");
}

TEST_F(MainFormTest, WindowAndControlsTakeTheMenuFont) {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
  LOGFONTW used{};
  HFONT f = reinterpret_cast<HFONT>(SendMessageW(F().EditName->Handle(), WM_GETFONT, 0, 0));
  ASSERT_NE(f, nullptr);
  GetObjectW(f, sizeof used, &used);
  EXPECT_STREQ(used.lfFaceName, ncm.lfMenuFont.lfFaceName);
  EXPECT_EQ(used.lfHeight, ncm.lfMenuFont.lfHeight);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(F().BtnCancel->Handle(), WM_GETFONT, 0, 0)), f);
}

// Tab from the base name: extension, OK (when enabled), Cancel, Settings, Clear (when enabled),
// Edit, the check box, and round again; the path field is never reached.
TEST_F(MainFormTest, TabCyclesThroughTheControlsInDesignedOrder) {
  ShowInFront();
  const auto cycle = [this] {
    std::u16string seen;
    for (int i = 0; i < 9; ++i) {
      seen += FocusedName() + u" ";
      PressKey(VK_TAB);
    }
    return seen;
  };
  // No dialog was captured: OK, the clear button and the press-Save box are all disabled.
  EXPECT_EQ(cycle(), u"EditName EditExt BtnCancel BtnOption BtnEdit EditName EditExt BtnCancel "
                     u"BtnOption ");

  FakeCapturedDialog();
  F().CHKSave->SetEnabled(true); // as when the dialog's Save button was found
  F().EditName->SetFocus();
  F().EditName->SetText(u"report");
  ASSERT_TRUE(F().BtnOK->Enabled());
  ASSERT_TRUE(F().BtnNameClear->Enabled());
  EXPECT_EQ(cycle(), u"EditName EditExt BtnOK BtnCancel BtnOption BtnNameClear BtnEdit CHKSave "
                     u"EditName ");

  F().EditName->SetFocus();
  PressKey(VK_TAB, {VK_SHIFT});
  EXPECT_EQ(FocusedName(), u"CHKSave");
}

TEST_F(MainFormTest, EnterPressesOkOnlyWhileEnabledAndEscPressesCancel) {
  int ok = 0, cancel = 0;
  F().BtnOK->OnClick = [&](ui::Component&) { ++ok; };
  F().BtnCancel->OnClick = [&](ui::Component&) { ++cancel; };
  ShowInFront();

  PressKey(VK_RETURN);
  EXPECT_EQ(ok, 0) << "OK is disabled";

  FakeCapturedDialog();
  TypeText(u"report");
  ASSERT_TRUE(F().BtnOK->Enabled());
  PressKey(VK_RETURN);
  EXPECT_EQ(ok, 1) << "Enter in the base name";
  F().EditExt->SetFocus();
  PressKey(VK_RETURN);
  EXPECT_EQ(ok, 2) << "Enter in the extension";
  PressKey(VK_RETURN, {VK_SHIFT});
  PressKey(VK_RETURN, {VK_CONTROL});
  EXPECT_EQ(ok, 2) << "Enter with a modifier is not OK";

  PressKey(VK_ESCAPE);
  EXPECT_EQ(cancel, 1);
  EXPECT_EQ(ok, 2);

  // On another button, Enter presses that button.
  F().BtnCancel->SetFocus();
  PressKey(VK_RETURN);
  EXPECT_EQ(cancel, 2);
  EXPECT_EQ(ok, 2);
}

TEST_F(MainFormTest, AccessKeysPressTheirButtons) {
  int clears = 0;
  F().BtnNameClear->OnClick = [&](ui::Component&) { ++clears; };
  ShowInFront();
  PressKey('C', {VK_MENU});
  EXPECT_EQ(clears, 0) << "the clear button is disabled while the name is empty";
  TypeText(u"x");
  PressKey('C', {VK_MENU});
  EXPECT_EQ(clears, 1);
  EXPECT_EQ(F().EditName->Text(), u"x") << "Alt+C is no character for the field";
}

TEST_F(MainFormTest, OkStaysDisabledWithoutADialogWhileClearFollowsTheName) {
  ShowInFront();
  TypeText(u"abc");
  EXPECT_EQ(F().EditName->Text(), u"abc");
  EXPECT_FALSE(F().BtnOK->Enabled());
  EXPECT_TRUE(F().BtnNameClear->Enabled());
  EXPECT_EQ(F().EditName->Hint(), u"3");
  PressKey(VK_BACK);
  PressKey(VK_BACK);
  PressKey(VK_BACK);
  EXPECT_FALSE(F().BtnNameClear->Enabled());
  EXPECT_EQ(F().EditName->Hint(), u"0");
}

TEST_F(MainFormTest, NameChangesJudgeTheName) {
  FakeCapturedDialog();
  struct Case {
    const char16_t* name;
    const char16_t* ext;
    bool ok;
  };
  const Case cases[] = {
      {u"report", u"txt", true},  {u"report", u"", true},     {u"", u"profile", false},
      {u"a/b", u"txt", false},    {u"   ", u"txt", false},    {u"\u3000", u"txt", false},
      {u" \u3000", u"txt", true}, {u"say \"hi\"", u"", true}, {u"report", u"t*t", false},
      {u"report", u" . ", true},
  };
  for (const Case& c : cases) {
    F().EditName->SetText(c.name);
    F().EditExt->SetText(c.ext);
    EXPECT_EQ(F().BtnOK->Enabled(), c.ok) << testing::PrintToString(std::u16string(c.name)) << " . "
                                          << testing::PrintToString(std::u16string(c.ext));
  }
  // A dialog that is disabled or gone keeps OK disabled.
  F().EditName->SetText(u"fine");
  ASSERT_TRUE(F().BtnOK->Enabled());
  EnableWindow(dialog_, FALSE);
  F().EditName->SetText(u"fine2");
  EXPECT_FALSE(F().BtnOK->Enabled());
  EnableWindow(dialog_, TRUE);
  DestroyWindow(dialog_);
  dialog_ = nullptr;
  F().EditName->SetText(u"fine3");
  EXPECT_FALSE(F().BtnOK->Enabled());
}

TEST_F(MainFormTest, HintCountsUtf16UnitsAndIsTheRealTooltip) {
  F().EditName->SetText(u"a\U0001F600b");
  EXPECT_EQ(F().EditName->Hint(), u"4") << "a character outside the BMP counts 2";

  HWND tip = FindThreadWindow(TOOLTIPS_CLASSW);
  ASSERT_NE(tip, nullptr);
  wchar_t text[64] = {};
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = F().Handle();
  ti.uId = reinterpret_cast<UINT_PTR>(F().EditName->Handle());
  ti.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&ti));
  EXPECT_STREQ(text, L"4");
}

TEST_F(MainFormTest, SettingTheSameTextIsNoChange) {
  int changes = 0;
  const ui::NotifyEvent real = F().EditName->OnChange;
  F().EditName->OnChange = [&](ui::Component& s) {
    ++changes;
    real(s);
  };
  F().EditName->SetText(u"same");
  F().EditName->SetText(u"same");
  EXPECT_EQ(changes, 1);
  F().EditName->SetText(u"");
  EXPECT_EQ(changes, 2);
}

TEST_F(MainFormTest, TypingStopsAt256WhileTheProgramMaySetMore) {
  ShowInFront();
  TypeText(std::u16string(300, u'x'));
  EXPECT_EQ(F().EditName->TextLength(), 256u);
  F().EditExt->SetFocus();
  TypeText(std::u16string(260, u'y'));
  EXPECT_EQ(F().EditExt->TextLength(), 256u);

  const std::u16string longName(300, u'z');
  F().EditName->SetText(longName);
  EXPECT_EQ(F().EditName->Text(), longName);
  EXPECT_EQ(F().EditName->Hint(), u"300");
}

TEST_F(MainFormTest, SplitFillsBothFieldsFromThePath) {
  F().EditPath->SetText(u"C:\\work\\archive.tar.gz");
  F().SplitPathToFields();
  EXPECT_EQ(F().EditName->Text(), u"archive.tar");
  EXPECT_EQ(F().EditExt->Text(), u"gz");
  F().EditPath->SetText(u"");
  F().SplitPathToFields();
  EXPECT_EQ(F().EditName->Text(), u"");
  EXPECT_EQ(F().EditExt->Text(), u"");
  EXPECT_FALSE(F().BtnNameClear->Enabled());
}

// Moving to a monitor of another resolution: the system sends WM_DPICHANGED with the new DPI
// and a suggested frame, and the designed layout is scaled to it.
TEST_F(MainFormTest, LayoutScalesWhenTheWindowMovesToAMonitorOfAnotherDpi) {
  const Box outer = F().ScreenBounds();
  RECT suggested{outer.left, outer.top, outer.left + outer.width * 3 / 2,
                 outer.top + outer.height * 3 / 2};
  SendMessageW(F().Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(F().Dpi(), 144);
  EXPECT_EQ(F().ScreenBounds().height, outer.height * 3 / 2) << "the fixed height scales too";

  const Box client = ClientBox(F().Handle());
  const auto about = [](int got, double want) { return std::abs(got - want) <= 1.0; };
  struct Scaled {
    const char* what;
    ui::Control* c;
    Box designed;
  };
  for (const Scaled& s : {Scaled{"PanelEdit", F().PanelEdit, {0, 0, 822, 78}},
                          Scaled{"EditName", F().EditName, {1, 22, 820, 21}},
                          Scaled{"Labelpiriodo", F().Labelpiriodo, {1, 43, 820, 13}},
                          Scaled{"BtnOption", F().BtnOption, {1, 1, 150, 28}},
                          Scaled{"BtnEdit", F().BtnEdit, {301, 1, 150, 28}}}) {
    const Box b = s.c->Bounds();
    EXPECT_TRUE(about(b.top, s.designed.top * 1.5)) << s.what << " top " << b.top;
    EXPECT_TRUE(about(b.height, s.designed.height * 1.5)) << s.what << " height " << b.height;
    if (s.c->Alignment() == ui::Align::Left) {
      EXPECT_TRUE(about(b.width, s.designed.width * 1.5)) << s.what << " width " << b.width;
    }
  }
  // The fields still span the panel, and the right-hand buttons still meet its right edge.
  EXPECT_EQ(F().EditName->Bounds().width, client.width - 2);
  EXPECT_EQ(F().BtnCancel->Bounds().Right(), client.width - 1);
  EXPECT_EQ(F().BtnOK->Bounds().Right(), F().BtnCancel->Bounds().left);
  EXPECT_EQ(F().CHKSave->Bounds().Right(), F().BtnOK->Bounds().left);
  EXPECT_EQ(F().PanelBtn->Bounds().Bottom(), client.height);
  // The font follows: a menu font of the same points, more pixels.
  LOGFONTW used{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(F().EditName->Handle(), WM_GETFONT, 0, 0)),
             sizeof used, &used);
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  EXPECT_TRUE(about(used.lfHeight, ncm.lfMenuFont.lfHeight * 1.5)) << used.lfHeight;
}
