// The data folder on the real file system, and the drive and file checks. The application-data
// folders are pointed at scratch folders for each test (the shell-folder values in the
// registry), so that the prefix's own folders are never touched.
#include "common/DataFolder.h"
#include "ChildProcess.h"
#include "common/Wide.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace morvi;
using namespace morvi::test;

namespace {

const wchar_t kUserShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Points one shell folder at another path for the test's lifetime: the value under both "User
// Shell Folders" and "Shell Folders" (the shell keeps a copy there), each put back as it was,
// or removed again when it was missing.
class ShellFolderRedirect {
public:
  ShellFolderRedirect(HKEY root, const wchar_t* value, const std::u16string& path)
      : root_(root), value_(value) {
    for (const wchar_t* key : {kUserShellFolders, kShellFolders}) {
      Saved s{key, std::nullopt, 0};
      DWORD type = 0, size = 0;
      if (RegGetValueW(root_, key, value_, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size) ==
          ERROR_SUCCESS) {
        std::vector<BYTE> data(size);
        RegGetValueW(root_, key, value_, RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &size);
        data.resize(size);
        s.data = std::move(data);
        s.type = type;
      }
      saved_.push_back(std::move(s));
      Write(key, REG_SZ, reinterpret_cast<const BYTE*>(W(path)),
            static_cast<DWORD>((path.size() + 1) * sizeof(char16_t)));
    }
  }

  ~ShellFolderRedirect() {
    for (const Saved& s : saved_) {
      if (s.data) {
        Write(s.key, s.type, s.data->data(), static_cast<DWORD>(s.data->size()));
      } else {
        RegDeleteKeyValueW(root_, s.key, value_);
      }
    }
  }

  ShellFolderRedirect(const ShellFolderRedirect&) = delete;
  ShellFolderRedirect& operator=(const ShellFolderRedirect&) = delete;

private:
  struct Saved {
    const wchar_t* key;
    std::optional<std::vector<BYTE>> data;
    DWORD type;
  };

  void Write(const wchar_t* key, DWORD type, const BYTE* data, DWORD size) const {
    HKEY k = nullptr;
    if (RegCreateKeyExW(root_, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) ==
        ERROR_SUCCESS) {
      RegSetValueExW(k, value_, 0, type, data, size);
      RegCloseKey(k);
    }
  }

  HKEY root_;
  const wchar_t* value_;
  std::vector<Saved> saved_;
};

bool IsFolder(const std::u16string& path) {
  const DWORD a = GetFileAttributesW(W(path));
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// ---- GetSpecialFolder ----

TEST(GetSpecialFolder, EachIndexNamesItsFolderWithoutATrailingBackslash) {
  const KNOWNFOLDERID* known[6] = {&FOLDERID_Documents,    &FOLDERID_RoamingAppData,
                                   &FOLDERID_LocalAppData, &FOLDERID_ProgramData,
                                   &FOLDERID_Pictures,     &FOLDERID_PublicDocuments};
  for (int i = 0; i < 6; ++i) {
    PWSTR path = nullptr;
    ASSERT_EQ(SHGetKnownFolderPath(*known[i], 0, nullptr, &path), S_OK) << "index " << i;
    const std::u16string expected = U16(path);
    CoTaskMemFree(path);
    const std::u16string got = GetSpecialFolder(i);
    EXPECT_EQ(got, expected) << "index " << i;
    EXPECT_NE(got.back(), u'\\') << "index " << i;
  }
  EXPECT_EQ(GetSpecialFolder(-1), u"");
  EXPECT_EQ(GetSpecialFolder(6), u"");
}

// ---- PrepareDataFolder ----

// A scratch "application data" folder that the per-user (or all-users) AppData shell folder
// points at during the test.
class DataFolderTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(CreateDirectoryW(W(appData_), nullptr));
    ASSERT_EQ(GetSpecialFolder(1), appData_) << "the redirection took effect";
  }

  std::u16string Ostrelworks() const { return appData_ + u"\\Ostrelworks"; }
  std::u16string Morvi() const { return Ostrelworks() + u"\\Morvi"; }

