#include "ui/Menu.h"

#include "common/Wide.h"

namespace morvi::ui {

namespace {

UINT NextMenuId() {
  static UINT next = 0x1000;
  return next++;
}

} // namespace

MenuItem::MenuItem(std::u16string name, std::u16string caption, Kind kind)
    : Component(std::move(name)), caption_(std::move(caption)), kind_(kind), id_(NextMenuId()) {}

MenuItem::~MenuItem() {
  // A submenu still inside its holder is destroyed with it; take it out first so that it is
  // destroyed once, by its owner here.
  if (holder_ && submenu_) {
    RemoveMenu(holder_, id_, MF_BYCOMMAND);
  }
}

std::u16string MenuItem::DisplayText() const {
  return shortCut_.empty() ? caption_ : caption_ + u"\t" + shortCut_;
}

void MenuItem::SetCaption(std::u16string caption) {
  caption_ = std::move(caption);
  Sync();
}

void MenuItem::SetEnabled(bool on) {
  enabled_ = on;
  Sync();
}

void MenuItem::SetChecked(bool on) {
  checked_ = on;
  if (on && kind_ == Kind::Radio && parent_) {
    for (MenuItem* sibling : parent_->items_) {
      if (sibling != this && sibling->kind_ == Kind::Radio && sibling->group_ == group_ &&
          sibling->checked_) {
        sibling->checked_ = false;
        sibling->Sync();
      }
    }
  }
  Sync();
}

void MenuItem::SetShortCutText(std::u16string text) {
  shortCut_ = std::move(text);
  Sync();
}

void MenuItem::Add(MenuItem& child) {
  if (!submenu_) {
    submenu_.Reset(CreatePopupMenu());
    Sync();
  }
  child.parent_ = this;
  items_.push_back(&child);
  child.AttachTo(submenu_.Get());
}

void MenuItem::AttachTo(HMENU holder) {
  holder_ = holder;
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_ID | MIIM_FTYPE;
  mii.wID = id_;
  mii.fType = kind_ == Kind::Separator ? MFT_SEPARATOR : 0;
  InsertMenuItemW(holder, GetMenuItemCount(holder), TRUE, &mii);
  Sync();
}

void MenuItem::Sync() {
  if (!holder_ || kind_ == Kind::Separator) {
    return;
  }
  const std::u16string text = DisplayText();
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU;
  mii.fType = kind_ == Kind::Radio ? MFT_RADIOCHECK : 0;
  mii.fState = (enabled_ ? MFS_ENABLED : MFS_DISABLED) | (checked_ ? MFS_CHECKED : MFS_UNCHECKED);
  mii.dwTypeData = const_cast<LPWSTR>(W(text));
  mii.hSubMenu = submenu_.Get();
  SetMenuItemInfoW(holder_, id_, FALSE, &mii);
}

void MenuItem::Click() {
  if (!enabled_) {
    return;
  }
  if (autoCheck_ && kind_ != Kind::Plain) {
    SetChecked(!checked_);
  }
  Raise(OnClick, *this);
}

MenuItem* MenuItem::FindById(UINT id) {
  if (id == id_) {
    return this;
  }
  for (MenuItem* c : items_) {
    if (MenuItem* found = c->FindById(id)) {
      return found;
    }
  }
  return nullptr;
}

MenuItem* MenuItem::FindBySubMenu(HMENU menu) {
  if (menu && submenu_.Get() == menu) {
    return this;
  }
  for (MenuItem* c : items_) {
    if (MenuItem* found = c->FindBySubMenu(menu)) {
      return found;
    }
  }
  return nullptr;
}

int MenuItem::IndexStartingWith(char16_t ch) const {
  const auto upper = [](char16_t c) {
    return static_cast<char16_t>(
        reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c)))));
  };
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const MenuItem& item = *items_[i];
    if (item.kind_ != Kind::Separator && item.enabled_ && !item.caption_.empty() &&
        item.caption_.find(u'&') == std::u16string::npos && upper(item.caption_[0]) == upper(ch)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

PopupMenu::PopupMenu(std::u16string name) : Component(name), root_(name + u"Root", u"") {
  root_.submenu_.Reset(CreatePopupMenu());
}

void PopupMenu::Add(MenuItem& item) {
  root_.Add(item);
}

void PopupMenu::Popup(int x, int y, HWND owner) {
  Raise(OnPopup, *this);
  // The owner must be in the foreground, or the menu does not close when the user clicks
  // elsewhere.
  SetForegroundWindow(owner);
  const UINT id = static_cast<UINT>(
      TrackPopupMenuEx(Handle(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x,
                       y, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (id != 0) {
    if (MenuItem* item = root_.FindById(id)) {
      item->Click();
    }
  }
}

bool PopupMenu::AnswerMenuChar(HMENU menu, char16_t ch, LRESULT& answer) {
  const MenuItem* holder = root_.FindBySubMenu(menu);
  const int index = holder ? holder->IndexStartingWith(ch) : -1;
  if (index < 0) {
    return false;
  }
  answer = MAKELRESULT(index, MNC_EXECUTE);
  return true;
}

} // namespace morvi::ui
