#include "log/special_stations.h"

namespace velkaro {

std::vector<std::string> SplitTextLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  bool pending = false;  // bytes read since the last line feed
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\x1A') break;  // text mode ends the file at Ctrl-Z
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    if (c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      pending = false;
      continue;
    }
    line.push_back(c);
    pending = true;
  }
  if (pending) lines.push_back(std::move(line));
  return lines;
}

std::string ExtractCallSign(const std::string& line) {
  const size_t first = line.find(' ');
  if (first == std::string::npos || first == 0) return line;
  const size_t second = line.find(' ', first + 1);
  // With no second blank the rest of the line is the call sign.
  return line.substr(
      first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
}

std::vector<std::string> ParseSpecialStations(const std::string& bytes) {
  std::vector<std::string> stations = SplitTextLines(bytes);
  for (std::string& entry : stations) entry = ExtractCallSign(entry);
  return stations;
}

}  // namespace velkaro
