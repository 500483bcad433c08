// Morvi's data folder under the user's application-data folder, and a file-exists test that
// never brings up the system's "insert a disk" box.
#pragma once

#include <string>

namespace morvi {

// The special folder of the table's index 0 to 5, without a trailing "\".
std::u16string GetSpecialFolder(int index);

// Creates <application data>\Ostrelworks\<appName> when missing and sets UserDataDir (or
// CommonDataDir when common); true when the folder exists afterwards.
bool PrepareDataFolder(const std::u16string& appName, bool common);

// The data folders with a trailing "\"; empty until PrepareDataFolder has set them.
const std::u16string& UserDataDir();
const std::u16string& CommonDataDir();

// The drive named by the letter is ready (a medium is present); "\" counts as ready.
bool IsDriveReady(char16_t ch);
// The first character of the path names a ready drive, or is "\".
bool IsPathDriveReady(const std::u16string& path);
// The path's drive is ready and a file (not a folder) exists there.
bool SafeFileExists(const std::u16string& path);

} // namespace morvi
