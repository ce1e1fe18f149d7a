#include "bench_platform.h"

namespace velkaro {

Platform& DefaultPlatform() { return bench::TheBenchPlatform(); }

namespace bench {

BenchPlatform& TheBenchPlatform() {
  static BenchPlatform platform;
  return platform;
}

RecordedWrite CabrilloHeaderOf(const std::string& path, const std::string& bytes) {
  RecordedWrite write;
  write.kind = RecordedWrite::kReplace;
  write.path = path;
  size_t first = bytes.find("\r\nQSO: ");
  if (first == std::string::npos) first = bytes.rfind("\r\nEND-OF-LOG:");
  write.bytes = bytes.substr(0, first + 2);
  for (size_t at = first; (at = bytes.find("\r\nQSO: ", at)) != std::string::npos; ++at) {
    ++write.qso_lines;
  }
  return write;
}

std::string BenchPlatform::GetProfileString(const std::string& section,
                                            const std::string& key,
                                            const std::string& default_value,
                                            const std::string& path) {
  if (files_ == Files::kDropped) return default_value;
  return PortablePlatform::GetProfileString(section, key, default_value, path);
}

void BenchPlatform::WriteProfileString(const std::string& section, const std::string& key,
                                       const std::string& value,
                                       const std::string& path) {
  if (files_ == Files::kDropped) return;
  PortablePlatform::WriteProfileString(section, key, value, path);  // -> ReplaceFile
}

bool BenchPlatform::WriteToFile(const std::string& path, const std::string& bytes,
                                bool truncate) {
  if (files_ == Files::kDropped) return true;
  if (files_ == Files::kRecorded) {
    writes_.push_back(
        {truncate ? RecordedWrite::kTruncate : RecordedWrite::kAppend, path, bytes, 0});
  }
  return PortablePlatform::WriteToFile(path, bytes, truncate);
}

bool BenchPlatform::ReplaceFileParts(const std::string& path,
                                     std::span<const std::string_view> parts) {
  if (files_ == Files::kDropped) return true;
  if (files_ == Files::kRecorded) {
    std::string bytes;
    for (std::string_view part : parts) bytes += part;
    const bool cabrillo =
        path.size() > 4 && path.compare(path.size() - 4, 4, ".cbr") == 0;
    writes_.push_back(cabrillo ? CabrilloHeaderOf(path, bytes)
                               : RecordedWrite{RecordedWrite::kReplace, path, bytes, 0});
  }
  return PortablePlatform::ReplaceFileParts(path, parts);
}

}  // namespace bench
}  // namespace velkaro
