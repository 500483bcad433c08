#include "common/TextEncoding.h"

#include "TestCodecs.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace std::string_literals;
using namespace morvi;

namespace {

struct MarkCase {
  std::string bytes;
  TextEncoding encoding;
  std::size_t length;
};

struct Utf8Case {
  std::string bytes;
  std::u16string text;
};

} // namespace

TEST(TextEncoding, TheMarkIsTestedInTheOrderUtf8ThenLittleThenBigEndian) {
  const MarkCase cases[] = {
      {"\xEF\xBB\xBF[W]", TextEncoding::Utf8, 3},       {"\xEF\xBB\xBF", TextEncoding::Utf8, 3},
      {"\xFF\xFE\x00\x00"s, TextEncoding::Utf16LE, 2},  {"\xFE\xFF", TextEncoding::Utf16BE, 2},
      {"\xEF\xBB", TextEncoding::AnsiCodePage, 0},      {"\xBB\xBF", TextEncoding::AnsiCodePage, 0},
      {"\xFE\xFE", TextEncoding::AnsiCodePage, 0},      {"\xFF", TextEncoding::AnsiCodePage, 0},
      {" \xEF\xBB\xBF", TextEncoding::AnsiCodePage, 0}, {"", TextEncoding::AnsiCodePage, 0},
  };
  for (const MarkCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    const EncodingMark mark = DetectEncoding(c.bytes);
    EXPECT_EQ(mark.encoding, c.encoding);
    EXPECT_EQ(mark.length, c.length);
  }
}

TEST(TextEncoding, MarksWrittenPerEncodingAndOnlyAUtf8CodePageMarksAnsi) {
  EXPECT_EQ(ByteOrderMark(TextEncoding::Utf8, 932), "\xEF\xBB\xBF");
  EXPECT_EQ(ByteOrderMark(TextEncoding::Utf16LE, 932), "\xFF\xFE");
  EXPECT_EQ(ByteOrderMark(TextEncoding::Utf16BE, 932), "\xFE\xFF");
  EXPECT_EQ(ByteOrderMark(TextEncoding::AnsiCodePage, 932), "");
  EXPECT_EQ(ByteOrderMark(TextEncoding::AnsiCodePage, 1252), "");
  EXPECT_EQ(ByteOrderMark(TextEncoding::AnsiCodePage, 65001), "\xEF\xBB\xBF");
}

TEST(TextEncoding, StrictUtf8DecodesEveryValidFormToItsCodePoints) {
  const Utf8Case cases[] = {
      {"", u""},
      {"\x00"s, u"\u0000"s},
      {"\x7F", u"\u007F"},
      {"\xC2\x80", u"\u0080"},
      {"\xDF\xBF", u"\u07FF"},
      {"\xE0\xA0\x80", u"\u0800"},
      {"\xED\x9F\xBF", u"\uD7FF"},
      {"\xEE\x80\x80", u"\uE000"},
      {"\xEF\xBB\xBF", u"\uFEFF"},
      {"\xEF\xBF\xBD", u"\uFFFD"},
      {"\xEF\xBF\xBF", u"\uFFFF"},
      {"\xF0\x90\x80\x80", u"\xD800\xDC00"},
      {"\xF0\x9D\x84\x9E", u"\xD834\xDD1E"},
      {"\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
      {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", u"日本語"},
      {"a\x00"
       "b\r\n"s,
       u"a\0b\r\n"s},
  };
  for (const Utf8Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    EXPECT_EQ(DecodeUtf8(c.bytes), c.text);
  }
}

TEST(TextEncoding, StrictUtf8RejectsEveryMalformedSequence) {
  const std::string cases[] = {
      "\x80",                     // continuation byte without a lead
      "a\xBF",                    //
      "\xC0\x80",                 // overlong U+0000
      "\xC1\xBF",                 // overlong U+007F
      "\xE0\x80\x80",             // overlong U+0000 in three bytes
      "\xE0\x9F\xBF",             // overlong U+07FF
      "\xF0\x80\x80\x80",         // overlong in four bytes
      "\xF0\x8F\xBF\xBF",         // overlong U+FFFF
      "\xED\xA0\x80",             // the surrogate U+D800
      "\xED\xBF\xBF",             // the surrogate U+DFFF
      "\xED\xA0\xBD\xED\xB2\xA9", // a surrogate pair spelt out (CESU-8)
      "\xF4\x90\x80\x80",         // U+110000
      "\xF5\x80\x80\x80",         //
      "\xF8\x88\x80\x80\x80",     // five-byte form
      "\xFE",
      "\xFF",
      "\xC3",             // cut short
      "\xE6\x97",         //
      "\xF0\x9D\x84",     //
      "abc\xE6",          // cut short at the very end
      "\xE6\x41\x97",     // a lead byte followed by ASCII
      "\xC3\xC3\xA9",     // a lead byte followed by another lead byte
      "\xF0\x9D\x84\x41", //
  };
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(testing::PrintToString(bytes));
    EXPECT_EQ(DecodeUtf8(bytes), std::nullopt);
  }
}

TEST(TextEncoding, Utf8EncodingWritesPairsAsOneCodePointAndLoneSurrogatesAsReplacement) {
  const Utf8Case cases[] = {
      {"A\xC3\xA9\xE6\x97\xA5", u"Aé日"},
      {"\xF0\x9D\x84\x9E", u"\xD834\xDD1E"},
      {"\xEF\xBF\xBD", u"\xD834"},
      {"\xEF\xBF\xBDx", u"\xDD1Ex"},
      {"\xEF\xBF\xBD\xEF\xBF\xBD", u"\xDD1E\xD834"},
      {"\x00"s, u"\0"s},
  };
  for (const Utf8Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(EncodeUtf8(c.text), c.bytes);
  }
}

TEST(TextEncoding, EveryCodePointSurvivesUtf8EncodingAndStrictDecoding) {
  for (char32_t cp = 0; cp <= 0x10FFFF; cp += (cp < 0x10000 ? 1 : 0x3FF)) {
    if (cp >= 0xD800 && cp <= 0xDFFF) {
      continue;
    }
    std::u16string text;
    if (cp < 0x10000) {
      text.push_back(static_cast<char16_t>(cp));
    } else {
      text.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      text.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    }
    ASSERT_EQ(DecodeUtf8(EncodeUtf8(text)), text) << "U+" << std::hex << static_cast<unsigned>(cp);
  }
}

TEST(TextEncoding, Utf16TakesTwoBytesPerUnitAndALastOddByteBecomesReplacement) {
  EXPECT_EQ(DecodeUtf16("A\x00\x34\xD8\x1E\xDD"s, false), u"A\xD834\xDD1E");
  EXPECT_EQ(DecodeUtf16("\x00"
                        "A\xD8\x34\xDD\x1E"s,
                        true),
            u"A\xD834\xDD1E");
  EXPECT_EQ(DecodeUtf16("A\x00"
                        "B"s,
                        false),
            u"A\uFFFD");
  EXPECT_EQ(DecodeUtf16("\x00"
                        "AB"s,
                        true),
            u"A\uFFFD");
  EXPECT_EQ(DecodeUtf16("x", false), u"\uFFFD");
  EXPECT_EQ(DecodeUtf16("", true), u"");
  // Lone surrogates are code units like any other and come back unchanged.
  EXPECT_EQ(EncodeUtf16(u"\xDC00"
                        "A",
                        false),
            "\x00\xDC"
            "A\x00"s);
  EXPECT_EQ(EncodeUtf16(u"\xDC00"
                        "A",
                        true),
            "\xDC\x00\x00"
            "A"s);
}

TEST(TextEncoding, TextWithoutAMarkGoesThroughTheAnsiCodec) {
  const test::Latin1Codec latin1;
  // UTF-8 bytes without a mark are not UTF-8 to Morvi: they come out as ANSI characters and go
  // back byte for byte.
  const std::string utf8Bytes = "\xE6\x97\xA5 caf\xC3\xA9";
  const std::optional<DecodedText> decoded = DecodeText(utf8Bytes, latin1);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->encoding, TextEncoding::AnsiCodePage);
  EXPECT_EQ(decoded->text, u"\u00E6\u0097\u00A5 caf\u00C3\u00A9");
  EXPECT_EQ(EncodeText(decoded->text, TextEncoding::AnsiCodePage, latin1), utf8Bytes);
  EXPECT_EQ(EncodeText(u"日", TextEncoding::AnsiCodePage, latin1), "?");
}

