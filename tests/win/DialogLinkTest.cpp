// The editor window against a Save As dialog of a broken or hostile program (fakedlg.exe, in
// another process): a dialog that hangs or answers slowly never freezes Morvi's window, strange
// replies give no more than the box may hold, windows that are no longer the captured ones
// receive nothing, and after a failed OK the edited name is still there.
#include "FakeDialogs.h"
#include "MainFormFixture.h"

#include "common/ForeignWindow.h"
#include "editor/SaveDialogRules.h"

#include <commctrl.h>

#include <string>
#include <vector>

using namespace morvi;
using namespace morvi::test;

namespace {

// Morvi's window must answer within the bound of one message to the dialog; some room is left
// for the scheduling of a shared machine. A window frozen by the dialog would wait as long as
// the dialog hangs, which is several times longer.
constexpr DWORD kAnswerLimitMs = kForeignReplyBoundMs + 1500;
constexpr DWORD kHangMs = 6000;
constexpr DWORD kSlowerThanTheBoundMs = 1800;

std::u16string CueBanner(HWND edit) {
  wchar_t buf[512] = {};
  SendMessageW(edit, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(buf), 512);
  return U16(buf);
}

class DialogLinkTest : public MainFormTest {
protected:
  void ShowEditor() {
    F().Show();
    ASSERT_TRUE(BringToForeground(F().Handle()));
  }

  // Opens the fake dialog and shows the editor over it, captured as a healthy dialog is.
  void CaptureHealthy(const std::u16string& name = u"report.txt") {
    ASSERT_TRUE(dialog_.StartDialog(name));
    ShowEditor();
    ASSERT_EQ(In().MDlg(), dialog_.window);
    ASSERT_EQ(In().MEdt(), dialog_.box);
    ASSERT_EQ(F().MSVB, dialog_.save);
  }

  // OK as the user presses it, with every message box answered; its texts are returned.
  std::vector<std::u16string> PressOk() {
    MessageBoxWatch boxes;
    F().BtnOK->Click();
    PumpUntil([] { return false; }, 100); // a message box being closed goes away
    return MessageBoxWatch::Texts();
  }

