// Rules of the window toolkit that no single window shows: a bound message never takes the
// place of the form's own handling, error texts reach the user as written, fields take their
// settings also after they exist, and a window that cannot be made ends the start-up.
#include "MessageBoxes.h"
#include "TestFiles.h"
#include "WinTest.h"

#include "app/Startup.h"
#include "common/DataFolder.h"
#include "ui/Application.h"
#include "ui/Component.h"
#include "ui/Form.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace morvi;
using namespace morvi::test;

namespace {

class SmallForm : public ui::Form {
public:
  SmallForm() : Form(u"MorviToolkitTestForm", u"SmallForm") {
    Design& d = DesignOf();
    d.clientWidth = 300;
    d.clientHeight = 60;
    d.hasPosition = true;
    d.left = 50;
    d.top = 50;
    d.title = u"toolkit";
    Field = &Make<ui::Edit>(*this, u"Field", ui::Box{8, 8, 280, 21}, ui::Align::None);
    Field->SetTabStop(true);
  }
  ui::Edit* Field = nullptr;
};

class ToolkitTest : public testing::Test {
protected:
  void SetUp() override { ui::Application::Instance().Initialize(); }
};

} // namespace

TEST_F(ToolkitTest, AMessageTheFormHandlesItselfCannotBeBoundAway) {
  SmallForm form;
  for (UINT message : {WM_SIZE, WM_CLOSE, WM_GETMINMAXINFO, WM_WINDOWPOSCHANGING, WM_COMMAND,
                       WM_ACTIVATE, WM_DESTROY, WM_DPICHANGED}) {
    EXPECT_THROW(form.BindMessage(message, [](WPARAM, LPARAM) -> LRESULT { return 0; }),
                 std::logic_error)
        << message;
  }
  int seen = 0;
  form.BindMessage(WM_APP + 7, [&](WPARAM wp, LPARAM) -> LRESULT {
    seen = static_cast<int>(wp);
    return 42;
  });
  form.CreateWindowHandle();
  EXPECT_EQ(SendMessageW(form.Handle(), WM_APP + 7, 5, 0), 42);
  EXPECT_EQ(seen, 5);
  // The form's own handling of a resize is still there: the layout follows the new size.
  form.OnResize = [&](ui::Component&) { ++seen; };
  form.SetWidth(form.ScreenBounds().width + 30);
  EXPECT_EQ(seen, 6);
}

TEST_F(ToolkitTest, AnErrorTextIsShownAsItsUtf8Reads) {
  MessageBoxWatcher boxes;
  EXPECT_FALSE(ui::Guard([] { throw std::runtime_error("設定を読めません: ß"); }));
  EXPECT_FALSE(ui::Guard([] { throw std::runtime_error("bad \xFF byte"); }));
  ASSERT_TRUE(boxes.WaitFor(2));
  EXPECT_EQ(boxes.Texts()[0], u"設定を読めません: ß");
  EXPECT_EQ(boxes.Texts()[1], u"bad \u00FF byte") << "not UTF-8: each byte as it stands";
}

TEST_F(ToolkitTest, AFieldTakesItsLimitAndReadOnlyAlsoAfterItExists) {
  SmallForm form;
  form.CreateWindowHandle();
  form.Show();
  ASSERT_TRUE(BringToForeground(form.Handle()));
  form.Field->SetFocus();
  form.Field->SetMaxLength(3);
  TypeText(u"abcdef");
  EXPECT_EQ(form.Field->Text(), u"abc");
  form.Field->SetReadOnly(true);
  EXPECT_TRUE(GetWindowLongPtrW(form.Field->Handle(), GWL_STYLE) & ES_READONLY);
  TypeText(u"x");
  EXPECT_EQ(form.Field->Text(), u"abc");
  form.Field->SetReadOnly(false);
  form.Field->SetMaxLength(0);
  PressKey(VK_END);
  TypeText(u"de");
  EXPECT_EQ(form.Field->Text(), u"abcde");
}

// A class named like the editor window's that is not Morvi's (registered first by someone else)
// gives a window Morvi cannot run: the start-up says so and ends instead of waiting with no
// window.
TEST_F(ToolkitTest, AnEditorWindowThatCannotBeMadeEndsTheStartWithAMessage) {
  TempFolder data;
  SetUserDataDir(data.Path() + u"\\");
  WNDCLASSW foreign{};
  foreign.lpfnWndProc = DefWindowProcW;
  foreign.hInstance = GetModuleHandleW(nullptr);
  foreign.lpszClassName = L"TMainForm";
  ASSERT_NE(RegisterClassW(&foreign), 0);
  MessageBoxWatcher boxes;
  const int result = RunFirstInstance(ui::Application::Instance());
  UnregisterClassW(L"TMainForm", GetModuleHandleW(nullptr));
  EXPECT_EQ(result, 1);
  ASSERT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(
      boxes.Texts()[0].rfind(u"Morvi のウィンドウを作成できないため、Morvi を終了します。", 0), 0u)
      << testing::PrintToString(boxes.Texts()[0]);
  EXPECT_EQ(FindWindowW(L"TMainForm", L"Morvi"), nullptr) << "no window is left behind";
}
