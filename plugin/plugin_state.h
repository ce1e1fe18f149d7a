// The plug-in's process-wide objects, created at load in this order and
// destroyed in reverse, and the application object that starts and stops the
// module.

#ifndef VELKARO_PLUGIN_PLUGIN_STATE_H_
#define VELKARO_PLUGIN_PLUGIN_STATE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "log/qso_log.h"
#include "modewin/mode_window.h"
#include "plugin/session.h"
#include "plugin/settings.h"
#include "port/platform.h"

namespace velkaro {

struct PluginState;

// The module's application object.
class CTestApp {
 public:
  explicit CTestApp(PluginState& state) : state_(state) {}
  // The module never refuses to load.
  bool InitInstance() { return true; }
  // Closes the mode-switch window, waits until its thread has left the
  // library, then pauses 20 ms. Runs once; later calls return at once.
  int ExitInstance();

 private:
  PluginState& state_;
  bool exited_ = false;
};

struct PluginState {
  explicit PluginState(Platform& port)
      : platform(port), settings(port), TheApp(*this), ModeWindow(port, settings) {}
  // Unload: the application's exit steps first, then the objects in reverse.
  ~PluginState() { TheApp.ExitInstance(); }
  PluginState(const PluginState&) = delete;
  PluginState& operator=(const PluginState&) = delete;

  Platform& platform;
  Settings settings;

  CTestApp TheApp;
  ContestSession Session;
  QsoLogStore QsoLog;
  std::vector<std::string> WorkedBands;
  // The mode-switch window with the host automation it drives (HostDriver).
  ModeWindowControl ModeWindow;
  std::string ContestantCall;
  std::string StartDateText;
  std::string SettingsSection = kSettingsSection;
  std::string SettingsPath = kSettingsPath;
  std::vector<std::string> SpecialStations;
  std::string ResultText;

  int32_t CabrilloEnabled = 0;
  int32_t ClaimedScore = 0;

  // What Session.CabrilloLines was last built from: the serial of each line's
  // record and the own call it carries. A record's line never changes while
  // the record is in the log, so an export rebuilds only the lines it lacks.
  std::vector<uint64_t> CabrilloLineSerials;
  std::string CabrilloLinesCall;
};

// The objects of this process, served by the build's port.
PluginState& TheState();

}  // namespace velkaro

#endif  // VELKARO_PLUGIN_PLUGIN_STATE_H_