TEST(TextEncoding, MarkedTextDecodesWithoutItsMarkAndEncodesWithIt) {
  const test::Latin1Codec latin1;
  struct Case {
    std::string bytes;
    TextEncoding encoding;
  };
  const std::u16string text = u"[日本]\r\nA=\U0001D11E\r\n";
  const Case cases[] = {
      {"\xEF\xBB\xBF[\xE6\x97\xA5\xE6\x9C\xAC]\r\nA=\xF0\x9D\x84\x9E\r\n", TextEncoding::Utf8},
      {"\xFF\xFE[\x00\xE5\x65\x2C\x67]\x00\r\x00\n\x00"
       "A\x00=\x00\x34\xD8\x1E\xDD\r\x00\n\x00"s,
       TextEncoding::Utf16LE},
      {"\xFE\xFF\x00[\x65\xE5\x67\x2C\x00]\x00\r\x00\n\x00"
       "A\x00=\xD8\x34\xDD\x1E\x00\r\x00\n"s,
       TextEncoding::Utf16BE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    const std::optional<DecodedText> decoded = DecodeText(c.bytes, latin1);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->encoding, c.encoding);
    EXPECT_EQ(decoded->text, text);
    EXPECT_EQ(EncodeText(text, c.encoding, latin1), c.bytes);
  }
}

TEST(TextEncoding, AMarkAloneIsAnEmptyTextAndInvalidUtf8BehindTheMarkFails) {
  const test::Latin1Codec latin1;
  for (const std::string mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"}) {
    const std::optional<DecodedText> decoded = DecodeText(mark, latin1);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->text, u"");
  }
  EXPECT_EQ(DecodeText("\xEF\xBB\xBF"
                       "abc\xFF",
                       latin1),
            std::nullopt);
  EXPECT_EQ(DecodeText("\xEF\xBB\xBF\xEF\xBB", latin1), std::nullopt);
}

TEST(TextEncoding, AnsiTextOnAUtf8SystemCarriesTheUtf8Mark) {
  const test::Utf8AnsiCodec utf8System;
  EXPECT_EQ(EncodeText(u"", TextEncoding::AnsiCodePage, utf8System), "\xEF\xBB\xBF");
  EXPECT_EQ(EncodeText(u"日", TextEncoding::AnsiCodePage, utf8System), "\xEF\xBB\xBF\xE6\x97\xA5");
  // Such a file is found again as UTF-8, by its mark.
  const std::optional<DecodedText> again =
      DecodeText(EncodeText(u"日", TextEncoding::AnsiCodePage, utf8System), utf8System);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->encoding, TextEncoding::Utf8);
  EXPECT_EQ(again->text, u"日");
}
