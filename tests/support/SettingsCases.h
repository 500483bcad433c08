// The settings-file cases that both layers must pass: the in-memory document of the portable
// core (natively and under Wine) and the settings file on disk (under Wine). Each case is a
// file as found, the values read from it, the values written, and the file's bytes afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace morvi::test {

using Value = std::variant<std::u16string, std::int32_t, bool>;

struct Read {
  std::u16string section;
  std::u16string key;
  Value def;
  Value expected;
};

struct Write {
  std::u16string section;
  std::u16string key;
  Value value;
};

struct SettingsCase {
  std::string name;
  std::optional<std::string> file; // none: there is no file
  std::vector<Read> reads;
  std::vector<Write> writes;
  std::optional<std::string> written; // none: loading fails with the decoding error
};

inline void PrintTo(const SettingsCase& c, std::ostream* os) {
  *os << c.name;
}

// The bytes of the text in UTF-16, with the byte-order mark first.
inline std::string Utf16File(std::u16string_view text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t c : text) {
    const char hi = static_cast<char>(c >> 8);
    const char lo = static_cast<char>(c & 0xFF);
    bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return bytes;
}

// Reads every value through the object's ReadString, ReadInteger or ReadBool, chosen by the
// type of the default.
template <class Settings>
void ExpectReads(const Settings& settings, const std::vector<Read>& reads) {
  for (const Read& r : reads) {
    SCOPED_TRACE(testing::PrintToString(r.section) + " " + testing::PrintToString(r.key));
    if (const auto* s = std::get_if<std::u16string>(&r.def)) {
      EXPECT_EQ(Value(settings.ReadString(r.section, r.key, *s)), r.expected);
    } else if (const auto* i = std::get_if<std::int32_t>(&r.def)) {
      EXPECT_EQ(Value(settings.ReadInteger(r.section, r.key, *i)), r.expected);
    } else {
      EXPECT_EQ(Value(settings.ReadBool(r.section, r.key, std::get<bool>(r.def))), r.expected);
    }
  }
}

template <class Settings>
void ApplyWrites(Settings& settings, const std::vector<Write>& writes) {
  for (const Write& w : writes) {
    if (const auto* s = std::get_if<std::u16string>(&w.value)) {
      settings.WriteString(w.section, w.key, *s);
    } else if (const auto* i = std::get_if<std::int32_t>(&w.value)) {
      settings.WriteInteger(w.section, w.key, *i);
    } else {
      settings.WriteBool(w.section, w.key, std::get<bool>(w.value));
    }
  }
}

// The example file after a first run in which the word list was closed before the editor
// window, and the handlers' writes that make it.
inline const std::string kExampleFile = "[Note]\r\n"
                                        "Top=220\r\n"
                                        "Left=360\r\n"
                                        "Height=300\r\n"
                                        "Width=750\r\n"
                                        "Show=0\r\n"
                                        "\r\n"
                                        "[Window]\r\n"
                                        "Pos=0\r\n"
                                        "Width=840\r\n"
                                        "Top=150\r\n"
                                        "Left=284\r\n"
                                        "MostTop=0\r\n"
                                        "Save=1\r\n"
                                        "Resident=0\r\n"
                                        "HotKey=M\r\n"
                                        "\r\n";

inline std::vector<Write> NoteCloseWrites() {
  return {{u"Note", u"Top", 220},
          {u"Note", u"Left", 360},
          {u"Note", u"Height", 300},
          {u"Note", u"Width", 750},
          {u"Note", u"Show", false}};
}

inline std::vector<Write> WindowCloseWrites() {
  return {{u"Window", u"Pos", 0},          {u"Window", u"Width", 840},
          {u"Window", u"Top", 150},        {u"Window", u"Left", 284},
          {u"Window", u"MostTop", false},  {u"Window", u"Save", true},
          {u"Window", u"Resident", false}, {u"Window", u"HotKey", std::u16string(u"M")}};
}

