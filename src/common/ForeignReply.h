// How Morvi judges what another program's window gave back: whether a message sent to it with a
// bounded wait was answered, which text a reply buffer really holds, and whether the other
// program runs at a higher integrity level than Morvi does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvi {

enum class Reply {
  Answered, // the window handled the message in time
  NoAnswer, // it did not answer within the bound, or its thread is hung
  Gone,     // the window no longer exists
  Refused,  // the system would not deliver the message (a more privileged program's window)
};

// The judgement of one bounded send: whether it returned non-zero, and the thread's last error
// code right after it.
Reply JudgeReply(bool returnedNonZero, std::uint32_t lastError);

// The text that a reply buffer of n units holds: up to its first NUL and never more than n - 1
// units, whatever the other program wrote into it or claimed as its length.
std::u16string TextFromReplyBuffer(std::u16string_view buffer);

// True when both integrity levels are known and the other program's is the higher one. A level
// that cannot be read is no reason to refuse a dialog.
bool RunsHigher(std::optional<std::uint32_t> own, std::optional<std::uint32_t> other);

} // namespace morvi
