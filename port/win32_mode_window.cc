// The mode-switch window as a modal dialog (resource 107) with no owner, run
// on the calling thread. Its handlers report to the portable logic through
// ModeWindowEvents; nothing thrown there may cross the dialog manager.

#include <cstring>
#include <vector>

#include "port/platform_win32.h"
#include "port/win32_api.h"
#include "resources/velkaro_ids.h"

namespace velkaro {
namespace {

constexpr COLORREF kBackground = RGB(255, 250, 198);
constexpr COLORREF kText = RGB(0, 0, 0);

// Posted to itself at start-up: handled once the dialog manager has shown
// the window and runs its loop.
constexpr UINT kSettled = WM_APP + 1;

struct ModeWindow {
  ModeWindowEvents* events;
  Win32Platform* platform;
  HBRUSH brush = nullptr;
};

ModeWindow* WindowOf(HWND dialog) {
  return reinterpret_cast<ModeWindow*>(::GetWindowLongPtrA(dialog, DWLP_USER));
}

void StartUp(HWND dialog, ModeWindow* window) {
  if (!window->events->Opened(dialog)) {
    // A close came before the window existed.
    ::EndDialog(dialog, IDCANCEL);
    return;
  }
  int left = 0;
  int top = 0;
  window->events->InitialPosition(&left, &top);
  ::SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  window->brush = ::CreateSolidBrush(kBackground);
  HICON icon = ::LoadIconA(static_cast<HINSTANCE>(win32::ResourceModule()),
                           MAKEINTRESOURCEA(IDI_BAUD));
  ::SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  ::PostMessageA(dialog, kSettled, 0, 0);
}

INT_PTR CALLBACK ModeWindowProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    switch (message) {
      case WM_INITDIALOG: {
        auto* window = reinterpret_cast<ModeWindow*>(lparam);
        ::SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        StartUp(dialog, window);
        return TRUE;  // the dialog manager sets the focus: RTTY45
      }
      case WM_CTLCOLORDLG:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORSCROLLBAR:
      case WM_CTLCOLORMSGBOX: {
        ModeWindow* window = WindowOf(dialog);
        if (window == nullptr || window->brush == nullptr) return FALSE;
        HDC dc = reinterpret_cast<HDC>(wparam);
        ::SetTextColor(dc, kText);
        ::SetBkColor(dc, kBackground);
        return reinterpret_cast<INT_PTR>(window->brush);
      }
      case WM_SETCURSOR: {
        ModeWindow* window = WindowOf(dialog);
        RECT frame;
        if (window != nullptr && ::GetWindowRect(dialog, &frame)) {
          window->events->PointerOver(frame.left, frame.top);
        }
        return FALSE;  // the default handling sets the pointer shape
      }
      case WM_COMMAND: {
        const int id = LOWORD(wparam);
        if (HIWORD(wparam) != BN_CLICKED) return FALSE;
        if (id == kButtonCw || id == kButtonSsb || id == kButtonRtty45) {
          if (ModeWindow* window = WindowOf(dialog)) window->events->Clicked(id);
          return TRUE;
        }
        if (id == IDCANCEL || id == IDOK) {
          ::EndDialog(dialog, id);
          return TRUE;
        }
        return FALSE;
      }
      case WM_CLOSE:
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
      case kSettled:
        ::UpdateWindow(dialog);
        if (ModeWindow* window = WindowOf(dialog)) window->platform->WindowSettled();
        return TRUE;
    }
  } catch (...) {
    // The window carries on; the failed step has no effect.
  }
  return FALSE;
}

struct OtherDialogs {
  HWND window;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectOtherDialogs(HWND candidate, LPARAM data) {
  auto* dialogs = reinterpret_cast<OtherDialogs*>(data);
  char name[16] = {};
  ::GetClassNameA(candidate, name, sizeof name);
  if (candidate != dialogs->window && std::strcmp(name, "#32770") == 0) {
    dialogs->found.push_back(candidate);
  }
  return TRUE;
}

}  // namespace

void Win32Platform::RunModeWindow(ModeWindowEvents* events) {
  ModeWindow window{events, this};
  ::DialogBoxParamA(static_cast<HINSTANCE>(win32::ResourceModule()),
                    MAKEINTRESOURCEA(IDD_BAUD), nullptr, ModeWindowProc,
                    reinterpret_cast<LPARAM>(&window));
  WindowSettled();  // no window any more: nothing to wait for
  if (window.brush != nullptr) ::DeleteObject(window.brush);
}

void Win32Platform::CloseWindow(void* window) {
  if (win32::ProcessExiting()) return;  // its thread is gone
  HWND dialog = static_cast<HWND>(window);
  // A message box of a failed click (ShowError) runs its own modal loop on
  // the window's thread; it is closed first, or the window's dialog could not
  // end before the operator answered it.
  OtherDialogs boxes{dialog, {}};
  if (const DWORD thread = ::GetWindowThreadProcessId(dialog, nullptr)) {
    ::EnumThreadWindows(thread, &CollectOtherDialogs, reinterpret_cast<LPARAM>(&boxes));
  }
  for (HWND box : boxes.found) ::SendMessageA(box, WM_CLOSE, 0, 0);
  // Synchronous: returns once the window's thread has handled the request,
  // which ends its dialog. A window that is already gone answers at once.
  ::SendMessageA(dialog, WM_CLOSE, 0, 0);
}

}  // namespace velkaro
