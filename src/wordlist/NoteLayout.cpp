// The word-list window as designed at 120 DPI: the tool bar along the top with its buttons from
// left to right, and the list filling the rest.
#include "wordlist/Note.h"

namespace morvi {

using ui::Align;
using Kind = ui::ToolButton::Kind;

void TNoteForm::BuildComponents() {
  Design& d = DesignOf();
  d.clientWidth = 839;
  d.clientHeight = 567;
  d.dpi = 120;
  d.hasPosition = false; // the window system's default place, until the settings say otherwise
  // A sizable tool window: a narrow title bar without any buttons, and no task-bar button.
  d.style = WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
  d.exStyle = WS_EX_TOOLWINDOW;
  d.title = u"Morvi - 単語帳";
  d.fontFace = u"Tahoma";
  d.fontHeight = 15;

  ToolBar = &Make<ui::ToolBar>(*this, u"ToolBar", ui::Box{0, 0, 839, 26}, Align::Top);
  const auto button = [this](std::u16string name, std::u16string caption, Kind kind) {
    return &Make<ui::ToolButton>(*ToolBar, std::move(name), std::move(caption), kind);
  };
  TBName = button(u"TBName", u"名前欄に入力(&N)", Kind::Push);
  TBClip = button(u"TBClip", u"クリップボードにコピー(&C)", Kind::Push);
  ToolButton2 = button(u"ToolButton2", u"", Kind::Separator);
  TBEdit = button(u"TBEdit", u"編集(&E)", Kind::Push);
  TBReload = button(u"TBReload", u"再読み込み(&R)", Kind::Push);
  ToolButton1 = button(u"ToolButton1", u"", Kind::Separator);
  TBClose = button(u"TBClose", u"閉じる(&X)", Kind::Push);
  TBEnd = button(u"TBEnd", u"", Kind::Separator);
  TBShow = button(u"TBShow", u"メインウィンドウと同時に表示", Kind::Check);

  ListBox = &Make<ui::ListBox>(*this, u"ListBox", ui::Box{0, 26, 839, 541}, Align::Client);
  ListBox->SetTabOrder(0);
}

} // namespace morvi
