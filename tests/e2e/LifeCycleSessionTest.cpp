// Morvi.exe's life across runs, as a user has it: real key presses (the hot key through
// SendInput), the settings menu driven with the keyboard, the close box, restarts, the settings
// file's bytes, a hot key held by another program, and the end of the logon session.
#include "ChildProcess.h"
#include "MessageBoxes.h"
#include "MorviFiles.h"
#include "MorviWindows.h"
#include "WinTest.h"
#include "common/Handles.h"
#include "editor/HotKey.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

using namespace morvi;
using namespace morvi::test;

namespace {

RECT RectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

// Whether the window stays above a window of the test that comes to the front afterwards.
bool OnTop(HWND w) {
  WindowHandle front(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                     nullptr, nullptr, nullptr, nullptr));
  BringWindowToTop(front.Get());
  for (HWND z = GetTopWindow(nullptr); z; z = GetWindow(z, GW_HWNDNEXT)) {
    if (z == w) {
      return true;
    }
    if (z == front.Get()) {
      return false;
    }
  }
  return false;
}

class LifeCycleSession : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(MorviWindow(), nullptr) << "a Morvi still runs"; }

  // Starts Morvi.exe and waits for its editor window, hidden or not.
  void Start() {
    morvi_ = std::make_unique<ChildProcess>();
    ASSERT_TRUE(morvi_->Start(u"Morvi.exe", {}));
    ASSERT_TRUE(WaitFor([this] { return (window_ = MorviWindow()) != nullptr; }));
  }

  // A second start, which shows the resident window.
  void StartAgain() {
    ChildProcess second;
    ASSERT_TRUE(second.Start(u"Morvi.exe", {}));
    ASSERT_TRUE(second.WaitForExit(15000));
  }

  void OpenDialog(const std::u16string& name) {
    ASSERT_TRUE(dialogProcess_.Start(
        u"savedlg.exe", {name, u"--dir", folder_.Path(), u"--result", folder_ / u"result.txt"}));
    dialog_ = WaitForProcessWindow(dialogProcess_.Id(), u"#32770", nullptr, 15000);
    ASSERT_NE(dialog_, nullptr);
  }

  bool Shown() const { return IsWindowVisible(window_) != FALSE; }
  bool InFront() const { return Shown() && GetForegroundWindow() == window_; }

  // Alt+S opens the settings menu; then the keys, one after the other, in the menu. After Right
  // the next key waits for the submenu to be open.
  void InSettingsMenu(std::initializer_list<WORD> keys) {
    SendKey('S', {VK_MENU});
    ASSERT_TRUE(WaitFor([] { return VisiblePopupMenus() == 1; }));
    for (WORD k : keys) {
      SendKey(k);
      if (k == VK_RIGHT) {
        ASSERT_TRUE(WaitFor([] { return VisiblePopupMenus() == 2; }));
      }
    }
    ASSERT_TRUE(WaitFor([] { return VisiblePopupMenus() == 0; }));
  }

  // The close box, as the system reports a click on it; waits for the end of the program.
  void CloseWithTheCloseBox() {
    PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(morvi_->WaitForExit(15000)) << "Morvi did not end";
    EXPECT_EQ(morvi_->ExitCode(), 0u);
  }

  std::string Settings() const { return ReadFileBytes(files_.Settings()); }

  MorviFiles files_;
  TempFolder folder_;
  ChildProcess dialogProcess_;
  HWND dialog_ = nullptr;
  std::unique_ptr<ChildProcess> morvi_;
  HWND window_ = nullptr;
};

} // namespace

