// The fuzz target's seed files, replayed by every build: the rules it checks hold for them.
#include "SettingsFuzzTarget.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

TEST(SettingsFuzzCorpus, EverySeedFileKeepsTheSettingsRules) {
  const std::filesystem::path dir(MORVI_SETTINGS_CORPUS);
  int replayed = 0;
  for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(dir)) {
    SCOPED_TRACE(entry.path().filename().string());
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    morvi::fuzz::RunSettingsInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                  bytes.size());
    ++replayed;
  }
  EXPECT_GT(replayed, 0) << "no seed file found in " << dir.string();
}
