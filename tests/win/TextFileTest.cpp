// The text-file layer on a real file system, in the Japanese code page 932: bytes on disk,
// line breaks, the three error texts, and replacing a file without ever cutting it.
#include "FileErrors.h"
#include "TestFiles.h"

#include "common/FileError.h"
#include "common/Handles.h"
#include "common/TextFile.h"
#include "common/Wide.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;
using namespace morvi;
using namespace morvi::test;

namespace {

using Lines = std::vector<std::u16string>;

class TextFiles : public testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(GetACP(), 932u) << "these tests need the Japanese code page"; }
  TempFolder dir_;
};

} // namespace

TEST_F(TextFiles, JapaneseLinesRoundTripInCodePage932WithoutAMark) {
  const std::u16string path = dir_ / u"Morvi-Note.txt";
  WriteTextLines(path, {u"単語帳", u"日本語", u""}, std::nullopt);
  EXPECT_EQ(FileBytes(path), "\x92\x50\x8C\xEA\x92\xA0\r\n\x93\xFA\x96\x7B\x8C\xEA\r\n\r\n");
  const TextFileContent back = ReadTextLines(path);
  EXPECT_EQ(back.encoding, TextEncoding::AnsiCodePage);
  EXPECT_EQ(back.lines, (Lines{u"単語帳", u"日本語", u""}));
}

TEST_F(TextFiles, EachEncodingIsWrittenWithItsMarkAndReadBackAlike) {
  struct Case {
    std::optional<TextEncoding> encoding;
    std::string bytes;
  };
  const Case cases[] = {
      {std::nullopt, "\x93\xFA\x96\x7B\r\nA\r\n"},
      {TextEncoding::AnsiCodePage, "\x93\xFA\x96\x7B\r\nA\r\n"},
      {TextEncoding::Utf8, "\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\r\nA\r\n"},
      {TextEncoding::Utf16LE, "\xFF\xFE\xE5\x65\x2C\x67\r\x00\n\x00"
                              "A\x00\r\x00\n\x00"s},
      {TextEncoding::Utf16BE, "\xFE\xFF\x65\xE5\x67\x2C\x00\r\x00\n\x00"
                              "A\x00\r\x00\n"s},
  };
  const std::u16string path = dir_ / u"lines.txt";
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    WriteTextLines(path, {u"日本", u"A"}, c.encoding);
    EXPECT_EQ(FileBytes(path), c.bytes);
    const TextFileContent back = ReadTextLines(path);
    EXPECT_EQ(back.encoding, c.encoding.value_or(TextEncoding::AnsiCodePage));
    EXPECT_EQ(back.lines, (Lines{u"日本", u"A"}));
  }
}

TEST_F(TextFiles, NoLinesWithoutAnEncodingGiveAnEmptyFile) {
  const std::u16string path = dir_ / u"Morvi-Note.txt";
  WriteTextLines(path, {}, std::nullopt);
  EXPECT_EQ(FileBytes(path), "");
  EXPECT_EQ(ReadTextLines(path).lines, Lines{});
}

TEST_F(TextFiles, LinesKeepTheirBlanksAndEndAtEveryKindOfBreak) {
  const std::u16string path = dir_ / u"words.txt";
  WriteFileBytes(path, "  word \t\r\n\r\nsecond\rthird\nfourth\n\rlast");
  EXPECT_EQ(ReadTextLines(path).lines,
            (Lines{u"  word \t", u"", u"second", u"third", u"fourth", u"", u"last"}));
}

TEST_F(TextFiles, CharactersThatCodePage932CannotHoldBecomeQuestionMarksNotLookAlikes) {
  const std::u16string path = dir_ / u"ansi.txt";
  // é, € and the wave dash U+301C have no form of their own in code page 932; the circled one
  // and the kanji have, and come back.
  WriteTextLines(path, {u"café €", u"\u301C①髙"}, std::nullopt);
  EXPECT_EQ(FileBytes(path), "caf? ?\r\n?\x87\x40\xFB\xFC\r\n");
  EXPECT_EQ(ReadTextLines(path).lines, (Lines{u"caf? ?", u"?①髙"}));
}

