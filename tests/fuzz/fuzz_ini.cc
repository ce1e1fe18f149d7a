// Fuzzes the profile-string file reader and writer on arbitrary file bytes
// and names. Besides memory safety it checks the properties the settings
// rely on: a value written is read back unchanged, writing it again changes
// nothing, the other keys keep their values, and a read gives at most 99
// bytes.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "port/ini_text.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_ini: %s\n", what);
  std::abort();
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool Framed(const std::string& text) {
  return text.empty() || (!IsBlank(text.front()) && !IsBlank(text.back()));
}

// Names and values as the plug-in uses them: one line, no NUL, no blanks at
// either end; a key holds no '=' and does not look like a comment or a
// section line; a section name holds no ']'.
bool PlainValue(const std::string& v) {
  if (v.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return false;
  if (!Framed(v)) return false;
  return v.empty() ||
         (v.front() != '"' && v.front() != '\'' && v.back() != '"' && v.back() != '\'');
}
bool PlainKey(const std::string& k) {
  return !k.empty() && PlainValue(k) && k.find('=') == std::string::npos &&
         k.front() != ';' && k.front() != '[';
}
bool PlainSection(const std::string& s) {
  return PlainValue(s) && s.find(']') == std::string::npos;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string section = in.ConsumeRandomLengthString(24);
  const std::string key = in.ConsumeRandomLengthString(24);
  const std::string other_key = in.ConsumeRandomLengthString(24);
  const std::string value = in.ConsumeRandomLengthString(160);
  const std::string default_value = in.ConsumeRandomLengthString(160);
  const std::string file = in.ConsumeRemainingBytesAsString();

  const std::optional<std::string> found = velkaro::ini::FindValue(file, section, key);
  const std::string read = velkaro::ini::ProfileRead(found, default_value);
  Require(read.size() <= 99, "a read gave more than 99 bytes");
  const std::string& source = found ? *found : default_value;
  Require(source.compare(0, read.size(), read) == 0,
          "a read is not a prefix of the value or the default");

  const std::string written = velkaro::ini::SetValue(file, section, key, value);
  Require(written.size() >= 2 && written.compare(written.size() - 2, 2, "\r\n") == 0,
          "the written file does not end in CR LF");

  if (!PlainSection(section) || !PlainKey(key) || !PlainValue(value)) return 0;

  const std::optional<std::string> back = velkaro::ini::FindValue(written, section, key);
  Require(back.has_value() && *back == value, "a written value does not read back");
  Require(velkaro::ini::SetValue(written, section, key, value) == written,
          "writing the same value twice changed the file");

  if (PlainKey(other_key) && !SameName(other_key, key)) {
    const auto before = velkaro::ini::FindValue(file, section, other_key);
    const auto after = velkaro::ini::FindValue(written, section, other_key);
    Require(before == after, "writing one key changed another");
  }
  return 0;
}
