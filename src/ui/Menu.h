// Popup menus with plain, check and radio items, submenus, tags, an opening event and display at
// a screen point. Captions are shown exactly as written: no access keys are added.
#pragma once

#include "common/Handles.h"
#include "ui/Component.h"

#include <windows.h>

#include <string>
#include <vector>

namespace morvi::ui {

class MenuItem : public Component {
public:
  enum class Kind { Plain, Check, Radio, Separator };

  MenuItem(std::u16string name, std::u16string caption, Kind kind = Kind::Plain);
  ~MenuItem() override;

  const std::u16string& Caption() const { return caption_; }
  void SetCaption(std::u16string caption);
  Kind GetKind() const { return kind_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the other items of its group in the same submenu.
  void SetChecked(bool on);
  // A click toggles the mark before the handler runs.
  void SetAutoCheck(bool on) { autoCheck_ = on; }
  void SetGroup(int group) { group_ = group; }
  // The shortcut shown at the right edge of the item (the item's menu shortcut).
  void SetShortCutText(std::u16string text);

  void Add(MenuItem& child);
  HMENU SubMenu() const { return submenu_.Get(); }

  // What a click on the item does.
  void Click();
  MenuItem* FindById(UINT id);
  // The item (this one or below) whose submenu is the menu handle; null for none.
  MenuItem* FindBySubMenu(HMENU menu);
  // In a submenu without access keys, the position of the first enabled item whose caption
  // begins with the typed character (in either case); -1 for none.
  int IndexStartingWith(char16_t ch) const;

  NotifyEvent OnClick;

private:
  friend class PopupMenu;
  void AttachTo(HMENU holder);
  void Sync();
  std::u16string DisplayText() const;

  std::u16string caption_;
  Kind kind_;
  bool enabled_ = true;
  bool checked_ = false;
  bool autoCheck_ = false;
  int group_ = 0;
  std::u16string shortCut_;
  std::vector<MenuItem*> items_;
  MenuItem* parent_ = nullptr;
  MenuHandle submenu_;
  HMENU holder_ = nullptr;
  UINT id_;
};

class PopupMenu : public Component {
public:
  explicit PopupMenu(std::u16string name);

  void Add(MenuItem& item);
  HMENU Handle() const { return root_.SubMenu(); }

  // Runs the opening event, shows the menu with its top-left corner at the screen point and
  // runs the chosen item's click. Returns when the menu has closed.
  void Popup(int x, int y, HWND owner);

  // What a typed character picks in the open (sub)menu of this popup with the handle menu, as an
  // answer to WM_MENUCHAR; false when the menu is not this popup's or nothing begins with it.
  bool AnswerMenuChar(HMENU menu, char16_t ch, LRESULT& answer);

  NotifyEvent OnPopup;

private:
  MenuItem root_;
};

} // namespace morvi::ui