TEST_F(LifeCycleSession, AFirstRunIsRememberedByTheNext) {
  OpenDialog(u"minutes.txt");
  Start();
  ASSERT_TRUE(WaitFor([] { return !CombinationFree('M'); })) << "Ctrl+Shift+M is Morvi's";
  EXPECT_FALSE(Shown()) << "resident, nothing shown";
  SendKey('M', {VK_CONTROL, VK_SHIFT});
  ASSERT_TRUE(WaitFor([this] { return InFront(); }));
  EXPECT_EQ(WindowText(EditFieldsOf(window_)[0]), u"minutes.txt");
  const RECT first = RectOf(window_);
  EXPECT_EQ(first.left, 284) << "the designed place: position choice 0 does not move it";
  EXPECT_EQ(first.top, 150);

  // The settings menu opens at the mouse pointer.
  SetCursorPos(600, 400);
  SendKey('S', {VK_MENU});
  HWND menu = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (menu = VisiblePopupMenu()) != nullptr; }));
  EXPECT_EQ(RectOf(menu).left, 600);
  EXPECT_EQ(RectOf(menu).top, 400);
  SendKey(VK_ESCAPE);
  ASSERT_TRUE(WaitFor([] { return VisiblePopupMenu() == nullptr; }));

  // Q as the letter (the last item's submenu), the dialog's bottom edge, always on top.
  InSettingsMenu({VK_UP, VK_RIGHT, 'Q'});
  EXPECT_TRUE(WaitFor([] { return CombinationFree('M') && !CombinationFree('Q'); }))
      << "Ctrl+Shift+Q at once, and the old letter let go";
  InSettingsMenu({VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN});
  EXPECT_EQ(RectOf(window_).top, first.top) << "the choice applies from the next show";
  InSettingsMenu({VK_DOWN, VK_RETURN});
  EXPECT_TRUE(WaitFor([this] { return OnTop(window_); }));
  SetWindowPos(window_, nullptr, 0, 0, 1000, first.bottom - first.top + 50,
               SWP_NOMOVE | SWP_NOZORDER);
  const RECT widened = RectOf(window_);
  ASSERT_EQ(widened.right - widened.left, 1000);
  EXPECT_EQ(widened.bottom - widened.top, first.bottom - first.top) << "the height is fixed";
  CloseWithTheCloseBox();
  EXPECT_EQ(Settings(), "[Window]\r\nPos=2\r\nWidth=1000\r\nTop=150\r\nLeft=284\r\nMostTop=1\r\n"
                        "Save=0\r\nResident=0\r\nHotKey=Q\r\n\r\n");

  // The next run: Ctrl+Shift+Q works, Ctrl+Shift+M is free, and the window sits on the dialog's
  // bottom edge.
  Start();
  ASSERT_TRUE(WaitFor([] { return !CombinationFree('Q'); })) << "Morvi is ready";
  EXPECT_FALSE(Shown());
  EXPECT_TRUE(CombinationFree('M'));
  SendKey('Q', {VK_CONTROL, VK_SHIFT});
  ASSERT_TRUE(WaitFor([this] { return InFront(); }));
  const RECT next = RectOf(window_);
  EXPECT_EQ(next.bottom, RectOf(dialog_).bottom);
  EXPECT_EQ(next.left, RectOf(dialog_).left);
  EXPECT_EQ(next.right - next.left, 1000);
  EXPECT_TRUE(OnTop(window_));
  CloseWithTheCloseBox();
}

TEST_F(LifeCycleSession, ANonResidentRunShowsAtStartHoldsNoKeyAndEndsWithOk) {
  ASSERT_TRUE(WriteFileBytes(files_.Settings(), "[Window]\r\nResident=1\r\n"));
  OpenDialog(u"plan.txt");
  Start();
  ASSERT_TRUE(WaitFor([this] { return InFront(); })) << "shown at start";
  EXPECT_EQ(WindowText(EditFieldsOf(window_)[0]), u"plan.txt");
  EXPECT_TRUE(CombinationFree('M')) << "no hot key in a non-resident run";
  // A letter chosen now only changes what is stored.
  InSettingsMenu({VK_UP, VK_RIGHT, 'K'});
  EXPECT_TRUE(CombinationFree('K'));
  SendKey(VK_RETURN); // OK writes the name and ends the program
  ASSERT_TRUE(morvi_->WaitForExit(15000));
  EXPECT_NE(Settings().find("[Window]\r\nResident=1\r\n"), std::string::npos);
  EXPECT_NE(Settings().find("HotKey=K\r\n"), std::string::npos)
      << testing::PrintToString(Settings());
}

TEST_F(LifeCycleSession, TheResidentMarkTakesEffectFromTheNextStart) {
  Start();
  StartAgain();
  ASSERT_TRUE(WaitFor([this] { return InFront(); }));
  InSettingsMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}); // 非常駐
  SendKey(VK_ESCAPE);
  ASSERT_TRUE(WaitFor([this] { return !Shown(); })) << "this run is still resident";
  EXPECT_EQ(morvi_->ExitCode(), static_cast<DWORD>(STILL_ACTIVE));
  CloseWithTheCloseBox();
  EXPECT_NE(Settings().find("Resident=1\r\n"), std::string::npos);
  Start();
  EXPECT_TRUE(WaitFor([this] { return Shown(); })) << "non-resident from now on";
  CloseWithTheCloseBox();
}

TEST_F(LifeCycleSession, APlaceOffEveryMonitorIsBroughtBack) {
  ASSERT_TRUE(WriteFileBytes(files_.Settings(), "[Window]\r\nLeft=5000\r\nTop=-4000\r\n"));
  Start();
  StartAgain();
  ASSERT_TRUE(WaitFor([this] { return Shown(); }));
  const RECT r = RectOf(window_);
  EXPECT_NE(MonitorFromRect(&r, MONITOR_DEFAULTTONULL), nullptr);
  CloseWithTheCloseBox();
}

