#include "ui/ListBox.h"

#include "common/Wide.h"

#include <algorithm>

namespace morvi::ui {

ListBox::ListBox(Container& parent, std::u16string name, Box designed, Align align)
    : Control(parent, std::move(name), designed, align) {
  SetTabStop(true);
}

HWND ListBox::CreateWindowFor(HWND parent) {
  const DWORD style = LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL;
  return MakeChild(parent, L"LISTBOX", style, WS_EX_CLIENTEDGE);
}

void ListBox::SetItems(const std::vector<std::u16string>& items) {
  HWND h = Handle();
  if (!h) {
    return;
  }
  widest_.reset();
  SendMessageW(h, WM_SETREDRAW, FALSE, 0);
  SendMessageW(h, LB_RESETCONTENT, 0, 0);
  std::size_t units = 0;
  for (const std::u16string& item : items) {
    units += item.size() + 1;
  }
  // Room for every item at once, instead of growing with each one.
  SendMessageW(h, LB_INITSTORAGE, items.size(), static_cast<LPARAM>(units * sizeof(wchar_t)));
  for (const std::u16string& item : items) {
    SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(item)));
  }
  SendMessageW(h, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(h, nullptr, TRUE);
}

int ListBox::Count() const {
  return Handle() ? static_cast<int>(SendMessageW(Handle(), LB_GETCOUNT, 0, 0)) : 0;
}

std::u16string ListBox::Item(int index) const {
  if (!Handle()) {
    return {};
  }
  const LRESULT length = SendMessageW(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) {
    return {};
  }
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  const LRESULT got = SendMessageW(Handle(), LB_GETTEXT, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(W(text.data())));
  text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
  return text;
}

int ListBox::ItemIndex() const {
  return Handle() ? static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0)) : -1;
}

void ListBox::SetItemIndex(int index) {
  if (Handle()) {
    SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

void ListBox::FitHorizontalExtent() {
  if (!Handle()) {
    return;
  }
  if (!widest_) {
    widest_ = WidestListBoxItem(Handle());
  }
  SendMessageW(Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(2 * *widest_), 0);
}

void ListBox::ApplyFont(HFONT font) {
  Control::ApplyFont(font);
  widest_.reset(); // the items are as wide as the new font makes them
}

void ListBox::HandleCommand(WORD, WORD code) {
  if (code == LBN_DBLCLK) {
    Raise(OnDblClick, *this);
  }
}

bool ListBox::FilterMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg != WM_CHAR || !OnKeyPress) {
    return false;
  }
  auto key = static_cast<char16_t>(wp);
  Guard([&] { OnKeyPress(*this, key); });
  result = 0;
  return key == 0;
}

long WidestListBoxItem(HWND listBox) {
  LONG widest = 0;
  const LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
  if (count <= 0) {
    return 0;
  }
  HDC dc = GetDC(listBox);
  if (!dc) {
    return 0;
  }
  const auto font = reinterpret_cast<HFONT>(SendMessageW(listBox, WM_GETFONT, 0, 0));
  const HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  std::u16string item;
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT len = SendMessageW(listBox, LB_GETTEXTLEN, i, 0);
    if (len <= 0) {
      continue;
    }
    if (item.size() < static_cast<std::size_t>(len) + 1) {
      item.resize(static_cast<std::size_t>(len) + 1);
    }
    const LRESULT got =
        SendMessageW(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(W(item.data())));
    SIZE size{};
    if (got > 0 && GetTextExtentPoint32W(dc, W(item.data()), static_cast<int>(got), &size)) {
      widest = std::max(widest, size.cx);
    }
  }
  if (oldFont) {
    SelectObject(dc, oldFont);
  }
  ReleaseDC(listBox, dc);
  return widest;
}

void FitListBoxExtent(HWND listBox) {
  SendMessageW(listBox, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(2 * WidestListBoxItem(listBox)),
               0);
}

} // namespace morvi::ui
