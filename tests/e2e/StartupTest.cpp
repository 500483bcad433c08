// Starting Morvi.exe for real: one resident instance per session, a second start that brings
// its window up, the activation message from outside, and a data folder that cannot be made.
#include "ChildProcess.h"
#include "MorviFiles.h"
#include "MorviWindows.h"
#include "WinTest.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

using namespace morvi::test;

namespace {

std::wstring AppDataFolder() {
  wchar_t buf[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, buf);
  return buf;
}

// The top-level windows of the class that belong to the process.
int CountWindowsOf(DWORD processId, const wchar_t* className) {
  struct Count {
    DWORD pid;
    const wchar_t* cls;
    int n;
  } c{processId, className, 0};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Count*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        wchar_t buf[260] = {};
        GetClassNameW(w, buf, 260);
        if (pid == c->pid && lstrcmpW(buf, c->cls) == 0) {
          ++c->n;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&c));
  return c.n;
}

class StartupTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(MorviWindow(), nullptr) << "a Morvi from an earlier test still runs";
    CreateDirectoryW((AppDataFolder() + L"\\Ostrelworks").c_str(), nullptr);
  }

  // Starts the resident instance and waits until its hidden window exists.
  void StartResident() {
    first_ = std::make_unique<ChildProcess>();
    ASSERT_TRUE(first_->Start(u"Morvi.exe", {}));
    ASSERT_TRUE(WaitFor([] { return MorviWindow() != nullptr; }));
  }

  // Runs another start of Morvi.exe to its end and gives its exit code.
  DWORD StartAgain(const std::vector<std::u16string>& arguments = {}) {
    ChildProcess second;
    EXPECT_TRUE(second.Start(u"Morvi.exe", arguments));
    EXPECT_TRUE(second.WaitForExit(15000)) << "the second start did not end";
    EXPECT_EQ(CountWindowsOf(second.Id(), L"TMainForm"), 0);
    return second.ExitCode();
  }

  bool Running() const { return first_ && first_->ExitCode() == STILL_ACTIVE; }

  const MorviFiles files_; // no settings of another test's run
  std::unique_ptr<ChildProcess> first_;
};

} // namespace

TEST_F(StartupTest, FirstStartStaysHiddenAndHoldsTheMutex) {
  StartResident();
  EXPECT_FALSE(IsWindowVisible(MorviWindow()));
  HANDLE m = OpenMutexW(SYNCHRONIZE, FALSE, L"Morvi/Ostrelworks");
  EXPECT_NE(m, nullptr);
  if (m) {
    CloseHandle(m);
  }
  EXPECT_TRUE(Running());
  EXPECT_EQ(CountWindowsOf(first_->Id(), L"TMainForm"), 1);
}

TEST_F(StartupTest, SecondStartShowsTheResidentWindowAndEnds) {
  const std::vector<std::vector<std::u16string>> argumentLists = {{},
                                                                  {u"one", u"two three", u"/Show"}};
  for (const std::vector<std::u16string>& args : argumentLists) {
    SCOPED_TRACE(args.size());
    StartResident();
    EXPECT_EQ(StartAgain(args), 0u);
    HWND w = MorviWindow();
    EXPECT_TRUE(WaitFor([w] { return IsWindowVisible(w) != FALSE; }));
    EXPECT_TRUE(WaitFor([w] { return GetForegroundWindow() == w; }));
    EXPECT_TRUE(Running());
    first_.reset();
    ASSERT_TRUE(WaitFor([] { return MorviWindow() == nullptr; }));
  }
}

TEST_F(StartupTest, StartWhileTheWindowIsVisibleChangesNothing) {
  StartResident();
  ASSERT_EQ(StartAgain(), 0u);
  HWND w = MorviWindow();
  ASSERT_TRUE(WaitFor([w] { return IsWindowVisible(w) != FALSE; }));

  // Another window takes the foreground; a further start must not raise Morvi.
  morvi::ui::Application::Instance().Initialize();
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 50, 50, 100, 100,
                               nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(BringToForeground(other));
  RECT before{};
  GetWindowRect(w, &before);
  EXPECT_EQ(StartAgain(), 0u);
  PumpUntil([] { return false; }, 300); // give a wrong reaction time to show itself
  EXPECT_EQ(GetForegroundWindow(), other);
  RECT after{};
  GetWindowRect(w, &after);
  EXPECT_TRUE(EqualRect(&before, &after));
  EXPECT_TRUE(IsWindowVisible(w));
  DestroyWindow(other);
}

// The activation message as other programs might send it; only data that reads "/Show"
// exactly, within the byte count given, shows the window.
TEST_F(StartupTest, ActivationMessagesShowOnlyForShow) {
  struct Case {
    const char* what;
    std::u16string units;
    DWORD byteCount;
    bool nullData;
    bool shows;
  };
  using namespace std::string_literals;
  const Case cases[] = {
      {"lower case", u"/show\0\0"s, 14, false, false},
      {"a character more", u"/Show2\0"s, 14, false, false},
      {"no bytes", u"/Show\0\0"s, 0, false, false},
      {"no data", u""s, 0, true, false},
      {"no data but a count", u""s, 14, true, false},
      {"odd count", u"/Show\0\0"s, 13, false, false},
      {"count cuts the text", u"/Show\0\0"s, 8, false, false},
      {"no terminator within the count", u"/Show"s, 10, false, true},
      {"the real message", u"/Show\0\0"s, 14, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartResident();
    HWND w = MorviWindow();
    COPYDATASTRUCT cds{};
    cds.dwData = 0;
    cds.cbData = c.byteCount;
    std::u16string buffer = c.units;
    cds.lpData = c.nullData ? nullptr : buffer.data();
    DWORD_PTR result = 1;
    EXPECT_NE(SendMessageTimeoutW(w, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL,
                                  5000, &result),
              0);
    EXPECT_EQ(result, 0u) << "the receiver answers 0";
    if (c.shows) {
      EXPECT_TRUE(WaitFor([w] { return IsWindowVisible(w) != FALSE; }));
    } else {
      // Anything the message did is done by the time the send returns.
      EXPECT_FALSE(IsWindowVisible(w));
    }
    EXPECT_TRUE(Running()) << "no message may bring the instance down";
    first_.reset();
    ASSERT_TRUE(WaitFor([] { return MorviWindow() == nullptr; }));
  }
}

TEST_F(StartupTest, WithoutItsDataFolderEveryStartEndsSilently) {
  const std::wstring folder = AppDataFolder() + L"\\Ostrelworks";
  const std::wstring aside = folder + L".aside";
  RemoveDirectoryW(aside.c_str());
  ASSERT_TRUE(MoveFileW(folder.c_str(), aside.c_str()));
  HANDLE f = CreateFileW(folder.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  CloseHandle(f);

  for (int start = 0; start < 2; ++start) {
    ChildProcess morvi;
    ASSERT_TRUE(morvi.Start(u"Morvi.exe", {}));
    EXPECT_TRUE(morvi.WaitForExit(10000));
    EXPECT_EQ(morvi.ExitCode(), 0u);
    EXPECT_EQ(MorviWindow(), nullptr);
  }
  HANDLE m = OpenMutexW(SYNCHRONIZE, FALSE, L"Morvi/Ostrelworks");
  EXPECT_EQ(m, nullptr) << "no instance was started";

  DeleteFileW(folder.c_str());
  ASSERT_TRUE(MoveFileW(aside.c_str(), folder.c_str()));
}