TEST_F(TextFiles, AnUnreadableFileGivesTheOpenErrorWithItsFullPathAndTheReason) {
  struct Case {
    const char* what;
    std::u16string path;
    std::function<FileHandle(const std::u16string&)> prepare;
    DWORD code;
  };
  const Case cases[] = {
      {"missing", (dir_ / u"missing.ini"), [](const std::u16string&) { return FileHandle(); },
       ERROR_FILE_NOT_FOUND},
      {"held open for writing", (dir_ / u"busy.ini"),
       [](const std::u16string& p) {
         WriteFileBytes(p, "[Window]\r\n");
         return FileHandle(CreateFileW(W(p), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
       },
       ERROR_SHARING_VIOLATION},
      {"a folder", (dir_ / u"folder.ini"),
       [](const std::u16string& p) {
         CreateDirectoryW(W(p), nullptr);
         return FileHandle();
       },
       ERROR_ACCESS_DENIED},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const FileHandle holder = c.prepare(c.path);
    ASSERT_FALSE(SystemMessage(c.code).empty());
    EXPECT_EQ(FileErrorOf([&] { ReadTextLines(c.path); }), OpenErrorFor(c.path, c.code));
  }
}

TEST_F(TextFiles, TheOpenErrorOfARelativePathNamesTheFullPath) {
  wchar_t before[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  ASSERT_TRUE(SetCurrentDirectoryW(W(dir_.Path())));
  const std::u16string message = FileErrorOf([] { ReadTextLines(u"missing.ini"); });
  SetCurrentDirectoryW(before);
  EXPECT_EQ(message, OpenErrorFor((dir_ / u"missing.ini"), ERROR_FILE_NOT_FOUND));
}

TEST_F(TextFiles, InvalidUtf8BehindTheMarkGivesTheDecodingError) {
  const std::u16string path = dir_ / u"bad.txt";
  WriteFileBytes(path, "\xEF\xBB\xBFword\r\n\xED\xA0\x80\r\n");
  EXPECT_EQ(FileErrorOf([&] { ReadTextLines(path); }), kDecodingError);
}

TEST_F(TextFiles, AFileThatCannotBeReplacedGivesTheCreateErrorAndStaysAsItWas) {
  struct Case {
    const char* what;
    std::u16string path;
    std::function<FileHandle(const std::u16string&)> prepare;
    DWORD code;
  };
  const std::string old = "[Window]\r\nPos=1\r\n\r\n";
  const Case cases[] = {
      {"read-only", (dir_ / u"readonly.ini"),
       [&](const std::u16string& p) {
         WriteFileBytes(p, old);
         SetFileAttributesW(W(p), FILE_ATTRIBUTE_READONLY);
         return FileHandle();
       },
       ERROR_ACCESS_DENIED},
      {"open for reading in another program", (dir_ / u"reader.ini"),
       [&](const std::u16string& p) {
         WriteFileBytes(p, old);
         return FileHandle(
             CreateFileW(W(p), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
       },
       ERROR_SHARING_VIOLATION},
      {"open for writing in another program", (dir_ / u"writer.ini"),
       [&](const std::u16string& p) {
         WriteFileBytes(p, old);
         return FileHandle(CreateFileW(W(p), GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       0, nullptr));
       },
       ERROR_SHARING_VIOLATION},
      // The file is written with exclusive access: even a program that shares everything holds
      // it.
      {"open in another program that shares everything", (dir_ / u"viewer.ini"),
       [&](const std::u16string& p) {
         WriteFileBytes(p, old);
         return FileHandle(CreateFileW(W(p), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
       },
       ERROR_SHARING_VIOLATION},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const FileHandle holder = c.prepare(c.path);
    const std::vector<std::u16string> namesBefore = ListFolder(dir_.Path());
    EXPECT_EQ(FileErrorOf([&] {
                WriteTextLines(c.path, {u"[Window]", u"Pos=2", u""}, {});
              }),
              CreateErrorFor(c.path, c.code));
    EXPECT_EQ(FileBytes(c.path), old) << "the file stays byte for byte as it was";
    EXPECT_EQ(ListFolder(dir_.Path()), namesBefore) << "no temporary file is left behind";
  }
}

TEST_F(TextFiles, AFileInAMissingFolderOrOverAFolderGivesTheCreateError) {
  const std::u16string missing = dir_ / u"missing\\Morvi.ini";
  EXPECT_EQ(FileErrorOf([&] { WriteTextLines(missing, {u"x"}, {}); }),
            CreateErrorFor(missing, ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(GetFileAttributesW(W(dir_ / u"missing")), INVALID_FILE_ATTRIBUTES);

  const std::u16string folder = dir_ / u"Morvi.ini";
  ASSERT_TRUE(CreateDirectoryW(W(folder), nullptr));
  EXPECT_EQ(FileErrorOf([&] { WriteTextLines(folder, {u"x"}, {}); }),
            CreateErrorFor(folder, ERROR_ACCESS_DENIED));
  EXPECT_EQ(ListFolder(dir_.Path()), std::vector<std::u16string>{u"Morvi.ini\\"})
      << "the folder stays a folder, and nothing is left beside it";
}

// The file system's identity of the file at the path.
std::optional<std::pair<DWORD, DWORD>> FileIdentity(const std::u16string& path) {
  const FileHandle file(CreateFileW(W(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file || !GetFileInformationByHandle(file.Get(), &info)) {
    return std::nullopt;
  }
  return std::make_pair(info.nFileIndexHigh, info.nFileIndexLow);
}

TEST_F(TextFiles, ReplacingAFileSwapsInANewFileWithExactlyTheNewContent) {
  const std::u16string path = dir_ / u"Morvi.ini";
  WriteFileBytes(path, std::string(100000, 'x'));
  const auto before = FileIdentity(path);
  ASSERT_TRUE(before);
  WriteTextLines(path, {u"[Note]", u"Show=1", u""}, TextEncoding::Utf8);
  EXPECT_EQ(FileBytes(path), "\xEF\xBB\xBF[Note]\r\nShow=1\r\n\r\n");
  // Not the old file emptied and rewritten, which a failure halfway would leave cut.
  EXPECT_NE(FileIdentity(path), before);
  EXPECT_EQ(ListFolder(dir_.Path()), std::vector<std::u16string>{u"Morvi.ini"});
}
