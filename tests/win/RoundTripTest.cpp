// The editor window with Wine's real Save As dialog, opened by another process (savedlg.exe):
// capture, placement over the dialog, writing the name back and pressing Save.
#include "ChildProcess.h"
#include "FakeDialogs.h"
#include "MainFormFixture.h"

#include "common/Wide.h"

#include <string>
#include <vector>

using namespace morvi;
using namespace morvi::test;

namespace {

const std::u16string kSaveAsTitle = u"名前を付けて保存";

// What savedlg.exe reported when its dialog closed.
struct Report {
  std::u16string result;
  std::u16string file;
};

Report ParseReport(const std::string& bytes) {
  Report r;
  const std::u16string text = FromUtf8(bytes);
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find(u'\n', pos);
    const std::u16string line = text.substr(pos, end - pos);
    if (line.rfind(u"result=", 0) == 0) {
      r.result = line.substr(7);
    } else if (line.rfind(u"file=", 0) == 0) {
      r.file = line.substr(5);
    }
    pos = end == std::u16string::npos ? text.size() : end + 1;
  }
  return r;
}

class RoundTripTest : public MainFormTest {
protected:
  // Opens a Save As dialog in another process with the name in its file-name box.
  HWND OpenDialog(const std::u16string& name, std::vector<std::u16string> extra = {}) {
    std::vector<std::u16string> args = {name, u"--dir", folder_.Path(), u"--result",
                                        folder_ / u"report.txt"};
    args.insert(args.end(), extra.begin(), extra.end());
    EXPECT_TRUE(dialogProcess_.Start(u"savedlg.exe", args));
    dialog_ = WaitForProcessWindow(dialogProcess_.Id(), u"#32770", nullptr, 15000);
    EXPECT_NE(dialog_, nullptr) << "no dialog appeared";
    return dialog_;
  }

  // The dialog's file-name box, as the capture found it.
  HWND Box() const { return const_cast<RoundTripTest*>(this)->In().MEdt(); }

  Report WaitForReport() {
    EXPECT_TRUE(dialogProcess_.WaitForExit(15000)) << "the dialog did not close";
    return ParseReport(ReadFileBytes(folder_ / u"report.txt"));
  }

  // Shows the editor as the hot key or a second start would, and gives it the keyboard.
  void ShowEditor() {
    F().Show();
    ASSERT_TRUE(BringToForeground(F().Handle()));
    ASSERT_TRUE(PumpUntil([this] { return F().EditName->Focused(); }));
  }

  TempFolder folder_;
  ChildProcess dialogProcess_;
  HWND dialog_ = nullptr;
};

} // namespace

TEST_F(RoundTripTest, ShowingCapturesTheDialogsNameIntoTheFields) {
  OpenDialog(u"report.txt");
  ShowEditor();
  EXPECT_EQ(In().MDlg(), dialog_);
  ASSERT_NE(Box(), nullptr);
  EXPECT_EQ(ClassName(Box()), u"Edit");
  EXPECT_EQ(F().EditPath->Text(), u"report.txt");
  EXPECT_EQ(F().EditName->Text(), u"report");
  EXPECT_EQ(F().EditExt->Text(), u"txt");
  EXPECT_TRUE(F().BtnOK->Enabled());
  EXPECT_TRUE(F().CHKSave->Enabled()) << "the dialog's Save button was found";
  EXPECT_NE(F().MSVB, nullptr);
  EXPECT_NE(WindowText(F().MSVB).find(u"保存"), std::u16string::npos);
}

