// The word list as the user meets it, on real windows: its window and tool bar, the file's lines in
// the real list box, the first start, the failures, putting a word into the base name, the keys,
// the horizontal scroll range and its settings.
#include "FileErrors.h"
#include "MenuDriver.h"
#include "WordListFixture.h"

#include "common/Handles.h"
#include "common/ScreenPlacement.h"
#include "common/Wide.h"
#include "ui/Dpi.h"
#include "ui/ListBox.h"

#include <commctrl.h>

#include <string>
#include <vector>

using namespace std::string_literals;
using namespace morvi;
using namespace morvi::test;
using ui::Box;

namespace {

using Words = std::vector<std::u16string>;

Box Outer(const ui::Form& f) {
  return f.ScreenBounds();
}

// What the system's code page 932 makes of the bytes.
std::u16string FromCodePage932(const std::string& bytes) {
  wchar_t buf[64] = {};
  const int n = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), buf, 64);
  return U16(buf, static_cast<std::size_t>(n));
}

long HorizontalExtent(const ui::ListBox& list) {
  return static_cast<long>(SendMessageW(list.Handle(), LB_GETHORIZONTALEXTENT, 0, 0));
}

} // namespace

// ---- The window and its tool bar ----

TEST_F(WordListTest, IsAHiddenToolWindowWithoutTitleButtonsOwnedByTheApplication) {
  Create();
  HWND w = Note().Handle();
  EXPECT_EQ(FindWindowW(L"TNoteForm", L"Morvi - 単語帳"), w);
  EXPECT_FALSE(IsWindowVisible(w)) << "created hidden";
  const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
  const LONG_PTR ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_THICKFRAME) << "sizable";
  EXPECT_FALSE(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) << "no title-bar buttons";
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW) << "narrow title bar, no task-bar button";
  EXPECT_FALSE(ex & WS_EX_APPWINDOW);
  EXPECT_EQ(GetWindow(w, GW_OWNER), ui::Application::Instance().Handle());
  EXPECT_EQ(GetClassLongPtrW(w, GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));
}

TEST_F(WordListTest, ToolBarButtonsShowTheirCaptionsAsWideAsTheyAreInTheMenuFont) {
  Create();
  ShowList();
  struct Expected {
    const ui::ToolButton* button;
    const char16_t* caption;
    ui::ToolButton::Kind kind;
  };
  using Kind = ui::ToolButton::Kind;
  const Expected order[] = {
      {Note().TBName, u"名前欄に入力(&N)", Kind::Push},
      {Note().TBClip, u"クリップボードにコピー(&C)", Kind::Push},
      {Note().ToolButton2, u"", Kind::Separator},
      {Note().TBEdit, u"編集(&E)", Kind::Push},
      {Note().TBReload, u"再読み込み(&R)", Kind::Push},
      {Note().ToolButton1, u"", Kind::Separator},
      {Note().TBClose, u"閉じる(&X)", Kind::Push},
      {Note().TBEnd, u"", Kind::Separator},
      {Note().TBShow, u"メインウィンドウと同時に表示", Kind::Check},
  };
  HWND bar = Note().ToolBar->Handle();
  ASSERT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 9);
  // The bar draws with the window's font, the menu font.
  const auto font = reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0));
  EXPECT_EQ(font, Note().Font());
  LOGFONTW lf{};
  GetObjectW(font, sizeof lf, &lf);
  EXPECT_EQ(std::u16string(U16(lf.lfFaceName)), U16(ui::MenuFontAt(96).lfFaceName));

  HDC dc = GetDC(bar);
  const HGDIOBJ old = SelectObject(dc, font);
  int right = 0;
  for (const Expected& e : order) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(e.caption)));
    EXPECT_EQ(e.button->Caption(), e.caption);
    EXPECT_EQ(e.button->GetKind(), e.kind);
    const Box b = e.button->Bounds();
    EXPECT_EQ(b.left, right) << "in order, without gaps";
    right = b.left + b.width;
    EXPECT_EQ(b.height, 21) << "26 pixels at 120 DPI";
    if (e.kind == Kind::Separator) {
      EXPECT_EQ(b.width, 6) << "8 pixels at 120 DPI";
      continue;
    }
    // As wide as the caption (without its "&"), with a margin, never a fixed width.
    std::u16string shown = e.caption;
    if (const auto amp = shown.find(u'&'); amp != std::u16string::npos) {
      shown.erase(amp, 1);
    }
    SIZE text{};
    GetTextExtentPoint32W(dc, W(shown), static_cast<int>(shown.size()), &text);
    EXPECT_GE(b.width, text.cx);
    EXPECT_LE(b.width, text.cx + 30);
  }
  SelectObject(dc, old);
  ReleaseDC(bar, dc);
  EXPECT_GT(Note().TBClip->Bounds().width, Note().TBEdit->Bounds().width + 40);
  // The bar is as high as its buttons, and the list fills the rest.
  EXPECT_EQ(Note().ToolBar->Bounds().height, 21);
  RECT client{};
  GetClientRect(Note().Handle(), &client);
  EXPECT_EQ(Note().ListBox->Bounds(), (Box{0, 21, client.right, client.bottom - 21}));
}

