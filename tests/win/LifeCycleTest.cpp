// The editor window's life on real windows: the settings it reads at creation and writes when it
// closes (bytes on disk), the hot key and its letter, the run modes, failures of the settings
// file, and the end of the logon session.
#include "FileErrors.h"
#include "WordListFixture.h"

#include "common/Handles.h"
#include "common/Wide.h"
#include "editor/HotKey.h"

#include <string>
#include <vector>

using namespace std::string_literals;
using namespace morvi;
using namespace morvi::test;
using ui::Box;

namespace {

struct Registration {
  int id;
  UINT modifiers;
  UINT vk;
};

// The same text in UTF-16 with a mark, little- or big-endian.
std::string Utf16(const std::string& ascii, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : ascii) {
    out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  }
  return out;
}

std::string WindowSection(const Box& b, const char* rest) {
  return "[Window]\r\nPos=0\r\nWidth=" + std::to_string(b.width) +
         "\r\nTop=" + std::to_string(b.top) + "\r\nLeft=" + std::to_string(b.left) + "\r\n" + rest;
}

} // namespace

class LifeCycleWithStandIn : public LifeCycleTest {
protected:
  // The hot key goes to a stand-in that records it and answers as told.
  void StandInForRegistration(bool answer = true) {
    beforeCreate_ = [this, answer](TMainForm& f) {
      MainFormInspector(f).FRegisterHotKey() = [this, answer](HWND, int id, UINT m, UINT vk) {
        registered_.push_back({id, m, vk});
        return answer;
      };
    };
  }
  std::vector<Registration> registered_;
};

// ---- Creation ----

TEST_F(LifeCycleWithStandIn, StoredSettingsReachTheWindowItsMenusAndTheHotKey) {
  StandInForRegistration();
  Create();
  const Box designed = F().ScreenBounds();
  ASSERT_EQ(designed.left, 284);
  ASSERT_EQ(designed.top, 150);
  form_.reset();

  struct Case {
    const char* what;
    std::string ini;
    int pos;
    Box outer;
    bool mostTop, save;
    char16_t letter;
  };
  const Case cases[] = {
      {"every key",
       "[Window]\r\nPos=2\r\nWidth=1000\r\nTop=120\r\nLeft=90\r\nMostTop=1\r\nSave=1\r\n"
       "Resident=0\r\nHotKey=Q\r\nHeight=400\r\n",
       2,
       {90, 120, 1000, designed.height},
       true,
       true,
       u'Q'},
      {"names in any case", "[WINDOW]\r\npos=1\r\nhotkey=k\r\nmosttop=0\r\n", 1, designed, false,
       false, u'K'},
      {"a position beyond the choices and no letter", "[Window]\r\nPos=7\r\nHotKey=1\r\n", 0,
       designed, false, false, u'M'},
      {"a negative position and an empty letter", "[Window]\r\nPos=-1\r\nHotKey=\r\n", 0, designed,
       false, false, u'M'},
      {"no Window section", "[Other]\r\nPos=2\r\n", 0, designed, false, false, u'M'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    registered_.clear();
    ASSERT_TRUE(WriteFileBytes(IniFile(), c.ini));
    Create();
    EXPECT_EQ(In().MPOSC(), c.pos);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(In().MPPPOS()[static_cast<std::size_t>(i)]->Checked(), i == c.pos) << i;
    }
    EXPECT_EQ(F().ScreenBounds(), c.outer) << "the height is never stored";
    EXPECT_EQ(F().PPMostTop->Checked(), c.mostTop);
    EXPECT_EQ(F().CHKSave->Checked(), c.save);
    EXPECT_FALSE(F().PPResident->Checked());
    EXPECT_FALSE(In().FResident());
    EXPECT_EQ(In().MPPHotKeyC(), std::u16string(1, c.letter));
    for (std::size_t i = 0; i < 26; ++i) {
      EXPECT_EQ(In().MPPHotkey()[i]->Checked(), u'A' + i == c.letter) << i;
    }
    // The letter that is checked is the letter that works.
    ASSERT_EQ(registered_.size(), 1u);
    EXPECT_EQ(registered_[0].modifiers, static_cast<UINT>(MOD_CONTROL | MOD_SHIFT));
    EXPECT_EQ(registered_[0].vk, static_cast<UINT>(c.letter));
    EXPECT_EQ(registered_[0].id, In().FHotKeyID());
    EXPECT_FALSE(F().Visible()) << "resident: hidden";
    form_.reset();
  }
}