inline std::vector<SettingsCase> SettingsCases() {
  using S = std::u16string;
  const std::u16string japanese = u"[Window]\r\n名前=値 \U0001D11E\r\n";
  return {
      {"FirstStartWithoutAFileGivesEveryDefault",
       std::nullopt,
       {{u"Window", u"Pos", 0, 0},
        {u"Window", u"Width", 840, 840},
        {u"Window", u"MostTop", false, false},
        {u"Window", u"Resident", false, false},
        {u"Window", u"HotKey", S(u"M"), S(u"M")},
        {u"Note", u"Height", 300, 300},
        {u"Note", u"Width", 700, 700},
        {u"Note", u"Show", false, false}},
       NoteCloseWrites(),
       "[Note]\r\nTop=220\r\nLeft=360\r\nHeight=300\r\nWidth=750\r\nShow=0\r\n\r\n"},
      {"NamesMatchInAnyLetterCaseAndKeepTheirFirstCase",
       "[WINDOW]\r\npos=2\r\n",
       {{u"Window", u"Pos", 0, 2}},
       {{u"Window", u"Pos", 1}, {u"window", u"TOP", 7}},
       "[WINDOW]\r\npos=1\r\nTOP=7\r\n\r\n"},
      {"BlanksAroundTheEqualsSignAndAtLineEndsAreDropped",
       "[Window]\r\nWidth = 900\r\n \tLeft\t=\t-5 \t\r\n",
       {{u"Window", u"Width", 840, 900}, {u"Window", u"Left", 0, -5}},
       {},
       "[Window]\r\nWidth=900\r\nLeft=-5\r\n\r\n"},
      {"HexadecimalAndNegativeIntegersAreRead",
       "[Window]\r\nLeft=0x20\r\nTop=0X20\r\nWidth=$20\r\nPos=x2\r\nHeight=-1200\r\nAll=$"
       "FFFFFFFF\r\n",
       {{u"Window", u"Left", 0, 32},
        {u"Window", u"Top", 0, 32},
        {u"Window", u"Width", 0, 32},
        {u"Window", u"Pos", 0, 2},
        {u"Window", u"Height", 0, -1200},
        {u"Window", u"All", 0, -1}},
       {},
       "[Window]\r\nLeft=0x20\r\nTop=0X20\r\nWidth=$20\r\nPos=x2\r\nHeight=-1200\r\nAll=$"
       "FFFFFFFF\r\n"
       "\r\n"},
      {"UnusableIntegersGiveTheDefault",
       "[Window]\r\nLeft=32px\r\nTop=\r\nWidth=2147483648\r\nPos=-2147483649\r\nHeight=0x\r\n",
       {{u"Window", u"Left", 5, 5},
        {u"Window", u"Top", 5, 5},
        {u"Window", u"Width", 5, 5},
        {u"Window", u"Pos", 5, 5},
        {u"Window", u"Height", 5, 5}},
       {},
       "[Window]\r\nLeft=32px\r\nTop=\r\nWidth=2147483648\r\nPos=-2147483649\r\nHeight=0x\r\n\r\n"},
      {"BooleansAreNonZeroIntegersAndWordsGiveTheDefault",
       "[Window]\r\nMostTop=2\r\nSave=-1\r\nResident=true\r\nShow=false\r\nZero=0\r\n",
       {{u"Window", u"MostTop", false, true},
        {u"Window", u"Save", false, true},
        {u"Window", u"Resident", false, false},
        {u"Window", u"Show", true, true},
        {u"Window", u"Zero", true, false}},
       {},
       "[Window]\r\nMostTop=2\r\nSave=-1\r\nResident=true\r\nShow=false\r\nZero=0\r\n\r\n"},
      {"AnEmptyHotKeyReadsAsEmptyText",
       "[Window]\r\nHotKey=\r\n",
       {{u"Window", u"HotKey", S(u"M"), S(u"")}},
       {},
       "[Window]\r\nHotKey=\r\n\r\n"},
      {"CommentsAndBlankLinesVanishAndBareLinesStay",
       "; Morvi\r\n\r\n[Window]\r\n; a comment\r\n  ;indented\r\n\r\n\t\r\nstray line\r\nPos=1\r\n",
       {{u"Window", u"Pos", 0, 1}},
       {},
       "[Window]\r\nstray line\r\nPos=1\r\n\r\n"},
      {"ABareKeyReadsAsAbsentAndAWriteGivesItAValue",
       "[Window]\r\nWidth\r\nHotKey\r\n",
       {{u"Window", u"Width", 840, 840}, {u"Window", u"HotKey", S(u"M"), S(u"M")}},
       {{u"Window", u"width", 900}},
       "[Window]\r\nWidth=900\r\nHotKey\r\n\r\n"},
      {"ARepeatedSectionIsIgnoredAndGoneAfterTheNextWrite",
       "[Window]\r\nPos=1\r\n[Note]\r\nShow=1\r\n[window]\r\nPos=2\r\nTop=5\r\n[Note]\r\nShow="
       "0\r\n",
       {{u"Window", u"Pos", 0, 1}, {u"Window", u"Top", 9, 9}, {u"Note", u"Show", false, true}},
       {},
       "[Window]\r\nPos=1\r\n\r\n[Note]\r\nShow=1\r\n\r\n"},
      {"TheFirstOfARepeatedKeyIsReadAndChangedAndBothStay",
       "[Window]\r\nTop=1\r\ntop=2\r\n",
       {{u"Window", u"Top", 0, 1}},
       {{u"Window", u"Top", 3}},
       "[Window]\r\nTop=3\r\ntop=2\r\n\r\n"},
      {"LinesBeforeTheFirstHeaderAreDropped",
       "Pos=2\r\n[Window]\r\nLeft=4\r\n",
       {{u"Window", u"Pos", 0, 0}},
       {},
       "[Window]\r\nLeft=4\r\n\r\n"},
      {"UnknownSectionsAndKeysSurviveAndNewOnesAreAppended",
       "[Other]\r\nKey=Value=More\r\n[Window]\r\nPos=1\r\n",
       {{u"Other", u"Key", S(u""), S(u"Value=More")}},
       {{u"Note", u"Show", true}, {u"Window", u"Pos", 2}, {u"Window", u"HotKey", S(u"Q")}},
       "[Other]\r\nKey=Value=More\r\n\r\n[Window]\r\nPos=2\r\nHotKey=Q\r\n\r\n[Note]\r\nShow=1\r\n"
       "\r\n"},
      {"Utf8WithAMarkStaysUtf8WithAMark",
       "\xEF\xBB\xBF[Window]\r\n\xE5\x90\x8D\xE5\x89\x8D=\xE5\x80\xA4 \xF0\x9D\x84\x9E\r\n",
       {{u"Window", u"名前", S(u""), S(u"値 \U0001D11E")}},
       {{u"Window", u"Pos", 1}},
       "\xEF\xBB\xBF[Window]\r\n\xE5\x90\x8D\xE5\x89\x8D=\xE5\x80\xA4 \xF0\x9D\x84\x9E\r\nPos=1\r\n"
       "\r\n"},
      {"Utf16LEStaysUtf16LE",
       Utf16File(japanese, false),
       {{u"Window", u"名前", S(u""), S(u"値 \U0001D11E")}},
       {{u"Window", u"Pos", 1}},
       Utf16File(japanese + u"Pos=1\r\n\r\n", false)},
      {"Utf16BEStaysUtf16BE",
       Utf16File(japanese, true),
       {{u"Window", u"名前", S(u""), S(u"値 \U0001D11E")}},
       {{u"Window", u"Pos", 1}},
       Utf16File(japanese + u"Pos=1\r\n\r\n", true)},
      {"AsciiWithoutAMarkIsWrittenBackByteForByte",
       "[Window]\r\nPos=1\r\nHotKey=Q\r\n\r\n[Note]\r\nShow=1\r\n\r\n",
       {{u"Window", u"HotKey", S(u"M"), S(u"Q")}},
       {},
       "[Window]\r\nPos=1\r\nHotKey=Q\r\n\r\n[Note]\r\nShow=1\r\n\r\n"},
      {"InvalidUtf8BehindAMarkFailsToLoad",
       "\xEF\xBB\xBF[Window]\r\nPos=1\r\nHotKey=\xC0\xAF\r\n",
       {},
       {},
       std::nullopt},
  };
}

inline std::string CaseName(const testing::TestParamInfo<SettingsCase>& info) {
  return info.param.name;
}

} // namespace morvi::test
