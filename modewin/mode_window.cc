#include "modewin/mode_window.h"

#include <algorithm>
#include <memory>

namespace velkaro {
namespace {

constexpr int kDefaultEdge = 10;
constexpr int kPollMilliseconds = 20;

}  // namespace

std::vector<std::string> CommandsForButton(int control_id) {
  switch (control_id) {
    case kButtonCw:
      return {"<MODE:CW>"};
    case kButtonSsb:
      return {"<MODE:SSB>"};
    case kButtonRtty45:
      return {"<MODE:RTTY>", "<BAUDRATE:45.45>"};
    default:
      return {};
  }
}

std::string PositionText(int edge) {
  return std::to_string(std::clamp(edge, -999, 9999));
}

bool baud::Opened(void* window) {
  control_.window_handle_.store(window);
  // A close that came before the window existed could not reach it.
  return !control_.close_requested_.load() && !control_.shutting_down_.load();
}

void baud::InitialPosition(int* left, int* top) {
  control_.ModeWindowLeft = LeadingInteger(control_.settings_.Read("baud_x"));
  control_.ModeWindowTop = LeadingInteger(control_.settings_.Read("baud_y"));
  // 0 counts as unset.
  if (control_.ModeWindowLeft == 0) control_.ModeWindowLeft = kDefaultEdge;
  if (control_.ModeWindowTop == 0) control_.ModeWindowTop = kDefaultEdge;
  *left = control_.ModeWindowLeft;
  *top = control_.ModeWindowTop;
}

void baud::PointerOver(int left, int top) {
  if (left != control_.ModeWindowLeft) {
    control_.ModeWindowLeft = left;
    control_.settings_.Write("baud_x", PositionText(left));
  }
  if (top != control_.ModeWindowTop) {
    control_.ModeWindowTop = top;
    control_.settings_.Write("baud_y", PositionText(top));
  }
}

void baud::Clicked(int control_id) {
  const std::vector<std::string> commands = CommandsForButton(control_id);
  // Bound to the host for this click only.
  std::unique_ptr<HostSession> host_driver = control_.platform_.OpenHostSession();
  if (!host_driver || !host_driver->Connected()) return;
  for (const std::string& command : commands) {
    std::string error;
    if (!host_driver->Send(command, &error)) {
      // Let go of the host before the box waits for the operator. An unload
      // that closes the box then finds this thread back in the window's own
      // loop at once, not ending its host connection, which may need the
      // loader lock the unload holds.
      host_driver.reset();
      control_.platform_.ShowError(error);
      break;
    }
  }
}

void ModeWindowControl::Start() {
  platform_.StartThread(&ModeWindowControl::ThreadEntry, this);
}

void ModeWindowControl::ThreadEntry(void* control) {
  try {
    static_cast<ModeWindowControl*>(control)->RunThread();
  } catch (...) {
    // Nothing may leave the window's thread; the window is simply gone.
  }
}

void ModeWindowControl::RunThread() {
  auto window = std::make_unique<baud>(*this);
  // Testing for an open window and claiming the place is one step, so two
  // quick starts give one window.
  baud* expected = nullptr;
  if (!RunningModeWindow.compare_exchange_strong(expected, window.get())) return;
  if (!shutting_down_.load()) {
    try {
      platform_.RunModeWindow(window.get());
    } catch (...) {
    }
  }
  window_handle_.store(nullptr);
  close_requested_.store(false);
  RunningModeWindow.store(nullptr);
}

void ModeWindowControl::Close() {
  if (RunningModeWindow.load() == nullptr) return;
  close_requested_.store(true);
  if (void* window = window_handle_.load()) platform_.CloseWindow(window);
  while (RunningModeWindow.load() != nullptr) {
    // The window's thread may be gone without giving the window up, as when
    // the process is torn down.
    if (!platform_.ThreadRunning()) break;
    platform_.Sleep(kPollMilliseconds);
  }
}

void ModeWindowControl::Shutdown() {
  shutting_down_.store(true);
  Close();
  platform_.WaitForThreads();
}

}  // namespace velkaro