TEST_F(LifeCycleWithStandIn, ANonResidentRunShowsAtOnceAndRegistersNothing) {
  StandInForRegistration();
  ASSERT_TRUE(WriteFileBytes(IniFile(), "[Window]\r\nResident=1\r\nHotKey=Q\r\n"));
  Create();
  EXPECT_TRUE(F().Visible());
  EXPECT_TRUE(In().FResident());
  EXPECT_TRUE(F().PPResident->Checked());
  EXPECT_EQ(In().FHotKeyID(), 0);
  // A letter chosen now is stored, and nothing is registered.
  In().MPPHotkey()[25]->Click();
  EXPECT_EQ(In().MPPHotKeyC(), u"Z");
  EXPECT_TRUE(registered_.empty());
}

TEST_F(LifeCycleWithStandIn, TheResidentMarkChangesOnlyTheNextRun) {
  StandInForRegistration();
  Create();
  F().PPResident->Click();
  EXPECT_TRUE(F().PPResident->Checked());
  EXPECT_FALSE(In().FResident()) << "this run stays resident";
  EXPECT_NE(In().FHotKeyID(), 0);
  ASSERT_TRUE(F().Close());
  form_.reset();
  Create();
  EXPECT_TRUE(In().FResident());
  EXPECT_TRUE(F().Visible());
}

TEST_F(LifeCycleWithStandIn, AHotKeyTheSystemRefusesIsReportedAtStartAndWhenALetterIsChosen) {
  StandInForRegistration(false);
  MessageBoxWatcher boxes;
  Create();
  ASSERT_TRUE(boxes.WaitFor(1)) << "reported once the window is made";
  EXPECT_EQ(boxes.Texts()[0], HotKeyNotRegisteredText(u'M'));
  EXPECT_NE(boxes.Texts()[0].find(u"Ctrl+Shift+M"), std::u16string::npos);
  In().MPPHotkey()[16]->Click();
  ASSERT_TRUE(boxes.WaitFor(2));
  EXPECT_EQ(boxes.Texts()[1], HotKeyNotRegisteredText(u'Q'));
  EXPECT_EQ(In().MPPHotKeyC(), u"Q") << "the letter stays chosen";
  EXPECT_TRUE(In().MPPHotkey()[16]->Checked());
  EXPECT_FALSE(In().MPPHotkey()[12]->Checked());
  ASSERT_TRUE(F().Close());
  EXPECT_NE(ReadFileBytes(IniFile()).find("HotKey=Q\r\n"), std::string::npos);
}

// The real registration: the combination is held while chosen and let go when another letter
// is; the key press shows the window.
TEST_F(LifeCycleTest, ChoosingALetterMovesTheHotKeyAtOnce) {
  Create();
  ASSERT_FALSE(CombinationFree('M')) << "Morvi holds Ctrl+Shift+M";
  In().MPPHotkey()[16]->Click();
  EXPECT_TRUE(CombinationFree('M'));
  EXPECT_FALSE(CombinationFree('Q'));
  PressKey('M', {VK_CONTROL, VK_SHIFT});
  EXPECT_FALSE(F().Visible()) << "the old letter does nothing";
  PressKey('Q', {VK_CONTROL, VK_SHIFT});
  EXPECT_TRUE(PumpUntil([this] { return F().Visible(); }));
  EXPECT_TRUE(PumpUntil([this] { return GetForegroundWindow() == F().Handle(); }));
  form_.reset();
  EXPECT_TRUE(CombinationFree('Q')) << "let go when the window goes";
}

TEST_F(LifeCycleTest, TheHotKeyBringsBackAMinimisedWindowWithoutANewCapture) {
  Create();
  ShowEditor();
  F().EditName->SetText(u"typed");
  ShowWindow(F().Handle(), SW_MINIMIZE);
  ASSERT_TRUE(PumpUntil([this] { return IsIconic(F().Handle()) != FALSE; }));
  PressKey('M', {VK_CONTROL, VK_SHIFT});
  EXPECT_TRUE(PumpUntil([this] { return !IsIconic(F().Handle()); }));
  EXPECT_EQ(F().EditName->Text(), u"typed");
  // Another identifier is not Morvi's.
  F().Hide();
  SendMessageW(F().Handle(), WM_HOTKEY, In().FHotKeyID() + 1, 0);
  EXPECT_FALSE(F().Visible());
}

// ---- Closing ----