  TempFolder temp_;
  std::u16string appData_ = temp_ / u"AppData";
  ShellFolderRedirect redirect_{HKEY_CURRENT_USER, L"AppData", appData_};
};

enum class Before { Nothing, OstrelworksFolder, BothFolders, OstrelworksFile, MorviFile };

struct PrepareCase {
  const char* name;
  Before before;
  bool result;
};

void PrintTo(const PrepareCase& c, std::ostream* os) {
  *os << c.name;
}

class PrepareDataFolderTest : public DataFolderTest,
                              public testing::WithParamInterface<PrepareCase> {};

TEST_P(PrepareDataFolderTest, CreatesWhatIsMissingAndTellsWhetherTheFolderIsThere) {
  const PrepareCase& c = GetParam();
  switch (c.before) {
  case Before::Nothing:
    break;
  case Before::OstrelworksFolder:
    ASSERT_TRUE(CreateDirectoryW(W(Ostrelworks()), nullptr));
    break;
  case Before::BothFolders:
    ASSERT_TRUE(CreateDirectoryW(W(Ostrelworks()), nullptr));
    ASSERT_TRUE(CreateDirectoryW(W(Morvi()), nullptr));
    break;
  case Before::OstrelworksFile:
    ASSERT_TRUE(WriteFileBytes(Ostrelworks(), "mine"));
    break;
  case Before::MorviFile:
    ASSERT_TRUE(CreateDirectoryW(W(Ostrelworks()), nullptr));
    ASSERT_TRUE(WriteFileBytes(Morvi(), "mine"));
    break;
  }
  EXPECT_EQ(PrepareDataFolder(u"Morvi", false), c.result);
  EXPECT_EQ(UserDataDir(), appData_ + u"\\Ostrelworks\\Morvi\\");
  if (c.result) {
    EXPECT_EQ(ListFolder(appData_), std::vector<std::u16string>{u"Ostrelworks\\"});
    EXPECT_EQ(ListFolder(Ostrelworks()), std::vector<std::u16string>{u"Morvi\\"});
    EXPECT_TRUE(IsFolder(Morvi()));
  } else {
    // The file in the way is left as it was.
    const std::u16string inTheWay = c.before == Before::OstrelworksFile ? Ostrelworks() : Morvi();
    EXPECT_EQ(ReadFileBytes(inTheWay), "mine");
    EXPECT_FALSE(IsFolder(inTheWay));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Before, PrepareDataFolderTest,
    testing::Values(PrepareCase{"FirstRunCreatesBoth", Before::Nothing, true},
                    PrepareCase{"CreatesTheMissingMorvi", Before::OstrelworksFolder, true},
                    PrepareCase{"FindsBoth", Before::BothFolders, true},
                    PrepareCase{"OstrelworksIsAFile", Before::OstrelworksFile, false},
                    PrepareCase{"MorviIsAFile", Before::MorviFile, false}),
    [](const testing::TestParamInfo<PrepareCase>& i) { return std::string(i.param.name); });

TEST_F(DataFolderTest, SecondRunCreatesNothingAndKeepsTheFiles) {
  ASSERT_TRUE(PrepareDataFolder(u"Morvi", false));
  const std::u16string first = UserDataDir();
  ASSERT_TRUE(WriteFileBytes(first + u"Morvi.ini", "[Window]\r\n"));
  ASSERT_TRUE(PrepareDataFolder(u"Morvi", false));
  EXPECT_EQ(UserDataDir(), first);
  EXPECT_EQ(ListFolder(appData_), std::vector<std::u16string>{u"Ostrelworks\\"});
  EXPECT_EQ(ListFolder(Morvi()), std::vector<std::u16string>{u"Morvi.ini"});
  EXPECT_EQ(ReadFileBytes(first + u"Morvi.ini"), "[Window]\r\n");
}

TEST_F(DataFolderTest, MissingApplicationDataFolderCreatesNoParents) {
  const std::u16string missing = temp_ / u"Gone";
  ShellFolderRedirect gone{HKEY_CURRENT_USER, L"AppData", missing};
  EXPECT_FALSE(PrepareDataFolder(u"Morvi", false));
  EXPECT_FALSE(IsFolder(missing));
  EXPECT_EQ(ListFolder(temp_.Path()), std::vector<std::u16string>{u"AppData\\"});
}

TEST_F(DataFolderTest, CommonFolderSetsOnlyCommonDataDir) {
  const std::u16string userBefore = UserDataDir();
  const std::u16string programData = temp_ / u"ProgramData";
  ASSERT_TRUE(CreateDirectoryW(W(programData), nullptr));
  ShellFolderRedirect common{HKEY_LOCAL_MACHINE, L"Common AppData", programData};
  ASSERT_EQ(GetSpecialFolder(3), programData);
  EXPECT_TRUE(PrepareDataFolder(u"Morvi", true));
  EXPECT_EQ(CommonDataDir(), programData + u"\\Ostrelworks\\Morvi\\");
  EXPECT_TRUE(IsFolder(programData + u"\\Ostrelworks\\Morvi"));
  EXPECT_EQ(UserDataDir(), userBefore);
  EXPECT_EQ(ListFolder(appData_), std::vector<std::u16string>{});
}

// ---- Drives ----

// A drive letter that names no drive at all: no medium can be in it.
char16_t AbsentDriveLetter() {
  const DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) {
      return static_cast<char16_t>(u'A' + i);
    }
  }
  ADD_FAILURE() << "every drive letter is in use";
  return u'A';
}

