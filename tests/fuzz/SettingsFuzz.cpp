// libFuzzer's entry for the settings file.
#include "SettingsFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  morvi::fuzz::RunSettingsInput(data, size);
  return 0;
}
