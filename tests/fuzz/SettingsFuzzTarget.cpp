#include "SettingsFuzzTarget.h"

#include "TestCodecs.h"
#include "common/IniDocument.h"
#include "common/SettingValues.h"
#include "common/TextLines.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace morvi::fuzz {

namespace {

void Check(bool ok, const char* rule) {
  if (!ok) {
    std::fprintf(stderr, "settings file rule broken: %s\n", rule);
    std::abort();
  }
}

void RunWith(std::string_view bytes, const AnsiCodec& ansi) {
  const std::optional<TextFileContent> content = DecodeTextLines(bytes, ansi);
  if (!content) {
    Check(DetectEncoding(bytes).encoding == TextEncoding::Utf8, "only UTF-8 fails to decode");
    return;
  }
  IniDocument doc = IniDocument::Load(content->lines);

  // What the editor window reads, made sane, and what it writes back.
  const int pos = SanePosition(doc.ReadInteger(u"Window", u"Pos", 0));
  Check(pos >= 0 && pos <= 2, "the position is 0, 1 or 2");
  const std::u16string letter = SaneHotKeyLetter(doc.ReadString(u"Window", u"HotKey", u"M"));
  Check(letter.size() == 1 && letter[0] >= u'A' && letter[0] <= u'Z', "the hot key is A to Z");
  const std::int32_t left = doc.ReadInteger(u"Window", u"Left", -7);
  const bool show = doc.ReadBool(u"Note", u"Show", false);
  doc.WriteInteger(u"Window", u"Pos", pos);
  doc.WriteString(u"Window", u"HotKey", letter);
  doc.WriteInteger(u"Window", u"Left", left);
  doc.WriteBool(u"Note", u"Show", !show);
  Check(doc.ReadInteger(u"window", u"POS", -1) == pos, "a written number reads back");
  Check(doc.ReadString(u"WINDOW", u"hotkey", u"") == letter, "a written text reads back");
  Check(doc.ReadInteger(u"Window", u"Left", 0) == left, "a number read is written alike");
  Check(doc.ReadBool(u"Note", u"Show", show) == !show, "a written Boolean reads back");

  const std::vector<std::u16string> lines = doc.Lines();
  const std::string written = EncodeTextLines(lines, content->encoding, ansi);
  const std::optional<TextFileContent> again = DecodeTextLines(written, ansi);
  Check(again.has_value(), "the written file loads");
  if (ansi.CodePage() != kUtf8CodePage || content->encoding != TextEncoding::AnsiCodePage) {
    Check(again->encoding == content->encoding, "the file keeps its encoding");
  }
  Check(IniDocument::Load(again->lines).Lines() == lines, "loading the written file keeps it");
}

} // namespace

void RunSettingsInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  RunWith(bytes, test::Latin1Codec());
  RunWith(bytes, test::Utf8AnsiCodec());
}

} // namespace morvi::fuzz
