// The reference the plug-in's file output is measured against: the same
// bytes written with the least work the platform allows, one write call per
// file and, where the plug-in replaces a file, one rename.

#ifndef VELKARO_BENCH_REFERENCE_WRITER_H_
#define VELKARO_BENCH_REFERENCE_WRITER_H_

#include <string>
#include <vector>

#include "bench_platform.h"

namespace velkaro::bench {

class ReferenceWriter {
 public:
  // Takes the QSO lines of the last Cabrillo file of a run; every recorded
  // Cabrillo write of that run is its header and the first lines of these.
  explicit ReferenceWriter(const std::string& last_cabrillo);

  // The bytes of `write` as the file received them.
  std::string BytesOf(const RecordedWrite& write) const;

  // Writes `write` to disk: for a replacement, a temporary file with one
  // writev and a rename over the old file; else one write to the file.
  void Write(const RecordedWrite& write) const;

 private:
  std::string lines_;
  std::vector<size_t> line_ends_;  // line_ends_[k]: bytes of the first k lines
};

}  // namespace velkaro::bench

#endif  // VELKARO_BENCH_REFERENCE_WRITER_H_
