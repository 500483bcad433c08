#include "common/TextFile.h"

#include "common/FileError.h"
#include "common/FileMessages.h"
#include "common/Handles.h"
#include "common/TextLines.h"
#include "common/Wide.h"

#include <windows.h>

#include <climits>

namespace morvi {

namespace {

class SystemCodec final : public AnsiCodec {
public:
  unsigned CodePage() const override { return GetACP(); }

  // The caller keeps the bytes below 2 GB (ReadTextLines refuses larger files).
  std::u16string Decode(std::string_view bytes) const override {
    if (bytes.empty()) {
      return {};
    }
    const int n = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, nullptr, 0);
    std::u16string text(static_cast<std::size_t>(length > 0 ? length : 0), u'\0');
    if (length > 0) {
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, W(text.data()), length);
    }
    return text;
  }

  std::string Encode(std::u16string_view text) const override {
    std::string bytes;
    // In pieces that fit the call's int lengths, never splitting a surrogate pair.
    constexpr std::size_t kPiece = 1u << 26;
    while (!text.empty()) {
      std::size_t n = text.size() < kPiece ? text.size() : kPiece;
      if (n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) {
        --n;
      }
      bytes += EncodePiece(text.substr(0, n));
      text.remove_prefix(n);
    }
    return bytes;
  }

private:
  // A character that the code page cannot hold becomes the code page's default character, never
  // a look-alike. UTF-8 takes no such flag and can hold every character anyway.
  static std::string EncodePiece(std::u16string_view piece) {
    const DWORD flags = GetACP() == kUtf8CodePage ? 0 : WC_NO_BEST_FIT_CHARS;
    const wchar_t* src = reinterpret_cast<const wchar_t*>(piece.data());
    const int n = static_cast<int>(piece.size());
    const int size = WideCharToMultiByte(CP_ACP, flags, src, n, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
      WideCharToMultiByte(CP_ACP, flags, src, n, bytes.data(), size, nullptr, nullptr);
    }
    return bytes;
  }
};

// The system's description of the error, without the line break that ends it.
std::u16string SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text = n > 0 && buffer ? U16(buffer, n) : std::u16string();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n')) {
    text.pop_back();
  }
  return text;
}

std::u16string FullPath(const std::u16string& path) {
  const DWORD size = GetFullPathNameW(W(path), 0, nullptr, nullptr);
  if (size == 0) {
    return path;
  }
  std::u16string full(size, u'\0');
  const DWORD n = GetFullPathNameW(W(path), size, W(full.data()), nullptr);
  if (n == 0 || n >= size) {
    return path;
  }
  full.resize(n);
  return full;
}

FileError OpenError(const std::u16string& path, DWORD code) {
  return FileError(OpenErrorText(FullPath(path), SystemErrorText(code)));
}

FileError CreateError(const std::u16string& fullPath, DWORD code) {
  return FileError(CreateErrorText(fullPath, SystemErrorText(code)));
}

// The whole content of an open file from its start; ERROR_SUCCESS or the failure's code.
DWORD ReadWhole(HANDLE file, std::string& bytes) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) {
    return GetLastError();
  }
  // The code page conversion takes int lengths; no settings or word-list file comes near this.
  if (size.QuadPart > INT_MAX) {
    return ERROR_FILE_TOO_LARGE;
  }
  bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got,
                  nullptr)) {
      return GetLastError();
    }
    if (got == 0) {
      break;
    }
    done += got;
  }
  bytes.resize(done);
  return ERROR_SUCCESS;
}

std::string ReadAllBytes(const std::u16string& path) {
  FileHandle file(CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) {
    throw OpenError(path, GetLastError());
  }
  std::string bytes;
  if (const DWORD error = ReadWhole(file.Get(), bytes); error != ERROR_SUCCESS) {
    throw OpenError(path, error);
  }
  return bytes;
}

// Where a write of the path lands: the file itself, also when the path is a link to it.
struct WriteTarget {
  std::u16string path;     // the file's own full path
  bool otherNames = false; // further names (hard links) lead to the same file
};

// A path as GetFinalPathNameByHandleW gives it, without its "\\?\" prefix.
std::u16string WithoutLongPrefix(std::u16string path) {
  if (path.rfind(u"\\\\?\\UNC\\", 0) == 0) {
    return u"\\\\" + path.substr(8);
  }
  if (path.rfind(u"\\\\?\\", 0) == 0) {
    return path.substr(4);
  }
  return path;
}

WriteTarget ResolveWriteTarget(const std::u16string& fullPath) {
  // Opening follows a link to its target.
  FileHandle file(CreateFileW(W(fullPath), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) {
    return {fullPath, false};
  }
  WriteTarget target{fullPath, false};
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileInformationByHandle(file.Get(), &info)) {
    target.otherNames = info.nNumberOfLinks > 1;
  }
  const DWORD size = GetFinalPathNameByHandleW(file.Get(), nullptr, 0, VOLUME_NAME_DOS);
  if (size > 0) {
    std::u16string final(size, u'\0');
    const DWORD n = GetFinalPathNameByHandleW(file.Get(), W(final.data()), size, VOLUME_NAME_DOS);
    if (n > 0 && n < size) {
      final.resize(n);
      target.path = WithoutLongPrefix(std::move(final));
    }
  }
  return target;
}

