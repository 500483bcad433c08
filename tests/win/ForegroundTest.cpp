// Foreground, focus and z-order helpers with real windows, also a window of another process
// (peer.exe).
#include "TestWindows.h"
#include "common/ForeignWindow.h"
#include "common/ScreenPlacement.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace morvi;
using namespace morvi::test;

namespace {

DWORD ForegroundLockTimeout() {
  DWORD ms = 0;
  SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &ms, 0);
  return ms;
}

void SetForegroundLockTimeout(DWORD ms) {
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                        reinterpret_cast<PVOID>(static_cast<UINT_PTR>(ms)), 0);
}

// Gives the foreground lock time-out a value of the test's own, and puts the old one back.
class LockTimeoutTest : public testing::Test {
protected:
  void SetUp() override {
    ui::Application::Instance().Initialize();
    saved_ = ForegroundLockTimeout();
    SetForegroundLockTimeout(kMarked);
    ASSERT_EQ(ForegroundLockTimeout(), kMarked);
    own_ = MakeTopWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200);
    ASSERT_TRUE(own_);
  }
  void TearDown() override { SetForegroundLockTimeout(saved_); }

  // Whether the first thread's input is (still) joined to the second's: detaching succeeds only
  // then. The probe undoes such a join.
  static bool Attached(DWORD from, DWORD to) { return AttachThreadInput(from, to, FALSE) != FALSE; }

  static constexpr DWORD kMarked = 123456;
  DWORD saved_ = 0;
  WindowHandle own_;
};

TEST_F(LockTimeoutTest, ForceForegroundWindowTakesAnotherProcessesWindowToTheFrontAndBack) {
  PeerWindow peer;
  ASSERT_TRUE(peer.Start(u"peer-foreground"));
  ASSERT_TRUE(BringToForeground(own_.Get()));

  EXPECT_TRUE(ForceForegroundWindow(peer.window));
  EXPECT_EQ(GetForegroundWindow(), peer.window);
  EXPECT_FALSE(Attached(peer.thread, GetCurrentThreadId())) << "the attach was undone";
  EXPECT_EQ(ForegroundLockTimeout(), kMarked) << "the user's lock time-out is kept";

  EXPECT_TRUE(ForceForegroundWindow(own_.Get()));
  EXPECT_EQ(GetForegroundWindow(), own_.Get());
  EXPECT_FALSE(Attached(GetCurrentThreadId(), peer.thread));
  EXPECT_EQ(ForegroundLockTimeout(), kMarked);
}

TEST_F(LockTimeoutTest, ForceForegroundWindowOnTheFrontWindowOrNoWindow) {
  ASSERT_TRUE(BringToForeground(own_.Get()));
  EXPECT_TRUE(ForceForegroundWindow(own_.Get()));

  HWND gone = MakeTopWindow(WS_POPUP, 0, 0, 10, 10).Get(); // destroyed at once
  EXPECT_FALSE(ForceForegroundWindow(gone));
  EXPECT_FALSE(ForceForegroundWindow(nullptr));
  EXPECT_EQ(GetForegroundWindow(), own_.Get());
  EXPECT_EQ(ForegroundLockTimeout(), kMarked);
}

// ---- FocusForeignControl ----

struct FocusCase {
  const char* name;
  bool peerFocusNowhere; // the peer's window is active but no window of it has the focus
};

void PrintTo(const FocusCase& c, std::ostream* os) {
  *os << c.name;
}

class FocusForeignControlTest : public LockTimeoutTest,
                                public testing::WithParamInterface<FocusCase> {};

TEST_P(FocusForeignControlTest, FocusesAnotherProcessesControlAndDetachesAgain) {
  PeerWindow peer;
  ASSERT_TRUE(peer.Start(u"peer-focus"));
  ASSERT_TRUE(ForceForegroundWindow(peer.window));
  if (GetParam().peerFocusNowhere) {
    PostMessageW(peer.window, WM_APP + 1, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return peer.Focus() == nullptr; }));
  } else {
    ASSERT_TRUE(PumpUntil([&] { return peer.Focus() == peer.button; }));
  }
  // Our own thread cannot hand another thread's control the focus by itself.
  const HWND before = peer.Focus();
  ASSERT_EQ(::SetFocus(peer.edit), nullptr);
  ASSERT_EQ(peer.Focus(), before);

  FocusForeignControl(peer.edit);
  EXPECT_TRUE(PumpUntil([&] { return peer.Focus() == peer.edit; }, 2000));
  EXPECT_FALSE(Attached(GetCurrentThreadId(), peer.thread)) << "the attach was undone";
  EXPECT_NE(GetFocus(), peer.edit);
}

INSTANTIATE_TEST_SUITE_P(PeerFocus, FocusForeignControlTest,
                         testing::Values(FocusCase{"OnItsButton", false},
                                         FocusCase{"Nowhere", true}),
                         [](const testing::TestParamInfo<FocusCase>& i) {
                           return std::string(i.param.name);
                         });

TEST_F(LockTimeoutTest, FocusForeignControlFocusesAControlOfOurOwnFrontWindow) {
  WindowHandle edit = MakeWindow(L"EDIT", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, own_.Get());
  WindowHandle button =
      MakeWindow(L"BUTTON", WS_CHILD | WS_VISIBLE, 10, 50, 80, 24, own_.Get(), 1, L"OK");
  ASSERT_TRUE(BringToForeground(own_.Get()));
  ::SetFocus(button.Get());
  ASSERT_EQ(GetFocus(), button.Get());
  FocusForeignControl(edit.Get());
  EXPECT_EQ(GetFocus(), edit.Get());
}

// ---- SetTopMost ----

TEST(SetTopMost, ShowsAHiddenWindowAndKeepsItsPlace) {
  WindowHandle w = MakeTopWindow(WS_POPUP, 123, 45, 300, 200);
  ASSERT_FALSE(IsWindowVisible(w.Get()));
  const auto rect = [&w] {
    RECT r{};
    GetWindowRect(w.Get(), &r);
    return std::make_tuple(r.left, r.top, r.right, r.bottom);
  };
  const auto placed = rect();
  const auto topmost = [&w] {
    return (GetWindowLongPtrW(w.Get(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  };

  EXPECT_TRUE(SetTopMost(w.Get(), true));
  EXPECT_TRUE(IsWindowVisible(w.Get()));
  EXPECT_TRUE(topmost());
  EXPECT_EQ(rect(), placed);

  ShowWindow(w.Get(), SW_HIDE);
  EXPECT_TRUE(SetTopMost(w.Get(), false));
  EXPECT_TRUE(IsWindowVisible(w.Get()));
  EXPECT_FALSE(topmost());
  EXPECT_EQ(rect(), placed);

  HWND gone = w.Get();
  w.Reset();
  EXPECT_FALSE(SetTopMost(gone, true));
}

} // namespace
