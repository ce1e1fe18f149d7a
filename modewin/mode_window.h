// The mode-switch window's logic: its start and close protocol, the position
// it keeps in the settings file and the commands each button sends. The
// window itself and the host's automation object are the platform's.
//
// Threads: Start and Close run on the host's thread; the window, its handlers
// and every host command run on the window's own thread. The two share only
// the atomics of ModeWindowControl.

#ifndef VELKARO_MODEWIN_MODE_WINDOW_H_
#define VELKARO_MODEWIN_MODE_WINDOW_H_

#include <atomic>
#include <string>
#include <vector>

#include "plugin/settings.h"
#include "port/platform.h"

namespace velkaro {

// The commands a button sends, in order; empty for an unknown id.
std::vector<std::string> CommandsForButton(int control_id);

// Decimal text of a window edge for "baud_x"/"baud_y". The key holds at most
// four characters; an edge beyond -999..9999 is stored clamped to that range,
// so the text stays a decimal integer that reads back (the nearest position
// the key can hold).
std::string PositionText(int edge);

class ModeWindowControl;

// The open mode-switch window (`baud`): created on the window's thread, it
// answers the platform window's events.
class baud final : public ModeWindowEvents {
 public:
  explicit baud(ModeWindowControl& control) : control_(control) {}
  bool Opened(void* window) override;
  void InitialPosition(int* left, int* top) override;
  void PointerOver(int left, int top) override;
  void Clicked(int control_id) override;

 private:
  ModeWindowControl& control_;
};

class ModeWindowControl {
 public:
  ModeWindowControl(Platform& platform, const Settings& settings)
      : platform_(platform), settings_(settings) {}

  bool IsOpen() const { return RunningModeWindow.load() != nullptr; }

  // StartModeWindow: starts the window's thread and returns at once.
  void Start();
  // CloseModeWindow: closes an open window and returns once its thread has
  // given it up, or once that thread is gone. Returns at once when none is
  // open.
  void Close();
  // ModeWindowThread: the body of the window's thread.
  void RunThread();
  // At unload: closes the window, keeps a thread that has not yet opened its
  // window from opening it, and waits until no window thread runs library
  // code.
  void Shutdown();

  // The window whose modal loop runs; null when none is open.
  std::atomic<baud*> RunningModeWindow{nullptr};
  // Window-thread only: the edges last read from or written to the settings.
  int ModeWindowLeft = 0;
  int ModeWindowTop = 0;

 private:
  friend class baud;
  static void ThreadEntry(void* control);

  Platform& platform_;
  const Settings& settings_;
  // The platform window of the open window, once it exists.
  std::atomic<void*> window_handle_{nullptr};
  // Set by Close; a window that opens after it ends at once.
  std::atomic<bool> close_requested_{false};
  // Set for good at unload.
  std::atomic<bool> shutting_down_{false};
};

}  // namespace velkaro

#endif  // VELKARO_MODEWIN_MODE_WINDOW_H_
