// What two instances of Morvi share: how a second start finds the running instance's editor
// window, and the activation message it sends there: WM_COPYDATA with the UTF-16 text "/Show", a
// NUL that belongs to the text and a terminating NUL.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvi {

// How another instance finds the editor window: by its class name and its title.
inline constexpr std::u16string_view kEditorWindowClass = u"TMainForm";
inline constexpr std::u16string_view kEditorWindowTitle = u"Morvi";

// The 14 data bytes of the message: 2F 00 53 00 68 00 6F 00 77 00 00 00 00 00.
std::array<std::uint8_t, 14> ActivationPayload();

// The text of a received message: the UTF-16 units up to the first NUL, never reading beyond
// the byte count the sender gave. None for no data, no bytes, or an odd byte count.
std::optional<std::u16string> ReadActivationText(const void* data, std::size_t byteCount);

// Whether a received message asks the window to show itself: its text is "/Show" exactly.
bool IsShowRequest(const void* data, std::size_t byteCount);

} // namespace morvi
