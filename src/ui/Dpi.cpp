#include "ui/Dpi.h"

namespace morvi::ui {

namespace {

template <class F>
F User32Proc(const char* name) {
  static const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                : nullptr;
}

} // namespace

int SystemDpi() {
  using Fn = UINT(WINAPI*)();
  static const Fn getDpiForSystem = User32Proc<Fn>("GetDpiForSystem");
  if (getDpiForSystem) {
    return static_cast<int>(getDpiForSystem());
  }
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) {
    ReleaseDC(nullptr, dc);
  }
  return dpi > 0 ? dpi : 96;
}

int DpiOfWindow(HWND hwnd) {
  using Fn = UINT(WINAPI*)(HWND);
  static const Fn getDpiForWindow = User32Proc<Fn>("GetDpiForWindow");
  if (getDpiForWindow && hwnd) {
    if (const UINT dpi = getDpiForWindow(hwnd); dpi != 0) {
      return static_cast<int>(dpi);
    }
  }
  return SystemDpi();
}

SIZE OuterSizeForClient(int width, int height, DWORD style, DWORD exStyle, int dpi) {
  using Fn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const Fn adjustForDpi = User32Proc<Fn>("AdjustWindowRectExForDpi");
  RECT r{0, 0, width, height};
  if (!(adjustForDpi && adjustForDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi)))) {
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
  }
  return {r.right - r.left, r.bottom - r.top};
}

LOGFONTW MenuFontAt(int dpi) {
  using Fn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const Fn spiForDpi = User32Proc<Fn>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  if (spiForDpi && spiForDpi(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0, dpi)) {
    return ncm.lfMenuFont;
  }
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(9, dpi, 72);
    lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
    return lf;
  }
  LOGFONTW lf = ncm.lfMenuFont;
  lf.lfHeight = MulDiv(lf.lfHeight, dpi, SystemDpi());
  return lf;
}

} // namespace morvi::ui
