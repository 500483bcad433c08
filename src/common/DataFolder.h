// Morvi's data folder under the user's application-data folder, and a file-exists test that
// never brings up the system's "insert a disk" box.
#pragma once

#include <string>
#include <string_view>

namespace morvi {

// The special folder of the table's index 0 to 5, without a trailing "\".
std::u16string GetSpecialFolder(int index);

// Creates <application data>\Ostrelworks\<appName> when missing and sets UserDataDir (or
// CommonDataDir when common); true when the folder exists afterwards.
bool PrepareDataFolder(const std::u16string& appName, bool common);

// The data folders with a trailing "\"; empty until PrepareDataFolder has set them.
const std::u16string& UserDataDir();
// A file of the user's data folder by its bare name: UserDataDir followed by the name.
std::u16string UserDataFile(std::u16string_view name);
// Points UserDataDir at another folder (with its trailing "\"): for the tests, which keep their
// files in folders of their own.
void SetUserDataDir(std::u16string folder);
const std::u16string& CommonDataDir();

// The drive named by the letter is ready (a medium is present); "\" counts as ready.
bool IsDriveReady(char16_t ch);
// The first character of the path names a ready drive, or is "\".
bool IsPathDriveReady(const std::u16string& path);
// The path's drive is ready and a file (not a folder) exists there.
bool SafeFileExists(const std::u16string& path);

} // namespace morvi
