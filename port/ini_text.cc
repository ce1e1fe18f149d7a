#include "port/ini_text.h"

#include <vector>

namespace velkaro::ini {
namespace {

constexpr size_t kReadLimit = 99;

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::vector<std::string> Lines(const std::string& file) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < file.size()) {
    size_t end = file.find('\n', start);
    const bool last = end == std::string::npos;
    if (last) end = file.size();
    size_t stop = end;
    if (stop > start && file[stop - 1] == '\r') --stop;
    lines.push_back(file.substr(start, stop - start));
    start = last ? end : end + 1;
  }
  return lines;
}

// The section name of a "[name]" line.
std::optional<std::string> SectionName(const std::string& line) {
  const std::string trimmed = Trim(line);
  if (trimmed.empty() || trimmed[0] != '[') return std::nullopt;
  const size_t close = trimmed.find(']');
  return Trim(
      trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

// The key of a "key=value" line.
std::optional<std::string> KeyName(const std::string& line) {
  const size_t equals = line.find('=');
  if (equals == std::string::npos) return std::nullopt;
  const std::string trimmed = Trim(line);
  if (!trimmed.empty() && trimmed[0] == ';') return std::nullopt;  // a comment
  return Trim(line.substr(0, equals));
}

std::string ValueOf(const std::string& line) {
  std::string value = Trim(line.substr(line.find('=') + 1));
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') &&
      value.back() == value[0]) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

// Lines [first, last) of the first section named `section`, the header
// excluded; first == 0 when there is none.
struct SectionRange {
  size_t header = 0;
  size_t first = 0;
  size_t last = 0;
  bool found = false;
};

SectionRange Find(const std::vector<std::string>& lines, const std::string& section) {
  SectionRange range;
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionName(lines[i]);
    if (!name) continue;
    if (range.found) {
      range.last = i;
      return range;
    }
    if (EqualNoCase(*name, section)) {
      range.found = true;
      range.header = i;
      range.first = i + 1;
    }
  }
  range.last = lines.size();
  return range;
}

}  // namespace

std::optional<std::string> FindValue(const std::string& file, const std::string& section,
                                     const std::string& key) {
  const std::vector<std::string> lines = Lines(file);
  const SectionRange range = Find(lines, section);
  if (!range.found) return std::nullopt;
  const std::string wanted = Trim(key);
  for (size_t i = range.first; i < range.last; ++i) {
    const auto name = KeyName(lines[i]);
    if (name && EqualNoCase(*name, wanted)) return ValueOf(lines[i]);
  }
  return std::nullopt;
}

std::string SetValue(const std::string& file, const std::string& section,
                     const std::string& key, const std::string& value) {
  std::vector<std::string> lines = Lines(file);
  const SectionRange range = Find(lines, section);
  const std::string wanted = Trim(key);
  bool done = false;
  if (!range.found) {
    lines.push_back("[" + section + "]");
    lines.push_back(wanted + "=" + value);
    done = true;
  }
  for (size_t i = range.first; !done && i < range.last; ++i) {
    const auto name = KeyName(lines[i]);
    if (name && EqualNoCase(*name, wanted)) {
      lines[i] = *name + "=" + value;
      done = true;
    }
  }
  if (!done) {
    // After the section's last line that is not blank, so that an empty line
    // before the next section stays where it was.
    size_t at = range.last;
    while (at > range.first && Trim(lines[at - 1]).empty()) --at;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), wanted + "=" + value);
  }
  std::string out;
  for (const std::string& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

std::string ProfileRead(const std::optional<std::string>& value,
                        const std::string& default_value) {
  std::string text;
  if (value) {
    text = *value;
  } else {
    text = default_value;
    while (!text.empty() && text.back() == ' ') text.pop_back();
  }
  if (text.size() > kReadLimit) text.resize(kReadLimit);
  return text;
}

}  // namespace velkaro::ini
