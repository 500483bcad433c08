#include "ui/ToolBar.h"

#include "common/Wide.h"
#include "ui/Align.h"

#include <commctrl.h>

namespace morvi::ui {

// ---- ToolButton ----

ToolButton::ToolButton(ToolBar& bar, std::u16string name, std::u16string caption, Kind kind,
                       int separatorWidth)
    : Component(std::move(name)), bar_(bar), caption_(std::move(caption)), kind_(kind),
      separatorWidth_(separatorWidth) {
  bar_.Add(*this);
}

char16_t ToolButton::AccessKey() const {
  return kind_ == Kind::Separator ? 0 : AccessKeyOf(caption_);
}

void ToolButton::SetDown(bool down) {
  down_ = kind_ == Kind::Check && down;
  bar_.SyncState(*this);
}

void ToolButton::SetEnabled(bool on) {
  enabled_ = on;
  bar_.SyncState(*this);
}

void ToolButton::Click() {
  if (!enabled_ || kind_ == Kind::Separator) {
    return;
  }
  if (kind_ == Kind::Check) {
    SetDown(!down_);
  }
  Raise(OnClick, *this);
}

Box ToolButton::Bounds() const {
  RECT r{};
  if (!bar_.Handle() ||
      !SendMessageW(bar_.Handle(), TB_GETITEMRECT, static_cast<WPARAM>(bar_.IndexOf(*this)),
                    reinterpret_cast<LPARAM>(&r))) {
    return {};
  }
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// ---- ToolBar ----

ToolBar::ToolBar(Container& parent, std::u16string name, Box designed, Align align)
    : Control(parent, std::move(name), designed, align) {}

void ToolBar::Add(ToolButton& button) {
  buttons_.push_back(&button);
  button.commandId_ = static_cast<int>(buttons_.size()); // unique within the bar
}

int ToolBar::IndexOf(const ToolButton& button) const {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_[i] == &button) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

HWND ToolBar::CreateWindowFor(HWND parent) {
  // The bar neither places nor sizes itself: the parent's layout does, like any control.
  const DWORD style =
      TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
  HWND h = MakeChild(parent, TOOLBARCLASSNAMEW, style, 0);
  if (!h) {
    return nullptr;
  }
  SendMessageW(h, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // Captions only: no room is kept for images.
  SendMessageW(h, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  SendMessageW(h, TB_SETIMAGELIST, 0, 0);
  for (const ToolButton* b : buttons_) {
    TBBUTTON tb{};
    tb.idCommand = b->commandId_;
    if (b->kind_ == ToolButton::Kind::Separator) {
      tb.fsStyle = BTNS_SEP;
      tb.iBitmap = b->separatorWidth_;
    } else {
      tb.iBitmap = I_IMAGENONE;
      tb.fsStyle = static_cast<BYTE>(BTNS_AUTOSIZE | BTNS_SHOWTEXT |
                                     (b->kind_ == ToolButton::Kind::Check ? BTNS_CHECK : 0));
      tb.fsState =
          static_cast<BYTE>((b->enabled_ ? TBSTATE_ENABLED : 0) | (b->down_ ? TBSTATE_CHECKED : 0));
      tb.iString = reinterpret_cast<INT_PTR>(W(b->caption_));
    }
    SendMessageW(h, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&tb));
  }
  return h;
}

void ToolBar::SyncState(const ToolButton& button) {
  if (!Handle() || button.kind_ == ToolButton::Kind::Separator) {
    return;
  }
  const auto id = static_cast<WPARAM>(button.commandId_);
  SendMessageW(Handle(), TB_ENABLEBUTTON, id, MAKELPARAM(button.enabled_ ? TRUE : FALSE, 0));
  SendMessageW(Handle(), TB_CHECKBUTTON, id, MAKELPARAM(button.down_ ? TRUE : FALSE, 0));
}

void ToolBar::ApplySizes() {
  if (!Handle()) {
    return;
  }
  const int height = ScaleLength(Designed().height, dpi_, designDpi_);
  for (const ToolButton* b : buttons_) {
    if (b->kind_ != ToolButton::Kind::Separator) {
      continue;
    }
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_SIZE;
    info.cx = static_cast<WORD>(ScaleLength(b->separatorWidth_, dpi_, designDpi_));
    SendMessageW(Handle(), TB_SETBUTTONINFOW, static_cast<WPARAM>(b->commandId_),
                 reinterpret_cast<LPARAM>(&info));
  }
  // The width follows each caption; the height is the bar's.
  SendMessageW(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(0, height));
  SendMessageW(Handle(), TB_AUTOSIZE, 0, 0);
}

void ToolBar::ApplyDpi(int dpi, int designDpi) {
  dpi_ = dpi;
  designDpi_ = designDpi;
  ApplySizes();
}

void ToolBar::ApplyFont(HFONT font) {
  Control::ApplyFont(font);
  // The buttons' widths come from their captions in the new font.
  ApplySizes();
}

bool ToolBar::TryAccessKey(char16_t ch) {
  if (ch == 0 || !Visible() || !IsWindowEnabled(Handle())) {
    return false;
  }
  for (ToolButton* b : buttons_) {
    if (b->AccessKey() == ch && b->enabled_) {
      b->Click();
      return true;
    }
  }
  return false;
}

void ToolBar::HandleCommand(WORD id, WORD) {
  for (ToolButton* b : buttons_) {
    if (b->commandId_ != id || b->kind_ == ToolButton::Kind::Separator) {
      continue;
    }
    // A disabled button raises nothing, whoever sent the command.
    if (!b->enabled_) {
      return;
    }
    if (b->kind_ == ToolButton::Kind::Check) {
      // The bar has already changed the button's state for the click.
      b->down_ = SendMessageW(Handle(), TB_ISBUTTONCHECKED, id, 0) != 0;
    }
    Raise(b->OnClick, *b);
    return;
  }
}

} // namespace morvi::ui
