// The error texts of the text-file layer as the user sees them, built from a path and a system
// error, for the Windows tests to compare with what was raised.
#pragma once

#include "TestFiles.h"

#include "common/FileError.h"

#include <windows.h>

#include <functional>
#include <string>

namespace morvi::test {

inline const std::u16string kDecodingError =
    u"Unicode 文字のマッピングがターゲットのマルチバイト コード ページに存在しません";

inline std::u16string OpenErrorFor(const std::u16string& path, DWORD code) {
  return u"ファイル " + path + u" は開けません。 " + SystemMessage(code) + u" ";
}

inline std::u16string CreateErrorFor(const std::u16string& path, DWORD code) {
  return u"ファイル \"" + path + u"\" を作成できません。" + SystemMessage(code);
}

// The message of the FileError that f raises; empty when it raises none.
inline std::u16string FileErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const FileError& e) {
    return e.Message();
  }
  return u"";
}

} // namespace morvi::test
