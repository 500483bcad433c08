#include "common/ForeignWindow.h"

#include "common/Handles.h"
#include "common/Wide.h"
#include "common/WindowRules.h"

#include <vector>

namespace morvi {

namespace {

constexpr int kTextUnits = 260; // with the terminating NUL

void BringToFront(HWND window) {
  BringWindowToTop(window);
  SetForegroundWindow(window);
}

// Without the lock time-out another process may not take the foreground. The user's value is
// put back afterwards; when it cannot be read it is not touched at all.
void BringToFrontUnlocked(HWND window) {
  DWORD saved = 0;
  if (!SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &saved, 0)) {
    BringToFront(window);
    return;
  }
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
  BringToFront(window);
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                        reinterpret_cast<PVOID>(static_cast<UINT_PTR>(saved)), SPIF_SENDCHANGE);
}

bool SystemQualifiesForAttach() {
  OSVERSIONINFOW v{};
  v.dwOSVersionInfoSize = sizeof v;
  return GetVersionExW(&v) &&
         QualifiesForAttach(v.dwPlatformId, v.dwMajorVersion, v.dwMinorVersion);
}

} // namespace

Reply SendBounded(HWND window, UINT message, WPARAM wp, LPARAM lp) {
  DWORD_PTR result = 0;
  SetLastError(0);
  const LRESULT sent = SendMessageTimeoutW(window, message, wp, lp, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                                           kForeignReplyBoundMs, &result);
  return JudgeReply(sent != 0, GetLastError());
}

Reply ProbeWindowThread(HWND window) {
  if (!IsWindow(window)) {
    return Reply::Gone;
  }
  if (IsHungAppWindow(window)) {
    return Reply::NoAnswer;
  }
  return SendBounded(window, WM_NULL, 0, 0);
}

Reply ReadTextBounded(HWND window, std::u16string& text) {
  wchar_t buf[kTextUnits] = {};
  const Reply r = SendBounded(window, WM_GETTEXT, kTextUnits, reinterpret_cast<LPARAM>(buf));
  if (r == Reply::Answered) {
    text = TextFromReplyBuffer(std::u16string_view(reinterpret_cast<const char16_t*>(buf),
                                                   static_cast<std::size_t>(kTextUnits)));
  }
  return r;
}

std::u16string WindowClassName(HWND window) {
  wchar_t buf[kTextUnits] = {};
  if (window) {
    GetClassNameW(window, buf, kTextUnits);
  }
  return TextFromReplyBuffer(std::u16string_view(reinterpret_cast<const char16_t*>(buf),
                                                 static_cast<std::size_t>(kTextUnits)));
}

DWORD WindowProcessId(HWND window) {
  DWORD pid = 0;
  if (window) {
    GetWindowThreadProcessId(window, &pid);
  }
  return pid;
}

std::optional<std::uint32_t> ProcessIntegrityLevel(DWORD processId) {
  const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) {
    return std::nullopt;
  }
  HANDLE raw = nullptr;
  if (!OpenProcessToken(process.Get(), TOKEN_QUERY, &raw)) {
    return std::nullopt;
  }
  const KernelHandle token(raw);
  DWORD size = 0;
  GetTokenInformation(token.Get(), TokenIntegrityLevel, nullptr, 0, &size);
  if (size < sizeof(TOKEN_MANDATORY_LABEL)) {
    return std::nullopt;
  }
  std::vector<unsigned char> data(size);
  if (!GetTokenInformation(token.Get(), TokenIntegrityLevel, data.data(), size, &size)) {
    return std::nullopt;
  }
  const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(data.data());
  PSID sid = label->Label.Sid;
  if (!sid || !IsValidSid(sid) || *GetSidSubAuthorityCount(sid) == 0) {
    return std::nullopt;
  }
  return *GetSidSubAuthority(sid, static_cast<DWORD>(*GetSidSubAuthorityCount(sid) - 1));
}

void WaitAnswering(DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0,
                        PM_REMOVE | PM_QS_SENDMESSAGE | PM_QS_POSTMESSAGE | PM_QS_PAINT)) {
      if (m.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(m.wParam)); // for the loop that waits for it
        return;
      }
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    const DWORD spent = GetTickCount() - start;
    if (spent >= ms) {
      return;
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, ms - spent,
                                QS_SENDMESSAGE | QS_POSTMESSAGE | QS_PAINT | QS_TIMER | QS_HOTKEY,
                                0);
  }
}

bool ForceForegroundWindow(HWND window) {
  // Nothing to bring up: a vanished window must not count as "already in front" when no window
  // is in the foreground.
  if (!IsWindow(window)) {
    return false;
  }
  if (GetForegroundWindow() == window) {
    return true;
  }
  if (SystemQualifiesForAttach()) {
    const DWORD front = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD target = GetWindowThreadProcessId(window, nullptr);
    bool worked = false;
    // The target window's thread joins the foreground thread's input, which lets it take the
    // foreground.
    if (AttachThreadInput(target, front, TRUE)) {
      BringToFront(window);
      AttachThreadInput(target, front, FALSE);
      worked = GetForegroundWindow() == window;
    }
    if (!worked) {
      BringToFrontUnlocked(window);
    }
  } else {
    BringToFront(window);
  }
  return GetForegroundWindow() == window;
}

void FocusForeignControl(HWND control) {
  const DWORD front = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const DWORD self = GetCurrentThreadId();
  // Attaching fails when the foreground window is our own thread's; SetFocus alone does then.
  if (AttachThreadInput(self, front, TRUE)) {
    SetFocus(control);
    // Always detach again, also when nothing had the focus before: staying joined to another
    // program's input would tie our keyboard state to its thread.
    AttachThreadInput(self, front, FALSE);
  } else {
    SetFocus(control);
  }
}

HWND FindChildByClass(HWND parent, const std::u16string& className) {
  struct Search {
    const std::u16string& sought;
    HWND found;
  } search{className, nullptr};
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM lp) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(lp);
        if (WindowClassName(window) == s.sought) {
          s.found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool IsFileDialog(HWND window) {
  if (WindowClassName(window) != u"#32770") {
    return false;
  }
  if (!FindWindowExW(window, nullptr, L"SHELLDLL_DefView", nullptr) &&
      !FindWindowExW(window, nullptr, L"DUIViewWndClassName", nullptr)) {
    return false;
  }
  return GetDlgItem(window, IDOK) && GetDlgItem(window, IDCANCEL);
}

} // namespace morvi