  FakeProgram dialog_;
};

// ---- Capture ----

struct HostileCase {
  const char* name;
  const char16_t* kind;
  std::u16string captured;
};

void PrintTo(const HostileCase& c, std::ostream* os) {
  *os << c.name;
}

class HostileReplyTest : public DialogLinkTest, public testing::WithParamInterface<HostileCase> {};

TEST_P(HostileReplyTest, TheCaptureTakesAtMost259UnitsUpToTheFirstNul) {
  ASSERT_TRUE(dialog_.StartDialog(u"report.txt", {u"--hostile", GetParam().kind}));
  ShowEditor();
  EXPECT_EQ(In().MDlg(), dialog_.window);
  EXPECT_EQ(F().EditPath->Text(), GetParam().captured);
  EXPECT_EQ(F().EditPath->Text().size(), GetParam().captured.size());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, HostileReplyTest,
    testing::Values(HostileCase{"NoNulInTheWholeBuffer", u"nonul", std::u16string(259, u'x')},
                    HostileCase{"EmbeddedNul", u"embedded", u"abc"},
                    HostileCase{"AbsurdLength", u"absurd", std::u16string(259, u'y')}),
    [](const testing::TestParamInfo<HostileCase>& i) { return std::string(i.param.name); });

struct SilentCase {
  const char* name;
  UINT command; // kFakeHang or kFakeDelay
  DWORD ms;
};

void PrintTo(const SilentCase& c, std::ostream* os) {
  *os << c.name;
}

const SilentCase kSilentDialogs[] = {{"Hung", kFakeHang, kHangMs},
                                     {"SlowerThanTheBound", kFakeDelay, kSlowerThanTheBoundMs}};

// Makes the fake dialog stop answering in time: it hangs, or answers too late.
void Silence(const FakeProgram& d, const SilentCase& c) {
  d.Post(c.command, c.ms);
  if (c.command == kFakeHang) {
    ASSERT_TRUE(d.WaitForLog("hang"));
  } else {
    ASSERT_TRUE(d.Drain()); // the new delay holds from now on
  }
}

class SilentDialogTest : public DialogLinkTest, public testing::WithParamInterface<SilentCase> {};

TEST_P(SilentDialogTest, ShowingOverItAnswersAtOnceWithoutACaptureAndSaysSo) {
  ASSERT_TRUE(dialog_.StartDialog(u"report.txt"));
  F().CHKSave->SetChecked(true);
  Silence(dialog_, GetParam());
  {
    AnswerWatch watch(F());
    ShowEditor();
    watch.Stop();
    EXPECT_LT(watch.WorstMs(), kAnswerLimitMs);
  }
  EXPECT_TRUE(F().Visible());
  EXPECT_EQ(In().MDlg(), nullptr) << "shown as when no dialog is open";
  EXPECT_EQ(In().MEdt(), nullptr);
  EXPECT_EQ(F().MSVB, nullptr);
  EXPECT_EQ(F().EditPath->Text(), u"");
  EXPECT_FALSE(F().BtnOK->Enabled());
  EXPECT_FALSE(F().CHKSave->Enabled());
  const std::u16string notice = u"「名前を付けて保存」ダイアログが応答しません";
  EXPECT_EQ(CueBanner(F().EditPath->Handle()), notice) << "said in the path field";
  EXPECT_EQ(F().EditPath->Hint(), notice) << "and as its hint";

  // Once it answers again, the next show captures it and the notice goes.
  dialog_.Post(kFakeDelay, 0);
  ASSERT_TRUE(dialog_.Drain());
  F().BtnCancel->Click();
  ShowEditor();
  EXPECT_EQ(In().MDlg(), dialog_.window);
  EXPECT_EQ(F().EditPath->Text(), u"report.txt");
  EXPECT_EQ(CueBanner(F().EditPath->Handle()), u"");
  EXPECT_EQ(F().EditPath->Hint(), u"");
  EXPECT_TRUE(dialog_.Writes().empty());
}

// ---- OK ----

TEST_P(SilentDialogTest, OkKeepsTheWindowAndTheNameAndNothingIsWrittenLate) {
  CaptureHealthy();
  F().CHKSave->SetChecked(true);
  F().EditName->SetText(u"edited");
  ASSERT_TRUE(F().BtnOK->Enabled());
  Silence(dialog_, GetParam());

  std::vector<std::u16string> told;
  {
    AnswerWatch watch(F());
    told = PressOk();
    watch.Stop();
    EXPECT_LT(watch.WorstMs(), kAnswerLimitMs);
  }
  EXPECT_EQ(told, std::vector<std::u16string>{WriteFailureText(LinkProblem::NoAnswer)});
  EXPECT_TRUE(F().Visible());
  EXPECT_EQ(F().EditName->Text(), u"edited");
  EXPECT_EQ(F().EditExt->Text(), u"txt");
  EXPECT_EQ(F().EditPath->Text(), u"report.txt");

  // When the dialog catches up, it finds nothing that Morvi gave up on.
  if (GetParam().command == kFakeHang) {
    ASSERT_TRUE(dialog_.WaitForLog("awake"));
  }
  ASSERT_TRUE(dialog_.Drain());
  EXPECT_EQ(dialog_.Writes(), std::vector<std::string>{});
  EXPECT_EQ(WindowText(dialog_.box), u"report.txt");
  EXPECT_TRUE(IsWindow(dialog_.window)) << "Save was not pressed";

  // The user may try again once the dialog answers: then it works as it always does.
  dialog_.Post(kFakeDelay, 0);
  ASSERT_TRUE(dialog_.Drain());
  EXPECT_EQ(PressOk(), std::vector<std::u16string>{});
  EXPECT_TRUE(dialog_.WaitForLog("saved edited.txt"));
  EXPECT_FALSE(F().Visible());
}

INSTANTIATE_TEST_SUITE_P(Dialogs, SilentDialogTest, testing::ValuesIn(kSilentDialogs),
                         [](const testing::TestParamInfo<SilentCase>& i) {
                           return std::string(i.param.name);
                         });

TEST_F(DialogLinkTest, ADialogSlowerBelowTheBoundWorksAsAHealthyOneAndMorviAnswersMeanwhile) {
  // Every message waits a quarter of a second, well below the bound.
  ASSERT_TRUE(dialog_.StartDialog(u"report.txt", {u"--delay", u"250"}));
  F().CHKSave->SetChecked(true);
  {
    AnswerWatch watch(F());
    ShowEditor();
    watch.Stop();
    EXPECT_LT(watch.WorstMs(), kAnswerLimitMs);
  }
  ASSERT_EQ(In().MDlg(), dialog_.window);
  EXPECT_EQ(F().EditPath->Text(), u"report.txt");
  EXPECT_TRUE(F().CHKSave->Enabled());
  F().EditName->SetText(u"slow");

  std::vector<std::u16string> told;
  {
    AnswerWatch watch(F());
    watch.CountWhile([this] { return In().MLink().Busy(); });
    told = PressOk();
    watch.Stop();
    EXPECT_LT(watch.WorstMs(), kAnswerLimitMs);
    EXPECT_GT(watch.AnsweredWhileBusy(), 0) << "the pause before writing keeps Morvi answering";
  }
  EXPECT_EQ(told, std::vector<std::u16string>{});
  EXPECT_TRUE(dialog_.WaitForLog("saved slow.txt"));
  const std::vector<std::string> writes = dialog_.Writes();
  EXPECT_EQ(writes, (std::vector<std::string>{"clear box", "settext box slow.txt", "click save",
                                              "saved slow.txt"}));
  EXPECT_FALSE(F().Visible());
}

// What stands in for a dialog that closed and whose handles other windows took: the recorded
// handles are pointed at other windows, as a reused handle would name them.
struct ChangedCase {
  const char* name;
  bool closeDialog;
  // Points the recorded handles elsewhere; the dialog, a victim window and a second dialog are
  // there to point at.
  void (*repoint)(HWND& dlg, HWND& box, HWND& button, const FakeProgram& dialog,
                  const FakeProgram& victim, const FakeProgram& other);
};

void PrintTo(const ChangedCase& c, std::ostream* os) {
  *os << c.name;
}

const ChangedCase kChanged[] = {
    {"ClosedAndItsHandlesTakenByAnotherProgram", true,
     [](HWND& d, HWND& b, HWND& s, const FakeProgram&, const FakeProgram& v, const FakeProgram&) {
       d = v.window;
       b = v.box;
       s = v.save;
     }},
    {"AnotherProgramsSaveAsDialogInItsPlace", true,
     [](HWND& d, HWND& b, HWND& s, const FakeProgram&, const FakeProgram&, const FakeProgram& o) {
       d = o.window;
       b = o.box;
       s = o.save;
     }},
    {"TheBoxIsAnEditOutsideTheDialog", false,
     [](HWND&, HWND& b, HWND&, const FakeProgram&, const FakeProgram& v, const FakeProgram&) {
       b = v.box;
     }},
    {"TheBoxIsAnotherChildOfTheDialog", false,
     [](HWND&, HWND& b, HWND&, const FakeProgram& d, const FakeProgram&, const FakeProgram&) {
       b = d.view;
     }},
    {"TheSaveButtonIsAnotherButton", false,
     [](HWND&, HWND&, HWND& s, const FakeProgram& d, const FakeProgram&, const FakeProgram&) {
       s = d.cancel;
     }},
    {"TheDialogsTitleChanged", false,
     [](HWND& d, HWND&, HWND&, const FakeProgram&, const FakeProgram&, const FakeProgram&) {
       SendMessageTimeoutW(d, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"名前を付けて保存 - 2"),
                           SMTO_NORMAL, 5000, nullptr);
     }},
};

