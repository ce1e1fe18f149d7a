// The mode-switch window under Wine: opened by ResetStats0 with the host's
// full argument list, checked through the window manager's own view of it
// (styles, position, buttons, colours, icon), moved, and closed by unloading.

#include <gtest/gtest.h>

#include "tests/win32/plugin_host.h"

namespace velkaro::wintest {
namespace {

constexpr COLORREF kYellow = RGB(255, 250, 198);

class ModeWindowTest : public ::testing::Test {
 protected:
  ScratchFolder folder_{"mode-window"};
};

std::string Setting(const char* key) {
  char value[100] = {};
  ::GetPrivateProfileStringA("Settings", key, "<missing>", value, sizeof value,
                             ".\\Plugins\\Velkaro.ini");
  return value;
}

void PointerMovesOver(HWND window) {
  ::SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
}

TEST_F(ModeWindowTest, OpensTopmostAtTenTenWithThreeButtonsOnYellow) {
  Plugin plugin;
  ASSERT_TRUE(plugin.loaded());
  EXPECT_EQ(plugin.Reset(0, "UA1AAA"), 1);
  HWND window = WaitForWindow(kModeWindowCaption);
  ASSERT_NE(window, nullptr);

  EXPECT_EQ(WindowClass(window), "#32770");
  const LONG style = ::GetWindowLongA(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU),
            WS_POPUP | WS_CAPTION | WS_SYSMENU);
  EXPECT_NE(::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(::GetWindow(window, GW_OWNER), nullptr);
  RECT frame;
  ASSERT_TRUE(::GetWindowRect(window, &frame));
  EXPECT_EQ(frame.left, 10);
  EXPECT_EQ(frame.top, 10);
  // Opening it wrote the start marker; it was not moved, so no position.
  EXPECT_EQ(Setting("Start"), "1");
  EXPECT_EQ(Setting("baud_x"), "<missing>");

  struct Button {
    int id;
    const char* text;
  };
  const Button buttons[] = {{1003, "RTTY45"}, {1004, "CW"}, {1005, "SSB"}};
  for (const Button& b : buttons) {
    HWND button = ::GetDlgItem(window, b.id);
    ASSERT_NE(button, nullptr) << b.id;
    EXPECT_EQ(ControlText(window, b.id), b.text);
    EXPECT_EQ(WindowClass(button), "Button");
    EXPECT_NE(::GetWindowLongA(button, GWL_STYLE) & WS_TABSTOP, 0) << b.id;
  }
  // Tab order RTTY45, CW, SSB: the first child is RTTY45.
  EXPECT_EQ(::GetDlgCtrlID(::GetWindow(window, GW_CHILD)), 1003);

  EXPECT_NE(::SendMessageA(window, WM_GETICON, ICON_BIG, 0), 0);

  // The window answers colour requests with black on light yellow.
  HDC dc = ::CreateCompatibleDC(nullptr);
  for (UINT request : {WM_CTLCOLORDLG, WM_CTLCOLORBTN}) {
    ::SetBkColor(dc, RGB(1, 2, 3));
    ::SetTextColor(dc, RGB(4, 5, 6));
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageA(
        window, request, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
    ASSERT_NE(brush, nullptr) << request;
    LOGBRUSH colour = {};
    ASSERT_EQ(::GetObjectA(brush, sizeof colour, &colour),
              static_cast<int>(sizeof colour));
    EXPECT_EQ(colour.lbColor, kYellow) << request;
    EXPECT_EQ(::GetBkColor(dc), kYellow) << request;
    EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 0)) << request;
  }
  ::DeleteDC(dc);

  plugin.Unload();
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_TRUE(WindowsNamed(kModeWindowCaption).empty());
}

TEST_F(ModeWindowTest, SavesAMovedPositionAndReopensThere) {
  {
    Plugin plugin;
    ASSERT_TRUE(plugin.loaded());
    plugin.Reset(0, "UA1AAA");
    HWND window = WaitForWindow(kModeWindowCaption);
    ASSERT_NE(window, nullptr);
    PointerMovesOver(window);
    EXPECT_EQ(Setting("baud_x"), "<missing>");  // not moved: nothing written

    ::SetWindowPos(window, nullptr, 200, 150, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PointerMovesOver(window);
    EXPECT_EQ(Setting("baud_x"), "200");
    EXPECT_EQ(Setting("baud_y"), "150");

    // A second reset leaves the open window alone.
    plugin.Reset(0, "UA1AAA");
    EXPECT_EQ(WindowsNamed(kModeWindowCaption).size(), 1u);
    RECT frame;
    ::GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, 200);
  }
  EXPECT_TRUE(WindowsNamed(kModeWindowCaption).empty());

  Plugin again;
  ASSERT_TRUE(again.loaded());
  again.Reset(0, "UA1AAA");
  HWND window = WaitForWindow(kModeWindowCaption);
  ASSERT_NE(window, nullptr);
  RECT frame;
  ::GetWindowRect(window, &frame);
  EXPECT_EQ(frame.left, 200);
  EXPECT_EQ(frame.top, 150);
}

TEST_F(ModeWindowTest, StoredPositionsAsTheyReadBack) {
  struct Case {
    const char* baud_x;
    const char* baud_y;
    int left;
    int top;
  };
  const Case cases[] = {
      {"0", "abc", 10, 10},  // 0 and no number count as unset
      {"-20", "300", -20, 300},
      {"+35", "77px", 35, 77},
  };
  for (const Case& c : cases) {
    ::WritePrivateProfileStringA("Settings", "baud_x", c.baud_x,
                                 ".\\Plugins\\Velkaro.ini");
    ::WritePrivateProfileStringA("Settings", "baud_y", c.baud_y,
                                 ".\\Plugins\\Velkaro.ini");
    Plugin plugin;
    ASSERT_TRUE(plugin.loaded());
    plugin.Reset(0, "UA1AAA");
    HWND window = WaitForWindow(kModeWindowCaption);
    ASSERT_NE(window, nullptr) << c.baud_x;
    RECT frame;
    ::GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, c.left) << c.baud_x;
    EXPECT_EQ(frame.top, c.top) << c.baud_y;
    // Where it opened is where it was read: no write without a move.
    PointerMovesOver(window);
    EXPECT_EQ(Setting("baud_x"), c.baud_x);
  }
}

TEST_F(ModeWindowTest, ClosedByTheOperatorReopensAtTheNextReset) {
  Plugin plugin;
  ASSERT_TRUE(plugin.loaded());
  plugin.Reset(0, "UA1AAA");
  HWND first = WaitForWindow(kModeWindowCaption);
  ASSERT_NE(first, nullptr);
  ::PostMessageA(first, WM_CLOSE, 0, 0);  // the close box
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(first); }));
  // The window's thread gives the window up right after its dialog ended.
  ASSERT_TRUE(WaitFor([&] {
    plugin.Reset(0, "UA1AAA");
    return WaitForWindow(kModeWindowCaption, 1) != nullptr;
  }));
  EXPECT_EQ(WindowsNamed(kModeWindowCaption).size(), 1u);
}

}  // namespace
}  // namespace velkaro::wintest
