// The settings file on disk under the Japanese code page: the same cases as the core's
// document, the example file, names compared by the user's locale, and damaged files.
#include "BadFiles.h"
#include "FileErrors.h"
#include "SettingsCases.h"
#include "TestFiles.h"

#include "common/FileError.h"
#include "common/Handles.h"
#include "common/SettingsFile.h"
#include "common/Wide.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace morvi;
using namespace morvi::test;

namespace {

class SettingsFileCases : public testing::TestWithParam<SettingsCase> {
protected:
  TempFolder dir_;
};

class SettingsBadFiles : public testing::TestWithParam<BadFileCase> {
protected:
  TempFolder dir_;
};

class SettingsFiles : public testing::Test {
protected:
  TempFolder dir_;
};

bool Exists(const std::u16string& path) {
  return GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

TEST_P(SettingsFileCases, ReadsAndWritesTheFileOnDiskAsTheRulesSay) {
  const SettingsCase& c = GetParam();
  const std::u16string path = dir_ / u"Morvi.ini";
  if (c.file) {
    WriteFileBytes(path, *c.file);
  }
  if (!c.written) {
    EXPECT_EQ(FileErrorOf([&] { SettingsFile settings(path); }), kDecodingError);
    EXPECT_EQ(FileBytes(path), c.file) << "a file that fails to load is not touched";
    return;
  }
  SettingsFile settings(path);
  EXPECT_EQ(settings.Encoding().has_value(), c.file.has_value());
  ExpectReads(settings, c.reads);
  ApplyWrites(settings, c.writes);
  settings.UpdateFile();
  EXPECT_EQ(FileBytes(path), c.written);
  EXPECT_EQ(ListFolder(dir_.Path()), std::vector<std::u16string>{u"Morvi.ini"});
}

INSTANTIATE_TEST_SUITE_P(FileRules, SettingsFileCases, testing::ValuesIn(SettingsCases()),
                         CaseName);

TEST_F(SettingsFiles, TheTwoClosesOfAFirstRunWriteTheExampleFileByteForByte) {
  const std::u16string path = dir_ / u"Morvi.ini";
  {
    SettingsFile note(path);
    ApplyWrites(note, NoteCloseWrites());
    note.UpdateFile();
  }
  {
    SettingsFile window(path);
    ApplyWrites(window, WindowCloseWrites());
    window.UpdateFile();
  }
  EXPECT_EQ(FileBytes(path), kExampleFile);
}

TEST_F(SettingsFiles, DiscardingTheObjectWritesNothing) {
  const std::u16string path = dir_ / u"Morvi.ini";
  {
    SettingsFile settings(path);
    EXPECT_EQ(settings.Encoding(), std::nullopt);
    settings.WriteInteger(u"Window", u"Pos", 2);
  }
  EXPECT_FALSE(Exists(path));
  WriteFileBytes(path, "[Window]\r\nPos=1\r\n");
  {
    SettingsFile settings(path);
    settings.WriteInteger(u"Window", u"Pos", 2);
  }
  EXPECT_EQ(FileBytes(path), "[Window]\r\nPos=1\r\n");
}

TEST_F(SettingsFiles, NamesMatchByTheLocalesUpperCaseBeyondAsciiLetters) {
  const std::u16string path = dir_ / u"Morvi.ini";
  WriteFileBytes(
      path,
      "\xEF\xBB\xBF"
      "[\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82]\r\n"             // [Привет]
      "\xD0\x9A\xD0\xBB\xD1\x8E\xD1\x87=1\r\n"                             // Ключ=1
      "[\xEF\xBD\x8D\xEF\xBD\x8F\xEF\xBD\x92\xEF\xBD\x96\xEF\xBD\x89]\r\n" // [ｍｏｒｖｉ]
      "\xEF\xBD\x8B\xEF\xBD\x85\xEF\xBD\x99=2\r\n"                         // ｋｅｙ=2
      "[caf\xC3\xA9]\r\n\xC3\xA9t\xC3\xA9=3\r\n"                           // [café] été=3
      "[\xD0\x9F\xD0\xA0\xD0\x98\xD0\x92\xD0\x95\xD0\xA2]\r\nx=4\r\n");    // [ПРИВЕТ]
  const SettingsFile settings(path);
  EXPECT_EQ(settings.ReadInteger(u"ПРИВЕТ", u"КЛЮЧ", 0), 1);
  EXPECT_EQ(settings.ReadInteger(u"ＭＯＲＶＩ", u"ＫＥＹ", 0), 2);
  EXPECT_EQ(settings.ReadInteger(u"CAFÉ", u"ÉTÉ", 0), 3);
  EXPECT_EQ(settings.ReadInteger(u"привет", u"x", 0), 0) << "[ПРИВЕТ] repeats [Привет]";
}

TEST_F(SettingsFiles, AUtf8FileWithoutAMarkIsReadInCodePage932AndWrittenBackUnchanged) {
  ASSERT_EQ(GetACP(), 932u);
  const std::u16string path = dir_ / u"Morvi.ini";
  const std::string bytes = "[Window]\r\nName=\xE6\x97\xA5\xE6\x9C\xAC\r\n\r\n"; // 日本 in UTF-8
  WriteFileBytes(path, bytes);
  SettingsFile settings(path);
  EXPECT_EQ(settings.Encoding(), TextEncoding::AnsiCodePage);
  EXPECT_EQ(settings.ReadString(u"Window", u"Name", u""), u"\u8B4C\uFF65\u8B5B\uFF6C");
  settings.UpdateFile();
  EXPECT_EQ(FileBytes(path), bytes);
}

TEST_F(SettingsFiles, AFileHeldOpenForWritingGivesTheOpenErrorAndNothingIsRead) {
  const std::u16string path = dir_ / u"Morvi.ini";
  WriteFileBytes(path, "[Window]\r\nPos=2\r\n");
  const FileHandle writer(CreateFileW(W(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(writer);
  EXPECT_EQ(FileErrorOf([&] { SettingsFile settings(path); }),
            OpenErrorFor(path, ERROR_SHARING_VIOLATION));
}

TEST_F(SettingsFiles, AReadOnlyFileGivesTheCreateErrorAndKeepsItsBytes) {
  const std::u16string path = dir_ / u"Morvi.ini";
  const std::string old = "[Window]\r\nPos=2\r\n; mine\r\n";
  WriteFileBytes(path, old);
  SetFileAttributesW(W(path), FILE_ATTRIBUTE_READONLY);
  SettingsFile settings(path);
  settings.WriteInteger(u"Window", u"Pos", 1);
  EXPECT_EQ(FileErrorOf([&] { settings.UpdateFile(); }), CreateErrorFor(path, ERROR_ACCESS_DENIED));
  EXPECT_EQ(FileBytes(path), old);
  EXPECT_EQ(ListFolder(dir_.Path()), std::vector<std::u16string>{u"Morvi.ini"});
}

TEST_F(SettingsFiles, AMissingFolderGivesDefaultsAndThenTheCreateError) {
  const std::u16string path = dir_ / u"Ostrelworks\\Morvi\\Morvi.ini";
  SettingsFile settings(path);
  EXPECT_EQ(settings.ReadInteger(u"Window", u"Pos", 0), 0);
  settings.WriteInteger(u"Window", u"Pos", 1);
  EXPECT_EQ(FileErrorOf([&] { settings.UpdateFile(); }),
            CreateErrorFor(path, ERROR_PATH_NOT_FOUND));
  EXPECT_TRUE(ListFolder(dir_.Path()).empty());
}

TEST_P(SettingsBadFiles, LoadOrGiveTheDecodingErrorAndWriteBackWhatLoadsAgain) {
  const BadFileCase& c = GetParam();
  const std::u16string path = dir_ / u"Morvi.ini";
  const std::string bytes = c.bytes();
  WriteFileBytes(path, bytes);
  std::optional<SettingsFile> settings;
  try {
    settings.emplace(path);
  } catch (const FileError& e) {
    EXPECT_FALSE(c.decodes) << "loading failed";
    EXPECT_EQ(e.Message(), kDecodingError);
    EXPECT_TRUE(FileBytes(path) == bytes) << "the file is not touched";
    return;
  }
  ASSERT_TRUE(c.decodes) << "loading succeeded";
  EXPECT_TRUE(settings->ReadString(c.section(), c.key, u"-") == c.expected()) << "the value read";
  settings->UpdateFile();
  if (c.written) {
    EXPECT_TRUE(FileBytes(path) == c.written()) << "written back as expected";
  }
  const SettingsFile again(path);
  EXPECT_EQ(again.Encoding(), settings->Encoding());
}

INSTANTIATE_TEST_SUITE_P(SettingsFile, SettingsBadFiles, testing::ValuesIn(BadFileCases()),
                         BadFileName);