TEST_F(LifeCycleSession, WithShowDownTheWordListComesAndGoesWithTheHotKey) {
  ASSERT_TRUE(WriteFileBytes(files_.Settings(), "[Note]\r\nShow=1\r\n"));
  ASSERT_TRUE(WriteFileBytes(files_.WordList(), "alpha\r\n"));
  Start();
  HWND list = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (list = FindWindowW(L"TNoteForm", L"Morvi - 単語帳")); }));
  ASSERT_TRUE(WaitFor([] { return !CombinationFree('M'); })) << "Morvi is ready";
  EXPECT_FALSE(IsWindowVisible(list));
  SendKey('M', {VK_CONTROL, VK_SHIFT});
  ASSERT_TRUE(WaitFor([&] { return Shown() && IsWindowVisible(list); }));
  SendKey(VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !Shown() && !IsWindowVisible(list); }));
  CloseWithTheCloseBox();
}

TEST_F(LifeCycleSession, ALogoffWritesBothSectionsAndEndsTheProgram) {
  ASSERT_TRUE(WriteFileBytes(files_.Settings(), "[Note]\r\nShow=1\r\n"));
  Start();
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(window_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                  5000, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "never refused";
  SendMessageTimeoutW(window_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer);
  ASSERT_TRUE(morvi_->WaitForExit(15000)) << "the program ends";
  const std::string s = Settings();
  EXPECT_EQ(s.find("[Note]\r\nShow=1\r\nTop="), 0u) << s;
  EXPECT_NE(s.find("\r\n\r\n[Window]\r\nPos=0\r\n"), std::string::npos) << s;
}

// The settings file as it comes out of a real run, in the encoding it came in.
TEST_F(LifeCycleSession, ARunKeepsTheFilesEncodingAndEverythingItDoesNotKnow) {
  const auto utf16 = [](const std::string& ascii, bool big) {
    std::string out = big ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : ascii) {
      out += big ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return out;
  };
  const std::string other = "[Mine]\r\nkey=value\r\n";
  struct Case {
    const char* what;
    std::string before;
    std::string start, end; // the part before and after the Window section
  };
  const Case cases[] = {
      {"code page 932", other + "[\x93\xFA]\r\nA=\x96\x7B\r\n",
       other + "\r\n[\x93\xFA]\r\nA=\x96\x7B\r\n\r\n", "\r\n"},
      {"UTF-8 with a mark", "\xEF\xBB\xBF" + other, "\xEF\xBB\xBF" + other + "\r\n", "\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(WriteFileBytes(files_.Settings(), c.before));
    Start();
    CloseWithTheCloseBox();
    const std::string after = Settings();
    EXPECT_EQ(after.substr(0, c.start.size()), c.start);
    EXPECT_NE(after.find("[Window]\r\nPos=0\r\n"), std::string::npos);
    EXPECT_EQ(after.substr(after.size() - 4), "\r\n\r\n");
  }
  for (bool big : {false, true}) {
    SCOPED_TRACE(big ? "UTF-16 BE" : "UTF-16 LE");
    ASSERT_TRUE(WriteFileBytes(files_.Settings(), utf16(other, big)));
    Start();
    CloseWithTheCloseBox();
    const std::string after = Settings();
    const std::string lead = utf16(other + "\r\n[Window]\r\n", big);
    EXPECT_EQ(after.substr(0, lead.size()), lead);
  }
}

TEST_F(LifeCycleSession, AFileThatCannotBeDecodedIsReportedAndNeverOverwritten) {
  const std::string bad = "\xEF\xBB\xBF[Window]\r\nPos=\xC3\x28\r\n";
  ASSERT_TRUE(WriteFileBytes(files_.Settings(), bad));
  Start();
  MessageBoxWatcher boxes(morvi_->Id());
  ASSERT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(boxes.Texts().size(), 1u) << "reported once";
  // Morvi goes on with its defaults and stays usable.
  StartAgain();
  ASSERT_TRUE(WaitFor([this] { return Shown(); }));
  PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(boxes.WaitFor(2)) << "the close says why it cannot write";
  EXPECT_EQ(morvi_->ExitCode(), static_cast<DWORD>(STILL_ACTIVE)) << "and the window stays";
  EXPECT_EQ(Settings(), bad);
}

TEST_F(LifeCycleSession, AHotKeyHeldByAnotherProgramIsReportedAndASecondStartStillShows) {
  WindowHandle holder(
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(RegisterHotKey(holder.Get(), 0x6000, MOD_CONTROL | MOD_SHIFT, 'M'));
  Start();
  MessageBoxWatcher boxes(morvi_->Id());
  ASSERT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(boxes.Texts()[0], HotKeyNotRegisteredText(u'M'));
  StartAgain();
  EXPECT_TRUE(WaitFor([this] { return Shown(); }));
  UnregisterHotKey(holder.Get(), 0x6000);
  CloseWithTheCloseBox();
}
