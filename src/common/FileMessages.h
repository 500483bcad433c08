// The texts shown when a text file cannot be opened, decoded or created.
#pragma once

#include <string>
#include <string_view>

namespace morvi {

// The file's full path and the system's description of the error.
std::u16string OpenErrorText(std::u16string_view path, std::u16string_view description);
std::u16string CreateErrorText(std::u16string_view path, std::u16string_view description);

// A file marked as UTF-8 that holds invalid UTF-8.
extern const std::u16string_view kDecodingErrorText;

} // namespace morvi
