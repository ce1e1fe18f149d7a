// The one seam between the portable plug-in core and the operating system.
//
// Everything the core needs from the platform (profile strings, files, message
// boxes, the two windows, the window thread, COM automation, file-version
// records) is one virtual operation here. The Win32 port serves the DLL; the
// portable port serves the native build and the tests. Core code receives a
// Platform& and never includes a platform header.
//
// Paths are the plug-in's own relative names with backslashes
// ("Plugins\Velkaro.ini"); a port maps them to its file system.
//
// Thread safety: every operation may be called from the host's thread and the
// mode-switch window's thread; the ports keep no shared mutable state except
// where noted.

#ifndef VELKARO_PORT_PLATFORM_H_
#define VELKARO_PORT_PLATFORM_H_

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velkaro {

// The four 16-bit parts of a fixed file-version record.
using FileVersion = std::array<uint16_t, 4>;

// The seventeen fields of the Cabrillo header form, as the operator sees them.
// Combo boxes carry their edit text.
struct HeaderFormFields {
  std::string contest;               // 1009
  std::string callsign;              // 1010
  std::string claimed;               // 1008
  std::string category_operator;     // 1013 (combo)
  std::string location;              // 1121
  std::string category_band;         // 1118 (combo, disabled)
  std::string category_mode;         // 1123 (combo)
  std::string category_transmitter;  // 1122 (combo, disabled)
  std::string name;                  // 1007
  std::string address;               // 1002
  std::string city;                  // 1003
  std::string postal_code;           // 1011
  std::string country;               // 1012
  std::string operators;             // 1006
  std::string club;                  // 1005
  std::string soapbox;               // 1001 (multi-line, CR LF between lines)
  std::string email;                 // 1004

  bool operator==(const HeaderFormFields&) const = default;
};

enum class FormResult { kOk, kCancel, kFailed };

// Control ids of the mode-switch window's buttons.
inline constexpr int kButtonRtty45 = 1003;
inline constexpr int kButtonCw = 1004;
inline constexpr int kButtonSsb = 1005;

// What the mode-switch window reports to the portable logic, on the window's
// own thread.
class ModeWindowEvents {
 public:
  virtual ~ModeWindowEvents() = default;
  // The window exists; `window` identifies it for CloseModeWindow. Returns
  // false when a close was requested before the window existed: the window
  // then ends at once.
  virtual bool Opened(void* window) = 0;
  // Start-up: where the window's top-left corner goes, in screen pixels.
  virtual void InitialPosition(int* left, int* top) = 0;
  // The mouse pointer moved over the window whose corner is now here.
  virtual void PointerOver(int left, int top) = 0;
  // A button was clicked.
  virtual void Clicked(int control_id) = 0;
};

// One click's connection to the host's automation object. Created and
// destroyed on the window's thread; the destructor releases the interface and
// ends COM for the thread.
class HostSession {
 public:
  virtual ~HostSession() = default;
  // True when the host's running automation object was found.
  virtual bool Connected() const = 0;
  // Sends one command (method 16). On failure returns false and sets *error to
  // a description for the operator.
  virtual bool Send(const std::string& command, std::string* error) = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Profile strings. Reads give at most 99 bytes; a missing file, section or
  // key gives `default_value`. Writes never report failure.
  virtual std::string GetProfileString(const std::string& section, const std::string& key,
                                       const std::string& default_value,
                                       const std::string& path) = 0;
  virtual void WriteProfileString(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& path) = 0;

  // Text files. Bytes are written as given (the caller puts CR LF). Files are
  // opened and closed inside each call and shared for reading and writing.
  // Append creates the file when absent; `truncate` empties it first.
  virtual bool WriteToFile(const std::string& path, const std::string& bytes,
                           bool truncate) = 0;
  // Replaces the file's whole contents with `parts`, run together, so that a
  // reader, a crash or a full disk sees either the old file or the new one,
  // never a mix; falls back to rewriting in place only when the replacement
  // itself is refused. No temporary file is left behind. In parts, a large
  // file need not be copied into one piece first.
  virtual bool ReplaceFileParts(const std::string& path,
                                std::span<const std::string_view> parts) = 0;
  bool ReplaceFile(const std::string& path, const std::string& bytes) {
    const std::string_view whole = bytes;
    return ReplaceFileParts(path, {&whole, 1});
  }
  // Reads the whole file as bytes; false when it cannot be opened.
  virtual bool ReadFile(const std::string& path, std::string* bytes) = 0;
  virtual bool CanOpenForReading(const std::string& path) = 0;
  // The fixed file-version record of an executable, found the way the
  // platform finds a library by bare name.
  virtual std::optional<FileVersion> GetFileVersion(const std::string& path) = 0;

  // A modal message box with no owner and the default caption.
  virtual void ShowMessage(const std::string& text) = 0;
  // A modal error box (a failed host command).
  virtual void ShowError(const std::string& text) = 0;

  // The Cabrillo header form: shows `fields`, lets the operator edit them and
  // returns how it was closed, with the fields as the operator left them.
  virtual FormResult ShowHeaderForm(HeaderFormFields* fields) = 0;

  // Starts body(argument) on a new thread and returns at once; false when no thread
  // could be started.
  virtual bool StartThread(void (*body)(void*), void* argument) = 0;
  // True while a thread started by StartThread may still run library code.
  virtual bool ThreadRunning() = 0;
  // Waits until no thread started by StartThread runs library code any more.
  // Called at unload after the window was closed; must not deadlock there.
  virtual void WaitForThreads() = 0;

  // Runs the mode-switch window's modal loop on the calling thread until the
  // window is closed.
  virtual void RunModeWindow(ModeWindowEvents* events) = 0;
  // Asks the window to close and waits until its thread handled the request.
  virtual void CloseWindow(void* window) = 0;

  // Connects to the running host for one click (never null).
  virtual std::unique_ptr<HostSession> OpenHostSession() = 0;

  virtual void Sleep(int milliseconds) = 0;
};

// The port compiled into this build. Lives as long as the library.
Platform& DefaultPlatform();

}  // namespace velkaro

#endif  // VELKARO_PORT_PLATFORM_H_
