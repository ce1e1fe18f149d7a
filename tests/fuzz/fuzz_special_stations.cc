// Fuzzes the reading of the special-station list: arbitrary file bytes (NUL
// bytes, lone carriage returns, Ctrl-Z, lines of any length) must split into
// the lines the platform's text mode reads and give one call sign per line.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "log/special_stations.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_special_stations: %s\n", what);
  std::abort();
}

// Text mode: the data ends at Ctrl-Z and CR LF reads as LF.
std::vector<std::string> TextModeLines(const std::string& bytes) {
  std::string text = bytes.substr(0, bytes.find('\x1A'));
  std::string converted;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    converted.push_back(text[i]);
  }
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < converted.size()) {
    const size_t end = converted.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(converted.substr(start));
      break;
    }
    lines.push_back(converted.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// The second blank-separated word; a line without a blank, or beginning with
// one, is kept whole.
std::string SecondWord(const std::string& line) {
  const size_t blank = line.find(' ');
  if (blank == std::string::npos || blank == 0) return line;
  const std::string rest = line.substr(blank + 1);
  return rest.substr(0, rest.find(' '));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = velkaro::SplitTextLines(bytes);
  Require(lines == TextModeLines(bytes), "lines differ from the text-mode reading");
  const std::vector<std::string> stations = velkaro::ParseSpecialStations(bytes);
  Require(stations.size() == lines.size(), "not one entry per line");
  for (size_t i = 0; i < lines.size(); ++i) {
    Require(stations[i] == SecondWord(lines[i]), "wrong call sign for a line");
    Require(stations[i].find('\n') == std::string::npos, "an entry holds a line feed");
  }
  return 0;
}
