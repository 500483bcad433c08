#include "common/Activation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

using namespace morvi;

namespace {

std::vector<std::uint8_t> Utf16Bytes(std::u16string_view s) {
  std::vector<std::uint8_t> b;
  for (char16_t c : s) {
    b.push_back(static_cast<std::uint8_t>(c & 0xFF));
    b.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return b;
}

} // namespace

TEST(Activation, PayloadIsTheFourteenBytesOfShowAndTwoNuls) {
  const std::array<std::uint8_t, 14> expected = {0x2F, 0,    0x53, 0, 0x68, 0, 0x6F,
                                                 0,    0x77, 0,    0, 0,    0, 0};
  EXPECT_EQ(ActivationPayload(), expected);
  const auto p = ActivationPayload();
  EXPECT_TRUE(IsShowRequest(p.data(), p.size()));
}

TEST(Activation, ReceiverReadsUpToTheFirstNulButNeverPastTheByteCount) {
  struct Case {
    const char* what;
    std::u16string text; // the units sent
    std::size_t byteCount;
    bool shows;
  };
  using namespace std::string_literals;
  const Case cases[] = {
      {"the real message", u"/Show\0\0"s, 14, true},
      {"one terminating NUL", u"/Show\0"s, 12, true},
      {"no terminator within the count", u"/Show"s, 10, true},
      {"count ends inside the text", u"/Show\0\0"s, 8, false},
      {"more after the NUL is not looked at", u"/Show\0junk"s, 20, true},
      {"other letter case", u"/show\0"s, 12, false},
      {"further characters before the NUL", u"/Show2\0"s, 14, false},
      {"a leading blank", u" /Show\0"s, 14, false},
      {"empty text", u"\0"s, 2, false},
      {"odd byte count", u"/Show\0\0"s, 13, false},
      {"no bytes", u"/Show\0"s, 0, false},
  };
  for (const Case& c : cases) {
    const std::vector<std::uint8_t> sent = Utf16Bytes(c.text);
    ASSERT_LE(c.byteCount, sent.size()) << c.what;
    // A buffer of exactly the bytes counted: reading one byte more is caught by the address
    // sanitizer in the native run.
    const auto buffer = std::make_unique<std::uint8_t[]>(std::max<std::size_t>(c.byteCount, 1));
    std::memcpy(buffer.get(), sent.data(), c.byteCount);
    EXPECT_EQ(IsShowRequest(buffer.get(), c.byteCount), c.shows) << c.what;
  }
  EXPECT_FALSE(IsShowRequest(nullptr, 14));
  EXPECT_FALSE(ReadActivationText(nullptr, 14).has_value());
}

TEST(Activation, AnUnalignedBufferReadsTheSame) {
  const auto p = ActivationPayload();
  std::vector<std::uint8_t> shifted(p.size() + 1);
  std::memcpy(shifted.data() + 1, p.data(), p.size());
  EXPECT_EQ(ReadActivationText(shifted.data() + 1, p.size()), std::u16string(u"/Show"));
}
