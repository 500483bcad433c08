#include "editor/CaretCommands.h"

#include "editor/NameModel.h"

#include <algorithm>

namespace morvi {

namespace {

struct Halves {
  std::u16string before;
  std::u16string after;
};

Halves Split(std::u16string_view text, std::size_t caret) {
  const std::size_t i = std::min(caret, text.size());
  return {std::u16string(text.substr(0, i)), std::u16string(text.substr(i))};
}

} // namespace

std::optional<CaretEdit> DeleteBeforeCaret(std::u16string_view text, std::size_t caret) {
  if (caret == 0) {
    return std::nullopt;
  }
  return CaretEdit{Split(text, caret).after, 0, std::nullopt};
}

std::optional<CaretEdit> DeleteAfterCaret(std::u16string_view text, std::size_t caret) {
  if (caret >= text.size()) {
    return std::nullopt;
  }
  Halves h = Split(text, caret);
  const std::size_t end = h.before.size();
  return CaretEdit{std::move(h.before), end, std::nullopt};
}

std::optional<CaretEdit> CutBeforeCaret(std::u16string_view text, std::size_t caret) {
  if (caret == 0) {
    return std::nullopt;
  }
  Halves h = Split(text, caret);
  return CaretEdit{std::move(h.after), 0, std::move(h.before)};
}

std::optional<CaretEdit> CutAfterCaret(std::u16string_view text, std::size_t caret) {
  if (caret >= text.size()) {
    return std::nullopt;
  }
  Halves h = Split(text, caret);
  const std::size_t end = h.before.size();
  return CaretEdit{std::move(h.before), end, std::move(h.after)};
}

std::optional<CaretEdit> SwapAroundCaret(std::u16string_view text, std::size_t caret) {
  Halves h = Split(text, caret);
  if (h.before.empty() || h.after.empty()) {
    return std::nullopt;
  }
  const std::size_t at = h.after.size();
  return CaretEdit{h.after + h.before, at, std::nullopt};
}

EditMenuState ComputeEditMenuState(std::u16string_view text, std::size_t caret,
                                   std::u16string_view baseName, std::u16string_view restoreValue) {
  EditMenuState s;
  s.cutAfter = caret < text.size();
  s.cutBefore = caret > 0 && !text.empty();
  s.copyAfter = s.cutAfter;
  s.copyBefore = s.cutBefore;
  s.exchange = s.cutAfter && s.cutBefore;
  s.invalidChars = !baseName.empty() && !IsValidFileName(baseName);
  s.undo = text != restoreValue;
  return s;
}

std::uint16_t ShortCutCode(unsigned virtualKey, bool shift, bool ctrl, bool alt) {
  return static_cast<std::uint16_t>((virtualKey & 0xFF) | (shift ? 0x2000 : 0) |
                                    (ctrl ? 0x4000 : 0) | (alt ? 0x8000 : 0));
}

} // namespace morvi
