#include "MorviFiles.h"

#include "common/Wide.h"

#include <shlobj.h>
#include <windows.h>

namespace morvi::test {

MorviFiles::MorviFiles() {
  wchar_t appData[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
  const std::u16string company = U16(appData) + u"\\Ostrelworks";
  CreateDirectoryW(W(company), nullptr);
  folder_ = company + u"\\Morvi";
  CreateDirectoryW(W(folder_), nullptr);
  Clear();
}

MorviFiles::~MorviFiles() {
  Clear();
}

void MorviFiles::Clear() const {
  for (const std::u16string& file : {Settings(), WordList()}) {
    SetFileAttributesW(W(file), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(W(file));
  }
}

} // namespace morvi::test
