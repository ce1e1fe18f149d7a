// The settings file: one section of profile strings, read and written one key
// at a time through the platform, plus the text rules its values use.

#ifndef VELKARO_PLUGIN_SETTINGS_H_
#define VELKARO_PLUGIN_SETTINGS_H_

#include <string>

#include "port/platform.h"

namespace velkaro {

inline constexpr char kSettingsSection[] = "Settings";
inline constexpr char kSettingsPath[] = "Plugins\\Velkaro.ini";

// Replaces every occurrence of `find` in `text` by `replacement`, scanning left
// to right, exact and case-sensitive; inserted text is never scanned again.
// An empty `find`, or one equal to `replacement`, leaves the text unchanged.
std::string ReplaceAll(const std::string& text, const std::string& find,
                       const std::string& replacement);

// The soapbox on one INI line: CR becomes "<CR>", then LF becomes "<LF>".
std::string EncodeLineBreaks(const std::string& text);
// The inverse: "<CR>" becomes CR, then "<LF>" becomes LF.
std::string DecodeLineBreaks(const std::string& text);

// Reads the leading decimal integer of a text (white space, a sign, digits),
// 0 when there is none; saturates at the int range.
int LeadingInteger(const std::string& text);

// Access to "Plugins\Velkaro.ini", section "Settings". Each single read or
// write holds one process-wide lock, since the host's thread and the window's
// thread both use the file. Outcomes are never reported.
class Settings {
 public:
  explicit Settings(Platform& platform) : platform_(platform) {}

  // At most 99 bytes; `default_value` when the file, section or key is missing.
  std::string Read(const std::string& key,
                   const std::string& default_value = std::string()) const;
  void Write(const std::string& key, const std::string& value) const;

 private:
  Platform& platform_;
};

}  // namespace velkaro

#endif  // VELKARO_PLUGIN_SETTINGS_H_
