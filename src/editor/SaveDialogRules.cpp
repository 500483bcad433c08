#include "editor/SaveDialogRules.h"

namespace morvi {

bool IsSaveButtonLike(std::u16string_view className, std::u16string_view text) {
  return className.find(u"Button") != std::u16string_view::npos &&
         text.find(u"保存") != std::u16string_view::npos;
}

std::u16string CaptureNotice(LinkProblem problem) {
  switch (problem) {
  case LinkProblem::NoAnswer:
    return u"「名前を付けて保存」ダイアログが応答しません";
  case LinkProblem::Elevated:
    return u"管理者として実行中のプログラムのダイアログです。Morviを管理者として起動すると使えます";
  default:
    return {};
  }
}

std::u16string WriteFailureText(LinkProblem problem) {
  switch (problem) {
  case LinkProblem::NoAnswer:
    return u"ダイアログが応答しないため、名前を書き込んでいません。";
  case LinkProblem::Changed:
    return u"ダイアログが閉じられたか別のウィンドウに変わったため、名前を書き込んでいません。";
  default:
    return {};
  }
}

std::u16string SaveFailureText() {
  return u"名前は書き込みましたが、ダイアログが変わったか応答しないため、保存ボタンを押していません"
         u"。";
}

} // namespace morvi