// ERROR_SUCCESS when the file at fullPath is missing or may be replaced. Windows refuses to
// replace a read-only file, and so does Morvi, on every system alike. A file that another
// program holds open cannot be opened exclusively.
DWORD CheckReplaceable(const std::u16string& fullPath) {
  const DWORD attributes = GetFileAttributesW(W(fullPath));
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
  }
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
    return ERROR_ACCESS_DENIED;
  }
  FileHandle probe(CreateFileW(W(fullPath), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!probe) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
  }
  return ERROR_SUCCESS;
}

std::u16string FolderOf(const std::u16string& fullPath) {
  const std::size_t slash = fullPath.find_last_of(u"\\/");
  return slash == std::u16string::npos ? u"." : fullPath.substr(0, slash);
}

std::u16string HexDigits(unsigned value) {
  std::u16string digits;
  for (int shift = 12; shift >= 0; shift -= 4) {
    digits.push_back(u"0123456789ABCDEF"[(value >> shift) & 0xF]);
  }
  return digits;
}

// A new file with a fresh name in the folder, as short as the names GetTempFileNameW makes.
FileHandle CreateTemporaryFile(const std::u16string& folder, std::u16string& tempPath) {
  const unsigned seed = GetCurrentProcessId() * 7919u + GetTickCount();
  DWORD error = ERROR_FILE_EXISTS;
  for (unsigned attempt = 0; attempt < 64; ++attempt) {
    tempPath = folder + u"\\~mrv" + HexDigits(seed + attempt * 40503u) + u".tmp";
    FileHandle file(CreateFileW(W(tempPath), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
      return file;
    }
    error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      break;
    }
  }
  tempPath.clear();
  SetLastError(error);
  return FileHandle();
}

DWORD WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t rest = bytes.size() - done;
    const DWORD piece = rest < (1u << 30) ? static_cast<DWORD>(rest) : (1u << 30);
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, piece, &written, nullptr)) {
      return GetLastError();
    }
    if (written == 0) {
      return ERROR_WRITE_FAULT;
    }
    done += written;
  }
  return FlushFileBuffers(file) ? ERROR_SUCCESS : GetLastError();
}

// Writes the bytes over the file's content in place, keeping every name that leads to it. When
// that fails, the old content is written back.
DWORD RewriteInPlace(const std::u16string& target, const std::string& bytes) {
  FileHandle file(CreateFileW(W(target), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    return GetLastError();
  }
  std::string old;
  if (const DWORD error = ReadWhole(file.Get(), old); error != ERROR_SUCCESS) {
    return error;
  }
  const auto writeFromStart = [&file](const std::string& content) -> DWORD {
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(file.Get(), zero, nullptr, FILE_BEGIN)) {
      return GetLastError();
    }
    if (const DWORD error = WriteAll(file.Get(), content); error != ERROR_SUCCESS) {
      return error;
    }
    return SetEndOfFile(file.Get()) && FlushFileBuffers(file.Get()) ? ERROR_SUCCESS
                                                                    : GetLastError();
  };
  const DWORD error = writeFromStart(bytes);
  if (error != ERROR_SUCCESS) {
    writeFromStart(old);
  }
  return error;
}

} // namespace

const AnsiCodec& SystemAnsiCodec() {
  static const SystemCodec codec;
  return codec;
}

TextFileContent ReadTextLines(const std::u16string& path) {
  std::optional<TextFileContent> content = DecodeTextLines(ReadAllBytes(path), SystemAnsiCodec());
  if (!content) {
    throw FileError(std::u16string(kDecodingErrorText));
  }
  return std::move(*content);
}

void WriteTextLines(const std::u16string& path, const std::vector<std::u16string>& lines,
                    std::optional<TextEncoding> encoding) {
  const std::u16string fullPath = FullPath(path);
  const std::string bytes =
      EncodeTextLines(lines, encoding.value_or(TextEncoding::AnsiCodePage), SystemAnsiCodec());

  // A link keeps leading to the file: the write goes to the file it names. Messages name the
  // path the user knows.
  const WriteTarget target = ResolveWriteTarget(fullPath);
  if (const DWORD error = CheckReplaceable(target.path); error != ERROR_SUCCESS) {
    throw CreateError(fullPath, error);
  }
  // Replacing would part the file from its other names: it is written in place instead.
  if (target.otherNames) {
    if (const DWORD error = RewriteInPlace(target.path, bytes); error != ERROR_SUCCESS) {
      throw CreateError(fullPath, error);
    }
    return;
  }
  // The whole new content reaches the disk before the old file goes, so that a write that
  // fails halfway (a full disk, a crash) never leaves a cut settings file behind.
  std::u16string tempPath;
  FileHandle temp = CreateTemporaryFile(FolderOf(target.path), tempPath);
  if (!temp) {
    throw CreateError(fullPath, GetLastError());
  }
  DWORD error = WriteAll(temp.Get(), bytes);
  temp.Reset();
  if (error == ERROR_SUCCESS && !MoveFileExW(W(tempPath), W(target.path),
                                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != ERROR_SUCCESS) {
    DeleteFileW(W(tempPath));
    throw CreateError(fullPath, error);
  }
}

} // namespace morvi
