#include "common/FileMessages.h"

namespace morvi {

const std::u16string_view kDecodingErrorText =
    u"Unicode 文字のマッピングがターゲットのマルチバイト コード ページに存在しません";

std::u16string OpenErrorText(std::u16string_view path, std::u16string_view description) {
  std::u16string text = u"ファイル ";
  text += path;
  text += u" は開けません。 ";
  text += description;
  text += u" ";
  return text;
}

std::u16string CreateErrorText(std::u16string_view path, std::u16string_view description) {
  std::u16string text = u"ファイル \"";
  text += path;
  text += u"\" を作成できません。";
  text += description;
  return text;
}

} // namespace morvi
