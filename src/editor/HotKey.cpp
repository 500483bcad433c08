#include "editor/HotKey.h"

namespace morvi {

std::u16string HotKeyName(char16_t letter) {
  return u"Ctrl+Shift+" + std::u16string(1, letter);
}

std::u16string HotKeyNotRegisteredText(char16_t letter) {
  return u"ホットキー " + HotKeyName(letter) +
         u" を登録できませんでした。ほかのプログラムがこの組み合わせを使っています。\r\n\r\n"
         u"Morvi をもう一度起動すると、Morvi のウィンドウを表示できます。"
         u"設定メニューの「ホットキーの変更」で別の文字を選ぶこともできます。";
}

} // namespace morvi
