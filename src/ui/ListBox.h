// A list box of plain text items: single selection, in the order they are given (no sorting),
// with a horizontal scroll range that can be fitted to the widest item.
#pragma once

#include "ui/Controls.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace morvi::ui {

class ListBox : public Control {
public:
  ListBox(Container& parent, std::u16string name, Box designed, Align align);

  // Replaces every item by the texts, in order, with the list's redrawing suspended until the
  // last one is in. Nothing is selected afterwards.
  void SetItems(const std::vector<std::u16string>& items);
  int Count() const;
  std::u16string Item(int index) const;
  // The selected item; -1 for none.
  int ItemIndex() const;
  void SetItemIndex(int index);

  // The horizontal scroll range becomes twice the widest item in the list's font. The widths
  // are measured once for the present items and font, so fitting again costs nothing more.
  void FitHorizontalExtent();

  bool WantsChars() const override { return true; }
  void HandleCommand(WORD id, WORD code) override;
  bool FilterMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void ApplyFont(HFONT font) override;

  NotifyEvent OnDblClick;
  // Each character typed while the list has the focus. A handler that sets key to 0 keeps the
  // character from the list.
  std::function<void(Component& sender, char16_t& key)> OnKeyPress;

protected:
  HWND CreateWindowFor(HWND parent) override;

private:
  std::optional<long> widest_; // of the present items in the present font
};

// The width in pixels of the list box's widest item in its font; 0 for an empty list.
long WidestListBoxItem(HWND listBox);
// The list box's horizontal scroll range becomes twice its widest item.
void FitListBoxExtent(HWND listBox);

} // namespace morvi::ui
