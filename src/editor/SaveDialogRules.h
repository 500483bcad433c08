// The rules of the link with a Save As dialog that need no window: which child is its Save
// button, and what Morvi tells the user when the dialog cannot be read or written.
#pragma once

#include <string>
#include <string_view>

namespace morvi {

// A child whose class name contains "Button" and whose text contains "保存", anywhere and
// case-sensitively: check boxes and radio buttons count too.
bool IsSaveButtonLike(std::u16string_view className, std::u16string_view text);

// Why the link could not do what was asked.
enum class LinkProblem {
  None,
  Disabled, // the dialog or its box is disabled or was never found: nothing is written
  NoAnswer, // the dialog's thread did not answer within the bound
  Changed,  // the recorded windows are no longer the dialog, box or button captured
  Elevated, // the dialog belongs to a program that runs at a higher integrity level
};

// What the path field says after a show that could not capture the dialog; empty when there is
// nothing to say.
std::u16string CaptureNotice(LinkProblem problem);

// The message after OK when nothing was written; empty when there is nothing to say.
std::u16string WriteFailureText(LinkProblem problem);

// The message after OK when the name was written but the Save button was not pressed.
std::u16string SaveFailureText();

} // namespace morvi
