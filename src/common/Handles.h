// Small non-copyable owners for the handles Morvi creates. Handles of other processes' windows
// are never owned.
#pragma once

#include <windows.h>

#include <utility>

namespace morvi {

// Traits: the handle type, its "none" value and how to close it.
template <class Traits>
class UniqueHandle {
public:
  using H = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::None())) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) {
      Reset(std::exchange(o.h_, Traits::None()));
    }
    return *this;
  }

  H Get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::None(); }
  H Release() { return std::exchange(h_, Traits::None()); }
  void Reset(H h = Traits::None()) {
    if (h_ != Traits::None()) {
      Traits::Close(h_);
    }
    h_ = h;
  }

private:
  H h_ = Traits::None();
};

template <class T, auto CloseFn>
struct NullIsNone {
  using Type = T;
  static T None() { return nullptr; }
  static void Close(T h) { CloseFn(h); }
};

struct FileTraits {
  using Type = HANDLE;
  // CreateFileW and FindFirstFileW report failure as INVALID_HANDLE_VALUE rather than 0.
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};

struct FindTraits {
  using Type = HANDLE;
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindClose(h); }
};

inline void CloseGdiObject(HGDIOBJ h) {
  DeleteObject(h);
}
inline void CloseMenuHandle(HMENU h) {
  DestroyMenu(h);
}
inline void CloseKernelHandle(HANDLE h) {
  CloseHandle(h);
}
inline void CloseWindowHandle(HWND h) {
  DestroyWindow(h);
}
inline void CloseGlobalMemory(HGLOBAL h) {
  GlobalFree(h);
}

using FontHandle = UniqueHandle<NullIsNone<HFONT, CloseGdiObject>>;
using MenuHandle = UniqueHandle<NullIsNone<HMENU, CloseMenuHandle>>;
using KernelHandle = UniqueHandle<NullIsNone<HANDLE, CloseKernelHandle>>;
using WindowHandle = UniqueHandle<NullIsNone<HWND, CloseWindowHandle>>;
// Memory handed to the clipboard belongs to the system once SetClipboardData accepts it: Release.
using GlobalMemoryHandle = UniqueHandle<NullIsNone<HGLOBAL, CloseGlobalMemory>>;
using FileHandle = UniqueHandle<FileTraits>;
using FindHandle = UniqueHandle<FindTraits>;

} // namespace morvi
