// The arithmetic of the editing commands: what the caret commands make of a field's text and
// caret, which items of the editing menu apply, and the key codes of the six fixed keys.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvi {

// The result of a caret command: the field's new text, where the caret goes, and what goes to
// the clipboard (for the two cut commands).
struct CaretEdit {
  std::u16string text;
  std::size_t caret = 0;
  std::optional<std::u16string> clipboard;
};

// Each takes the field's text and the caret's index (an index beyond the text counts as its
// end) and gives nothing when the command does not apply.
std::optional<CaretEdit> DeleteBeforeCaret(std::u16string_view text, std::size_t caret);
std::optional<CaretEdit> DeleteAfterCaret(std::u16string_view text, std::size_t caret);
std::optional<CaretEdit> CutBeforeCaret(std::u16string_view text, std::size_t caret);
std::optional<CaretEdit> CutAfterCaret(std::u16string_view text, std::size_t caret);
std::optional<CaretEdit> SwapAroundCaret(std::u16string_view text, std::size_t caret);

// Which items of the editing menu are enabled.
struct EditMenuState {
  bool cutBefore = false;
  bool cutAfter = false;
  bool copyBefore = false;
  bool copyAfter = false;
  bool exchange = false;
  bool invalidChars = false;
  bool undo = false;
};

// text and caret: the name field entered last; baseName: the base-name field's text;
// restoreValue: what restoring the field entered last would put back.
EditMenuState ComputeEditMenuState(std::u16string_view text, std::size_t caret,
                                   std::u16string_view baseName, std::u16string_view restoreValue);

// A key as a 16-bit shortcut code: the virtual-key code plus 0x2000 for Shift, 0x4000 for Ctrl
// and 0x8000 for Alt.
std::uint16_t ShortCutCode(unsigned virtualKey, bool shift, bool ctrl, bool alt);

// The six fixed keys, in their order: delete before (Shift+Ctrl+Left), delete after
// (Shift+Ctrl+Right), restore (Ctrl+Z), cut before (Shift+Ctrl+Up), cut after
// (Shift+Ctrl+Down), swap (Shift+Ctrl+Home).
constexpr std::array<std::uint16_t, 6> kFixedShortCuts = {0x6025, 0x6027, 0x405A,
                                                          0x6026, 0x6028, 0x6024};

} // namespace morvi
