// Takes pictures of the plug-in's two windows under Wine for the docs: the
// Cabrillo header form filled in as an operator would, and the mode-switch
// window. Writes header-form.bmp and mode-window.bmp into the current
// directory (bmp_to_png.py turns them into the PNGs of docs/).

#include <cstdio>
#include <thread>

#include "tests/win32/plugin_host.h"

namespace velkaro::wintest {
namespace {

// The window as it is on the screen, copied from the screen's DC.
bool SaveWindowPicture(HWND window, const char* path) {
  ::RedrawWindow(
      window, nullptr, nullptr,
      RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ::Sleep(500);  // let the window's thread finish painting
  RECT frame;
  ::GetWindowRect(window, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
  ::GdiFlush();
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + stride * height;
  bool saved = false;
  if (std::FILE* out = std::fopen(path, "wb")) {
    saved = std::fwrite(&file, sizeof file, 1, out) == 1 &&
            std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
            std::fwrite(bits, stride, height, out) == static_cast<size_t>(height);
    saved = std::fclose(out) == 0 && saved;
  }
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return saved;
}

int Run() {
  ScratchFolder folder("capture");
  // A returning operator: the form shows last contest's entries.
  const std::pair<const char*, const char*> stored[] = {
      {"Name", "Ivan Petrov"},
      {"Address", "ul. Lenina 1"},
      {"Address-City", "Moscow"},
      {"Address-PostalCode", "101000"},
      {"Address-Country", "Russia"},
      {"Loc", "MO"},
      {"Club", "Velkaro RC"},
      {"Email", "ua1aaa@example.org"},
      {"SoapBox", "73 to all<CR><LF>see you next year"},
      {"Claimed", "42"}};
  for (const auto& [key, value] : stored) {
    ::WritePrivateProfileStringA("Settings", key, value, ".\\Plugins\\Velkaro.ini");
  }
  Plugin plugin;
  if (!plugin.loaded()) return 2;
  bool form_saved = false;
  std::thread operator_thread([&form_saved] {
    HWND form = WaitForWindow(kFormCaption);
    if (form == nullptr) return;
    ::SetWindowPos(form, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
    form_saved = SaveWindowPicture(form, "..\\header-form.bmp");
    ::PostMessageA(form, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  plugin.Reset(1, "UA1AAA");
  operator_thread.join();
  HWND window = WaitForWindow(kModeWindowCaption);
  const bool window_saved =
      window != nullptr && SaveWindowPicture(window, "..\\mode-window.bmp");
  std::printf("header form: %s, mode window: %s\n", form_saved ? "saved" : "FAILED",
              window_saved ? "saved" : "FAILED");
  return form_saved && window_saved ? 0 : 1;
}

}  // namespace
}  // namespace velkaro::wintest

int main() { return velkaro::wintest::Run(); }
