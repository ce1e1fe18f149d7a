#include "plugin/settings.h"

#include <cctype>
#include <climits>
#include <mutex>

namespace velkaro {
namespace {

std::mutex& SettingsLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

std::string ReplaceAll(const std::string& text, const std::string& find,
                       const std::string& replacement) {
  if (find.empty() || find == replacement) return text;
  std::string out;
  size_t from = 0;
  for (size_t at; (at = text.find(find, from)) != std::string::npos;
       from = at + find.size()) {
    out.append(text, from, at - from);
    out += replacement;
  }
  out.append(text, from, std::string::npos);
  return out;
}

std::string EncodeLineBreaks(const std::string& text) {
  return ReplaceAll(ReplaceAll(text, "\r", "<CR>"), "\n", "<LF>");
}

std::string DecodeLineBreaks(const std::string& text) {
  return ReplaceAll(ReplaceAll(text, "<CR>", "\r"), "<LF>", "\n");
}

int LeadingInteger(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string Settings::Read(const std::string& key,
                           const std::string& default_value) const {
  std::lock_guard<std::mutex> hold(SettingsLock());
  return platform_.GetProfileString(kSettingsSection, key, default_value, kSettingsPath);
}

void Settings::Write(const std::string& key, const std::string& value) const {
  std::lock_guard<std::mutex> hold(SettingsLock());
  platform_.WriteProfileString(kSettingsSection, key, value, kSettingsPath);
}

}  // namespace velkaro
