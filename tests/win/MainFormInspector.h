// The tests' view of the editor window's private state.
#pragma once

#include "editor/Main.h"

namespace morvi {

class MainFormInspector {
public:
  explicit MainFormInspector(TMainForm& f) : f_(f) {}

  HWND& MDlg() { return f_.MDlg; }
  HWND& MEdt() { return f_.MEdt; }
  SaveDialogLink& MLink() { return f_.MLink; }
  ui::Edit*& MEdit() { return f_.MEdit; }
  int& MPOSC() { return f_.MPOSC; }
  std::u16string& MPPHotKeyC() { return f_.MPPHotKeyC; }
  bool& FResident() { return f_.FResident; }
  std::uint16_t& FHotKeyID() { return f_.FHotKeyID; }
  const std::array<ui::MenuItem*, 26>& MPPHotkey() const { return f_.MPPHotkey; }
  const std::array<ui::MenuItem*, 3>& MPPPOS() const { return f_.MPPPOS; }
  const std::array<ui::MenuItem*, 3>& MPPDate() const { return f_.MPPDate; }
  const std::array<std::uint16_t, 7>& MShortCut() const { return f_.MShortCut; }
  std::function<bool(HWND, int, UINT, UINT)>& FRegisterHotKey() { return f_.FRegisterHotKey; }

private:
  TMainForm& f_;
};

} // namespace morvi