TEST_F(LifeCycleTest, ClosingWritesTheWindowSectionKeepingTheRestOfTheFile) {
  struct Case {
    const char* what;
    std::string before;
    std::string after; // with $ for the window's section
  };
  const std::string note = "[Note]\r\nTop=10\r\nLeft=20\r\nHeight=300\r\nWidth=750\r\nShow=0\r\n";
  const auto rest = "MostTop=0\r\nSave=0\r\nResident=0\r\nHotKey=M\r\n";
  const Case cases[] = {
      {"no file yet", "", "$\r\n"},
      {"code page 932 with a comment, other sections and a key twice",
       "; mine\r\n[Note]\r\nShow=0\r\n[\x93\xFA\x96\x7B]\r\nA = b\r\nbare line\r\n"
       "[window]\r\nhotkey=Q\r\nhotkey=X\r\n",
       "[Note]\r\nShow=0\r\n\r\n[\x93\xFA\x96\x7B]\r\nA=b\r\nbare line\r\n\r\n"
       "[window]\r\nhotkey=Q\r\nhotkey=X\r\nPos=0\r\nWidth=$W\r\nTop=150\r\nLeft=284\r\n"
       "MostTop=0\r\nSave=0\r\nResident=0\r\n\r\n"},
      {"UTF-8 with a mark", "\xEF\xBB\xBF" + note + "[\xE6\x97\xA5]\r\nk=v\r\n",
       "\xEF\xBB\xBF" + note + "\r\n[\xE6\x97\xA5]\r\nk=v\r\n\r\n$\r\n"},
  };
  Create();
  const Box b = F().ScreenBounds();
  form_.reset();
  const std::string window = WindowSection(b, rest);
  const auto expand = [&](std::string s) {
    for (std::size_t at; (at = s.find("$W")) != std::string::npos;) {
      s.replace(at, 2, std::to_string(b.width));
    }
    for (std::size_t at; (at = s.find('$')) != std::string::npos;) {
      s.replace(at, 1, window);
    }
    return s;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.before.empty()) {
      ASSERT_TRUE(WriteFileBytes(IniFile(), c.before));
    } else {
      DeleteFileW(W(IniFile()));
    }
    Create();
    // The close box, as the system reports it.
    SendMessageW(F().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(F().Handle(), nullptr) << "closed";
    EXPECT_EQ(FileBytes(IniFile()), expand(c.after));
    form_.reset();
  }
  // UTF-16 in either byte order keeps its order and mark.
  for (bool big : {false, true}) {
    SCOPED_TRACE(big ? "UTF-16 BE" : "UTF-16 LE");
    ASSERT_TRUE(WriteFileBytes(IniFile(), Utf16(note, big)));
    Create();
    SendMessageW(F().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(FileBytes(IniFile()), Utf16(note + "\r\n" + window + "\r\n", big));
    form_.reset();
  }
}

TEST_F(LifeCycleTest, WithTheWordListOpenItsSectionComesFirstAsAfterAFirstRun) {
  Create();
  ShowEditor();
  F().CHKSave->SetChecked(true);
  Note().Show();
  Note().SetScreenBounds({360, 220, 750, 300});
  const Box b = F().ScreenBounds();
  SendMessageW(F().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(FileBytes(IniFile()),
            "[Note]\r\nTop=220\r\nLeft=360\r\nHeight=300\r\nWidth=750\r\nShow=0\r\n\r\n" +
                WindowSection(b, "MostTop=0\r\nSave=1\r\nResident=0\r\nHotKey=M\r\n") + "\r\n");
}

TEST_F(LifeCycleTest, AMinimisedWindowStoresWhereItComesBackTo) {
  ASSERT_TRUE(WriteFileBytes(IniFile(), "[Window]\r\nLeft=300\r\nTop=200\r\n"));
  Create();
  ShowEditor();
  ShowWindow(F().Handle(), SW_MINIMIZE);
  ASSERT_TRUE(PumpUntil([this] { return IsIconic(F().Handle()) != FALSE; }));
  SendMessageW(F().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  const std::string written = ReadFileBytes(IniFile());
  EXPECT_EQ(written.find("[Window]\r\nLeft=300\r\nTop=200\r\n"), 0u) << written;
}

TEST_F(LifeCycleTest, ASettingsFileThatCannotBeReadOrWrittenKeepsTheWindowAndTheFile) {
  struct Case {
    const char* what;
    std::string bytes;
    bool readOnly;
    std::vector<std::u16string> atCreation;
    std::u16string atClose;
  };
  const std::string bad = "\xEF\xBB\xBF[Window]\r\nWidth=\xFF\xFE\r\n";
  const Case cases[] = {
      {"read-only",
       "[Window]\r\nPos=1\r\n",
       true,
       {},
       CreateErrorFor(IniFile(), ERROR_ACCESS_DENIED)},
      {"invalid UTF-8 behind a mark", bad, false, {kDecodingError}, kDecodingError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(WriteFileBytes(IniFile(), c.bytes));
    if (c.readOnly) {
      SetFileAttributesW(W(IniFile()), FILE_ATTRIBUTE_READONLY);
    }
    {
      MessageBoxWatcher boxes;
      Create();
      PumpUntil([] { return false; }, 200); // a report posted at creation would come now
      EXPECT_EQ(boxes.Texts(), c.atCreation) << "reported once for both windows";
    }
    ShowEditor();
    MessageBoxWatcher boxes;
    SendMessageW(F().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(boxes.WaitFor(1));
    EXPECT_EQ(boxes.Texts()[0], c.atClose);
    EXPECT_TRUE(F().Visible()) << "the window stays, so that the file can be mended";
    SetFileAttributesW(W(IniFile()), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(FileBytes(IniFile()), c.bytes);
    form_.reset();
  }
}

TEST_F(LifeCycleTest, AFolderWhereTheFileBelongsReadsAsNoFileAndCannotBeWritten) {
  ASSERT_TRUE(CreateDirectoryW(W(IniFile()), nullptr));
  MessageBoxWatcher boxes;
  Create();
  EXPECT_EQ(F().ScreenBounds().left, 284);
  ShowEditor();
  EXPECT_TRUE(boxes.Texts().empty()) << "no message for reading";
  SendMessageW(F().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(boxes.Texts()[0], CreateErrorFor(IniFile(), ERROR_ACCESS_DENIED));
  EXPECT_TRUE(F().Visible());
  RemoveDirectoryW(W(IniFile()));
}

TEST_F(LifeCycleTest, WhenTheWordListCannotSaveNeitherWindowCloses) {
  ASSERT_TRUE(WriteFileBytes(IniFile(), "[Note]\r\nShow=0\r\n"));
  Create();
  ShowEditor();
  Note().Show();
  SetFileAttributesW(W(IniFile()), FILE_ATTRIBUTE_READONLY);
  MessageBoxWatcher boxes;
  SendMessageW(F().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(boxes.Texts(),
            (std::vector<std::u16string>{CreateErrorFor(IniFile(), ERROR_ACCESS_DENIED)}));
  EXPECT_TRUE(F().Visible());
  EXPECT_TRUE(Note().Visible());
  // Hiding the editor still hides it; the word list stays.
  F().BtnCancel->Click();
  ASSERT_TRUE(boxes.WaitFor(2));
  EXPECT_FALSE(F().Visible());
  EXPECT_TRUE(Note().Visible());
  SetFileAttributesW(W(IniFile()), FILE_ATTRIBUTE_NORMAL);
}

// ---- The end of the logon session ----

TEST_F(LifeCycleTest, TheEndOfTheSessionWritesBothSectionsAndNeverWaits) {
  Create();
  ShowEditor();
  const Box b = F().ScreenBounds();
  const Box note = Note().ScreenBounds();
  EXPECT_EQ(SendMessageW(F().Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE)
      << "Morvi never refuses";
  SendMessageW(F().Handle(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  ASSERT_NE(F().Handle(), nullptr) << "a cancelled end changes nothing";
  EXPECT_FALSE(FileBytes(IniFile()));
  SendMessageW(F().Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_EQ(F().Handle(), nullptr) << "the program ends";
  EXPECT_EQ(FileBytes(IniFile()),
            "[Note]\r\nTop=" + std::to_string(note.top) + "\r\nLeft=" + std::to_string(note.left) +
                "\r\nHeight=300\r\nWidth=750\r\nShow=0\r\n\r\n" +
                WindowSection(b, "MostTop=0\r\nSave=0\r\nResident=0\r\nHotKey=M\r\n") + "\r\n")
      << "the hidden word list writes its section too";
  ui::Application::Instance().SetQuiet(false);
}

TEST_F(LifeCycleTest, AtTheEndOfTheSessionAFileThatCannotBeWrittenIsPassedOver) {
  ASSERT_TRUE(WriteFileBytes(IniFile(), "[Window]\r\nPos=1\r\n"));
  SetFileAttributesW(W(IniFile()), FILE_ATTRIBUTE_READONLY);
  Create();
  ShowEditor();
  Note().Show();
  MessageBoxWatcher boxes;
  SendMessageW(F().Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  // A box would have held the send until it was answered.
  EXPECT_TRUE(boxes.Texts().empty());
  EXPECT_EQ(F().Handle(), nullptr);
  SetFileAttributesW(W(IniFile()), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(FileBytes(IniFile()), "[Window]\r\nPos=1\r\n");
  ui::Application::Instance().SetQuiet(false);
}
