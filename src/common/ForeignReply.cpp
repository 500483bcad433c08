#include "common/ForeignReply.h"

namespace morvi {

namespace {

// The platform's error codes that tell the cases apart.
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kInvalidWindowHandle = 1400;

} // namespace

Reply JudgeReply(bool returnedNonZero, std::uint32_t lastError) {
  if (returnedNonZero) {
    return Reply::Answered;
  }
  if (lastError == kInvalidWindowHandle) {
    return Reply::Gone;
  }
  if (lastError == kAccessDenied) {
    return Reply::Refused;
  }
  // A time-out, a hung thread, and anything the platform does not explain.
  return Reply::NoAnswer;
}

std::u16string TextFromReplyBuffer(std::u16string_view buffer) {
  if (buffer.empty()) {
    return {};
  }
  const std::u16string_view room = buffer.substr(0, buffer.size() - 1);
  return std::u16string(room.substr(0, room.find(u'\0')));
}

bool RunsHigher(std::optional<std::uint32_t> own, std::optional<std::uint32_t> other) {
  return own && other && *other > *own;
}

} // namespace morvi
