// The editing commands: the five caret commands, restoring a field, the dates, clearing the
// name, the editing menu and the six fixed keys.
#include "editor/Main.h"

#include "common/Clipboard.h"
#include "common/Clock.h"
#include "common/TextHelpers.h"
#include "editor/CaretCommands.h"
#include "editor/NameModel.h"
#include "ui/Application.h"
#include "ui/Controls.h"

namespace morvi {

ui::Edit& TMainForm::Target() const {
  return MEdit ? *MEdit : *EditName;
}

std::u16string TMainForm::RestoreValueOf(const ui::Edit& field) const {
  const std::u16string path = EditPath->Text();
  return &field == EditExt ? morvi::ExtensionFieldText(path) : ExtractFileBaseName(path);
}

void TMainForm::UpdateEditMenu() {
  const ui::Edit& field = Target();
  const EditMenuState s = ComputeEditMenuState(field.Text(), CaretCharIndex(field),
                                               EditName->Text(), RestoreValueOf(field));
  PPCaretCutAfter->SetEnabled(s.cutAfter);
  PPCaretCutBefore->SetEnabled(s.cutBefore);
  PPCaretCopyAfter->SetEnabled(s.copyAfter);
  PPCaretCopyBefore->SetEnabled(s.copyBefore);
  PPCaretXch->SetEnabled(s.exchange);
  PPInvalidCha->SetEnabled(s.invalidChars);
  PPUndo->SetEnabled(s.undo);
}

void TMainForm::FillShortCuts() {
  for (std::size_t k = 0; k < kFixedShortCuts.size(); ++k) {
    MShortCut[k + 1] = kFixedShortCuts[k];
  }
}

bool TMainForm::IsShortCut(const MSG& key) {
  if (!Enabled()) {
    return false;
  }
  UpdateEditMenu();
  const std::uint16_t code =
      ShortCutCode(static_cast<unsigned>(key.wParam), GetKeyState(VK_SHIFT) < 0,
                   GetKeyState(VK_CONTROL) < 0, (key.lParam & (1 << 29)) != 0);
  using Handler = void (TMainForm::*)(ui::Component&);
  const struct {
    ui::MenuItem* item;
    Handler handler;
  } entries[7] = {{},
                  {PPCaretCutBefore, &TMainForm::PPCaretCutBeforeClick},
                  {PPCaretCutAfter, &TMainForm::PPCaretCutAfterClick},
                  {PPUndo, &TMainForm::PPUndoClick},
                  {PPCaretCopyBefore, &TMainForm::PPCaretCopyBeforeClick},
                  {PPCaretCopyAfter, &TMainForm::PPCaretCopyAfterClick},
                  {PPCaretXch, &TMainForm::PPCaretXchClick}};
  for (std::size_t k = 1; k <= 6; ++k) {
    if (code == MShortCut[k]) {
      if (entries[k].item->Enabled()) {
        ui::Guard([&] { (this->*entries[k].handler)(*entries[k].item); });
      }
      return true; // consumed, enabled or not
    }
  }
  // The convert item names Ctrl+I as its shortcut; the key does what the item says.
  if (code == ShortCutCode('I', false, true, false)) {
    if (PPInvalidCha->Enabled()) {
      ui::Guard([&] { PPInvalidChaClick(*PPInvalidCha); });
    }
    return true;
  }
  return false;
}

void TMainForm::Apply(const std::optional<CaretEdit>& edit) {
  if (!edit) {
    return;
  }
  ui::Edit& field = Target();
  if (edit->clipboard) {
    // The text leaves the field even if this fails.
    SetClipboardText(ui::Application::Instance().Handle(), *edit->clipboard);
  }
  field.SetText(edit->text);
  field.PlaceCaret(edit->caret);
}

void TMainForm::PPCaretCutBeforeClick(ui::Component&) {
  Apply(DeleteBeforeCaret(Target().Text(), CaretCharIndex(Target())));
}

void TMainForm::PPCaretCutAfterClick(ui::Component&) {
  Apply(DeleteAfterCaret(Target().Text(), CaretCharIndex(Target())));
}

void TMainForm::PPCaretCopyBeforeClick(ui::Component&) {
  Apply(CutBeforeCaret(Target().Text(), CaretCharIndex(Target())));
}

void TMainForm::PPCaretCopyAfterClick(ui::Component&) {
  Apply(CutAfterCaret(Target().Text(), CaretCharIndex(Target())));
}

void TMainForm::PPCaretXchClick(ui::Component&) {
  Apply(SwapAroundCaret(Target().Text(), CaretCharIndex(Target())));
}

void TMainForm::PPUndoClick(ui::Component&) {
  ui::Edit& field = Target();
  field.SetText(RestoreValueOf(field));
  field.PlaceCaret(0);
}

void TMainForm::PPEditPopup(ui::Component&) {
  UpdateEditMenu();
  MPPDate[1]->SetCaption(FormatDateJapanese(Today()));
  MPPDate[2]->SetCaption(FormatDateIso(Today()));
}

void TMainForm::PPDataClick(ui::Component& sender) {
  InsertAtCaret(*EditName, MPPDate[static_cast<std::size_t>(sender.Tag())]->Caption());
}

void TMainForm::BtnEditClick(ui::Component&) {
  const ui::Box frame = ScreenBounds();
  const ui::Box button = BtnEdit->Bounds();
  const ui::Box panel = PanelBtn->Bounds();
  const int x = frame.left + (button.left + button.width) / 2;
  const int y = frame.top + (panel.top + button.height) / 2;
  PPEdit->Popup(x, y, Handle());
}

void TMainForm::BtnNameClearClick(ui::Component&) {
  EditName->SetText(u"");
  EditName->SetFocus();
}

void TMainForm::EditNameEnter(ui::Component&) {
  MEdit = EditName;
}

void TMainForm::EditExtEnter(ui::Component&) {
  MEdit = EditExt;
}

} // namespace morvi