class ChangedWindowsTest : public DialogLinkTest,
                           public testing::WithParamInterface<ChangedCase> {};

TEST_P(ChangedWindowsTest, OkWritesAndPressesNothingAndKeepsTheName) {
  CaptureHealthy();
  F().CHKSave->SetChecked(true);
  F().EditName->SetText(u"secret-report");
  FakeProgram victim, other;
  if (GetParam().closeDialog) {
    dialog_.Post(WM_CLOSE, 0);
    ASSERT_TRUE(dialog_.process.WaitForExit(10000));
  }
  ASSERT_TRUE(victim.StartVictim());
  ASSERT_TRUE(other.StartDialog(u"other.txt"));
  GetParam().repoint(In().MDlg(), In().MEdt(), F().MSVB, dialog_, victim, other);

  const std::vector<std::u16string> told = PressOk();
  EXPECT_EQ(told, std::vector<std::u16string>{WriteFailureText(LinkProblem::Changed)});
  EXPECT_TRUE(F().Visible());
  EXPECT_EQ(F().EditName->Text(), u"secret-report");
  EXPECT_EQ(F().EditExt->Text(), u"txt");
  EXPECT_EQ(In().MDlg(), nullptr) << "the handles are forgotten";
  EXPECT_FALSE(F().BtnOK->Enabled());
  EXPECT_FALSE(F().CHKSave->Enabled());

  PumpUntil([] { return false; }, 200); // a click posted wrongly would arrive by now
  for (const FakeProgram* p : {&victim, &other}) {
    ASSERT_TRUE(p->Drain());
    EXPECT_EQ(p->Writes(), std::vector<std::string>{});
  }
  EXPECT_EQ(WindowText(victim.box), u"notes");
  if (!GetParam().closeDialog) {
    ASSERT_TRUE(dialog_.Drain());
    EXPECT_EQ(dialog_.Writes(), std::vector<std::string>{});
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, ChangedWindowsTest, testing::ValuesIn(kChanged),
                         [](const testing::TestParamInfo<ChangedCase>& i) {
                           return std::string(i.param.name);
                         });

// ---- The OK button itself ----

TEST_F(DialogLinkTest, ADisabledOkOrAnInvalidNameWritesNothingWhoeverClicks) {
  CaptureHealthy();
  F().CHKSave->SetChecked(true);
  F().EditName->SetText(u"a/b");
  ASSERT_FALSE(F().BtnOK->Enabled());
  // Another program's clicks reach the button all the same, posted or sent.
  PostMessageW(F().BtnOK->Handle(), BM_CLICK, 0, 0);
  SendMessageW(F().BtnOK->Handle(), BM_CLICK, 0, 0);
  PumpUntil([] { return false; }, 200);
  EXPECT_TRUE(F().Visible());
  EXPECT_EQ(F().EditName->Text(), u"a/b");

  // OK's handler refuses the name itself, even with the button enabled behind its back.
  F().BtnOK->SetEnabled(true);
  EXPECT_EQ(PressOk(), std::vector<std::u16string>{});
  EXPECT_TRUE(F().Visible());
  EXPECT_EQ(F().EditName->Text(), u"a/b");

  // A disabled check box is not marked by a click either.
  F().CHKSave->SetChecked(false);
  F().CHKSave->SetEnabled(false);
  SendMessageW(F().CHKSave->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(F().CHKSave->Checked());

  ASSERT_TRUE(dialog_.Drain());
  EXPECT_EQ(dialog_.Writes(), std::vector<std::string>{});
}

// ---- A more privileged program's dialog ----

TEST_F(DialogLinkTest, ADialogOfAMorePrivilegedProgramIsNamedInsteadOfAnEmptyCapture) {
  ASSERT_TRUE(dialog_.StartDialog(u"report.txt"));
  const DWORD self = GetCurrentProcessId();
  // Under Wine every process runs at one level; the query stands in for an elevated program.
  In().MLink().integrityOf = [self](DWORD pid) -> std::optional<std::uint32_t> {
    return pid == self ? 0x2000 : 0x3000;
  };
  ShowEditor();
  EXPECT_EQ(In().MDlg(), nullptr);
  EXPECT_EQ(F().EditPath->Text(), u"");
  EXPECT_FALSE(F().BtnOK->Enabled());
  const std::u16string notice = CueBanner(F().EditPath->Handle());
  EXPECT_NE(notice.find(u"管理者として実行中"), std::u16string::npos) << "what the dialog is";
  EXPECT_NE(notice.find(u"Morviを管理者として起動"), std::u16string::npos) << "the way out";

  // The same program at Morvi's own level is captured as always.
  In().MLink().integrityOf = [](DWORD) -> std::optional<std::uint32_t> { return 0x2000; };
  F().BtnCancel->Click();
  ShowEditor();
  EXPECT_EQ(In().MDlg(), dialog_.window);
  EXPECT_EQ(F().EditPath->Text(), u"report.txt");
  EXPECT_EQ(CueBanner(F().EditPath->Handle()), u"");
}

TEST_F(DialogLinkTest, TheRealIntegrityQueryReadsThisProcessAndTheDialogs) {
  ASSERT_TRUE(dialog_.StartDialog(u"report.txt"));
  const std::optional<std::uint32_t> own = ProcessIntegrityLevel(GetCurrentProcessId());
  const std::optional<std::uint32_t> theirs = ProcessIntegrityLevel(dialog_.process.Id());
  ASSERT_TRUE(own.has_value());
  ASSERT_TRUE(theirs.has_value());
  EXPECT_GE(*own, 0x1000u) << "a mandatory level, not garbage";
  EXPECT_EQ(*own, *theirs) << "both started by the same user the same way";
  EXPECT_FALSE(ProcessIntegrityLevel(0).has_value()) << "no such process";
}

// ---- What a use leaves behind ----

TEST_F(DialogLinkTest, ShowsAndCancelsLeaveOneHintToolPerField) {
  ASSERT_TRUE(dialog_.StartDialog(u"report.txt"));
  const auto tools = [] {
    HWND tip = FindThreadWindow(TOOLTIPS_CLASSW);
    return tip ? SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0) : 0;
  };
  ShowEditor();
  F().BtnCancel->Click();
  const LRESULT first = tools();
  EXPECT_GE(first, 1) << "the base name's hint";
  for (int i = 0; i < 30; ++i) {
    ShowEditor();
    ASSERT_EQ(F().EditName->Text(), u"report") << "each show captures the name anew";
    F().BtnCancel->Click();
  }
  EXPECT_EQ(tools(), first);
}

} // namespace
