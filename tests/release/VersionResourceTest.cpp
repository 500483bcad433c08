// Morvi.exe as Explorer's properties show it: the version resource carries the CMake project's
// version, description and copyright, and the icon is Morvi's own, every size of res/Morvi.ico.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::wstring FolderOfThisTest() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L"\\/"));
}

// The exe that MORVI_EXE names (the release test points it at the exe in the zip), otherwise the
// Morvi.exe that the build copied beside this test.
std::wstring ExeUnderTest() {
  wchar_t buf[32768] = {};
  const DWORD n = GetEnvironmentVariableW(L"MORVI_EXE", buf, 32768);
  if (n > 0 && n < 32768) {
    return buf;
  }
  return FolderOfThisTest() + L"\\Morvi.exe";
}

std::string Narrow(const std::wstring& s) {
  return std::string(s.begin(), s.end()); // the texts compared here are ASCII
}

class VersionInfo : public ::testing::Test {
protected:
  void SetUp() override {
    const std::wstring exe = ExeUnderTest();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u) << Narrow(exe) << " has no version resource";
    block_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block_.data()));
  }

  // The value under a sub-block, or null.
  const void* Query(const std::wstring& subBlock, UINT* length = nullptr) {
    void* value = nullptr;
    UINT n = 0;
    if (!VerQueryValueW(block_.data(), subBlock.c_str(), &value, &n) || n == 0) {
      return nullptr;
    }
    if (length) {
      *length = n;
    }
    return value;
  }

  std::vector<std::uint8_t> block_;
};

TEST_F(VersionInfo, FixedFileAndProductVersionsAreTheProjectVersion) {
  UINT n = 0;
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Query(L"\\", &n));
  ASSERT_NE(fixed, nullptr);
  ASSERT_GE(n, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  const DWORD ms = MAKELONG(MORVI_CMAKE_VERSION_MINOR, MORVI_CMAKE_VERSION_MAJOR);
  const DWORD ls = MAKELONG(0, MORVI_CMAKE_VERSION_PATCH);
  EXPECT_EQ(fixed->dwFileVersionMS, ms);
  EXPECT_EQ(fixed->dwFileVersionLS, ls);
  EXPECT_EQ(fixed->dwProductVersionMS, ms);
  EXPECT_EQ(fixed->dwProductVersionLS, ls);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask & (VS_FF_DEBUG | VS_FF_PRERELEASE), 0u);
}

TEST_F(VersionInfo, JapaneseStringTableCarriesTheProjectsTexts) {
  UINT n = 0;
  const auto* translation = static_cast<const WORD*>(Query(L"\\VarFileInfo\\Translation", &n));
  ASSERT_NE(translation, nullptr);
  ASSERT_GE(n, 4u);
  EXPECT_EQ(translation[0], 0x0411); // Japanese
  EXPECT_EQ(translation[1], 1200);   // UTF-16

  struct Case {
    const wchar_t* key;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"FileVersion", L"" MORVI_CMAKE_VERSION},
      {L"ProductVersion", L"" MORVI_CMAKE_VERSION},
      {L"FileDescription", L"" MORVI_CMAKE_DESCRIPTION},
      {L"LegalCopyright", L"" MORVI_CMAKE_COPYRIGHT},
      {L"OriginalFilename", L"Morvi.exe"},
      {L"ProductName", L"Morvi"},
      {L"CompanyName", L"Ostrelworks"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.key));
    const auto* text =
        static_cast<const wchar_t*>(Query(std::wstring(L"\\StringFileInfo\\041104B0\\") + c.key));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(Narrow(text), Narrow(c.expected));
  }
}

#pragma pack(push, 1)
struct IconDirEntry { // an image's entry in an .ico file
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes, offset;
};
#pragma pack(pop)
#pragma pack(push, 2)
struct GroupIconEntry { // the same entry in an RT_GROUP_ICON resource
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

std::vector<std::uint8_t> ResourceBytes(HMODULE m, LPCWSTR type, LPCWSTR name) {
  HRSRC r = FindResourceW(m, name, type);
  if (!r) {
    return {};
  }
  const auto* p = static_cast<const std::uint8_t*>(LockResource(LoadResource(m, r)));
  return p ? std::vector<std::uint8_t>(p, p + SizeofResource(m, r)) : std::vector<std::uint8_t>{};
}

TEST(Icon, EveryImageOfMorviIcoIsInTheExeAndTheShellExtractsIt) {
  std::ifstream in(std::filesystem::path(FolderOfThisTest() + L"\\Morvi.ico"), std::ios::binary);
  const std::vector<std::uint8_t> ico((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
  ASSERT_GT(ico.size(), 6u) << "res/Morvi.ico was not copied beside the test";
  const WORD count = static_cast<WORD>(ico[4] | ico[5] << 8);
  ASSERT_GT(count, 0);
  ASSERT_GE(ico.size(), 6 + count * sizeof(IconDirEntry));

  const std::wstring exe = ExeUnderTest();
  HMODULE m = LoadLibraryExW(exe.c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(m, nullptr) << Narrow(exe);
  const std::vector<std::uint8_t> group = ResourceBytes(m, RT_GROUP_ICON, MAKEINTRESOURCEW(1));
  ASSERT_GE(group.size(), 6u) << "no icon group 1";
  const WORD groupCount = static_cast<WORD>(group[4] | group[5] << 8);
  ASSERT_EQ(groupCount, count);
  ASSERT_GE(group.size(), 6 + groupCount * sizeof(GroupIconEntry));

  for (WORD i = 0; i < count; ++i) {
    IconDirEntry want;
    std::memcpy(&want, ico.data() + 6 + i * sizeof want, sizeof want);
    SCOPED_TRACE("image of " + std::to_string(want.width ? want.width : 256) + " pixels");
    ASSERT_LE(std::size_t{want.offset} + want.bytes, ico.size());
    bool found = false;
    for (WORD k = 0; k < groupCount && !found; ++k) {
      GroupIconEntry have;
      std::memcpy(&have, group.data() + 6 + k * sizeof have, sizeof have);
      if (have.width != want.width || have.height != want.height ||
          have.bitCount != want.bitCount) {
        continue;
      }
      found = true;
      const std::vector<std::uint8_t> image = ResourceBytes(m, RT_ICON, MAKEINTRESOURCEW(have.id));
      EXPECT_TRUE(image == std::vector<std::uint8_t>(ico.begin() + want.offset,
                                                     ico.begin() + want.offset + want.bytes));
    }
    EXPECT_TRUE(found);
  }
  FreeLibrary(m);

  // What Explorer does to show the file: the first icon, large and small.
  HICON large = nullptr, small = nullptr;
  EXPECT_GT(ExtractIconExW(exe.c_str(), 0, &large, &small, 1), 0u);
  EXPECT_NE(large, nullptr);
  EXPECT_NE(small, nullptr);
  DestroyIcon(large);
  DestroyIcon(small);
}

} // namespace
