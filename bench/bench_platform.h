// The port of the benchmark binary: the portable port whose file writes can
// be switched off (for timing the in-memory work alone) or recorded (so a
// reference can write exactly the same bytes). No message box, no waits.

#ifndef VELKARO_BENCH_BENCH_PLATFORM_H_
#define VELKARO_BENCH_BENCH_PLATFORM_H_

#include <string>
#include <vector>

#include "port/platform_portable.h"

namespace velkaro::bench {

// One file write the plug-in made.
struct RecordedWrite {
  enum Kind { kAppend, kTruncate, kReplace };
  Kind kind = kAppend;  // kReplace: through a temporary file and a rename
  std::string path;     // the plug-in's relative name
  std::string bytes;    // for a Cabrillo file: only the header (see below)
  int qso_lines = 0;    // for a Cabrillo file: how many QSO lines followed
};

class BenchPlatform final : public PortablePlatform {
 public:
  enum class Files {
    kWritten,   // written to disk as in the plug-in
    kDropped,   // writes succeed without touching the disk; reads find nothing
    kRecorded,  // written, and recorded in writes()
  };
  void set_files(Files files) { files_ = files; }
  // In kRecorded mode: every write since the last clear, in order.
  std::vector<RecordedWrite>& writes() { return writes_; }

  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& default_value,
                               const std::string& path) override;
  void WriteProfileString(const std::string& section, const std::string& key,
                          const std::string& value, const std::string& path) override;
  bool WriteToFile(const std::string& path, const std::string& bytes,
                   bool truncate) override;
  bool ReplaceFileParts(const std::string& path,
                        std::span<const std::string_view> parts) override;
  void ShowMessage(const std::string&) override {}
  void ShowError(const std::string&) override {}
  void Sleep(int) override {}

 private:
  Files files_ = Files::kWritten;
  std::vector<RecordedWrite> writes_;
};

BenchPlatform& TheBenchPlatform();

// A Cabrillo file cut into the part before its first QSO line and the count
// of QSO lines; the lines themselves are the same at every export.
RecordedWrite CabrilloHeaderOf(const std::string& path, const std::string& bytes);

}  // namespace velkaro::bench

#endif  // VELKARO_BENCH_BENCH_PLATFORM_H_
