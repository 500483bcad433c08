// A form's dialog-style keys: the Tab order among its controls, Enter for the default button and
// Esc for the cancel button, access keys, and the default button's look following the focus.
#include "ui/Form.h"

#include <commctrl.h>

#include <algorithm>

namespace morvi::ui {

namespace {

bool KeyDown(int vk) {
  return (GetKeyState(vk) & 0x8000) != 0;
}

void AppendTabSequence(const Container& c, std::vector<Control*>& out) {
  std::vector<Control*> kids = c.Children();
  std::stable_sort(kids.begin(), kids.end(), [](const Control* a, const Control* b) {
    return a->TabOrder() < b->TabOrder();
  });
  for (Control* k : kids) {
    if (const auto* inner = dynamic_cast<const Container*>(k)) {
      if (k->Visible() && k->Enabled()) {
        AppendTabSequence(*inner, out);
      }
    } else if (k->TabStop() && k->Visible() && k->CanFocus()) {
      out.push_back(k);
    }
  }
}

} // namespace

std::vector<Control*> Form::TabSequence() const {
  std::vector<Control*> seq;
  AppendTabSequence(*this, seq);
  return seq;
}

Control* Form::FocusedControl() const {
  Control* c = Control::FromHandle(GetFocus());
  return c && &c->OwnerForm() == this ? c : nullptr;
}

void Form::FocusFirst() {
  const std::vector<Control*> seq = TabSequence();
  if (Control* saved = Control::FromHandle(savedFocus_); saved && saved->CanFocus()) {
    saved->SetFocus();
  } else if (!seq.empty()) {
    seq.front()->SetFocus();
  }
}

void Form::SelectNext(bool forward) {
  const std::vector<Control*> seq = TabSequence();
  if (seq.empty()) {
    return;
  }
  const auto it = std::find(seq.begin(), seq.end(), FocusedControl());
  std::size_t i = 0;
  if (it == seq.end()) {
    i = forward ? 0 : seq.size() - 1;
  } else {
    const std::size_t at = static_cast<std::size_t>(it - seq.begin());
    i = forward ? (at + 1) % seq.size() : (at + seq.size() - 1) % seq.size();
  }
  Control* next = seq[i];
  next->SetFocus();
  if (auto* edit = dynamic_cast<Edit*>(next)) {
    edit->SelectAll(); // as in a dialog, a field entered by Tab has its text selected
  }
}

void Form::ControlFocused(Control& c) {
  savedFocus_ = c.Handle();
  // As in a dialog: a focused push button looks like the default one; elsewhere the default
  // button does.
  for (Control* k : AllControls()) {
    if (auto* b = dynamic_cast<Button*>(k)) {
      const bool look = c.IsPushButton() ? (b == &c) : (b == DefaultButton);
      b->SetDefaultLook(look);
    }
  }
}

bool Form::HandleAccessKey(char16_t ch) {
  const auto upper = static_cast<char16_t>(
      reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(ch)))));
  for (Control* c : AllControls()) {
    if (c->TryAccessKey(upper)) {
      return true;
    }
  }
  return false;
}

bool Form::PreTranslateKey(const MSG& msg) {
  const bool ctrl = KeyDown(VK_CONTROL);
  const bool alt = KeyDown(VK_MENU);
  const bool shift = KeyDown(VK_SHIFT);
  Control* focused = FocusedControl();
  switch (msg.message) {
  case WM_KEYDOWN:
    if (ctrl || alt) {
      return false;
    }
    if (msg.wParam == VK_TAB) {
      SelectNext(!shift);
      return true;
    }
    // Enter and Esc belong to the buttons of a form that has them; in a form without, they reach
    // the focused control as typed characters.
    if (msg.wParam == VK_RETURN && !shift) {
      if (focused && focused->IsPushButton()) {
        static_cast<Button*>(focused)->Click();
      } else if (DefaultButton) {
        DefaultButton->Click();
      } else {
        return false;
      }
      return true;
    }
    if (msg.wParam == VK_ESCAPE && !shift && CancelButton) {
      CancelButton->Click();
      return true;
    }
    return false;
  case WM_SYSCHAR:
    return HandleAccessKey(static_cast<char16_t>(msg.wParam));
  case WM_CHAR:
    // Without Alt, an access key works while the focus is on a control that takes no typed text.
    if (focused && !focused->WantsChars() && msg.wParam > u' ') {
      return HandleAccessKey(static_cast<char16_t>(msg.wParam));
    }
    return false;
  default:
    return false;
  }
}

} // namespace morvi::ui
