// Damaged and oversized settings files through the portable core.
#include "BadFiles.h"
#include "TestCodecs.h"
#include "common/IniDocument.h"
#include "common/TextLines.h"

#include <gtest/gtest.h>

using namespace morvi;
using namespace morvi::test;

namespace {

class BadFiles : public testing::TestWithParam<BadFileCase> {};

} // namespace

TEST_P(BadFiles, LoadOrFailToDecodeAndWriteBackWhatLoadsAgainAlike) {
  const BadFileCase& c = GetParam();
  const Latin1Codec ansi;
  const std::optional<TextFileContent> content = DecodeTextLines(c.bytes(), ansi);
  ASSERT_EQ(content.has_value(), c.decodes);
  if (!content) {
    return;
  }
  const IniDocument doc = IniDocument::Load(content->lines);
  EXPECT_TRUE(doc.ReadString(c.section(), c.key, u"-") == c.expected()) << "the value read";
  const std::string written = EncodeTextLines(doc.Lines(), content->encoding, ansi);
  if (c.written) {
    const std::string expected = c.written();
    EXPECT_TRUE(written == expected) << "written back as expected (" << written.size()
                                     << " bytes, expected " << expected.size() << ")";
  }
  const std::optional<TextFileContent> again = DecodeTextLines(written, ansi);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->encoding, content->encoding);
  EXPECT_TRUE(IniDocument::Load(again->lines).Lines() == doc.Lines())
      << "loading the written file changes nothing";
}

INSTANTIATE_TEST_SUITE_P(SettingsFile, BadFiles, testing::ValuesIn(BadFileCases()), BadFileName);
