// The rules by which a captured file name becomes a base name and an extension, how the edited
// name is judged, and how the two parts are joined again for writing back.
#pragma once

#include <string>
#include <string_view>

namespace morvi {

// The extension of a file name or path, dot included; empty when a "\" or ":" follows the last
// dot or there is no dot.
std::u16string PathExtension(std::u16string_view text);

// PathExtension without its dot: what the extension field receives.
std::u16string ExtensionFieldText(std::u16string_view text);

// name, or name "." ext when ext is not empty.
std::u16string JoinFileName(std::u16string_view name, std::u16string_view ext);

// The base-name rule: no forbidden character, and not made only of U+0020 or only of U+3000.
// The empty name passes; callers test emptiness themselves.
bool IsValidFileName(std::u16string_view name);

// Each forbidden character replaced by its full-width look-alike ("\" becomes U+FFE5).
std::u16string ToFullWidth(std::u16string_view text);

struct NameFields {
  std::u16string name;
  std::u16string ext;
};

// The two fields that the text of the path field splits into.
NameFields SplitPath(std::u16string_view path);

// Whether the two fields make a name that may be written back: a non-empty valid base name and an
// extension free of forbidden characters. (The dialog must still be usable as well.)
bool NameFieldsAcceptable(std::u16string_view name, std::u16string_view ext);

} // namespace morvi