TEST_F(WordListTest, TheShowButtonChangesAtEachClickAndHasNoAccessKey) {
  Create();
  ShowList();
  EXPECT_FALSE(Note().TBShow->Down());
  ClickButton(*Note().TBShow);
  EXPECT_TRUE(Note().TBShow->Down());
  EXPECT_TRUE(SendMessageW(Note().ToolBar->Handle(), TB_ISBUTTONCHECKED, 9, 0));
  ClickButton(*Note().TBShow);
  EXPECT_FALSE(Note().TBShow->Down());
  EXPECT_EQ(Note().TBShow->AccessKey(), 0);
}

// ---- The file's lines ----

TEST_F(WordListTest, EveryLineOfTheFileIsAnEntryAsItStands) {
  struct Case {
    const char* what;
    std::string bytes;
    Words items;
  };
  const Case cases[] = {
      {"CR LF runs keep the empty line", "a\r\n\r\nb", {u"a", u"", u"b"}},
      {"LF CR is two breaks", "a\n\rb", {u"a", u"", u"b"}},
      {"no final break", "a\r\nb", {u"a", u"b"}},
      {"a final CR LF adds nothing", "a\r\nb\r\n", {u"a", u"b"}},
      {"lone CR and LF", "a\rb\nc", {u"a", u"b", u"c"}},
      {"blanks and tabs stay", "  lead\r\ntrail \t\r\n\t", {u"  lead", u"trail \t", u"\t"}},
      {"only empty lines", "\r\n\r\n", {u"", u""}},
      {"empty file", "", {}},
      {"UTF-8 with a mark",
       "\xEF\xBB\xBF\xE8\xA6\x8B\xE7\xA9\x8D\xE6\x9B\xB8\r\n2026",
       {u"見積書", u"2026"}},
      {"UTF-8 without a mark is read as code page 932",
       "\xE8\xA6\x8B\xE7\xA9\x8D",
       {FromCodePage932("\xE8\xA6\x8B\xE7\xA9\x8D")}},
      {"code page 932", "\x8C\xA9\x90\xCF\x8F\x91\r\nA", {u"見積書", u"A"}},
      {"UTF-16 LE with a mark", "\xFF\xFE\x8B\x89\x4D\x7A\r\x00\n\x00x\x00"s, {u"見積", u"x"}},
      {"UTF-16 BE with a mark", "\xFE\xFF\x89\x8B\x7A\x4D\x00\r\x00\n\x00x"s, {u"見積", u"x"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteNote(c.bytes);
    Create();
    EXPECT_EQ(ListItems(), c.items);
    EXPECT_EQ(Note().ListBox->ItemIndex(), -1) << "nothing selected after loading";
    form_.reset();
  }
}

TEST_F(WordListTest, ShowingSelectsTheFirstWordOnlyWhenNothingIsSelected) {
  WriteNote("one\r\ntwo\r\nthree\r\n");
  Create();
  ShowList();
  EXPECT_EQ(Note().ListBox->ItemIndex(), 0);
  Note().ListBox->SetItemIndex(2);
  Note().Close();
  ShowList();
  EXPECT_EQ(Note().ListBox->ItemIndex(), 2) << "a selection is kept";
}

TEST_F(WordListTest, AnEmptyListSelectsNothingAndItsCommandsDoNothing) {
  WriteNote("");
  Create();
  ShowEditor();
  F().EditName->SetText(u"name");
  ASSERT_TRUE(PutOnClipboard(u"kept"));
  ShowList();
  EXPECT_EQ(Note().ListBox->ItemIndex(), -1);
  ClickButton(*Note().TBName);
  ClickButton(*Note().TBClip);
  PressKey(VK_RETURN);
  EXPECT_EQ(F().EditName->Text(), u"name");
  EXPECT_EQ(ClipboardText(), u"kept");
  EXPECT_EQ(GetForegroundWindow(), Note().Handle()) << "nothing moved to the editor";
}

// ---- First start and sizes ----

TEST_F(WordListTest, FirstStartCreatesAnEmptyFileAndADefaultWindow) {
  ASSERT_FALSE(FileBytes(NoteFile()));
  Create();
  EXPECT_EQ(FileBytes(NoteFile()), std::string()) << "0 bytes in code page 932";
  EXPECT_TRUE(ListItems().empty());
  const Box b = Outer(Note());
  EXPECT_EQ(b.width, 750) << "the default 700 raised to the minimum";
  EXPECT_EQ(b.height, 300);
  EXPECT_FALSE(IsOffScreen(b.left, b.top, b.width, b.height)) << "where the system put it";
  EXPECT_FALSE(Note().TBShow->Down());
  EXPECT_FALSE(FileBytes(IniFile())) << "creation writes no settings";
}

TEST_F(WordListTest, SizesBelowTheMinimumAreRaisedWhereverTheyComeFrom) {
  struct Case {
    const char* what;
    std::string ini;
    Box outer;
  };
  const Case cases[] = {
      {"stored width 700",
       "[Note]\r\nTop=40\r\nLeft=60\r\nHeight=320\r\nWidth=700\r\n",
       {60, 40, 750, 320}},
      {"stored height 100",
       "[Note]\r\nTop=40\r\nLeft=60\r\nHeight=100\r\nWidth=900\r\n",
       {60, 40, 900, 150}},
      {"stored sizes above",
       "[Note]\r\nTop=-20\r\nLeft=30\r\nHeight=400\r\nWidth=1000\r\n",
       {30, -20, 1000, 400}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(WriteFileBytes(IniFile(), c.ini));
    Create();
    EXPECT_EQ(Outer(Note()), c.outer);
    form_.reset();
  }
  // Sizes set by the program, or asked for as a drag asks, are raised too.
  Create();
  SetWindowPos(Note().Handle(), nullptr, 0, 0, 300, 50, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Outer(Note()).width, 750);
  EXPECT_EQ(Outer(Note()).height, 150);
  MINMAXINFO mmi{};
  SendMessageW(Note().Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  EXPECT_EQ(mmi.ptMinTrackSize.x, 750);
  EXPECT_EQ(mmi.ptMinTrackSize.y, 150);
}

TEST_F(WordListTest, APositionOffEveryMonitorIsCentred) {
  ASSERT_TRUE(
      WriteFileBytes(IniFile(), "[Note]\r\nTop=5000\r\nLeft=5000\r\nHeight=300\r\nWidth=800\r\n"));
  Create();
  const Box b = Outer(Note());
  EXPECT_FALSE(IsOffScreen(b.left, b.top, b.width, b.height));
  EXPECT_EQ(b.width, 800);
}

// ---- Failures ----

TEST_F(WordListTest, WithoutItsFolderTheFileCannotBeCreatedAndTheListIsEmpty) {
  UseDataFolder(data_ / u"missing");
  MessageBoxWatcher boxes;
  Create();
  ASSERT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(boxes.Texts().front(), CreateErrorFor(NoteFile(), ERROR_PATH_NOT_FOUND));
  EXPECT_TRUE(ListItems().empty());
  EXPECT_NE(Note().Handle(), nullptr) << "the window is made all the same";
}

TEST_F(WordListTest, AFileHeldOpenForWritingGivesTheOpenErrorAndKeepsTheList) {
  WriteNote("kept\r\n");
  Create();
  ASSERT_EQ(ListItems(), (Words{u"kept"}));
  FileHandle writer(CreateFileW(W(NoteFile()), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(writer);
  {
    MessageBoxWatcher boxes;
    ShowList();
    PressKey('R', {VK_MENU});
    ASSERT_TRUE(boxes.WaitFor(1));
    EXPECT_EQ(boxes.Texts().front(), OpenErrorFor(NoteFile(), ERROR_SHARING_VIOLATION));
  }
  EXPECT_EQ(ListItems(), (Words{u"kept"}));
  // And at creation: the error, then an empty list.
  form_.reset();
  MessageBoxWatcher boxes;
  Create();
  ASSERT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(boxes.Texts().front(), OpenErrorFor(NoteFile(), ERROR_SHARING_VIOLATION));
  EXPECT_TRUE(ListItems().empty());
}

TEST_F(WordListTest, InvalidUtf8BehindAMarkGivesTheDecodingErrorAndKeepsTheList) {
  WriteNote("\xEF\xBB\xBFgood\r\n");
  Create();
  ASSERT_EQ(ListItems(), (Words{u"good"}));
  WriteNote("\xEF\xBB\xBF"
            "bad \xC3\x28\r\n");
  MessageBoxWatcher boxes;
  ShowList();
  ClickButton(*Note().TBReload);
  ASSERT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(boxes.Texts().front(), kDecodingError);
  EXPECT_EQ(ListItems(), (Words{u"good"}));
}

TEST_F(WordListTest, ReloadReadsTheFileAgainAndNothingHappensOnceItIsGone) {
  WriteNote("first\r\n");
  Create();
  std::vector<std::u16string> opened;
  Note().OpenInShell = [&](HWND owner, const std::u16string& file) {
    EXPECT_EQ(owner, Note().Handle());
    opened.push_back(file);
  };
  ShowList();
  WriteNote("first\r\nsecond\r\n");
  ClickButton(*Note().TBReload);
  EXPECT_EQ(ListItems(), (Words{u"first", u"second"}));
  EXPECT_EQ(Note().ListBox->ItemIndex(), -1) << "a reload leaves nothing selected";
  ClickButton(*Note().TBEdit);
  EXPECT_EQ(opened, (Words{NoteFile()}));

  ASSERT_TRUE(DeleteFileW(W(NoteFile())));
  MessageBoxWatcher boxes;
  ClickButton(*Note().TBReload);
  ClickButton(*Note().TBEdit);
  PressKey('R', {VK_MENU});
  EXPECT_EQ(ListItems(), (Words{u"first", u"second"}));
  EXPECT_EQ(opened.size(), 1u) << "no editor for a file that is gone";
  EXPECT_TRUE(boxes.Texts().empty());
  EXPECT_FALSE(FileBytes(NoteFile())) << "only creation makes the file";
}

// The shell opens the file in the program registered for text files: Notepad here. A new Wine
// prefix knows Notepad's "txtfile" but, unlike Windows, does not give ".txt" to it; the test
// registers it as Windows has it.
TEST_F(WordListTest, EditOpensTheFileInTheTextEditor) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L".txt", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"txtfile"),
                 sizeof L"txtfile");
  RegCloseKey(key);
  struct Unregister {
    ~Unregister() { RegDeleteKeyW(HKEY_CLASSES_ROOT, L".txt"); }
  } unregister;
  WriteNote("word\r\n");
  Create();
  ShowList();
  ClickButton(*Note().TBEdit);
  HWND editor = nullptr;
  const bool appeared = PumpUntil(
      [&] {
        editor = nullptr;
        EnumWindows(
            [](HWND w, LPARAM lp) -> BOOL {
              if (IsWindowVisible(w) &&
                  WindowText(w).find(u"Morvi-Note.txt") != std::u16string::npos &&
                  ClassName(w) != u"TNoteForm") {
                *reinterpret_cast<HWND*>(lp) = w;
                return FALSE;
              }
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&editor));
        return editor != nullptr;
      },
      20000);
  ASSERT_TRUE(appeared) << "no window shows Morvi-Note.txt";
  DWORD pid = 0;
  GetWindowThreadProcessId(editor, &pid);
  EXPECT_NE(pid, GetCurrentProcessId());
  PostMessageW(editor, WM_CLOSE, 0, 0);
  if (HANDLE p = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid)) {
    if (WaitForSingleObject(p, 5000) != WAIT_OBJECT_0) {
      TerminateProcess(p, 0);
    }
    CloseHandle(p);
  }
}

// ---- A word into the base name, or onto the clipboard ----

TEST_F(WordListTest, AWordGoesIntoTheBaseNameAtItsLastCaretEvenAfterTheExtension) {
  WriteNote("2026_\r\n  blanks\r\n");
  Create();
  ShowEditor();
  F().EditName->SetText(u"draft notes");
  F().EditExt->SetText(u"txt");
  PressKey(VK_HOME);
  for (int i = 0; i < 6; ++i) {
    PressKey(VK_RIGHT);
  }
  PressKey(VK_TAB); // the extension was entered last
  ASSERT_TRUE(F().EditExt->Focused());
  ShowList();
  ClickButton(*Note().TBName);
  EXPECT_EQ(F().EditName->Text(), u"draft 2026_notes");
  EXPECT_EQ(F().EditExt->Text(), u"txt");
  EXPECT_TRUE(PumpUntil([this] { return GetForegroundWindow() == F().Handle(); }));
  EXPECT_TRUE(PumpUntil([this] { return F().EditName->Focused(); }));
  EXPECT_TRUE(Note().Visible()) << "the word list stays open";

  // Leading blanks are part of the word; the caret record of the base name decides again.
  F().EditName->PlaceCaret(0);
  ShowList();
  Note().ListBox->SetItemIndex(1);
  ClickButton(*Note().TBName);
  EXPECT_EQ(F().EditName->Text(), u"  blanksdraft 2026_notes");
}

TEST_F(WordListTest, EnterAndADoubleClickPutTheSelectedWordIn) {
  WriteNote("alpha\r\nbeta\r\n");
  Create();
  ShowEditor();
  F().EditName->SetText(u"x");
  F().EditName->PlaceCaret(1);
  ShowList();
  PressKey(VK_DOWN);
  EXPECT_EQ(Note().ListBox->ItemIndex(), 1);
  PressKey(VK_RETURN);
  EXPECT_EQ(F().EditName->Text(), u"xbeta");
  ASSERT_TRUE(PumpUntil([this] { return F().EditName->Focused(); }));

  F().EditName->PlaceCaret(0);
  ShowList();
  RECT item{};
  SendMessageW(Note().ListBox->Handle(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  POINT p{item.left + 10, (item.top + item.bottom) / 2};
  ClientToScreen(Note().ListBox->Handle(), &p);
  ClickAndSettle(p, 2);
  EXPECT_EQ(F().EditName->Text(), u"alphaxbeta");
}

TEST_F(WordListTest, TypedCharactersNeverReachTheListWhileNavigationKeysDo) {
  WriteNote("apple\r\nbanana\r\nnote\r\ncherry\r\n");
  Create();
  ShowEditor();
  F().EditName->SetText(u"name");
  ShowList();
  ASSERT_EQ(Note().ListBox->ItemIndex(), 0);
  // "n" would jump to "note" in a plain list box, and is TBName's access key without Alt.
  TypeText(u"nbc");
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Note().ListBox->ItemIndex(), 0);
  EXPECT_EQ(F().EditName->Text(), u"name");
  EXPECT_TRUE(Note().Visible());
  PressKey(VK_END);
  EXPECT_EQ(Note().ListBox->ItemIndex(), 3);
  PressKey(VK_HOME);
  EXPECT_EQ(Note().ListBox->ItemIndex(), 0);
  PressKey(VK_NEXT);
  EXPECT_EQ(Note().ListBox->ItemIndex(), 3);
  PressKey(VK_UP);
  EXPECT_EQ(Note().ListBox->ItemIndex(), 2);
  // Alt with an access key presses that button.
  PressKey('N', {VK_MENU});
  EXPECT_EQ(F().EditName->Text(), u"notename");
}

TEST_F(WordListTest, TheEditorsCaretKeysActOnTheEditorWhileTheListHasTheFocus) {
  WriteNote("a\r\nb\r\nc\r\n");
  Create();
  ShowEditor();
  F().EditName->SetText(u"notes draft");
  PressKey(VK_HOME);
  for (int i = 0; i < 6; ++i) {
    PressKey(VK_RIGHT);
  }
  ShowList();
  Note().ListBox->SetItemIndex(1);
  // In a list box, Shift+Ctrl+Home would select the first item.
  PressKey(VK_HOME, {VK_SHIFT, VK_CONTROL});
  EXPECT_EQ(F().EditName->Text(), u"draftnotes ");
  EXPECT_EQ(Note().ListBox->ItemIndex(), 1) << "the key never reached the list";
  ShowList();
  PressKey(VK_LEFT, {VK_SHIFT, VK_CONTROL}); // delete before the caret
  EXPECT_EQ(F().EditName->Text(), u"notes ");
  EXPECT_EQ(Note().ListBox->ItemIndex(), 1);
}

TEST_F(WordListTest, CopyPutsTheSelectedWordOnTheClipboard) {
  WriteNote("\xEF\xBB\xBF見積書\r\n  with blanks \r\n");
  Create();
  ASSERT_TRUE(PutOnClipboard(u"before"));
  ShowList();
  Note().ListBox->SetItemIndex(-1);
  ClickButton(*Note().TBClip);
  EXPECT_EQ(ClipboardText(), u"before") << "nothing selected, nothing copied";
  Note().ListBox->SetItemIndex(1);
  ClickButton(*Note().TBClip);
  EXPECT_EQ(ClipboardText(), u"  with blanks ");
  PressKey('C', {VK_MENU});
  EXPECT_EQ(ClipboardText(), u"  with blanks ");
  Note().ListBox->SetItemIndex(0);
  PressKey('C', {VK_MENU});
  EXPECT_EQ(ClipboardText(), u"見積書");
}

// ---- The horizontal scroll range ----

TEST_F(WordListTest, TheScrollRangeFollowsResizesAndEqualsAFreshMeasurement) {
  WriteNote("short\r\na somewhat longer word\r\n");
  Create();
  EXPECT_EQ(HorizontalExtent(*Note().ListBox), 0) << "0 after start-up, until the first resize";
  ShowList(); // the first show sizes the window
  const long first = 2 * ui::WidestListBoxItem(Note().ListBox->Handle());
  EXPECT_GT(first, 0);
  EXPECT_EQ(HorizontalExtent(*Note().ListBox), first);
  const Box b = Outer(Note());

  WriteNote("short\r\nthe longest word of them all, by a wide margin\r\n");
  ClickButton(*Note().TBReload);
  EXPECT_EQ(HorizontalExtent(*Note().ListBox), first) << "a reload does not refit";
  Note().SetWidth(b.width + 80);
  const long second = 2 * ui::WidestListBoxItem(Note().ListBox->Handle());
  EXPECT_GT(second, first);
  EXPECT_EQ(HorizontalExtent(*Note().ListBox), second);
  Note().SetWidth(b.width + 20);
  EXPECT_EQ(HorizontalExtent(*Note().ListBox), second);

  // A larger font on a monitor of another resolution: measured anew at the next resize.
  RECT suggested{b.left, b.top, b.left + 1200, b.top + 500};
  SendMessageW(Note().Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  Note().SetWidth(1300);
  const long scaled = 2 * ui::WidestListBoxItem(Note().ListBox->Handle());
  EXPECT_GT(scaled, second);
  EXPECT_EQ(HorizontalExtent(*Note().ListBox), scaled);
}

// ---- With the editor window ----

TEST_F(WordListTest, TheEditingMenuShowsTheWordListWithTheFirstWordSelected) {
  WriteNote("one\r\ntwo\r\n");
  Create();
  ShowEditor();
  {
    MenuDriver driver([](HWND) { MenuDriver::Press('N'); });
    SendKey('E', {VK_MENU});
    ASSERT_TRUE(PumpUntil([this] { return Note().Visible(); }));
    EXPECT_TRUE(driver.Appeared());
  }
  EXPECT_EQ(Note().ListBox->ItemIndex(), 0);
  EXPECT_TRUE(PumpUntil([this] { return GetForegroundWindow() == Note().Handle(); }));
}

TEST_F(WordListTest, WithShowDownTheListComesAndGoesWithTheEditor) {
  WriteNote("one\r\n");
  Create();
  ShowEditor();
  EXPECT_FALSE(Note().Visible()) << "TBShow is up";
  F().Hide();
  Note().TBShow->SetDown(true);
  ShowEditor();
  EXPECT_TRUE(Note().Visible());
  const Box at = Outer(Note());
  F().BtnCancel->Click();
  EXPECT_FALSE(F().Visible());
  EXPECT_FALSE(Note().Visible()) << "hidden with the editor";
  EXPECT_EQ(FileBytes(IniFile()),
            "[Note]\r\nTop=" + std::to_string(at.top) + "\r\nLeft=" + std::to_string(at.left) +
                "\r\nHeight=" + std::to_string(at.height) +
                "\r\nWidth=" + std::to_string(at.width) + "\r\nShow=1\r\n\r\n")
      << "its close saved its settings";
}

TEST_F(WordListTest, ItIsOnTopWhileTheEditorIs) {
  WriteNote("one\r\n");
  Create();
  ShowEditor();
  const auto onTop = [](HWND w) {
    return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  };
  ShowList();
  EXPECT_FALSE(onTop(Note().Handle()));
  F().PPMostTop->Click();
  EXPECT_TRUE(onTop(F().Handle()));
  EXPECT_TRUE(onTop(Note().Handle()));
  Note().Close();
  F().PPMostTop->Click();
  ShowList();
  EXPECT_FALSE(onTop(Note().Handle()));
}

// ---- Settings ----

TEST_F(WordListTest, ClosingWritesTheNoteSectionAndKeepsTheRestOfTheFile) {
  struct Case {
    const char* what;
    std::string before;
    std::string after;
  };
  const std::string note = "[Note]\r\nTop=44\r\nLeft=55\r\nHeight=333\r\nWidth=888\r\nShow=1\r\n";
  // The same file in UTF-16 LE with a mark.
  const auto utf16 = [](const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
      out += c;
      out += '\0';
    }
    return out;
  };
  const std::string window = "[Window]\r\nPos=2\r\nWidth=900\r\nHotKey=Q\r\n\r\n";
  const Case cases[] = {
      {"code page 932 with other sections",
       "; a "
       "comment\r\n[Window]\r\nPos=2\r\nWidth=900\r\nHotKey=Q\r\n[Other]\r\n\x93\xFA=\x96\x7B\r\n"
       "[note]\r\nshow=0\r\nTop=1\r\n",
       "[Window]\r\nPos=2\r\nWidth=900\r\nHotKey=Q\r\n\r\n[Other]\r\n\x93\xFA=\x96\x7B\r\n\r\n"
       "[note]\r\nshow=1\r\nTop=44\r\nLeft=55\r\nHeight=333\r\nWidth=888\r\n\r\n"},
      {"UTF-16 LE, no Note section yet", utf16(window), utf16(window + note + "\r\n")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(WriteFileBytes(IniFile(), c.before));
    Create();
    ShowList();
    Note().SetScreenBounds({55, 44, 888, 333});
    Note().TBShow->SetDown(true);
    ClickButton(*Note().TBClose);
    EXPECT_FALSE(Note().Visible());
    EXPECT_EQ(FileBytes(IniFile()), c.after);
    form_.reset();
  }
}

TEST_F(WordListTest, AFailedWriteAtCloseIsShownAndKeepsTheWindowOpen) {
  ASSERT_TRUE(WriteFileBytes(IniFile(), "[Note]\r\nShow=0\r\n"));
  Create();
  ShowList();
  ASSERT_TRUE(SetFileAttributesW(W(IniFile()), FILE_ATTRIBUTE_READONLY));
  MessageBoxWatcher boxes;
  ClickButton(*Note().TBClose);
  ASSERT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(boxes.Texts().front(), CreateErrorFor(IniFile(), ERROR_ACCESS_DENIED));
  EXPECT_TRUE(Note().Visible()) << "the close did not take place";
  SetFileAttributesW(W(IniFile()), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(FileBytes(IniFile()), "[Note]\r\nShow=0\r\n");
  ClickButton(*Note().TBClose);
  EXPECT_FALSE(Note().Visible()) << "mended, it closes";
}

TEST_F(WordListTest, AnUnreadableSettingsFileIsReportedAndTheListStillComesUp) {
  ASSERT_TRUE(WriteFileBytes(IniFile(), "\xEF\xBB\xBF[Note]\r\nWidth=\xFF\r\n"));
  WriteNote("word\r\n");
  MessageBoxWatcher boxes;
  Create();
  ASSERT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(boxes.Texts(), (Words{kDecodingError})) << "reported once";
  EXPECT_EQ(ListItems(), (Words{u"word"}));
  EXPECT_EQ(Outer(Note()).width, 750);
  EXPECT_EQ(Outer(Note()).height, 300);
}
