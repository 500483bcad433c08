// snap: waits for a visible top-level window with a given class and title, then saves what it
// shows on the screen as a PNG file. Used by the run command on a virtual display.
//
//   snap OUT.png CLASS TITLE [TIMEOUT_MS]   save the window once it is visible
//   snap --wait CLASS TITLE [TIMEOUT_MS]    only wait until the window exists, hidden or not
//
// Exit code 0 when the picture was written (or the window exists), 1 when no such window
// appeared in time.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::uint32_t Crc32(const std::uint8_t* p, std::size_t n, std::uint32_t crc = 0) {
  static std::uint32_t table[256];
  static bool ready = false;
  if (!ready) {
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) {
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      }
      table[i] = c;
    }
    ready = true;
  }
  crc = ~crc;
  for (std::size_t i = 0; i < n; ++i) {
    crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  }
  return ~crc;
}

void PutBE32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) {
    out.push_back(static_cast<std::uint8_t>(v >> s));
  }
}

void Chunk(std::vector<std::uint8_t>& png, const char* type, const std::vector<std::uint8_t>& d) {
  PutBE32(png, static_cast<std::uint32_t>(d.size()));
  std::vector<std::uint8_t> body(type, type + 4);
  body.insert(body.end(), d.begin(), d.end());
  png.insert(png.end(), body.begin(), body.end());
  PutBE32(png, Crc32(body.data(), body.size()));
}

// An uncompressed zlib stream: stored deflate blocks. Screenshots are small; size is no concern.
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& raw) {
  std::vector<std::uint8_t> z{0x78, 0x01};
  std::size_t pos = 0;
  do {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
    z.push_back(pos + n == raw.size() ? 1 : 0);
    z.push_back(static_cast<std::uint8_t>(n));
    z.push_back(static_cast<std::uint8_t>(n >> 8));
    z.push_back(static_cast<std::uint8_t>(~n));
    z.push_back(static_cast<std::uint8_t>(~n >> 8));
    z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
    pos += n;
  } while (pos < raw.size());
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  PutBE32(z, (b << 16) | a);
  return z;
}

bool WritePng(const wchar_t* path, int w, int h, const std::vector<std::uint8_t>& bgra) {
  std::vector<std::uint8_t> raw;
  raw.reserve(static_cast<std::size_t>(h) * (1 + 3 * w));
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);
    for (int x = 0; x < w; ++x) {
      const std::uint8_t* p = &bgra[(static_cast<std::size_t>(y) * w + x) * 4];
      raw.insert(raw.end(), {p[2], p[1], p[0]});
    }
  }
  std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> ihdr;
  PutBE32(ihdr, static_cast<std::uint32_t>(w));
  PutBE32(ihdr, static_cast<std::uint32_t>(h));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
  Chunk(png, "IHDR", ihdr);
  Chunk(png, "IDAT", StoredZlib(raw));
  Chunk(png, "IEND", {});
  FILE* f = _wfopen(path, L"wb");
  if (!f) {
    return false;
  }
  const bool ok = fwrite(png.data(), 1, png.size(), f) == png.size();
  return fclose(f) == 0 && ok;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    fwprintf(stderr, L"usage: snap OUT.png CLASS TITLE [TIMEOUT_MS]\n");
    return 2;
  }
  SetProcessDPIAware();
  const bool waitOnly = lstrcmpW(argv[1], L"--wait") == 0;
  const DWORD timeout = argc > 4 ? static_cast<DWORD>(_wtoi(argv[4])) : 15000;
  const DWORD start = GetTickCount();
  HWND w = nullptr;
  while (GetTickCount() - start < timeout) {
    w = FindWindowW(argv[2], argv[3]);
    if (w && (waitOnly || IsWindowVisible(w))) {
      break;
    }
    w = nullptr;
    Sleep(50);
  }
  if (w && waitOnly) {
    return 0;
  }
  if (!w) {
    fwprintf(stderr, L"snap: no visible window \"%ls\" of class %ls\n", argv[3], argv[2]);
    return 1;
  }
  Sleep(700); // let it finish painting
  RECT r;
  GetWindowRect(w, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  std::vector<std::uint8_t> pixels(static_cast<std::uint8_t*>(bits),
                                   static_cast<std::uint8_t*>(bits) +
                                       static_cast<std::size_t>(width) * height * 4);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  if (!WritePng(argv[1], width, height, pixels)) {
    fwprintf(stderr, L"snap: cannot write %ls\n", argv[1]);
    return 1;
  }
  return 0;
}
