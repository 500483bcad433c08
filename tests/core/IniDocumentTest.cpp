#include "common/IniDocument.h"

#include "SettingsCases.h"
#include "TestCodecs.h"
#include "common/TextLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;
using namespace morvi;
using namespace morvi::test;

namespace {

using Lines = std::vector<std::u16string>;

class IniDocumentCases : public testing::TestWithParam<SettingsCase> {};

// A rule that knows the small letters with diaeresis as well, unlike UpperCaseAscii.
std::u16string UpperWithUmlauts(std::u16string_view text) {
  std::u16string out = UpperCaseAscii(text);
  for (char16_t& c : out) {
    if (c == u'ä' || c == u'ö' || c == u'ü') {
      c = static_cast<char16_t>(c - 0x20);
    }
  }
  return out;
}

} // namespace

// The file's bytes through the core alone: decoding, lines, the document, and back to bytes.
TEST_P(IniDocumentCases, ReadsAndWritesAsTheFileRulesSay) {
  const SettingsCase& c = GetParam();
  const Latin1Codec ansi;
  IniDocument doc;
  std::optional<TextEncoding> encoding;
  if (c.file) {
    const std::optional<TextFileContent> content = DecodeTextLines(*c.file, ansi);
    ASSERT_EQ(content.has_value(), c.written.has_value()) << "loading fails exactly when expected";
    if (!content) {
      return;
    }
    doc = IniDocument::Load(content->lines);
    encoding = content->encoding;
  }
  ExpectReads(doc, c.reads);
  ApplyWrites(doc, c.writes);
  EXPECT_EQ(EncodeTextLines(doc.Lines(), encoding.value_or(TextEncoding::AnsiCodePage), ansi),
            *c.written);
}

INSTANTIATE_TEST_SUITE_P(FileRules, IniDocumentCases, testing::ValuesIn(SettingsCases()), CaseName);

TEST(IniDocument, TheTwoClosesOfAFirstRunWriteTheExampleFile) {
  IniDocument doc;
  ApplyWrites(doc, NoteCloseWrites());
  // The editor window's close loads the file afresh, as its own handler does.
  IniDocument again = IniDocument::Load(doc.Lines());
  ApplyWrites(again, WindowCloseWrites());
  EXPECT_EQ(EncodeTextLines(again.Lines(), TextEncoding::AnsiCodePage, Latin1Codec()),
            kExampleFile);
}

TEST(IniDocument, LoadingTrimsControlCharactersAndKeepsInnerBlanksAndEquals) {
  const IniDocument doc = IniDocument::Load({
      u"\0\t[ \tMy Section\x1F ]\x01 "s,
      u"\x7F=x"s,
      u"  Key \t =\t\0 a = b \0"s,
      u"Inner\0Nul=1\0"s,
      u"=no key",
      u"[Window",
      u"[]",
      u"In=empty name",
  });
  EXPECT_EQ(doc.Lines(), (Lines{
                             u"[My Section]",
                             u"\x7F=x",
                             u"Key=a = b",
                             u"Inner\0Nul=1"s,
                             u"=no key",
                             u"[Window",
                             u"",
                             u"[]",
                             u"In=empty name",
                             u"",
                         }));
  EXPECT_EQ(doc.ReadString(u"my section", u"KEY", u"-"), u"a = b");
  EXPECT_EQ(doc.ReadString(u"My Section", u"", u"-"), u"no key");
  EXPECT_EQ(doc.ReadString(u"My Section", u"[Window", u"-"), u"-") << "a bare line";
  EXPECT_EQ(doc.ReadString(u"", u"In", u"-"), u"empty name");
}

TEST(IniDocument, SectionsKeepFileOrderAndNewSectionsAndKeysFollowInWriteOrder) {
  IniDocument doc = IniDocument::Load({u"[B]", u"k=1", u"[A]"});
  doc.WriteString(u"C", u"z", u"3");
  doc.WriteString(u"a", u"y", u"2");
  doc.WriteString(u"C", u"x", u"4");
  doc.WriteString(u"b", u"K", u"5");
  EXPECT_EQ(doc.Lines(),
            (Lines{u"[B]", u"k=5", u"", u"[A]", u"y=2", u"", u"[C]", u"z=3", u"x=4", u""}));
}

TEST(IniDocument, AValueReadsBackAsWrittenAndFindTellsBareFromEmpty) {
  IniDocument doc = IniDocument::Load({u"[S]", u"bare", u"empty="});
  EXPECT_EQ(doc.Find(u"S", u"bare"), std::nullopt);
  EXPECT_EQ(doc.Find(u"S", u"empty"), u"");
  EXPECT_EQ(doc.Find(u"S", u"missing"), std::nullopt);
  EXPECT_EQ(doc.Find(u"T", u"bare"), std::nullopt);
  doc.WriteInteger(u"S", u"n", -2147483647 - 1);
  doc.WriteBool(u"S", u"yes", true);
  doc.WriteBool(u"S", u"no", false);
  doc.WriteString(u"S", u"empty", u" x ");
  EXPECT_EQ(doc.ReadInteger(u"S", u"n", 0), -2147483647 - 1);
  EXPECT_TRUE(doc.ReadBool(u"S", u"yes", false));
  EXPECT_FALSE(doc.ReadBool(u"S", u"no", true));
  EXPECT_EQ(doc.ReadString(u"S", u"empty", u""), u" x ");
  EXPECT_EQ(doc.Lines()[2], u"empty= x ");
}

TEST(IniDocument, NamesAreComparedThroughTheGivenUpperCasingRule) {
  const Lines lines{u"[Größe]", u"Länge=1", u"[GRÖSSE]", u"[GRÖßE]", u"Länge=2"};
  const IniDocument ascii = IniDocument::Load(lines);
  const IniDocument umlauts = IniDocument::Load(lines, UpperWithUmlauts);
  EXPECT_EQ(ascii.ReadInteger(u"GRÖßE", u"LÄNGE", 0), 0) << "a to z only";
  EXPECT_EQ(ascii.ReadInteger(u"GRöße", u"LäNGE", 0), 1);
  EXPECT_EQ(umlauts.ReadInteger(u"GRÖßE", u"LÄNGE", 0), 1);
  // The rule decides which headers repeat a section: "GRÖSSE" is another name to both.
  EXPECT_EQ(ascii.Lines().size(), 8u);
  EXPECT_EQ(umlauts.Lines(), (Lines{u"[Größe]", u"Länge=1", u"", u"[GRÖSSE]", u""}));
}
