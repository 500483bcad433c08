// libFuzzer's entry for the activation message: the bytes that another process sends with
// WM_COPYDATA. Whatever they are, the receiver reads only within them, and it shows the window
// exactly when they begin with "/Show" followed by a NUL or by their end.
#include "common/Activation.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::uint8_t show[10] = {0x2F, 0, 0x53, 0, 0x68, 0, 0x6F, 0, 0x77, 0};
  const bool expected = size % 2 == 0 && size >= 10 && std::memcmp(data, show, 10) == 0 &&
                        (size == 10 || (data[10] == 0 && data[11] == 0));
  if (morvi::IsShowRequest(data, size) != expected) {
    std::abort();
  }
  const std::optional<std::u16string> text = morvi::ReadActivationText(data, size);
  if (text && text->size() * 2 > size) {
    std::abort();
  }
  return 0;
}