TEST(IsDriveReady, LettersOfReadyDrivesAndTheBackslash) {
  const char16_t absent = AbsentDriveLetter();
  struct Case {
    char16_t ch;
    bool ready;
  };
  const Case cases[] = {
      {u'C', true},
      {u'c', true},
      {u'\\', true},
      {absent, false},
      {static_cast<char16_t>(absent + 0x20), false}, // its lower-case letter
      {u'1', false},
      {u'/', false},
      {u':', false},
      {u'\0', false},
      {u'\uFF23', false}, // full-width C
      {u'\uFF43', false}, // full-width c
      {u'\u00E7', false}, // c with cedilla
  };
  const UINT modeBefore = GetErrorMode();
  for (const Case& c : cases) {
    EXPECT_EQ(IsDriveReady(c.ch), c.ready) << "U+" << std::hex << static_cast<unsigned>(c.ch);
    EXPECT_EQ(GetErrorMode(), modeBefore) << "the error mode is put back";
  }
}

TEST(IsPathDriveReady, JudgesTheFirstCharacterOnly) {
  const std::u16string absent(1, AbsentDriveLetter());
  struct Case {
    std::u16string path;
    bool ready;
  };
  const Case cases[] = {
      {u"", false},
      {u"C:\\Windows", true},
      {u"c", true},
      {u"\\\\server\\share\\file.txt", true},
      {u"\\\\?\\C:\\file.txt", true},
      {absent + u":\\file.txt", false},
      {u"1:\\file.txt", false},
      {u"\uFF23:\\file.txt", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsPathDriveReady(c.path), c.ready) << "path " << testing::PrintToString(c.path);
  }
}

TEST(SafeFileExists, OnlyFilesOnReadyDrives) {
  TempFolder temp;
  const std::u16string file = temp / u"名前.txt";
  const std::u16string folder = temp / u"sub";
  ASSERT_TRUE(WriteFileBytes(file, "x"));
  ASSERT_TRUE(CreateDirectoryW(W(folder), nullptr));
  // A file that another handle holds open without sharing is still there.
  const std::u16string held = temp / u"held.txt";
  ASSERT_TRUE(WriteFileBytes(held, "x"));
  FileHandle holder(CreateFileW(W(held), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder);

  struct Case {
    std::u16string path;
    bool exists;
  };
  const Case cases[] = {
      {file, true},
      {held, true},
      {u"\\\\?\\" + file, true}, // starts with "\": only the file test decides
      {folder, false},
      {folder + u"\\", false},
      {temp / u"missing.txt", false},
      {temp / u"missing\\file.txt", false},
      {temp / u"a<b.txt", false},
      {std::u16string(1, AbsentDriveLetter()) + u":\\file.txt", false},
      {u"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SafeFileExists(c.path), c.exists) << "path " << testing::PrintToString(c.path);
  }
}

} // namespace