TEST_F(RoundTripTest, ALongNameIsReadUpTo259Characters) {
  OpenDialog(u"short.txt");
  const std::u16string longName(300, u'n');
  ShowEditor();
  ASSERT_NE(Box(), nullptr);
  SendMessageW(Box(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(W(longName)));
  ASSERT_EQ(WindowText(Box()).size(), 300u);
  F().Hide();
  ShowEditor();
  EXPECT_EQ(F().EditPath->Text(), std::u16string(259, u'n'));
  EXPECT_EQ(F().EditName->Text(), std::u16string(259, u'n'));
}

TEST_F(RoundTripTest, WithoutADialogOkAndSaveStayDisabled) {
  F().CHKSave->SetChecked(true);
  ShowEditor();
  EXPECT_EQ(In().MDlg(), nullptr);
  EXPECT_EQ(In().MEdt(), nullptr);
  EXPECT_FALSE(F().CHKSave->Enabled());
  EXPECT_TRUE(F().CHKSave->Checked()) << "the mark is kept";
  TypeText(u"name");
  EXPECT_FALSE(F().BtnOK->Enabled());
}

TEST_F(RoundTripTest, ADialogWithAnotherTitleIsNotCaptured) {
  OpenDialog(u"report.txt", {u"--title", u"別名で保存"});
  ShowEditor();
  EXPECT_EQ(In().MDlg(), nullptr);
  EXPECT_EQ(F().EditPath->Text(), u"");
  EXPECT_FALSE(F().BtnOK->Enabled());
}

TEST_F(RoundTripTest, PositionChoicePlacesTheWindowOnTheDialogsEdge) {
  OpenDialog(u"report.txt");
  RECT d{};
  GetWindowRect(dialog_, &d);
  const ui::Box home = F().ScreenBounds();

  F().PPPOS1->Click();
  ShowEditor();
  EXPECT_EQ(F().ScreenBounds().left, d.left);
  EXPECT_EQ(F().ScreenBounds().top, d.top);
  EXPECT_EQ(F().ScreenBounds().width, home.width) << "the size does not change";
  F().Hide();

  F().PPPOS2->Click();
  ShowEditor();
  EXPECT_EQ(F().ScreenBounds().left, d.left);
  EXPECT_EQ(F().ScreenBounds().Bottom(), d.bottom) << "the bottom edges line up";
  F().Hide();

  // A minimised dialog has no place to go to.
  F().SetScreenBounds(home);
  ShowWindowAsync(dialog_, SW_MINIMIZE);
  ASSERT_TRUE(PumpUntil([this] { return IsIconic(dialog_) != FALSE; }));
  ShowEditor();
  EXPECT_EQ(F().ScreenBounds(), home);
}

TEST_F(RoundTripTest, EnterWritesTheJoinedNameIntoTheBox) {
  OpenDialog(u"report.txt");
  ShowEditor();
  PressKey(VK_END);
  TypeText(u"-final");
  PressKey(VK_RETURN);
  EXPECT_EQ(WindowText(Box()), u"report-final.txt");
  EXPECT_TRUE(IsWindow(dialog_)) << "Save was not asked for";
  EXPECT_FALSE(F().Visible()) << "the window is put away";
  EXPECT_EQ(F().EditPath->Text(), u"");
  EXPECT_EQ(F().EditName->Text(), u"");
  EXPECT_FALSE(F().BtnOK->Enabled());
}

TEST_F(RoundTripTest, WithSaveMarkedTheDialogSavesUnderTheNewName) {
  OpenDialog(u"report.txt");
  F().CHKSave->SetChecked(true);
  ShowEditor();
  F().EditName->SetText(u"報告書_最終版");
  PressKey(VK_RETURN);
  const Report r = WaitForReport();
  EXPECT_EQ(r.result, u"1");
  EXPECT_EQ(r.file, folder_ / u"報告書_最終版.txt");
}

TEST_F(RoundTripTest, AnEmptyExtensionWritesTheBaseNameAlone) {
  OpenDialog(u"report.txt");
  ShowEditor();
  F().EditExt->SetText(u"");
  F().BtnOK->Click();
  EXPECT_EQ(WindowText(Box()), u"report");
}

TEST_F(RoundTripTest, NamesOutsideTheBmpSurviveTheRoundTrip) {
  const std::u16string name = u"\U0001F4C4メモ\U0001F600";
  OpenDialog(name + u".md");
  ShowEditor();
  EXPECT_EQ(F().EditName->Text(), name);
  EXPECT_EQ(F().EditName->Hint(), u"6");
  F().BtnOK->Click();
  EXPECT_EQ(WindowText(Box()), name + u".md");
}

TEST_F(RoundTripTest, ADisabledDialogGetsNothingButTheWindowIsStillPutAway) {
  OpenDialog(u"report.txt");
  F().CHKSave->SetChecked(true);
  ShowEditor();
  F().EditName->SetText(u"changed");
  ASSERT_TRUE(F().BtnOK->Enabled());
  EnableWindow(dialog_, FALSE); // as while the dialog shows a message of its own
  F().BtnOK->Click();
  EXPECT_EQ(WindowText(Box()), u"report.txt");
  EXPECT_FALSE(F().Visible());
  EXPECT_EQ(F().EditName->Text(), u"");
  EnableWindow(dialog_, TRUE);
  PumpUntil([] { return false; }, 300);
  EXPECT_TRUE(IsWindow(dialog_)) << "Save was not pressed";
}

TEST_F(RoundTripTest, CancelLeavesTheDialogAlone) {
  OpenDialog(u"report.txt");
  F().CHKSave->SetChecked(true);
  ShowEditor();
  F().EditName->SetText(u"changed");
  PressKey(VK_ESCAPE);
  EXPECT_EQ(WindowText(Box()), u"report.txt");
  EXPECT_TRUE(IsWindow(dialog_));
  EXPECT_FALSE(F().Visible());
  EXPECT_EQ(F().EditName->Text(), u"");
}

TEST_F(RoundTripTest, ADialogThatClosedBeforeOkGetsNothingAndTheNameStays) {
  OpenDialog(u"report.txt");
  F().CHKSave->SetChecked(true);
  ShowEditor();
  F().EditName->SetText(u"late");
  PostMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
  const Report r = WaitForReport();
  EXPECT_EQ(r.result, u"0");
  ASSERT_FALSE(IsWindow(In().MEdt()));
  {
    MessageBoxWatch boxes;
    F().BtnOK->Click();
    EXPECT_EQ(MessageBoxWatch::Texts(),
              std::vector<std::u16string>{WriteFailureText(LinkProblem::Changed)});
  }
  EXPECT_TRUE(F().Visible()) << "nothing the user typed is lost";
  EXPECT_EQ(F().EditName->Text(), u"late");
  EXPECT_FALSE(F().BtnOK->Enabled()) << "there is nothing to write to any more";
}

TEST_F(RoundTripTest, InANonResidentRunOkClosesTheWindow) {
  OpenDialog(u"report.txt");
  In().FResident() = true;
  ShowEditor();
  F().EditName->SetText(u"closing");
  F().BtnOK->Click();
  EXPECT_EQ(WindowText(Box()), u"closing.txt");
  EXPECT_EQ(F().Handle(), nullptr) << "the window was closed, which ends such a run";
}

TEST_F(RoundTripTest, InANonResidentRunCancelClosesTheWindowToo) {
  OpenDialog(u"report.txt");
  In().FResident() = true;
  ShowEditor();
  F().BtnCancel->Click();
  EXPECT_EQ(F().Handle(), nullptr);
  EXPECT_TRUE(IsWindow(dialog_));
}
