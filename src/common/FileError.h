// The error raised when a file cannot be opened, created or decoded. It carries the text shown to
// the user; the toolkit's event dispatch shows it in a message box and stops the handler.
#pragma once

#include <exception>
#include <string>

namespace morvi {

class FileError : public std::exception {
public:
  explicit FileError(std::u16string message) : message_(std::move(message)) {}
  const std::u16string& Message() const { return message_; }
  const char* what() const noexcept override { return "file error"; }

private:
  std::u16string message_;
};

} // namespace morvi
