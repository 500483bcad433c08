// snap: waits for visible top-level windows with given classes and titles, then saves what they
// show on the screen as a PNG file. Used by the run and screenshots commands on a virtual display.
//
//   snap OUT.png CLASS TITLE [TIMEOUT_MS]      save the window once it is visible
//   snap --area OUT.png TIMEOUT_MS CLASS TITLE [CLASS TITLE ...]
//                                              save the smallest rectangle that holds all the
//                                              windows, once every one of them is visible
//   snap --wait CLASS TITLE [TIMEOUT_MS]       only wait until the window exists, hidden or not
//
// The picture is taken once the screen has stopped changing there (two shots alike). With --area,
// one line for each window goes to the standard output, "window CLASS LEFT TOP RIGHT BOTTOM"
// (screen pixels), then "picture WIDTH HEIGHT".
//
// Exit code 0 when the picture was written (or the window exists), 1 when a window did not
// appear in time or the file could not be written, 2 on wrong usage.
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

struct Target {
  const wchar_t* cls;
  const wchar_t* title;
  HWND hwnd = nullptr;
  RECT rect{};
};

// Waits until every target is a visible window; false when one is still missing at the deadline.
bool FindAll(std::vector<Target>& targets, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    bool all = true;
    for (Target& t : targets) {
      t.hwnd = FindWindowW(t.cls, t.title);
      if (!t.hwnd || !IsWindowVisible(t.hwnd)) {
        t.hwnd = nullptr;
        all = false;
      }
    }
    if (all || GetTickCount() - start > timeoutMs) {
      return all;
    }
    Sleep(50);
  }
}

std::vector<std::uint8_t> Grab(const RECT& r) {
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
  return pixels;
}

// Asks each window to paint now and waits until its thread has done so, then takes shots until
// two in a row are alike: the windows have finished painting and the display has caught up.
std::vector<std::uint8_t> SettledShot(const std::vector<Target>& targets, const RECT& r) {
  for (const Target& t : targets) {
    RedrawWindow(t.hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(t.hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  }
  std::vector<std::uint8_t> last = Grab(r);
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 5000) {
    Sleep(150);
    std::vector<std::uint8_t> now = Grab(r);
    if (now == last) {
      break;
    }
    last = std::move(now);
  }
  return last;
}

int Save(const wchar_t* out, std::vector<Target> targets, DWORD timeoutMs, bool report) {
  if (!FindAll(targets, timeoutMs)) {
    for (const Target& t : targets) {
      if (!t.hwnd) {
        fwprintf(stderr, L"snap: no visible window \"%ls\" of class %ls\n", t.title, t.cls);
      }
    }
    return 1;
  }
  RECT area{};
  for (Target& t : targets) {
    GetWindowRect(t.hwnd, &t.rect);
    if (&t == &targets.front()) {
      area = t.rect;
    } else {
      UnionRect(&area, &area, &t.rect);
    }
  }
  // Only what lies on the screen can be seen.
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  IntersectRect(&area, &area, &screen);
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) {
    fwprintf(stderr, L"snap: the windows lie off the screen\n");
    return 1;
  }
  const std::vector<std::uint8_t> pixels = SettledShot(targets, area);
  if (!WritePng(out, width, height, pixels)) {
    fwprintf(stderr, L"snap: cannot write %ls\n", out);
    return 1;
  }
  if (!report) {
    return 0;
  }
  for (const Target& t : targets) {
    wprintf(L"window %ls %ld %ld %ld %ld\n", t.cls, t.rect.left, t.rect.top, t.rect.right,
            t.rect.bottom);
  }
  wprintf(L"picture %d %d\n", width, height);
  return 0;
}

int Usage() {
  fwprintf(stderr, L"usage: snap OUT.png CLASS TITLE [TIMEOUT_MS]\n"
                   L"       snap --area OUT.png TIMEOUT_MS CLASS TITLE [CLASS TITLE ...]\n"
                   L"       snap --wait CLASS TITLE [TIMEOUT_MS]\n");
  return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  SetProcessDPIAware();
  if (argc >= 4 && lstrcmpW(argv[1], L"--wait") == 0) {
    const DWORD timeout = argc > 4 ? static_cast<DWORD>(_wtoi(argv[4])) : 15000;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeout) {
      if (FindWindowW(argv[2], argv[3])) {
        return 0;
      }
      Sleep(50);
    }
    fwprintf(stderr, L"snap: no window \"%ls\" of class %ls\n", argv[3], argv[2]);
    return 1;
  }
  if (argc >= 6 && argc % 2 == 0 && lstrcmpW(argv[1], L"--area") == 0) {
    std::vector<Target> targets;
    for (int i = 4; i + 1 < argc; i += 2) {
      targets.push_back({argv[i], argv[i + 1]});
    }
    return Save(argv[2], targets, static_cast<DWORD>(_wtoi(argv[3])), true);
  }
  if (argc >= 4 && argv[1][0] != L'-') {
    const DWORD timeout = argc > 4 ? static_cast<DWORD>(_wtoi(argv[4])) : 15000;
    return Save(argv[1], {{argv[2], argv[3]}}, timeout, false);
  }
  return Usage();
}
