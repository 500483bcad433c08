// The editor window as designed: every control with its place at 96 DPI, its caption, tab order
// and initial state, and both popup menus with their items.
#include "editor/Main.h"

#include "common/Activation.h"

namespace morvi {

using ui::Align;
using Kind = ui::MenuItem::Kind;

void TMainForm::BuildComponents() {
  Design& d = DesignOf();
  d.clientWidth = 822;
  d.clientHeight = 108;
  d.dpi = 96;
  d.hasPosition = true; // placed exactly where it is told; the system picks no place
  d.left = 284;
  d.top = 150;
  d.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME;
  d.exStyle = WS_EX_APPWINDOW;
  d.title = kEditorWindowTitle;
  d.fontFace = u"Tahoma";
  d.fontHeight = 11;
  d.iconId = 1;

  PanelEdit = &Make<ui::Panel>(*this, u"PanelEdit", ui::Box{0, 0, 822, 78}, Align::Top);
  PanelEdit->SetTabOrder(0);

  EditPath = &Make<ui::Edit>(*PanelEdit, u"EditPath", ui::Box{1, 1, 820, 21}, Align::Top);
  EditPath->SetTabOrder(2);
  EditPath->SetReadOnly(true);

  EditName = &Make<ui::Edit>(*PanelEdit, u"EditName", ui::Box{1, 22, 820, 21}, Align::Top);
  EditName->SetTabOrder(0);
  EditName->SetTabStop(true);
  EditName->SetMaxLength(256);
  EditName->SetShowHint(true);

  Labelpiriodo = &Make<ui::Label>(*PanelEdit, u"Labelpiriodo", ui::Box{1, 43, 820, 13}, Align::Top);
  Labelpiriodo->SetCaption(u"\u3000\uFF0E\u3000");

  EditExt = &Make<ui::Edit>(*PanelEdit, u"EditExt", ui::Box{1, 56, 820, 21}, Align::Client);
  EditExt->SetTabOrder(1);
  EditExt->SetTabStop(true);
  EditExt->SetMaxLength(256);

  PanelBtn = &Make<ui::Panel>(*this, u"PanelBtn", ui::Box{0, 78, 822, 30}, Align::Bottom);
  PanelBtn->SetTabOrder(1);

  const auto button = [this](std::u16string name, ui::Box box, Align align, int tab,
                             std::u16string caption) {
    ui::Button& b = Make<ui::Button>(*PanelBtn, std::move(name), box, align);
    b.SetTabOrder(tab);
    b.SetCaption(std::move(caption));
    return &b;
  };
  BtnOption = button(u"BtnOption", {1, 1, 150, 28}, Align::Left, 2, u"設定(&S)");
  BtnNameClear = button(u"BtnNameClear", {151, 1, 150, 28}, Align::Left, 3, u"名前を消去(&C)");
  BtnNameClear->SetEnabled(false);
  BtnEdit = button(u"BtnEdit", {301, 1, 150, 28}, Align::Left, 4, u"編集(&E)");

  CHKSave = &Make<ui::CheckBox>(*PanelBtn, u"CHKSave", ui::Box{424, 1, 97, 28}, Align::Right);
  CHKSave->SetTabOrder(5);
  CHKSave->SetCaption(u"保存ボタン");

  BtnOK = button(u"BtnOK", {521, 1, 150, 28}, Align::Right, 0, u"OK[ENTER]");
  BtnOK->SetEnabled(false);
  BtnOK->SetDefaultLook(true);
  DefaultButton = BtnOK;
  BtnCancel = button(u"BtnCancel", {671, 1, 150, 28}, Align::Right, 1, u"キャンセル[ESC]");
  CancelButton = BtnCancel;

  const auto item = [this](std::u16string name, std::u16string caption, Kind kind = Kind::Plain) {
    return &Make<ui::MenuItem>(std::move(name), std::move(caption), kind);
  };

  PPConfig = &Make<ui::PopupMenu>(u"PPConfig");
  PPMostTop = item(u"PPMostTop", u"常に手前に表示", Kind::Check);
  PPMostTop->SetAutoCheck(true);
  PPPos = item(u"PPPos", u"表示位置");
  const std::u16string posCaptions[3] = {u"最後に閉じた位置", u"ダイアログの上に合わせる",
                                         u"ダイアログの下に合わせる"};
  ui::MenuItem** posItems[3] = {&PPPOS0, &PPPOS1, &PPPOS2};
  for (int i = 0; i < 3; ++i) {
    ui::MenuItem* p = item(u"PPPOS" + std::u16string(1, static_cast<char16_t>(u'0' + i)),
                           posCaptions[i], Kind::Radio);
    p->SetAutoCheck(true);
    p->SetGroup(1);
    PPPos->Add(*p);
    *posItems[i] = p;
  }
  PPResident = item(u"PPResident", u"非常駐(＊次回起動時から有効)", Kind::Check);
  PPResident->SetAutoCheck(true);
  PPHotKey = item(u"PPHotKey", u"ホットキーの変更");
  for (ui::MenuItem* m : {PPMostTop, PPPos, PPResident, PPHotKey}) {
    PPConfig->Add(*m);
  }

  PPEdit = &Make<ui::PopupMenu>(u"PPEdit");
  PPCaretCutBefore = item(u"PPCaretCutBefore", u"キャレット位置より前を削除(&B) Shift+Ctrl+←");
  PPCaretCutAfter = item(u"PPCaretCutAfter", u"キャレット位置より後ろを削除(&A)  Shift+Ctrl+→");
  PPCaretCopyBefore =
      item(u"PPCaretCopyBefore", u"キャレット位置より前を切り取り(&D) Shift+Ctrl+↑");
  PPCaretCopyAfter =
      item(u"PPCaretCopyAfter", u"キャレット位置より後ろを切り取り(&C) Shift+Ctrl+↓");
  PPCaretXch = item(u"PPCaretXch", u"キャレット位置より前と後ろを入れ替え(&X) Shift+Ctrl+Home");
  N1 = item(u"N1", u"", Kind::Separator);
  PPInvalidCha = item(u"PPInvalidCha", u"ファイル名に使えない文字を全角に変換(&I) Ctrl+I");
  PPInvalidCha->SetShortCutText(u"Ctrl+I");
  N2 = item(u"N2", u"", Kind::Separator);
  PPUndo = item(u"PPUndo", u"元の名前を入力(&Z) Ctrl+Z");
  N3 = item(u"N3", u"", Kind::Separator);
  PPDate1 = item(u"PPDate1", u"");
  PPDate2 = item(u"PPDate2", u"");
  N4 = item(u"N4", u"", Kind::Separator);
  PPNote = item(u"PPNote", u"単語帳(&N)");
  for (ui::MenuItem* m : {PPCaretCutBefore, PPCaretCutAfter, PPCaretCopyBefore, PPCaretCopyAfter,
                          PPCaretXch, PPInvalidCha, PPUndo}) {
    m->SetEnabled(false);
  }
  for (ui::MenuItem* m :
       {PPCaretCutBefore, PPCaretCutAfter, PPCaretCopyBefore, PPCaretCopyAfter, PPCaretXch, N1,
        PPInvalidCha, N2, PPUndo, N3, PPDate1, PPDate2, N4, PPNote}) {
    PPEdit->Add(*m);
  }
}

} // namespace morvi
