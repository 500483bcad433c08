// Finding windows: FindChildByClass over a tree of real windows, and IsFileDialog for Wine's own
// Save As dialog (opened by savedlg.exe in another process), for windows built the way the
// Windows 10 dialog is, and for a message box.
#include "TestWindows.h"
#include "common/ForeignWindow.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace morvi;
using namespace morvi::test;

namespace {

// ---- FindChildByClass ----

TEST(FindChildByClass, FirstExactMatchAmongAllDescendants) {
  // A class named "edit" can only live beside the system's "Edit" when it belongs to another
  // module, so it is registered for kernel32's.
  const HINSTANCE otherModule = GetModuleHandleW(L"kernel32.dll");
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = otherModule;
  wc.lpszClassName = L"edit";
  RegisterClassExW(&wc);

  WindowHandle parent = MakeTopWindow(WS_OVERLAPPEDWINDOW, 0, 0, 400, 300);
  // In creation order, which is the order of the enumeration: "EditEx", "edit", a panel with
  // the first "Edit" inside it, and a second "Edit" directly on the parent.
  WindowHandle editEx =
      MakeWindow(PlainClass(L"EditEx"), WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent.Get());
  WindowHandle lower(CreateWindowExW(0, L"edit", L"", WS_CHILD | WS_VISIBLE, 0, 20, 50, 20,
                                     parent.Get(), nullptr, otherModule, nullptr));
  WindowHandle panel = MakeWindow(L"STATIC", WS_CHILD | WS_VISIBLE, 0, 40, 200, 50, parent.Get());
  WindowHandle nested = MakeWindow(L"EDIT", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, panel.Get());
  WindowHandle direct = MakeWindow(L"EDIT", WS_CHILD | WS_VISIBLE, 0, 100, 100, 20, parent.Get());
  ASSERT_EQ(ClassName(lower.Get()), u"edit");
  ASSERT_EQ(ClassName(nested.Get()), u"Edit");

  EXPECT_EQ(FindChildByClass(parent.Get(), u"Edit"), nested.Get())
      << "the grandchild comes first, before the later child";
  EXPECT_EQ(FindChildByClass(parent.Get(), u"edit"), lower.Get());
  EXPECT_EQ(FindChildByClass(parent.Get(), u"EditEx"), editEx.Get());
  EXPECT_EQ(FindChildByClass(parent.Get(), u"EDIT"), nullptr) << "case counts";
  EXPECT_EQ(FindChildByClass(parent.Get(), u"Edi"), nullptr) << "the whole name counts";
  EXPECT_EQ(FindChildByClass(panel.Get(), u"EditEx"), nullptr) << "only below the parent";
  EXPECT_EQ(FindChildByClass(parent.Get(), u"ComboBox"), nullptr)
      << "no match left over from the search before";
}

// ---- IsFileDialog on windows of our own ----

// Which parts a test-made dialog has. All of them make the shape of the Windows 10 Save As
// dialog: the DirectUI view with the file-name box deep inside it (a ComboBox holding an Edit),
// and the OK and Cancel buttons.
struct Shape {
  const char* name;
  const wchar_t* cls = L"#32770";
  const wchar_t* view = L"DUIViewWndClassName";
  bool viewNested = false; // the view one level further down, under another child
  bool ok = true;
  bool cancel = true;
  bool isFileDialog = true;
};

void PrintTo(const Shape& s, std::ostream* os) {
  *os << s.name;
}

struct BuiltDialog {
  WindowHandle dialog;
  HWND fileNameBox = nullptr;
};

BuiltDialog Build(const Shape& s) {
  PlainClass(L"DUIViewWndClassName");
  PlainClass(L"SHELLDLL_DefView");
  PlainClass(L"DirectUIHWND");
  PlainClass(L"FloatNotifySink");
  PlainClass(); // the class of the near miss that is no dialog
  BuiltDialog b;
  b.dialog.Reset(CreateWindowExW(0, s.cls, L"名前を付けて保存", WS_POPUP | WS_CAPTION, 100, 100,
                                 600, 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  const auto child = [](const wchar_t* cls, HWND parent, int id = 0, DWORD style = 0) {
    return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 500, 300, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  };
  HWND d = b.dialog.Get();
  HWND host = s.viewNested ? child(L"STATIC", d) : d;
  HWND view = child(s.view, host);
  HWND combo = child(L"ComboBox", child(L"FloatNotifySink", child(L"DirectUIHWND", view)), 1148,
                     CBS_DROPDOWN);
  b.fileNameBox = FindWindowExW(combo, nullptr, L"Edit", nullptr);
  if (s.ok) {
    child(L"BUTTON", d, IDOK);
  }
  if (s.cancel) {
    child(L"BUTTON", d, IDCANCEL);
  }
  return b;
}

class FileDialogShapeTest : public testing::TestWithParam<Shape> {};

TEST_P(FileDialogShapeTest, NeedsTheDialogClassAShellViewChildAndBothButtons) {
  const BuiltDialog b = Build(GetParam());
  ASSERT_TRUE(b.dialog);
  ASSERT_NE(b.fileNameBox, nullptr) << "the ComboBox made its Edit";
  EXPECT_EQ(IsFileDialog(b.dialog.Get()), GetParam().isFileDialog);
  EXPECT_EQ(FindChildByClass(b.dialog.Get(), u"Edit"), b.fileNameBox);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, FileDialogShapeTest,
    testing::Values(
        Shape{"Windows10"}, Shape{"ShellDefView", L"#32770", L"SHELLDLL_DefView"},
        Shape{"ViewNotADirectChild", L"#32770", L"DUIViewWndClassName", true, true, true, false},
        Shape{"NoOkButton", L"#32770", L"DUIViewWndClassName", false, false, true, false},
        Shape{"NoCancelButton", L"#32770", L"DUIViewWndClassName", false, true, false, false},
        Shape{"NoShellView", L"#32770", L"STATIC", false, true, true, false},
        Shape{"NotTheDialogClass", L"MorviTestWindow", L"DUIViewWndClassName", false, true, true,
              false}),
    [](const testing::TestParamInfo<Shape>& i) { return std::string(i.param.name); });

TEST(IsFileDialog, NotForAMessageBoxOrNoWindow) {
  EXPECT_FALSE(IsFileDialog(nullptr));

  // A message box is a #32770 dialog with OK and Cancel, but without a shell view.
  std::thread owner(
      [] { MessageBoxW(nullptr, L"probe", L"MorviProbeBox", MB_OKCANCEL | MB_SETFOREGROUND); });
  HWND box = nullptr;
  EXPECT_TRUE(PumpUntil([&box] { return (box = FindWindowW(L"#32770", L"MorviProbeBox")); }));
  if (box) {
    EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
    EXPECT_NE(GetDlgItem(box, IDCANCEL), nullptr);
    EXPECT_FALSE(IsFileDialog(box));
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
  }
  owner.join();
}

// ---- Wine's real Save As dialog, in another process ----

// The text of another process's Edit box: GetWindowTextW does not ask another process's window,
// WM_GETTEXT does.
std::u16string BoxText(HWND box) {
  wchar_t buf[1024] = {};
  SendMessageW(box, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf));
  return U16(buf);
}

// savedlg.exe with its dialog open on an initial name, in a folder of its own.
class SaveDialogTest : public testing::Test {
protected:
  void SetUp() override {
    ui::Application::Instance().Initialize();
    ASSERT_TRUE(helper_.Start(u"savedlg.exe", {u"名前.txt", u"--dir", folder_.Path(), u"--result",
                                               folder_ / u"result.txt"}));
    const std::u16string title = u"名前を付けて保存";
    dialog_ = WaitForProcessWindow(helper_.Id(), u"#32770", &title, 30000);
    ASSERT_NE(dialog_, nullptr) << "no Save As dialog titled 名前を付けて保存 appeared";
  }

  // The report savedlg.exe wrote once its dialog had closed.
  std::u16string Report() {
    EXPECT_TRUE(helper_.WaitForExit(10000));
    return FromUtf8(ReadFileBytes(folder_ / u"result.txt"));
  }

  TempFolder folder_;
  ChildProcess helper_;
  HWND dialog_ = nullptr;
};

TEST_F(SaveDialogTest, WinesSaveAsDialogIsAFileDialog) {
  EXPECT_TRUE(IsFileDialog(dialog_));
  PostMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(Report(), u"result=0\nfile=名前.txt\nerror=0\n");
  EXPECT_EQ(helper_.ExitCode(), 1u) << "cancelled";
}

// What the lead's round-trip tests rely on: the name in the dialog's box when Save is pressed
// comes back as the chosen path.
TEST_F(SaveDialogTest, HelperReportsThePathSavedUnder) {
  const HWND box = FindChildByClass(dialog_, u"Edit");
  ASSERT_TRUE(PumpUntil([box] { return BoxText(box) == u"名前.txt"; }));
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"別の名前.txt"));
  PostMessageW(dialog_, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(Report(), u"result=1\nfile=" + (folder_ / u"別の名前.txt") + u"\nerror=0\n");
  EXPECT_EQ(helper_.ExitCode(), 0u);
}

} // namespace
